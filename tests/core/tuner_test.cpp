// The tuner: label text, the steady tone and its two states.
#include "app/tuner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "fakes.h"
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

TEST(SteadyTone, ChunksJoinWithoutASeam) {
    for (const double rate : {44100.0, 48000.0}) {
        for (const float f : {440.0f, 1046.0f}) {
            SteadyTone tone(f, {rate, 2});
            std::vector<float> all;
            for (int k = 0; k < 8; ++k) {
                const PcmBuffer b = tone.nextChunk();
                ASSERT_EQ(b.channelData.size(), 2u);
                ASSERT_EQ(b.channelData[0], b.channelData[1]);
                all.insert(all.end(), b.channelData[0].begin(), b.channelData[0].end());
            }
            // Every frame is the sine at its absolute position, across chunk borders.
            for (std::size_t i = 0; i < all.size(); i += 97) {
                const double expected = kToneLevel * std::sin(2.0 * std::numbers::pi * f *
                                                              static_cast<double>(i) / rate);
                ASSERT_NEAR(all[i], expected, 1e-5) << f << " at " << i;
            }
        }
    }
    // One hour in, the phase is still exact.
    EXPECT_EQ(steadyToneSample(440.0f, 48000.0, 48000ull * 3600 + 123),
              steadyToneSample(440.0f, 48000.0, 123));
}

using testing::OutputLog;

struct TunerRig {
    OutputLog log;
    double now = 100.0;
    bool outputAvailable = true;
    Tuner tuner{[this]() -> std::unique_ptr<AudioOutput> {
                    if (!outputAvailable) return nullptr;
                    return std::make_unique<testing::CapturingAudioOutput>(log);
                },
                [this] { return now; }};
    double secondsScheduled() const {
        double s = 0;
        for (const PcmBuffer& b : log.buffers) s += b.frameLength / b.format.sampleRate;
        return s;
    }
};

TEST(Tuner, StartsAtA440AndSwitchesBetweenTwoStates) {
    TunerRig rig;
    EXPECT_EQ(rig.tuner.note(), 17);
    rig.tuner.play();
    EXPECT_TRUE(rig.tuner.nowPlaying());
    EXPECT_EQ(rig.tuner.lblHz(), "440.0Hz");
    EXPECT_EQ(rig.log.played, 1);
    ASSERT_FALSE(rig.log.buffers.empty());
    EXPECT_EQ(rig.log.buffers.front().channelData[0][0], 0.0f);
    EXPECT_EQ(rig.log.buffers.front().channelData[0][1],
              kToneLevel * steadyToneSample(440.0f, 48000.0, 1));
    rig.tuner.play();
    EXPECT_FALSE(rig.tuner.nowPlaying());
    EXPECT_EQ(rig.log.closed, 1) << "stopping closes the output, which silences it";
    rig.tuner.play();
    EXPECT_EQ(rig.log.opened, 2);
}

TEST(Tuner, KeepsTheToneFedUntilStopped) {
    TunerRig rig;
    rig.tuner.play();
    EXPECT_GE(rig.secondsScheduled(), Tuner::kAheadSeconds);
    EXPECT_LE(rig.secondsScheduled(), Tuner::kAheadSeconds + SteadyTone::kChunkSeconds);
    // Two minutes of pumping every 100 ms: always ahead of the clock, never far ahead.
    for (int tick = 0; tick < 1200; ++tick) {
        rig.now += 0.1;
        rig.tuner.pump();
        const double played = rig.now - 100.0;
        ASSERT_GT(rig.secondsScheduled() - played, 0.5) << tick;
        ASSERT_LT(rig.secondsScheduled() - played, Tuner::kAheadSeconds + 0.5) << tick;
    }
    EXPECT_TRUE(rig.tuner.nowPlaying()) << "the tone goes on until stopped";
    // A long stall does not bring a burst of catch-up buffers.
    const std::size_t before = rig.log.buffers.size();
    rig.now += 3600;
    rig.tuner.pump();
    EXPECT_LE(rig.log.buffers.size() - before, 5u);
    rig.tuner.play();
    rig.now += 1;
    const std::size_t stopped = rig.log.buffers.size();
    rig.tuner.pump();
    EXPECT_EQ(rig.log.buffers.size(), stopped);
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
    rig.now += 2;
    rig.tuner.pump();
    SteadyTone unchanged(440.0f, {48000.0, 2});
    for (std::size_t i = 1; i < rig.log.buffers.size(); ++i) unchanged.nextChunk();
    EXPECT_EQ(rig.log.buffers.back().channelData, unchanged.nextChunk().channelData);
    rig.tuner.play();
    rig.tuner.play();
    EXPECT_EQ(rig.tuner.lblHz(), "880.0Hz");
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
