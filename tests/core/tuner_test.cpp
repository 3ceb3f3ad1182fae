// The tuner: label text, the steady tone and its two states.
#include "app/tuner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "audio_input_fake.h"
#include "edit_test_document.h"
#include "model/notation_tables.h"
#include "sound/tone.h"

namespace sorvel {
namespace {

TEST(TunerLabel, ShortestDecimalThatReadsBackWithAPointAndHz) {
    const std::pair<float, const char*> cases[] = {
        {440.0f, "440.0Hz"},   {0.0f, "0.0Hz"},    {0.1f, "0.1Hz"},
        {261.63f, "261.63Hz"}, {1e-3f, "0.001Hz"}, {16777216.0f, "16777216.0Hz"}};
    for (const auto& [f, label] : cases) EXPECT_EQ(frequencyLabel(f), label);

    // Every value of the fixed table and of equal-tempered tables around A = 440.
    std::vector<float> values(tables::freqArr.begin(), tables::freqArr.end());
    for (int base = 430; base <= 450; ++base)
        for (int k = -12; k <= 24; ++k) values.push_back(base * std::pow(2.0f, k / 12.0f));
    for (const float f : values) {
        const std::string label = frequencyLabel(f);
        ASSERT_TRUE(label.ends_with("Hz"));
        const std::string number = label.substr(0, label.size() - 2);
        const auto point = number.find('.');
        ASSERT_NE(point, std::string::npos) << label;
        EXPECT_EQ(std::strtof(number.c_str(), nullptr), f) << label;
        // Shortest: one digit fewer no longer reads back (unless it is the ".0" tail).
        if (number.size() - point > 2) {
            EXPECT_NE(std::strtof(number.substr(0, number.size() - 1).c_str(), nullptr), f)
                << label;
        }
    }
}

using fakes::OutputLog;

struct TunerRig {
    OutputLog log;
    bool outputAvailable = true;
    Tuner tuner{[this]() -> std::unique_ptr<AudioOutput> {
        if (!outputAvailable) return nullptr;
        return std::make_unique<fakes::RecordingOutput>(log);
    }};
};

TEST(Tuner, StartsAtA440AndSwitchesBetweenTwoStates) {
    TunerRig rig;
    EXPECT_EQ(rig.tuner.note(), 17);
    rig.tuner.play();
    EXPECT_TRUE(rig.tuner.nowPlaying());
    EXPECT_EQ(rig.tuner.lblHz(), "440.0Hz");
    EXPECT_EQ(rig.log.played, 1);
    ASSERT_EQ(rig.log.programs.size(), 1u);
    // One program that never ends, rendered by the output's clock; an hour in, every frame is
    // still the sine at its phase (the step's rounding moves it by 1e-5 of a cycle an hour).
    const PlayProgram& tone = *rig.log.programs[0];
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

TEST(Tuner, StepsChangeTheNoteButNotTheSoundingTone) {
    TunerRig rig;
    rig.tuner.play();
    rig.tuner.UpDown(4);  // A1 -> A2
    EXPECT_EQ(rig.tuner.note(), 34);
    EXPECT_EQ(rig.tuner.lblHz(), "440.0Hz");
    EXPECT_EQ(rig.log.programs.size(), 1u);
    rig.tuner.play();
    rig.tuner.play();
    EXPECT_EQ(rig.tuner.lblHz(), "880.0Hz");
    EXPECT_EQ(rig.log.programs.size(), 2u);
    rig.tuner.UpDown(8);
    EXPECT_EQ(rig.tuner.note(), 34);
}

TEST(Tuner, FrequencyAlwaysComesFromTheFixedTable) {
    TunerRig rig;
    for (int i = 0; i < 39; ++i) {
        rig.tuner.play();
        EXPECT_EQ(rig.tuner.frequency(), tables::freqArr[std::size_t(rig.tuner.note())]);
        rig.tuner.play();
        rig.tuner.UpDown(0);
    }
    EXPECT_EQ(rig.tuner.note(), 17) << "39 steps up come round again";
}

}  // namespace
}  // namespace sorvel
