// Playing a score over a test clock: count-in, states, stop, the exercise loop, and
// sample-exact placement of the sound on the output's clock; the list of entries it plays;
// the tones and clicks it is made of, and the sound preferences.
#include "sound/score_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "fake_clock.h"
#include "fakes.h"
#include "given.h"
#include "model/notation_tables.h"
#include "sound/play_list.h"
#include "sound/sound_preferences.h"
#include "sound/tone.h"

namespace sorvel {
namespace {

constexpr std::int64_t kQuarter = 5, kEighth = 7, kHalf = 3, kQuarterRest = 17, kEighthRest = 19;
constexpr std::int64_t kTripletEighthRest = 45, kTieQuarter = 55;
constexpr std::int64_t kMark = 25, kRepeatStart = 26, kRepeatEnd = 27, kFirstEnding = 28;

struct RecordingListener : PlaybackListener {
    explicit RecordingListener(const Clock& c) : clock(c) {}
    void setPlayButtonTitle(std::string_view title) override { titles.emplace_back(title); }
    void showEndAlert(std::string_view text) override {
        alerts.emplace_back(text);
        alertTimes.push_back(clock.now());
        if (onAlert) onAlert();
    }
    void showPlaybackMessage(std::string_view text) override { messages.emplace_back(text); }
    void soundingCellChanged(std::int64_t cell) override { cells.push_back(cell); }
    std::vector<std::string> titles, alerts, messages;
    std::vector<std::int64_t> cells;
    std::vector<double> alertTimes;
    std::function<void()> onAlert;
    const Clock& clock;
};

// The index of the item showing text; -1 (no choice) for a text the list does not have.
std::int64_t choice(const std::vector<std::string>& items, const std::string& text) {
    const auto it = std::find(items.begin(), items.end(), text);
    return it == items.end() ? -1 : it - items.begin();
}

struct Song {
    std::vector<ScoreCell> cells;
    std::vector<float> table{tables::freqArr.begin(), tables::freqArr.end()};
    // The cells with the tempo, beat and key choices showing these texts.
    PlayRequest request(const std::string& tempo = "120", const std::string& beats = "4",
                        bool exercise = false, std::int64_t start = 0,
                        const std::string& key = "C") const {
        played = {cells,
                  {},
                  {-1, choice(tempoItems(), tempo), choice(inKeyItems(), key),
                   choice(beatItems(), beats), 440}};
        return {&played, start, &table, exercise};
    }
    mutable Score played{};
};

struct Rig {
    explicit Rig(double rate = 8000.0) : output({rate, 1}, &clock), listener(clock) {}
    testing::DiagCapture quiet;
    testing::FakeClock clock;
    testing::CapturingAudioOutput output;
    RecordingListener listener;
    std::unique_ptr<ScorePlayer> player = std::make_unique<ScorePlayer>(output, clock, listener);
    double t0 = clock.now();
    void runOut() { ASSERT_TRUE(clock.runUntilIdle(t0 + 600)); }
};

// The clicks, then the entries, as they should sound.
std::vector<float> expectedSound(double rate, std::int64_t beats, float beat,
                                 const std::vector<PlayEntry>& entries) {
    std::vector<float> out;
    auto append = [&](const PcmBuffer& b) {
        out.insert(out.end(), b.channelData[0].begin(), b.channelData[0].end());
    };
    for (std::int64_t i = 0; i < beats; ++i)
        append(synthesizeClick({rate, 1}, i == 0 ? 1880.0f : 1250.0f, beat));
    for (const PlayEntry& e : entries) append(synthesizeTone({rate, 1}, e.frequency, e.seconds));
    return out;
}

TEST(ScorePlayer, CountInThenTheNotesThenIdleWithTheEndAlert) {
    const std::tuple<std::string, std::string, std::string, double> cases[] = {
        {"120", "4", "C", 8000}, {"80", "3", "Bb", 8000}, {"60", "2", "Eb", 11025}};
    for (const auto& [tempo, beatText, key, rate] : cases) {
        SCOPED_TRACE(tempo + "/" + beatText + "/" + key);
        Rig rig(rate);
        const Song score{{{17, kQuarter}, {0, kQuarterRest}, {20, kTieQuarter}, {21, kEighth}}};
        const std::int64_t beats = std::stoll(beatText);
        rig.player->playAll(score.request(tempo, beatText, false, -1, key));
        EXPECT_EQ(rig.player->state(), PlayState::CountIn);
        EXPECT_EQ(rig.listener.titles, std::vector<std::string>{"■"});

        const float beat = 60.0f / static_cast<float>(std::stoll(tempo));
        const float f = keyFactor(key);
        const std::vector<PlayEntry> entries = {
            {440.0f * f, beat}, {0.0f, beat}, {523.0f * f, beat * 1.5f}};
        EXPECT_EQ(rig.player->playMusicData(), entries);
        rig.clock.advanceTo(rig.t0 + beat * (beats - 0.5));
        EXPECT_EQ(rig.player->state(), PlayState::CountIn);
        EXPECT_EQ(rig.player->playCount(), -1);
        rig.clock.advanceTo(rig.t0 + beat * beats + 0.05);
        EXPECT_EQ(rig.player->state(), PlayState::Playing);
        EXPECT_EQ(rig.player->soundingCell(), 0);

        rig.runOut();
        EXPECT_EQ(rig.player->state(), PlayState::Idle);
        EXPECT_EQ(rig.listener.titles, (std::vector<std::string>{"■", "▶︎"}));
        // The cells heard: the note, the rest, the tie chain from its first cell; none at the end.
        EXPECT_EQ(rig.listener.cells, (std::vector<std::int64_t>{0, 1, 2, -1}));
        ASSERT_EQ(rig.output.programs.size(), 1u);
        EXPECT_EQ(rig.output.renderRun(0), expectedSound(rate, beats, beat, entries));
        // The alert shows once, while the last note sounds.
        ASSERT_EQ(rig.listener.alerts, std::vector<std::string>{"end"});
        const double last = rig.t0 + rig.player->program()->entryStart(2) / rate;
        EXPECT_GE(rig.listener.alertTimes[0] + 1e-9, last);
        EXPECT_LT(rig.listener.alertTimes[0], last + 2 * kDefaultFollowSeconds);
    }
}

TEST(ScorePlayer, WhatTheWindowShowsFollowsWhatIsHeard) {
    // Half a second of output latency: the window follows the sound, not the rendering.
    Rig rig;
    rig.output.latency = 0.5;
    const Song score{{{17, kHalf}, {18, kHalf}}};
    rig.player->playAll(score.request());
    rig.clock.advanceTo(rig.t0 + 2.4);
    EXPECT_EQ(rig.player->state(), PlayState::CountIn);
    rig.clock.advanceTo(rig.t0 + 2.55);
    EXPECT_EQ(rig.player->soundingCell(), 0);
    rig.clock.advanceTo(rig.t0 + 3.45);
    EXPECT_TRUE(rig.listener.alerts.empty());
    rig.clock.advanceTo(rig.t0 + 3.55);
    EXPECT_EQ(rig.listener.alerts.size(), 1u);
}

TEST(ScorePlayer, PressingAgainStopsAfterTheSoundingNote) {
    const Song score{{{17, kHalf}, {18, kHalf}, {19, kHalf}}};
    // {seconds after the start, the frame where the sound ends (8000 frames a second)}
    const std::pair<double, std::int64_t> cases[] = {
        {0.2, 4000},    // during the first click: its beat ends
        {0.97, 8000},   // end of the second beat
        {2.98, 24000},  // first note nearly over
    };
    for (const auto& [at, endFrame] : cases) {
        SCOPED_TRACE(at);
        Rig rig;
        rig.player->playAll(score.request());
        rig.clock.advanceTo(rig.t0 + at);
        rig.player->playAll(score.request());
        EXPECT_EQ(rig.player->state(), PlayState::StopRequested);
        EXPECT_EQ(rig.player->title(), kPlayTitle) << "the title turns at once";
        rig.runOut();
        EXPECT_EQ(rig.player->state(), PlayState::Idle);
        EXPECT_EQ(rig.output.programs[0].end, endFrame);
        EXPECT_TRUE(rig.listener.alerts.empty());
        // Idle when the sound kept has been heard, not before.
        EXPECT_GE(rig.clock.now() + 1e-9, rig.t0 + endFrame / 8000.0);
    }
}

TEST(ScorePlayer, ExerciseModeLoopsTheLineWithoutASecondCountIn) {
    Rig rig;
    Song score;
    for (std::int64_t i = 0; i < 45; ++i) score.cells.push_back({i % 30, kQuarter});
    // The selection on the second line: cells 40..44 (pitches 10..14) loop.
    rig.player->playAll(score.request("120", "4", true, 42));
    rig.clock.advanceTo(rig.t0 + 2.0 + 12 * 0.5 + 0.1);
    EXPECT_EQ(rig.player->state(), PlayState::Playing);
    EXPECT_EQ(rig.player->soundingCell(), 42);
    const std::vector<float> heard = rig.output.renderRun(0, 8000 * 7);
    std::vector<PlayEntry> twice;
    for (int i = 0; i < 10; ++i) twice.push_back({tables::freqArr[10 + i % 5], 0.5f});
    const std::vector<float> expected = expectedSound(8000, 4, 0.5f, twice);
    EXPECT_EQ(heard, expected);
    rig.player->playAll(score.request("120", "4", true, 42));
    rig.runOut();
    EXPECT_EQ(rig.player->state(), PlayState::Idle);
    EXPECT_TRUE(rig.listener.alerts.empty());
}

TEST(ScorePlayer, TheMetronomeClicksEveryBeatWithTheBarsFirstBeatAccented) {
    Rig rig;
    Song score{{{17, kHalf}, {18, kQuarter}, {19, kHalf}}};  // five beats
    PlayRequest request = score.request("120", "3");
    request.metronome = true;
    rig.player->playAll(request);
    rig.runOut();
    const std::vector<float> heard = rig.output.renderRun(0);
    std::vector<float> expected = expectedSound(8000, 3, 0.5f, rig.player->playMusicData());
    for (int k = 0; k < 5; ++k) {
        const PcmBuffer click = synthesizeClick({8000, 1}, k % 3 == 0 ? 1880.0f : 1250.0f, 0.5f);
        for (std::size_t i = 0; i < click.frameLength; ++i)
            expected[static_cast<std::size_t>(12000 + 4000 * k) + i] += click.channelData[0][i];
    }
    expected.resize(heard.size());
    EXPECT_EQ(heard, expected);
}

TEST(ScorePlayer, TempoOrBeatsThatAreNoPositiveNumberOrNoOutputNeverStart) {
    // A count of at most 1000.
    const std::pair<std::string, std::optional<std::int64_t>> texts[] = {
        {" 90 ", 90}, {"1000", 1000}, {"", {}},     {"0", {}},  {"-120", {}},
        {"12.5", {}}, {"120bpm", {}}, {"1001", {}}, {"+4", {}}, {"99999999999999999999999", {}},
    };
    for (const auto& [text, count] : texts) EXPECT_EQ(parseCount(text, 1000), count) << text;
    // A score with no tempo or no beat chosen does not start, and says why.
    const Song score{{{17, kQuarter}}};
    for (const auto& [tempo, beats] : {std::pair{"", "4"}, {"120", ""}}) {
        Rig rig;
        rig.player->playAll(score.request(tempo, beats));
        EXPECT_TRUE(rig.player->idle());
        EXPECT_TRUE(rig.output.programs.empty());
        ASSERT_EQ(rig.listener.messages.size(), 1u);
        EXPECT_FALSE(rig.listener.messages[0].empty());
        EXPECT_EQ(rig.clock.pendingTimers(), 0u);
    }
    // No sound server: the button never claims playback; one that goes away ends it.
    Rig rig;
    rig.output.gone = true;
    rig.player->playAll(score.request());
    EXPECT_TRUE(rig.player->idle());
    EXPECT_TRUE(rig.listener.titles.empty());
    EXPECT_EQ(rig.listener.messages,
              std::vector<std::string>{"There is no sound output to play on."});
    rig.output.gone = false;
    rig.player->playAll(score.request());
    rig.clock.advance(1.0);
    rig.output.gone = true;
    rig.clock.advance(0.1);
    EXPECT_TRUE(rig.player->idle());
    EXPECT_NEAR(rig.output.programs.back().end, 8000, 8000 * kDefaultFollowSeconds)
        << "and it does not go on when it is back";
    EXPECT_EQ(rig.listener.titles, (std::vector<std::string>{"■", "▶︎"}));
}

TEST(ScorePlayer, ATempoChangeWaitsForTheNextStart) {
    Rig rig;
    const Song score{{{17, kQuarter}}};
    rig.player->playAll(score.request("60", "4"));
    rig.clock.advanceTo(rig.t0 + 0.5);
    rig.player->cmbTempoChange("120");
    rig.player->cmbTempoChange("fast");
    EXPECT_EQ(rig.player->playTempo(), 120);
    EXPECT_FALSE(rig.listener.messages.back().empty());
    rig.runOut();
    EXPECT_EQ(rig.output.programs[0].program->length(), 5 * 8000);
}

TEST(ScorePlayer, ClosingTheWindowWhilePlayingLeavesNoTimerBehind) {
    for (bool fromAlert : {false, true}) {
        Rig rig;
        const Song score{{{17, kQuarter}, {18, kQuarter}}};
        rig.player->playAll(score.request());
        if (fromAlert) {
            rig.listener.onAlert = [&] { rig.player.reset(); };  // closed under its alert
            rig.runOut();
            EXPECT_EQ(rig.listener.alerts.size(), 1u);
        } else {
            rig.clock.advance(2.2);
            rig.player.reset();
            EXPECT_EQ(rig.clock.pendingTimers(), 0u);
            EXPECT_EQ(rig.output.programs[0].end, 2.2 * 8000) << "the sound ends at once";
        }
        rig.clock.advance(60);
    }
}

// The list of (frequency, seconds) entries a score plays: repeats, first endings, the start
// cell and stray indices.
// Pitch i sounds at 100 + i Hz, so every entry tells its cell.
std::vector<float> countingTable() {
    std::vector<float> t;
    for (int i = 0; i < 200; ++i) t.push_back(100.0f + static_cast<float>(i));
    return t;
}

std::vector<float> pitches(const std::vector<PlayEntry>& list) {
    std::vector<float> out;
    for (const PlayEntry& e : list) out.push_back(e.frequency);
    return out;
}

TEST(PlayList, RepeatsAndFirstEndingsPlayAsWrittenFromAnyStart) {
    testing::DiagCapture quiet;
    const ScoreCell R{0, kRepeatStart}, E{0, kRepeatEnd}, F{0, kFirstEnding}, M{0, kMark};
    const ScoreCell A{1, kQuarter}, B{2, kQuarter}, C{3, kQuarter}, D{4, kQuarter};
    // {what, cells, start cell, the pitches in order}
    using Cells = std::vector<ScoreCell>;
    const std::tuple<const char*, Cells, std::int64_t, std::vector<float>> cases[] = {
        {"first ending", {R, A, F, B, E, C}, 0, {101, 102, 101, 103}},
        {"repeat without a start goes to cell 0", {A, E, B}, 0, {101, 101, 102}},
        {"notes before the repeat start", {A, R, B, E, C}, 0, {101, 102, 102, 103}},
        {"mark without effect", {M, A, M}, 0, {101}},
        {"two ends share one start", {R, A, E, B, E, C}, 0, {101, 101, 102, 101, 102, 103}},
        {"first ending to a repeat end in the last cell", {R, A, F, B, E}, 0, {101, 102, 101}},
        {"first ending, repeat end, second repeat end",
         {R, A, F, B, E, C, E, D},
         0,
         {101, 102, 101, 103, 101, 104}},
        {"repeat end twice in a row", {A, E, E}, 0, {101, 101, 101}},
        // From a later start the jump back lands before it; everything from there sounds.
        {"start inside the repeat", {A, R, B, C, E}, 3, {103, 102, 103}},
        {"start on the repeat end", {A, E, B}, 1, {101, 102}},
        {"start after the repeat", {R, A, E, B}, 3, {102}},
        {"start in the first ending", {R, A, F, B, E, C}, 3, {102, 101, 103}},
        {"a tie before the start is not carried", {{1, kTieQuarter}, B}, 1, {102}},
    };
    for (const auto& [name, cells, start, expected] : cases) {
        EXPECT_EQ(pitches(buildPlayList(cells, start, countingTable(), {.tempo = 120})), expected)
            << name;
    }
}

TEST(PlayList, StrayIndicesNeitherCrashNorShiftTheTiming) {
    testing::DiagCapture quiet;
    const std::vector<float> table(tables::freqArr.begin(), tables::freqArr.end());
    const std::vector<ScoreCell> cells = {
        {-3, kQuarter}, {39, kQuarter},           {17, 65},
        {17, -1},       {17, kTripletEighthRest}, {17, kEighthRest}};
    const std::vector<PlayEntry> expected = {
        {0.0f, 0.5f}, {0.0f, 0.5f}, {0.0f, 0.1666665f}, {0.0f, 0.25f}};
    EXPECT_EQ(buildPlayList(cells, 0, table, {.tempo = 120}), expected);
    EXPECT_TRUE(buildPlayList(cells, 0, {}, {.tempo = 120}).size() == expected.size());
}

TEST(PlayList, AScoreOfRepeatEndsEndsQuickly) {
    testing::DiagCapture quiet;
    // Every repeat end goes back to cell 0 once: without a bound the walk is quadratic.
    std::vector<ScoreCell> cells(20000, ScoreCell{0, kRepeatEnd});
    cells.front() = {1, kQuarter};
    const auto list = buildPlayList(cells, 0, countingTable(), {.tempo = 120});
    EXPECT_LE(list.size(), 16u * cells.size() + 1024u);
    EXPECT_EQ(quiet.lines.back(),
              "repeat marks lead back too often; the rest of the score is not played");
    // Written repeats stay far below the bound: 2000 repeated bars play completely.
    std::vector<ScoreCell> bars;
    for (int i = 0; i < 2000; ++i) {
        bars.insert(bars.end(), {{0, kRepeatStart}, {1, kQuarter}, {2, kQuarter}, {0, kRepeatEnd}});
    }
    EXPECT_EQ(buildPlayList(bars, 0, countingTable(), {.tempo = 120}).size(), 8000u);
}

// Tones and clicks synthesized for the audio output, and how they are handed over.
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
    testing::CapturingAudioOutput audio({48000, 2});
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
    testing::DiagCapture diag;
    playToneOn(audio, 440.0f, 0.5f);
    EXPECT_EQ(audio.calls, (std::vector<std::string>{"connect", "now", "start"}));
    EXPECT_EQ(diag.lines, (std::vector<std::string>{"no output device"}));
    EXPECT_EQ(audio.buffers.size(), 3u);  // left queued
}

TEST(ToneSynthesis, NoOutputOrAnUnusableFormatSkipsSilently) {
    auto doc = testing::makeDocument();  // a window without a sound device
    testing::DiagCapture diag;
    doc->setEntryPitch(17);
    EXPECT_TRUE(diag.lines.empty());

    testing::CapturingAudioOutput audio({0, 2});
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
