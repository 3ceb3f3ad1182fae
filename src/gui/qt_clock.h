#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <map>
#include <memory>

#include "sound/clock.h"

class QTimer;

namespace sorvel::gui {

// The clock of the main thread: one-shot precise timers on the Qt event loop and a monotonic
// time. Timers still armed when the clock goes away never fire.
class QtClock : public Clock {
  public:
    QtClock();
    ~QtClock() override;
    QtClock(const QtClock&) = delete;
    QtClock& operator=(const QtClock&) = delete;

    double now() const override;
    TimerId schedule(double delaySeconds, std::function<void()> callback) override;
    void cancel(TimerId id) override;

    std::size_t pendingTimers() const { return timers_.size(); }

  private:
    void fire(TimerId id);

    QElapsedTimer elapsed_;
    struct Armed {
        std::unique_ptr<QTimer> timer;
        std::function<void()> callback;
    };
    std::map<TimerId, Armed> timers_;
    TimerId lastId_ = 0;
};

}  // namespace sorvel::gui
