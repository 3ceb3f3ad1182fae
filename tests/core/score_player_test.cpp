// Playing a score over a test clock: count-in, entries, states, titles, stop, the exercise
// loop, and sample-exact placement of the sound whatever the timers' lateness.
#include "sound/score_player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "edit_test_document.h"
#include "fake_clock.h"
#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "sound/tone.h"

namespace sorvel {
namespace {

using testing::FakeClock;
using QuietDiagnostics = testing::DiagCapture;

constexpr std::int64_t kQuarter = 5, kEighth = 7, kHalf = 3, kQuarterRest = 17;
constexpr std::int64_t kTieQuarter = 55, kRepeatStart = 26, kRepeatEnd = 27;

// An output that plays what it is given back to back, as the sound device does: a buffer
// scheduled while others are queued starts where they end, one scheduled while nothing is
// queued starts at once. It keeps where each buffer sounds on the clock's time line.
class TimelineOutput : public AudioOutput {
  public:
    TimelineOutput(const Clock& clock, PcmFormat format) : clock_(clock), format_(format) {}

    struct Placed {
        PcmBuffer buffer;
        double scheduledAt;
        double start;  // when its first frame sounds
        double end;
    };

    PcmFormat outputFormat() const override { return format_; }
    void connect(const PcmFormat&) override {}
    void scheduleBuffer(PcmBuffer buffer) override {
        const double now = clock_.now();
        const double start = std::max(now, queueEnd_);
        const double end = start + buffer.frameLength / format_.sampleRate;
        queueEnd_ = end;
        placed.push_back({std::move(buffer), now, start, end});
    }
    std::optional<std::string> start() override { return std::nullopt; }
    void play() override {}
    bool dropQueued() override {
        ++drops;
        if (!canDrop) return false;
        const double now = clock_.now();
        while (!placed.empty() && placed.back().start > now) {
            dropped.push_back(std::move(placed.back()));
            placed.pop_back();
        }
        queueEnd_ = placed.empty() ? now : std::max(now, placed.back().end);
        return true;
    }

    // Placed buffers whose start does not meet the end of the one before.
    int gaps() const {
        int n = 0;
        for (std::size_t i = 1; i < placed.size(); ++i) {
            n += std::abs(placed[i].start - placed[i - 1].end) > 1e-9;
        }
        return n;
    }
    // Last moment at which anything sounds.
    double soundEnd() const { return placed.empty() ? 0.0 : placed.back().end; }

    std::vector<Placed> placed;
    std::vector<Placed> dropped;
    bool canDrop = true;
    int drops = 0;

  private:
    const Clock& clock_;
    PcmFormat format_;
    double queueEnd_ = 0.0;
};

class RecordingListener : public PlaybackListener {
  public:
    explicit RecordingListener(const Clock& clock) : clock_(clock) {}
    void setPlayButtonTitle(std::string_view title) override { titles.emplace_back(title); }
    void showEndAlert(std::string_view text) override {
        alerts.emplace_back(text);
        alertTimes.push_back(clock_.now());
        if (onAlert) onAlert();
    }
    void showPlaybackMessage(std::string_view text) override { messages.emplace_back(text); }

    std::vector<std::string> titles, alerts, messages;
    std::vector<double> alertTimes;
    std::function<void()> onAlert;

  private:
    const Clock& clock_;
};

// A score of the given cells with the window's pitch table.
struct Score {
    std::vector<ScoreCell> cells;
    std::vector<float> table{tables::freqArr.begin(), tables::freqArr.end()};

    PlayRequest request(std::string tempo = "120", std::string beats = "4", bool exercise = false,
                        std::int64_t start = 0, std::string key = "C") const {
        PlayRequest r;
        r.cells = &cells;
        r.freqArr = &table;
        r.startIndex = start;
        r.tempoText = std::move(tempo);
        r.beatsText = std::move(beats);
        r.exercise = exercise;
        r.key = std::move(key);
        return r;
    }
};

struct Rig {
    explicit Rig(double rate = 8000.0) : output(clock, {rate, 1}), listener(clock) {}
    QuietDiagnostics quiet;
    FakeClock clock;
    TimelineOutput output;
    RecordingListener listener;
    std::unique_ptr<ScorePlayer> player = std::make_unique<ScorePlayer>(output, clock, listener);
};

// The buffers the player should hand over: the clicks, then the entries.
std::vector<PcmBuffer> expectedBuffers(const PcmFormat& format, std::int64_t beats, float beat,
                                       const std::vector<PlayEntry>& entries) {
    std::vector<PcmBuffer> out;
    for (std::int64_t i = 0; i < beats; ++i) {
        out.push_back(synthesizeClick(format, i == 0 ? 1880.0f : 1250.0f, beat));
    }
    for (const PlayEntry& e : entries)
        out.push_back(synthesizeTone(format, e.frequency, e.seconds));
    return out;
}

void expectSameSound(const std::vector<TimelineOutput::Placed>& placed,
                     const std::vector<PcmBuffer>& expected) {
    ASSERT_EQ(placed.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(placed[i].buffer.frameLength, expected[i].frameLength) << "buffer " << i;
        EXPECT_TRUE(placed[i].buffer.channelData == expected[i].channelData) << "buffer " << i;
    }
}

TEST(ScorePlayer, CountInThenTheNotesThenIdleWithTheEndAlert) {
    const struct {
        std::string tempo, beats, key;
        double rate;
    } cases[] = {{"120", "4", "C", 8000},
                 {"90", "3", "Bb", 8000},
                 {"200", "2", "Eb", 48000},
                 {" 60 ", "1", "C", 11025}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tempo + "/" + c.beats + "/" + c.key);
        Rig rig(c.rate);
        const Score score{{{17, kQuarter}, {0, kQuarterRest}, {20, kTieQuarter}, {21, kEighth}}};
        const double t0 = rig.clock.now();
        const std::int64_t tempo = std::stoll(c.tempo), beats = std::stoll(c.beats);
        rig.player->playAll(score.request(c.tempo, c.beats, false, -1, c.key));
        // Handing over the last click moves the position to the first entry.
        EXPECT_EQ(rig.player->state(), beats > 1 ? PlayState::CountIn : PlayState::Playing);
        EXPECT_EQ(rig.player->title(), kPlayAlternateTitle);
        ASSERT_EQ(rig.listener.titles, std::vector<std::string>{"■"});

        const float beat = 60.0f / static_cast<float>(tempo);
        const float factor = keyFactor(c.key);
        const std::vector<PlayEntry> entries = {
            {440.0f * factor, beat}, {0.0f, beat}, {523.0f * factor, beat * 1.5f}};
        EXPECT_EQ(rig.player->playMusicData(), entries);

        // Counting in while a click other than the last sounds, playing after the last.
        if (beats >= 2) {
            rig.clock.advanceTo(t0 + beat * (beats - 1.5));
            EXPECT_EQ(rig.player->state(), PlayState::CountIn);
        }
        rig.clock.advanceTo(t0 + beat * beats + 0.01);
        EXPECT_EQ(rig.player->state(), PlayState::Playing);
        EXPECT_TRUE(rig.listener.alerts.empty());

        ASSERT_TRUE(rig.clock.runUntilIdle(t0 + 60));
        EXPECT_EQ(rig.player->state(), PlayState::Idle);
        EXPECT_EQ(rig.player->playCount(), 3);
        EXPECT_EQ(rig.player->title(), kPlayTitle);
        EXPECT_EQ(rig.listener.titles, (std::vector<std::string>{"■", "▶︎"}));
        expectSameSound(rig.output.placed, expectedBuffers({c.rate, 1}, beats, beat, entries));
        EXPECT_EQ(rig.output.gaps(), 0);
        EXPECT_DOUBLE_EQ(rig.output.placed.front().start, t0);

        // The alert shows while the last note sounds, once.
        ASSERT_EQ(rig.listener.alerts, std::vector<std::string>{"end"});
        const auto& last = rig.output.placed.back();
        EXPECT_GE(rig.listener.alertTimes[0] + 1e-9, last.start);
        EXPECT_LT(rig.listener.alertTimes[0], last.end);
    }
}

TEST(ScorePlayer, LateTimersNeverMoveTheSound) {
    // A long score: one repeat, ties and a triplet, at an awkward tempo.
    Score score;
    score.cells.push_back({0, kRepeatStart});
    for (int i = 0; i < 60; ++i) {
        score.cells.push_back({i % 39, i % 7 == 0 ? kTieQuarter : (i % 5 == 0 ? 42 : kEighth)});
    }
    score.cells.push_back({0, kRepeatEnd});
    score.cells.push_back({30, kHalf});

    std::vector<PcmBuffer> reference;
    // {lateness of every timer, or a pattern}
    const struct {
        const char* name;
        std::function<double(std::size_t)> lateness;
    } cases[] = {
        {"punctual", nullptr},
        {"one millisecond late", [](std::size_t) { return 0.001; }},
        {"jitter up to 45 ms", [](std::size_t n) { return 0.045 * ((n * 7919) % 100) / 100.0; }},
        {"every fifth timer 49 ms late", [](std::size_t n) { return n % 5 == 0 ? 0.049 : 0.0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.clock.lateness = c.lateness;
        rig.player->playAll(score.request("97", "4"));
        ASSERT_TRUE(rig.clock.runUntilIdle(rig.clock.now() + 600));
        const auto& placed = rig.output.placed;
        ASSERT_GT(placed.size(), 100u);
        // Every buffer was handed over before the one before it ended: no gap, no overlap.
        EXPECT_EQ(rig.output.gaps(), 0);
        for (std::size_t i = 1; i < placed.size(); ++i) {
            ASSERT_LE(placed[i].scheduledAt, placed[i - 1].end) << i;
        }
        // The whole length is exactly the sum of the entries at the output rate.
        std::int64_t frames = 0, expectedFrames = 4 * frameCount(8000, 60.0f / 97.0f);
        for (const auto& p : placed) frames += p.buffer.frameLength;
        for (const PlayEntry& e : rig.player->playMusicData()) {
            expectedFrames += frameCount(8000, e.seconds);
        }
        EXPECT_EQ(frames, expectedFrames);
        EXPECT_NEAR(rig.output.soundEnd() - placed.front().start, frames / 8000.0, 1e-9);
        if (reference.empty()) {
            for (const auto& p : placed) reference.push_back(p.buffer);
        } else {
            expectSameSound(placed, reference);
        }
        EXPECT_EQ(rig.listener.alerts.size(), 1u);
    }
}

TEST(ScorePlayer, ATimerLaterThanTheLookaheadLeavesOneGapAndLosesNothing) {
    for (double late : {0.3, 5.0}) {
        SCOPED_TRACE(late);
        Rig rig;
        Score score;
        std::vector<PlayEntry> entries;
        for (std::int64_t i = 0; i < 20; ++i) {
            score.cells.push_back({i, kQuarter});
            entries.push_back({tables::freqArr[static_cast<std::size_t>(i)], 0.5f});
        }
        rig.clock.lateness = [late](std::size_t n) { return n == 5 ? late : 0.0; };
        rig.player->playAll(score.request());
        ASSERT_TRUE(rig.clock.runUntilIdle(rig.clock.now() + 600));
        // The output ran dry once; every buffer still came, whole and in order, and the ones
        // after the gap follow each other exactly again.
        EXPECT_EQ(rig.output.gaps(), 1);
        expectSameSound(rig.output.placed, expectedBuffers({8000, 1}, 4, 0.5f, entries));
        // No backlog is pushed after the gap: each buffer still goes out just ahead of its time.
        const auto& placed = rig.output.placed;
        for (std::size_t i = 1; i < placed.size(); ++i) {
            EXPECT_GE(placed[i].scheduledAt, placed[i - 1].end - kDefaultLookaheadSeconds - 1e-9)
                << i;
        }
        ASSERT_EQ(rig.listener.alertTimes.size(), 1u);
        EXPECT_NEAR(rig.listener.alertTimes[0], placed.back().start, 1e-9);
    }
}

TEST(ScorePlayer, PressingAgainStopsAfterTheSoundingBuffer) {
    const Score score{{{17, kHalf}, {18, kHalf}, {19, kHalf}}};
    // {press time after the start, output can drop queued buffers, buffers that sound}
    const struct {
        double at;
        bool canDrop;
        std::size_t sounding;
    } cases[] = {
        {0.2, true, 1},    // during the first click
        {0.97, true, 2},   // end of the second click, the third already queued
        {0.97, false, 3},  // an output that cannot drop plays what it holds
        {2.3, true, 5},    // during the first note
        {2.98, true, 5},   // first note nearly over, the second queued
        {3.5, true, 6},    // during the second note
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        Rig rig;
        rig.output.canDrop = c.canDrop;
        const double t0 = rig.clock.now();
        rig.player->playAll(score.request());
        rig.clock.advanceTo(t0 + c.at);
        rig.player->playAll(score.request());  // the button again
        EXPECT_EQ(rig.player->state(), PlayState::StopRequested);
        EXPECT_EQ(rig.player->title(), kPlayTitle) << "the title turns at once";
        EXPECT_EQ(rig.player->playCount(), 3 + 9999);
        ASSERT_TRUE(rig.clock.runUntilIdle(t0 + 60));
        EXPECT_EQ(rig.player->state(), PlayState::Idle);
        EXPECT_EQ(rig.player->playCount(), 0);
        EXPECT_EQ(rig.output.placed.size(), c.sounding);
        EXPECT_TRUE(rig.listener.alerts.empty());
        EXPECT_EQ(rig.listener.titles.back(), "▶︎");
        // Idle when the last kept buffer has sounded, not before.
        EXPECT_GE(rig.clock.now() + 1e-9, rig.output.soundEnd());
        // The sounding buffer itself was never cut.
        for (const auto& p : rig.output.placed) EXPECT_LE(p.start, t0 + c.at + (c.canDrop ? 0 : 1));
    }
}

TEST(ScorePlayer, ExerciseModeLoopsTheLineWithoutASecondCountIn) {
    Rig rig;
    Score score;
    for (std::int64_t i = 0; i < 45; ++i) score.cells.push_back({i % 30, kQuarter});
    const double t0 = rig.clock.now();
    // Selection on the second line: cells 40..44 (pitches 10..14) loop.
    rig.player->playAll(score.request("120", "4", true, 42));
    EXPECT_TRUE(rig.player->looping());
    rig.clock.advanceTo(t0 + 2.0 + 12 * 0.5 + 0.1);  // count-in, then twelve notes
    EXPECT_EQ(rig.player->state(), PlayState::Playing);
    EXPECT_TRUE(rig.listener.alerts.empty());
    const auto& placed = rig.output.placed;
    ASSERT_GE(placed.size(), 4u + 12u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(placed[i].buffer.frameLength, 4000u);
    for (std::size_t i = 4; i < placed.size(); ++i) {
        const float f = tables::freqArr[static_cast<std::size_t>(10 + (i - 4) % 5)];
        EXPECT_TRUE(placed[i].buffer.channelData == synthesizeTone({8000, 1}, f, 0.5f).channelData)
            << i;
    }
    EXPECT_EQ(rig.output.gaps(), 0);
    rig.player->playAll(score.request("120", "4", true, 42));
    ASSERT_TRUE(rig.clock.runUntilIdle(t0 + 60));
    EXPECT_EQ(rig.player->state(), PlayState::Idle);
    EXPECT_FALSE(rig.player->looping());
    EXPECT_TRUE(rig.listener.alerts.empty());
}

TEST(ScorePlayer, NothingToSoundPlaysTheCountInAndReturnsToIdle) {
    const struct {
        const char* name;
        std::vector<ScoreCell> cells;
        std::int64_t start;
        bool exercise;
    } cases[] = {
        {"empty score", {}, -1, false},
        {"only marks", {{0, kRepeatStart}, {0, kRepeatEnd}}, 0, false},
        {"start after the last note", {{17, kQuarter}, {0, 0}}, 1, false},
        {"exercise line of blanks", {{0, 0}, {0, 0}}, 0, true},
        {"open tie only", {{17, kTieQuarter}}, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        Score score;
        score.cells = c.cells;
        const double t0 = rig.clock.now();
        rig.player->playAll(score.request("120", "3", c.exercise, c.start));
        ASSERT_TRUE(rig.clock.runUntilIdle(t0 + 60));
        EXPECT_EQ(rig.player->state(), PlayState::Idle);
        EXPECT_EQ(rig.output.placed.size(), 3u);
        EXPECT_TRUE(rig.listener.alerts.empty());
        EXPECT_NEAR(rig.clock.now(), t0 + 1.5, 1e-9) << "idle once the count-in has sounded";
        EXPECT_EQ(rig.player->title(), kPlayTitle);
    }
}

TEST(ScorePlayer, TempoOrBeatsThatAreNoPositiveNumberNeverStart) {
    const Score score{{{17, kQuarter}}};
    const struct {
        std::string tempo, beats;
        bool starts;
    } cases[] = {
        {"120", "4", true},
        {" 90 ", "2", true},
        {"1000", "64", true},
        {"", "4", false},
        {"abc", "4", false},
        {"0", "4", false},
        {"-120", "4", false},
        {"12.5", "4", false},
        {"120bpm", "4", false},
        {"1001", "4", false},
        {"99999999999999999999999", "4", false},
        {"120", "", false},
        {"120", "0", false},
        {"120", "65", false},
        {"120", "x", false},
        {"+4", "4", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("'" + c.tempo + "' '" + c.beats + "'");
        Rig rig;
        rig.player->playAll(score.request(c.tempo, c.beats));
        EXPECT_EQ(rig.player->idle(), !c.starts);
        EXPECT_EQ(rig.output.placed.empty(), !c.starts);
        ASSERT_EQ(rig.listener.messages.size(), 1u);
        EXPECT_EQ(rig.listener.messages[0].empty(), c.starts) << rig.listener.messages[0];
        if (!c.starts) {
            EXPECT_TRUE(rig.listener.titles.empty());
            EXPECT_EQ(rig.clock.pendingTimers(), 0u);
        }
    }
}

TEST(ScorePlayer, ATempoChangeReachesTheCountInButNotTheList) {
    Rig rig;
    const Score score{{{17, kQuarter}}};
    const double t0 = rig.clock.now();
    rig.player->playAll(score.request("60", "4"));
    rig.clock.advanceTo(t0 + 0.5);
    rig.player->cmbTempoChange("120");
    EXPECT_EQ(rig.player->playTempo(), 120);
    rig.player->cmbTempoChange("fast");
    EXPECT_EQ(rig.player->playTempo(), 120);
    EXPECT_FALSE(rig.listener.messages.back().empty());
    ASSERT_TRUE(rig.clock.runUntilIdle(t0 + 60));
    std::vector<std::uint32_t> frames;
    for (const auto& p : rig.output.placed) frames.push_back(p.buffer.frameLength);
    // The first click was handed over at 60, the others at 120; the quarter keeps the length
    // it had at the start.
    EXPECT_EQ(frames, (std::vector<std::uint32_t>{8000, 4000, 4000, 4000, 8000}));
    EXPECT_EQ(rig.output.gaps(), 0);
}

TEST(ScorePlayer, PlayingAgainWhileTheLastNoteSoundsFollowsIt) {
    Rig rig;
    const Score score{{{17, kHalf}}};
    const double t0 = rig.clock.now();
    rig.player->playAll(score.request());
    rig.clock.advanceTo(t0 + 2.5);  // the last (only) note sounds, playback is idle
    ASSERT_TRUE(rig.player->idle());
    rig.player->playAll(score.request());
    ASSERT_TRUE(rig.clock.runUntilIdle(t0 + 60));
    EXPECT_EQ(rig.output.placed.size(), 10u);
    EXPECT_EQ(rig.output.gaps(), 0);
    EXPECT_EQ(rig.listener.alerts.size(), 2u);
}

TEST(ScorePlayer, ClosingTheWindowWhilePlayingLeavesNoTimerBehind) {
    for (bool fromAlert : {false, true}) {
        Rig rig;
        const Score score{{{17, kQuarter}, {18, kQuarter}}};
        rig.player->playAll(score.request());
        if (fromAlert) {
            // The window closes while its "end" alert is up.
            rig.listener.onAlert = [&] { rig.player.reset(); };
            ASSERT_TRUE(rig.clock.runUntilIdle(rig.clock.now() + 60));
            EXPECT_EQ(rig.listener.alerts.size(), 1u);
        } else {
            rig.clock.advance(2.2);  // the first note sounds
            rig.player.reset();
            EXPECT_EQ(rig.clock.pendingTimers(), 0u);
            EXPECT_EQ(rig.output.drops, 1);
        }
        EXPECT_FALSE(rig.player);
        rig.clock.advance(60);
    }
}

TEST(ScorePlayer, TwoWindowsPlayAtOnce) {
    QuietDiagnostics quiet;
    FakeClock clock;
    TimelineOutput out1(clock, {8000, 1}), out2(clock, {8000, 1});
    RecordingListener l1(clock), l2(clock);
    ScorePlayer p1(out1, clock, l1), p2(out2, clock, l2);
    const Score a{{{17, kQuarter}, {18, kQuarter}}}, b{{{20, kHalf}}};
    p1.playAll(a.request("120", "4"));
    clock.advance(0.3);
    p2.playAll(b.request("60", "2"));
    ASSERT_TRUE(clock.runUntilIdle(clock.now() + 60));
    expectSameSound(out1.placed, expectedBuffers({8000, 1}, 4, 0.5f, {{440, 0.5f}, {466, 0.5f}}));
    expectSameSound(out2.placed, expectedBuffers({8000, 1}, 2, 1.0f, {{493, 2.0f}}));
    EXPECT_EQ(out1.gaps() + out2.gaps(), 0);
    EXPECT_EQ(l1.alerts.size() + l2.alerts.size(), 2u);
}

}  // namespace
}  // namespace sorvel
