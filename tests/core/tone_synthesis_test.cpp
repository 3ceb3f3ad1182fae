// Tones and clicks synthesized for the audio output, and how they are handed over.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "edit_test_document.h"
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
            if (f == 440.0f) EXPECT_EQ(tone.channelData[1], tone.channelData[0]);
            if (f != 440.0f) {
                for (float s : tone.channelData[1]) ASSERT_EQ(s, 0.0f) << f;
            }
        }
    }
}

TEST(ToneSynthesis, ClickIsTwentyMillisecondsOnTheFirstChannel) {
    const struct {
        double sampleRate;
        std::int64_t channels;
        float seconds;
        std::uint32_t lastSineFrame;
    } cases[] = {
        {44100, 2, 0.5f, 882},
        {48000, 2, 0.5f, 960},
        {48000, 1, 0.25f, 960},
        {44100, 2, 0.01f, 440},  // shorter than the click: the buffer ends first
    };
    const float f = 1046.0f;
    for (const auto& c : cases) {
        const PcmBuffer click = synthesizeClick({c.sampleRate, c.channels}, f, c.seconds);
        ASSERT_EQ(click.frameLength, frameCount(c.sampleRate, c.seconds));
        ASSERT_EQ(click.channelData.size(), static_cast<std::size_t>(c.channels));
        const float sr = static_cast<float>(c.sampleRate);
        for (std::uint32_t i = 0; i < click.frameLength; ++i) {
            const float expected = i <= c.lastSineFrame
                                       ? std::sin((f * 6.2831855f) * static_cast<float>(i) / sr)
                                       : 0.0f;
            ASSERT_EQ(click.channelData[0][i], expected) << c.sampleRate << " frame " << i;
            for (std::size_t ch = 1; ch < click.channelData.size(); ++ch) {
                ASSERT_EQ(click.channelData[ch][i], 0.0f);
            }
        }
        if (c.lastSineFrame + 1 < click.frameLength) {
            EXPECT_NE(click.channelData[0][c.lastSineFrame], 0.0f);
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

}  // namespace
}  // namespace sorvel
