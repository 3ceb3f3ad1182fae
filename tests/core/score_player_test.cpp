// Playing a score over a test clock: count-in, states, stop, the exercise loop, and
// sample-exact placement of the sound whatever the timers' lateness.
#include "sound/score_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "edit_test_document.h"
#include "fake_clock.h"
#include "model/notation_tables.h"
#include "sound/tone.h"

namespace sorvel {
namespace {

using testing::FakeClock;

constexpr std::int64_t kQuarter = 5, kEighth = 7, kHalf = 3, kQuarterRest = 17;
constexpr std::int64_t kTieQuarter = 55, kRepeatStart = 26, kRepeatEnd = 27;

// Plays buffers back to back as the sound device does, keeping where each one sounds.
class TimelineOutput : public AudioOutput {
  public:
    TimelineOutput(const Clock& clock, PcmFormat format) : clock_(clock), format_(format) {}
    struct Placed {
        PcmBuffer buffer;
        double scheduledAt, start, end;
    };
    PcmFormat outputFormat() const override { return format_; }
    void connect(const PcmFormat&) override {}
    void scheduleBuffer(PcmBuffer buffer) override {
        const double now = clock_.now(), start = std::max(now, queueEnd_);
        queueEnd_ = start + buffer.frameLength / format_.sampleRate;
        placed.push_back({std::move(buffer), now, start, queueEnd_});
    }
    std::optional<std::string> start() override { return std::nullopt; }
    void play() override {}
    bool dropQueued() override {
        ++drops;
        if (!canDrop) return false;
        const double now = clock_.now();
        while (!placed.empty() && placed.back().start > now) placed.pop_back();
        queueEnd_ = placed.empty() ? now : std::max(now, placed.back().end);
        return true;
    }
    // Placed buffers whose start does not meet the end of the one before.
    int gaps() const {
        int n = 0;
        for (std::size_t i = 1; i < placed.size(); ++i)
            n += std::abs(placed[i].start - placed[i - 1].end) > 1e-9;
        return n;
    }

    std::vector<Placed> placed;
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
    explicit Rig(double rate = 8000.0) : output(clock, {rate, 1}), listener(clock) {}
    testing::DiagCapture quiet;
    FakeClock clock;
    TimelineOutput output;
    RecordingListener listener;
    std::unique_ptr<ScorePlayer> player = std::make_unique<ScorePlayer>(output, clock, listener);
    double t0 = clock.now();
    void runOut() { ASSERT_TRUE(clock.runUntilIdle(t0 + 600)); }
};

// The clicks, then the entries, as the player should hand them over.
std::vector<PcmBuffer> expectedBuffers(const PcmFormat& format, std::int64_t beats, float beat,
                                       const std::vector<PlayEntry>& entries) {
    std::vector<PcmBuffer> out;
    for (std::int64_t i = 0; i < beats; ++i)
        out.push_back(synthesizeClick(format, i == 0 ? 1880.0f : 1250.0f, beat));
    for (const PlayEntry& e : entries)
        out.push_back(synthesizeTone(format, e.frequency, e.seconds));
    return out;
}

void expectSameSound(const std::vector<TimelineOutput::Placed>& placed,
                     const std::vector<PcmBuffer>& expected) {
    ASSERT_EQ(placed.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(placed[i].buffer.frameLength, expected[i].frameLength) << i;
        EXPECT_TRUE(placed[i].buffer.channelData == expected[i].channelData) << i;
    }
}

TEST(ScorePlayer, CountInThenTheNotesThenIdleWithTheEndAlert) {
    const struct {
        std::string tempo, beats, key;
        double rate;
    } cases[] = {{"120", "4", "C", 8000}, {"80", "3", "Bb", 8000}, {"60", "2", "Eb", 11025}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tempo + "/" + c.beats + "/" + c.key);
        Rig rig(c.rate);
        const Song score{{{17, kQuarter}, {0, kQuarterRest}, {20, kTieQuarter}, {21, kEighth}}};
        const std::int64_t beats = std::stoll(c.beats);
        rig.player->playAll(score.request(c.tempo, c.beats, false, -1, c.key));
        EXPECT_EQ(rig.player->state(), beats > 1 ? PlayState::CountIn : PlayState::Playing);
        EXPECT_EQ(rig.listener.titles, std::vector<std::string>{"■"});

        const float beat = 60.0f / static_cast<float>(std::stoll(c.tempo));
        const float f = keyFactor(c.key);
        const std::vector<PlayEntry> entries = {
            {440.0f * f, beat}, {0.0f, beat}, {523.0f * f, beat * 1.5f}};
        EXPECT_EQ(rig.player->playMusicData(), entries);
        if (beats >= 2) {
            rig.clock.advanceTo(rig.t0 + beat * (beats - 1.5));
            EXPECT_EQ(rig.player->state(), PlayState::CountIn);
        }
        rig.clock.advanceTo(rig.t0 + beat * beats + 0.01);
        EXPECT_EQ(rig.player->state(), PlayState::Playing);

        rig.runOut();
        EXPECT_EQ(rig.player->state(), PlayState::Idle);
        EXPECT_EQ(rig.listener.titles, (std::vector<std::string>{"■", "▶︎"}));
        expectSameSound(rig.output.placed, expectedBuffers({c.rate, 1}, beats, beat, entries));
        EXPECT_EQ(rig.output.gaps(), 0);
        EXPECT_DOUBLE_EQ(rig.output.placed.front().start, rig.t0);
        // The alert shows once, while the last note sounds.
        ASSERT_EQ(rig.listener.alerts, std::vector<std::string>{"end"});
        EXPECT_GE(rig.listener.alertTimes[0] + 1e-9, rig.output.placed.back().start);
        EXPECT_LT(rig.listener.alertTimes[0], rig.output.placed.back().end);
    }
}

TEST(ScorePlayer, LateTimersNeverMoveTheSound) {
    Song score;
    score.cells.push_back({0, kRepeatStart});
    for (int i = 0; i < 60; ++i)
        score.cells.push_back({i % 39, i % 7 == 0 ? kTieQuarter : (i % 5 == 0 ? 42 : kEighth)});
    score.cells.insert(score.cells.end(), {{0, kRepeatEnd}, {30, kHalf}});

    std::vector<PcmBuffer> reference;
    const std::function<double(std::size_t)> lateness[] = {
        nullptr,
        [](std::size_t n) { return 0.045 * ((n * 7919) % 100) / 100.0; },
        [](std::size_t n) { return n % 5 == 0 ? 0.049 : 0.0; },
    };
    for (const auto& late : lateness) {
        Rig rig;
        rig.clock.lateness = late;
        rig.player->playAll(score.request("100", "4"));
        rig.runOut();
        const auto& placed = rig.output.placed;
        ASSERT_GT(placed.size(), 100u);
        EXPECT_EQ(rig.output.gaps(), 0);
        for (std::size_t i = 1; i < placed.size(); ++i)
            ASSERT_LE(placed[i].scheduledAt, placed[i - 1].end) << i;
        // The whole length is exactly the sum of the entries at the output rate.
        std::int64_t frames = 0, expected = 4 * frameCount(8000, 60.0f / 100.0f);
        for (const auto& p : placed) frames += p.buffer.frameLength;
        for (const PlayEntry& e : rig.player->playMusicData())
            expected += frameCount(8000, e.seconds);
        EXPECT_EQ(frames, expected);
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
        Song score;
        std::vector<PlayEntry> entries;
        for (std::int64_t i = 0; i < 20; ++i) {
            score.cells.push_back({i, kQuarter});
            entries.push_back({tables::freqArr[static_cast<std::size_t>(i)], 0.5f});
        }
        rig.clock.lateness = [late](std::size_t n) { return n == 5 ? late : 0.0; };
        rig.player->playAll(score.request());
        rig.runOut();
        EXPECT_EQ(rig.output.gaps(), 1);
        expectSameSound(rig.output.placed, expectedBuffers({8000, 1}, 4, 0.5f, entries));
        // No backlog after the gap: each buffer still goes out just ahead of its time.
        const auto& placed = rig.output.placed;
        for (std::size_t i = 1; i < placed.size(); ++i)
            EXPECT_GE(placed[i].scheduledAt, placed[i - 1].end - kDefaultLookaheadSeconds - 1e-9);
        ASSERT_EQ(rig.listener.alertTimes.size(), 1u);
        EXPECT_NEAR(rig.listener.alertTimes[0], placed.back().start, 1e-9);
    }
}

TEST(ScorePlayer, PressingAgainStopsAfterTheSoundingBuffer) {
    const Song score{{{17, kHalf}, {18, kHalf}, {19, kHalf}}};
    const struct {
        double at;  // seconds after the start
        bool canDrop;
        std::size_t sounding;
    } cases[] = {
        {0.2, true, 1},    // during the first click
        {0.97, true, 2},   // end of the second click, the third already queued
        {0.97, false, 3},  // an output that cannot drop plays what it holds
        {2.98, true, 5},   // first note nearly over, the second queued
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        Rig rig;
        rig.output.canDrop = c.canDrop;
        rig.player->playAll(score.request());
        rig.clock.advanceTo(rig.t0 + c.at);
        rig.player->playAll(score.request());
        EXPECT_EQ(rig.player->state(), PlayState::StopRequested);
        EXPECT_EQ(rig.player->title(), kPlayTitle) << "the title turns at once";
        rig.runOut();
        EXPECT_EQ(rig.player->state(), PlayState::Idle);
        EXPECT_EQ(rig.output.placed.size(), c.sounding);
        EXPECT_TRUE(rig.listener.alerts.empty());
        // Idle when the last kept buffer has sounded, not before.
        EXPECT_GE(rig.clock.now() + 1e-9, rig.output.placed.back().end);
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
    const auto& placed = rig.output.placed;
    ASSERT_GE(placed.size(), 4u + 12u);
    for (std::size_t i = 4; i < placed.size(); ++i) {
        const float f = tables::freqArr[static_cast<std::size_t>(10 + (i - 4) % 5)];
        EXPECT_TRUE(placed[i].buffer.channelData == synthesizeTone({8000, 1}, f, 0.5f).channelData)
            << i;
    }
    EXPECT_EQ(rig.output.gaps(), 0);
    rig.player->playAll(score.request("120", "4", true, 42));
    rig.runOut();
    EXPECT_EQ(rig.player->state(), PlayState::Idle);
    EXPECT_TRUE(rig.listener.alerts.empty());
}

TEST(ScorePlayer, NothingToSoundPlaysTheCountInAndReturnsToIdle) {
    const struct {
        std::vector<ScoreCell> cells;
        std::int64_t start;
        bool exercise;
    } cases[] = {
        {{}, -1, false},
        {{{0, kRepeatStart}, {0, kRepeatEnd}}, 0, false},
        {{{17, kQuarter}, {0, 0}}, 1, false},
        {{{17, kTieQuarter}}, 0, true},
    };
    for (const auto& c : cases) {
        Rig rig;
        const Song score{c.cells};
        rig.player->playAll(score.request("120", "3", c.exercise, c.start));
        rig.runOut();
        EXPECT_EQ(rig.player->state(), PlayState::Idle);
        EXPECT_EQ(rig.output.placed.size(), 3u);
        EXPECT_TRUE(rig.listener.alerts.empty());
        EXPECT_NEAR(rig.clock.now(), rig.t0 + 1.5, 1e-9) << "idle once the count-in has sounded";
    }
}

TEST(ScorePlayer, TempoOrBeatsThatAreNoPositiveNumberNeverStart) {
    const struct {
        std::string text;
        std::optional<std::int64_t> count;  // of at most 1000
    } texts[] = {
        {" 90 ", 90}, {"1000", 1000}, {"", {}},     {"0", {}},  {"-120", {}},
        {"12.5", {}}, {"120bpm", {}}, {"1001", {}}, {"+4", {}}, {"99999999999999999999999", {}},
    };
    for (const auto& t : texts) EXPECT_EQ(parseCount(t.text, 1000), t.count) << t.text;
    // A score with no tempo or no beat chosen does not start, and says why.
    const Song score{{{17, kQuarter}}};
    for (const auto& [tempo, beats] : {std::pair{"", "4"}, {"120", ""}}) {
        Rig rig;
        rig.player->playAll(score.request(tempo, beats));
        EXPECT_TRUE(rig.player->idle());
        EXPECT_TRUE(rig.output.placed.empty());
        ASSERT_EQ(rig.listener.messages.size(), 1u);
        EXPECT_FALSE(rig.listener.messages[0].empty());
        EXPECT_EQ(rig.clock.pendingTimers(), 0u);
    }
}

TEST(ScorePlayer, ATempoChangeReachesTheCountInButNotTheList) {
    Rig rig;
    const Song score{{{17, kQuarter}}};
    rig.player->playAll(score.request("60", "4"));
    rig.clock.advanceTo(rig.t0 + 0.5);
    rig.player->cmbTempoChange("120");
    rig.player->cmbTempoChange("fast");
    EXPECT_EQ(rig.player->playTempo(), 120);
    EXPECT_FALSE(rig.listener.messages.back().empty());
    rig.runOut();
    std::vector<std::uint32_t> frames;
    for (const auto& p : rig.output.placed) frames.push_back(p.buffer.frameLength);
    EXPECT_EQ(frames, (std::vector<std::uint32_t>{8000, 4000, 4000, 4000, 8000}));
    EXPECT_EQ(rig.output.gaps(), 0);
}

TEST(ScorePlayer, PlayingAgainWhileTheLastNoteSoundsFollowsIt) {
    Rig rig;
    const Song score{{{17, kHalf}}};
    rig.player->playAll(score.request());
    rig.clock.advanceTo(rig.t0 + 2.5);  // the only note sounds, playback is idle
    ASSERT_TRUE(rig.player->idle());
    rig.player->playAll(score.request());
    rig.runOut();
    EXPECT_EQ(rig.output.placed.size(), 10u);
    EXPECT_EQ(rig.output.gaps(), 0);
    ASSERT_EQ(rig.listener.alerts.size(), 2u);
    // The second run knows where its sound really starts: its alert comes with its last note.
    EXPECT_NEAR(rig.listener.alertTimes[1], rig.output.placed.back().start, 1e-9);
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
            EXPECT_EQ(rig.output.drops, 1);
        }
        rig.clock.advance(60);
    }
}

}  // namespace
}  // namespace sorvel
