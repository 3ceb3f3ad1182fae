#pragma once

// A clock for tests: time stands still until the test moves it; timers fire in order of
// their due time as it passes.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include "sound/clock.h"

namespace sorvel::testing {

class FakeClock : public Clock {
  public:
    double now() const override { return now_; }

    TimerId schedule(double delaySeconds, std::function<void()> callback) override {
        if (!std::isfinite(delaySeconds) || delaySeconds < 0) delaySeconds = 0;
        timers_.push_back({now_ + delaySeconds, ++lastId_, std::move(callback)});
        return lastId_;
    }

    void cancel(TimerId id) override {
        std::erase_if(timers_, [id](const Timer& t) { return t.id == id; });
    }

    // Moves time to t, firing every timer due by then, earliest first.
    void advanceTo(double t) {
        while (fireNext(t)) {
        }
        now_ = std::max(now_, t);
    }
    void advance(double seconds) { advanceTo(now_ + seconds); }

    // Fires timers until none is armed; false when one would fire after the limit.
    bool runUntilIdle(double limit) {
        while (!timers_.empty()) {
            if (!fireNext(limit)) return false;
        }
        return true;
    }

    std::size_t pendingTimers() const { return timers_.size(); }

  private:
    struct Timer {
        double due;
        TimerId id;
        std::function<void()> callback;
    };

    bool fireNext(double limit) {
        auto next =
            std::min_element(timers_.begin(), timers_.end(), [](const Timer& a, const Timer& b) {
                return a.due < b.due || (a.due == b.due && a.id < b.id);
            });
        if (next == timers_.end() || next->due > limit) return false;
        now_ = std::max(now_, next->due);
        auto callback = std::move(next->callback);
        timers_.erase(next);
        callback();
        return true;
    }

    double now_ = 1000.0;  // not 0, so that nothing relies on a zero start
    TimerId lastId_ = 0;
    std::vector<Timer> timers_;
};

}  // namespace sorvel::testing
