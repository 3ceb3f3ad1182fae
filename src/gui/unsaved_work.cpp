// What becomes of unsaved scores as the application ends: the questions of a quit, the
// recovery snapshots a few seconds after a change, and the ends nobody is asked about.
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QPointer>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstdlib>

#include "score_window.h"
#include "sorvel_application.h"

namespace sorvel::gui {
namespace {

// A snapshot follows the last change by this much, and the first by at most kSnapshotMaxWait.
constexpr int kSnapshotDelayMs = 2000;
constexpr int kSnapshotMaxWaitMs = 10000;

// The signal handler only writes a byte here; the event loop reads it.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

QPointer<SorvelApplication>& exitingApplication() {
    static QPointer<SorvelApplication> app;
    return app;
}

// exit() called from inside Qt, as when the display goes away: the quit's own work, modified
// scores' snapshots included.
void onExit() {
    if (SorvelApplication* app = exitingApplication()) app->delegate().quit();
}

}  // namespace

std::vector<Document*> SorvelApplication::documents() const {
    std::vector<Document*> docs;
    for (ScoreWindow* w : scoreWindows()) {
        if (!w->closed()) docs.push_back(&w->document());
    }
    return docs;
}

void SorvelApplication::requestQuit() {
    if (!delegate_->quitMayProceed()) return;
    quitting_ = true;
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void SorvelApplication::scoreEdited(Document& doc) {
    delegate_->documentChanged(doc);
    if (!snapshotTimer_.isActive()) {
        firstPendingChange_.start();
    } else if (firstPendingChange_.elapsed() > kSnapshotMaxWaitMs - kSnapshotDelayMs) {
        return;  // typing on without a pause still gets its snapshot
    }
    snapshotTimer_.start(kSnapshotDelayMs);
}

void SorvelApplication::endWithoutQuestions() {
    delegate_->writeAllSnapshots();
    quitting_ = true;
    // Every event loop ends, a question's too (it answers Cancel); the quit writes the rest.
    // At start-up the main loop has not begun yet: it ends as soon as it does.
    QCoreApplication::exit(0);
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

void SorvelApplication::keepScoresAtUnaskedEnds() {
    if (signalPipe[0] < 0 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) == 0) {
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int s : {SIGTERM, SIGHUP, SIGINT}) sigaction(s, &action, nullptr);
    }
    if (signalPipe[0] >= 0) {
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            char bytes[16];
            while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
            }
            endWithoutQuestions();
        });
    }
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { delegate_->writeAllSnapshots(); });
    exitingApplication() = this;
    static const bool atExit = std::atexit(onExit) == 0;
    Q_UNUSED(atExit);
}

}  // namespace sorvel::gui
