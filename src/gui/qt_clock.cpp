#include "qt_clock.h"

#include <QTimer>
#include <cmath>
#include <limits>
#include <utility>

namespace sorvel::gui {

QtClock::QtClock() {
    elapsed_.start();
}

QtClock::~QtClock() = default;

double QtClock::now() const {
    return static_cast<double>(elapsed_.nsecsElapsed()) / 1e9;
}

Clock::TimerId QtClock::schedule(double delaySeconds, std::function<void()> callback) {
    if (!std::isfinite(delaySeconds) || delaySeconds < 0) delaySeconds = 0;
    // Whole milliseconds, rounded up so a timer never fires before its time.
    const double ms = std::ceil(delaySeconds * 1000.0);
    const int interval = ms < static_cast<double>(std::numeric_limits<int>::max())
                             ? static_cast<int>(ms)
                             : std::numeric_limits<int>::max();
    const TimerId id = ++lastId_;
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, [this, id] { fire(id); });
    timer->start(interval);
    timers_.emplace(id, Armed{std::move(timer), std::move(callback)});
    return id;
}

void QtClock::cancel(TimerId id) {
    timers_.erase(id);  // a stopped, deleted QTimer never fires
}

void QtClock::fire(TimerId id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    // The QTimer is inside its own signal: delete it once control is back in the event loop.
    it->second.timer.release()->deleteLater();
    std::function<void()> callback = std::move(it->second.callback);
    timers_.erase(it);
    callback();  // may schedule, cancel, or destroy the clock's user
}

}  // namespace sorvel::gui
