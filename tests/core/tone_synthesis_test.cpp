// Tones and clicks synthesized for the audio output, and how they are handed over.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "fakes.h"
#include "given.h"
#include "sound/sound_preferences.h"
#include "sound/tone.h"

namespace sorvel {
namespace {

using namespace sorvel::testing;

TEST(ToneSynthesis, FrameCountsAndSilence) {
    // {sample rate, seconds, frames}
    // clang-format off
    const std::tuple<double, float, std::uint32_t> cases[] = {
        {44100, 0.5f, 22050}, {48000, 0.5f, 24000}, {44100, 0.02f, 882}, {48000, 0.02f, 960},
        {48000, 6.0f, 288000}, {44100, 60.0f, 2646000},
        // Truncated in single precision: 0.333333f and 0.666666f are a little short.
        {44100, 0.333333f, 14699}, {48000, 0.666666f, 31999},
        {44100, 0.0f, 0}, {44100, -1.0f, 0}, {44100, std::numeric_limits<float>::quiet_NaN(), 0},
        {48000, 1e30f, 28800000},  // a stray length is capped rather than exhausting memory
    };
    // clang-format on
    for (const auto& [rate, seconds, frames] : cases) {
        EXPECT_EQ(frameCount(rate, seconds), frames) << rate << " Hz, " << seconds << " s";
        if (frames > 3'000'000) continue;
        // Frequency 0 (and no finite frequency) is silence of the same length.
        for (float f : {440.0f, 0.0f, std::numeric_limits<float>::infinity()}) {
            const PcmBuffer tone = synthesizeTone({rate, 2}, f, seconds);
            EXPECT_EQ(tone.frameLength, frames);
            ASSERT_EQ(tone.channelData.size(), 2u);
            ASSERT_EQ(tone.channelData[1].size(), frames);
            if (f == 440.0f) {
                EXPECT_EQ(tone.channelData[1], tone.channelData[0]);
            } else {
                for (float s : tone.channelData[1]) ASSERT_EQ(s, 0.0f) << f;
            }
        }
    }
}

TEST(ToneSynthesis, TonesAndClicksRiseAndFallInsideTheirLengthBelowFullScale) {
    // {sample rate, seconds, a click, frames with sound, frames of the rise and of the fall}
    const std::tuple<double, float, bool, std::int64_t, std::int64_t> cases[] = {
        {48000, 0.5f, false, 24000, 192}, {44100, 0.5f, false, 22050, 176},
        {48000, 0.005f, false, 240, 120},  // shorter than two ramps: half each
        {48000, 0.5f, true, 961, 192},    {44100, 0.25f, true, 883, 176},
    };
    const float f = 1046.0f;
    for (const auto& [rate, seconds, click, sounding, ramp] : cases) {
        SCOPED_TRACE(std::to_string(rate) + (click ? " click " : " tone ") +
                     std::to_string(seconds));
        const PcmBuffer b =
            click ? synthesizeClick({rate, 2}, f, seconds) : synthesizeTone({rate, 2}, f, seconds);
        ASSERT_EQ(b.frameLength, frameCount(rate, seconds));
        EXPECT_EQ(b.channelData[1], b.channelData[0]);
        const std::vector<float>& s = b.channelData[0];
        for (std::int64_t i = 0; i < static_cast<std::int64_t>(s.size()); ++i) {
            const double k = std::min(i, sounding - i);
            const double gain =
                i >= sounding ? 0.0 : (k >= ramp ? 1.0 : 0.5 - 0.5 * std::cos(M_PI * k / ramp));
            const double want = kToneLevel * gain * std::sin(2 * M_PI * f * i / rate);
            ASSERT_NEAR(s[static_cast<std::size_t>(i)], want, 1e-6) << i;
        }
    }
}

TEST(ToneSynthesis, HandOverOrderAndStartFailure) {
    CapturingAudioOutput audio({48000, 2});
    playToneOn(audio, 440.0f, 0.5f);
    playClickOn(audio, 880.0f, 0.5f);
    // An entry tone replaces the one sounding; clicks are queued.
    EXPECT_EQ(audio.calls, (std::vector<std::string>{"connect", "now", "start", "play", "connect",
                                                     "schedule", "start", "play"}));
    EXPECT_EQ(audio.connected[0], (PcmFormat{48000, 2}));
    ASSERT_EQ(audio.buffers.size(), 2u);
    EXPECT_EQ(audio.buffers[0].format, (PcmFormat{48000, 2}));
    EXPECT_EQ(audio.buffers[1].frameLength, 24000u);

    audio.calls.clear();
    audio.startError = "no output device";
    DiagCapture diag;
    playToneOn(audio, 440.0f, 0.5f);
    EXPECT_EQ(audio.calls, (std::vector<std::string>{"connect", "now", "start"}));
    EXPECT_EQ(diag.lines, (std::vector<std::string>{"no output device"}));
    EXPECT_EQ(audio.buffers.size(), 3u);  // left queued
}

TEST(ToneSynthesis, NoOutputOrAnUnusableFormatSkipsSilently) {
    auto doc = makeDocument();  // a window without a sound device
    DiagCapture diag;
    doc->setEntryPitch(17);
    EXPECT_TRUE(diag.lines.empty());

    CapturingAudioOutput audio({0, 2});
    playToneOn(audio, 440.0f, 0.5f);
    audio.setFormat({44100, 0});
    playClickOn(audio, 440.0f, 0.5f);
    EXPECT_TRUE(audio.calls.empty());
}

TEST(SoundPreferences, OddStoredValuesReadAsTheDefault) {
    testing::FakeSettings settings;
    SoundPreferences prefs(settings);
    const std::pair<std::string, std::int64_t> stored[] = {
        {"", 100}, {"40", 40}, {"0", 0}, {"101", 100}, {"-3", 100}, {"4x", 100}, {"1e2", 100}};
    for (const auto& [text, volume] : stored) {
        settings.values[SoundPreferences::kVolumeKey] = text;
        EXPECT_EQ(prefs.volume(), volume) << text;
    }
    prefs.setVolume(250);
    EXPECT_EQ(prefs.gain(), 1.0f);
    EXPECT_FALSE(prefs.metronome());
    prefs.setMetronome(true);
    EXPECT_TRUE(prefs.metronome());
    settings.values[SoundPreferences::kMetronomeKey] = "yes";
    EXPECT_FALSE(prefs.metronome());
}

}  // namespace
}  // namespace sorvel
