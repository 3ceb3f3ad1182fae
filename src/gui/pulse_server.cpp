#include "pulse_server.h"

#if defined(SORVEL_HAVE_PULSE)

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>

#if defined(SORVEL_HAVE_DBUS)
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#endif

namespace sorvel::gui {
namespace {

constexpr pa_usec_t kRetryMicroseconds = 1'000'000;
// Below the sound server's own threads (PulseAudio asks for 5).
constexpr int kRealtimePriority = 4;
// Thread waiting for RTKit to make it real-time (0: none).
std::atomic<pid_t> rtkitThread{0};

}  // namespace

PulseServer& PulseServer::output() {
    // Never destroyed: outputs may still close their streams while the process ends.
    static PulseServer* server = new PulseServer("Sorvel Score");
    return *server;
}

PulseServer& PulseServer::input() {
    static PulseServer* server = new PulseServer("Sorvel Score input");
    return *server;
}

PulseServer::PulseServer(const char* name) : name_(name) {
    loop_ = pa_threaded_mainloop_new();
    pa_threaded_mainloop_start(loop_);
    Lock lock(*this);
    connect();
}

PulseServer::~PulseServer() {
    pa_threaded_mainloop_stop(loop_);
    if (context_) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    pa_threaded_mainloop_free(loop_);
}

void PulseServer::connect() {
    attempts_.fetch_add(1, std::memory_order_acq_rel);
    if (context_) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), name_);
    pa_context_set_state_callback(context_, &PulseServer::onState, this);
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) lost();
}

void PulseServer::onState(pa_context* context, void* self) {
    auto* server = static_cast<PulseServer*>(self);
    switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            server->state_.store(ServerState::Ready, std::memory_order_release);
            for (PulseClient* c : server->clients_) c->serverReady(context);
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            server->lost();
            break;
        default:
            break;
    }
}

void PulseServer::lost() {
    if (state_.exchange(ServerState::Gone, std::memory_order_acq_rel) != ServerState::Gone) {
        outages_.fetch_add(1, std::memory_order_acq_rel);
        for (PulseClient* c : clients_) c->serverGone();
    }
    if (retryPending_) return;
    retryPending_ = true;
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    timeval when;
    pa_timeval_add(pa_gettimeofday(&when), kRetryMicroseconds);
    api->time_new(api, &when, &PulseServer::onRetry, this);
}

void PulseServer::onRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval*,
                          void* self) {
    api->time_free(event);
    auto* server = static_cast<PulseServer*>(self);
    server->retryPending_ = false;
    server->connect();
}

void PulseServer::add(PulseClient* client) {
    clients_.push_back(client);
    if (state() == ServerState::Ready) client->serverReady(context_);
}

void PulseServer::remove(PulseClient* client) {
    std::erase(clients_, client);
}

void makeThisThreadRealtime() {
    static thread_local bool asked = false;
    if (asked) return;
    asked = true;
    sched_param param{};
    param.sched_priority = std::max(kRealtimePriority, sched_get_priority_min(SCHED_RR));
    if (pthread_setschedparam(pthread_self(), SCHED_RR, &param) == 0) return;
    rtkitThread.store(static_cast<pid_t>(gettid()), std::memory_order_release);
}

void requestRealtimeFromRtkit() {
    const pid_t thread = rtkitThread.exchange(0, std::memory_order_acq_rel);
    if (thread == 0) return;
#if defined(SORVEL_HAVE_DBUS)
    // RTKit grants real-time only to processes that limit their real-time CPU time.
    rlimit limit{200'000, 200'000};  // microseconds
    setrlimit(RLIMIT_RTTIME, &limit);
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.RealtimeKit1"),
        QStringLiteral("/org/freedesktop/RealtimeKit1"),
        QStringLiteral("org.freedesktop.RealtimeKit1"), QStringLiteral("MakeThreadRealtime"));
    call << static_cast<qulonglong>(thread) << static_cast<uint>(kRealtimePriority);
    // No answer is awaited: without RTKit the thread simply keeps its normal priority.
    QDBusConnection::systemBus().asyncCall(call);
#endif
}

}  // namespace sorvel::gui

#endif
