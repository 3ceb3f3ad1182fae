#pragma once

#include <cstdint>
#include <functional>

namespace sorvel {

// Time and one-shot timers on the thread that owns the caller (the main thread of the
// application). Times are seconds on a monotonic clock.
class Clock {
  public:
    using TimerId = std::uint64_t;

    virtual ~Clock() = default;
    // Seconds since an arbitrary fixed point; never goes back.
    virtual double now() const = 0;
    // Calls the callback once, no earlier than delaySeconds from now (a negative or non-finite
    // delay counts as 0). The returned id is never 0.
    virtual TimerId schedule(double delaySeconds, std::function<void()> callback) = 0;
    // Forgets a timer that has not fired; unknown or already fired ids are ignored.
    virtual void cancel(TimerId id) = 0;
};

}  // namespace sorvel
