// The main thread's clock: one-shot timers in time order, and cancelling.
#include "qt_clock.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <memory>
#include <vector>

namespace sorvel::gui {
namespace {

// Runs the event loop until the condition holds or the time is up.
bool spinUntil(const std::function<bool()>& done, qint64 ms = 2000) {
    QElapsedTimer guard;
    guard.start();
    while (!done() && guard.elapsed() < ms) {
        QTest::qWait(1);
    }
    return done();
}

TEST(QtClock, TimersFireOnceInTimeOrderAndNotBeforeTheirTime) {
    QtClock clock;
    const double t0 = clock.now();
    std::vector<std::pair<int, double>> fired;
    auto at = [&](int tag) { return [&, tag] { fired.emplace_back(tag, clock.now()); }; };
    // Far enough behind the chained timer that a loaded machine's lateness cannot swap them.
    clock.schedule(0.200, at(3));
    const auto cancelled = clock.schedule(0.020, at(99));
    clock.schedule(0.010, at(1));
    clock.schedule(-5.0, at(0));  // a delay in the past fires at once
    // A callback that arms the next timer, as playback does.
    clock.schedule(0.015, [&] {
        fired.emplace_back(2, clock.now());
        clock.schedule(0.010, at(4));
    });
    clock.cancel(cancelled);
    clock.cancel(12345);  // unknown ids are ignored
    ASSERT_TRUE(spinUntil([&] { return fired.size() == 5; }));
    spinUntil([] { return false; }, 100);  // nothing else arrives later
    ASSERT_EQ(fired.size(), 5u);
    const int order[] = {0, 1, 2, 4, 3};
    const double due[] = {0.0, 0.010, 0.015, 0.025, 0.200};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(fired[i].first, order[i]) << i;
        EXPECT_GE(fired[i].second - t0, due[i] - 1e-4) << fired[i].first;
    }
    EXPECT_EQ(clock.pendingTimers(), 0u);
}

TEST(QtClock, TimersOfAClockThatIsGoneNeverFire) {
    int fired = 0;
    {
        QtClock clock;
        clock.schedule(0.001, [&] { ++fired; });
    }
    spinUntil([] { return false; }, 50);
    EXPECT_EQ(fired, 0);
}

}  // namespace
}  // namespace sorvel::gui
