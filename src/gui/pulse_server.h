#pragma once

#if defined(SORVEL_HAVE_PULSE)

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "sound_output.h"

namespace sorvel::gui {

// Something with streams on the server: told, on the server's thread with its lock held, when
// the server is ready (make the streams) and when it has gone (the streams are dead).
class PulseClient {
  public:
    virtual ~PulseClient() = default;
    virtual void serverReady(pa_context* context) = 0;
    virtual void serverGone() = 0;
};

// One connection to the sound server, with the thread its callbacks run on, kept for the
// life of the process. When the server goes away it tries again every second, and its clients
// make their streams anew when it is back.
class PulseServer {
  public:
    // Playback, and recording (on a thread of its own, so analysis never delays playback).
    static PulseServer& output();
    static PulseServer& input();

    // A connection of its own (the two above are the process's); stopped when destroyed.
    explicit PulseServer(const char* name);
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    ServerState state() const { return state_.load(std::memory_order_acquire); }
    std::uint64_t outages() const { return outages_.load(std::memory_order_acquire); }
    // Connections begun, the first one included.
    std::uint64_t attempts() const { return attempts_.load(std::memory_order_acquire); }

    // Holds the server thread's lock (never from that thread itself).
    class Lock {
      public:
        explicit Lock(PulseServer& server) : loop_(server.loop_) {
            pa_threaded_mainloop_lock(loop_);
        }
        ~Lock() { pa_threaded_mainloop_unlock(loop_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

      private:
        pa_threaded_mainloop* loop_;
    };
    // With the lock held: a client added while the server is ready is told so at once.
    void add(PulseClient* client);
    void remove(PulseClient* client);

  private:
    void connect();
    void lost();
    static void onState(pa_context* context, void* self);
    static void onRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval*,
                        void* self);

    const char* name_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    std::vector<PulseClient*> clients_;
    std::atomic<ServerState> state_{ServerState::Connecting};
    std::atomic<std::uint64_t> outages_{0};
    std::atomic<std::uint64_t> attempts_{0};
    // One retry at a time: a failed connection is reported both by its state and by the
    // call's result, and two retries per failure would double every second.
    bool retryPending_ = false;
};

// Asks for real-time scheduling of the calling thread (a server thread) once: directly where
// the system allows it, else through RTKit from the main thread (requestRealtimeFromRtkit).
void makeThisThreadRealtime();
void requestRealtimeFromRtkit();

}  // namespace sorvel::gui

#endif
