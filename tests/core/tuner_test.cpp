// The tuner: its steady tone and its two states.
#include "app/tuner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "fakes.h"
#include "sound/tone.h"

namespace sorvel {
namespace {

using testing::OutputLog;

struct TunerRig {
    OutputLog log;
    bool outputAvailable = true;
    Tuner tuner{[this]() -> std::unique_ptr<AudioOutput> {
        if (!outputAvailable) return nullptr;
        return std::make_unique<testing::CapturingAudioOutput>(log);
    }};
};

TEST(Tuner, StartsAtA440AndSwitchesBetweenTwoStates) {
    TunerRig rig;
    EXPECT_EQ(rig.tuner.note(), 17);
    rig.tuner.play();
    EXPECT_TRUE(rig.tuner.nowPlaying());
    EXPECT_EQ(rig.tuner.lblHz(), "440.0Hz");
    EXPECT_EQ(rig.log.played, 1);
    ASSERT_EQ(rig.log.nowPrograms.size(), 1u);
    // One program that never ends, rendered by the output's clock; an hour in, every frame is
    // still the sine at its phase (the step's rounding moves it by 1e-5 of a cycle an hour).
    const PlayProgram& tone = *rig.log.nowPrograms[0];
    EXPECT_EQ(tone.length(), std::numeric_limits<std::int64_t>::max());
    const std::int64_t hour = 48000ll * 3600;
    std::vector<float> out(2 * 480);
    tone.render(hour, out.data(), 480, 2, tone.length());
    for (std::size_t i = 0; i < 480; ++i) {
        const double cycles = std::fmod(440.0 * static_cast<double>(hour + i), 48000.0) / 48000.0;
        ASSERT_NEAR(out[2 * i], kToneLevel * std::sin(2 * std::numbers::pi * cycles), 1e-4) << i;
        ASSERT_EQ(out[2 * i + 1], out[2 * i]);
    }
    rig.tuner.play();
    EXPECT_FALSE(rig.tuner.nowPlaying());
    EXPECT_EQ(rig.log.closed, 1) << "stopping closes the output, which silences it";
    rig.tuner.play();
    EXPECT_EQ(rig.log.opened, 2);
}

TEST(Tuner, FailingOutputLeavesTheTunerSilent) {
    testing::DiagCapture diag;
    {
        TunerRig rig;
        rig.log.startError = "device gone";
        rig.tuner.play();
        EXPECT_FALSE(rig.tuner.nowPlaying());
        EXPECT_EQ(rig.tuner.status(), "device gone");
        EXPECT_EQ(rig.log.played, 0);
        EXPECT_EQ(rig.log.closed, rig.log.opened);
        // The next press tries again, and succeeds once the output works.
        rig.log.startError.reset();
        rig.tuner.play();
        EXPECT_TRUE(rig.tuner.nowPlaying());
        EXPECT_TRUE(rig.tuner.status().empty());
    }
    {
        TunerRig rig;
        rig.outputAvailable = false;
        rig.tuner.play();
        EXPECT_FALSE(rig.tuner.nowPlaying());
        EXPECT_FALSE(rig.tuner.status().empty());
    }
    EXPECT_EQ(diag.lines.size(), 2u);
}

}  // namespace
}  // namespace sorvel
