// The list of (frequency, seconds) entries a score plays: note values, ties, repeats, keys,
// the start cell and the exercise line.
#include "sound/play_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"
#include "model/notation_tables.h"

namespace sorvel {
namespace {

using QuietDiagnostics = testing::DiagCapture;

constexpr std::int64_t kQuarter = 5, kEighth = 7, kQuarterRest = 17, kEighthRest = 19;
constexpr std::int64_t kTripletEighth = 42, kTripletEighthRest = 45;
constexpr std::int64_t kTieHalf = 54, kTieQuarter = 55, kTieEighth = 56, kAltTieQuarter = 61;
constexpr std::int64_t kMark = 25, kRepeatStart = 26, kRepeatEnd = 27, kFirstEnding = 28;

// Pitch i sounds at 100 + i Hz, so every entry tells its cell.
std::vector<float> countingTable() {
    std::vector<float> t;
    for (int i = 0; i < 200; ++i) t.push_back(100.0f + static_cast<float>(i));
    return t;
}

std::vector<float> staffTable() {
    return {tables::freqArr.begin(), tables::freqArr.end()};
}

std::vector<float> pitches(const std::vector<PlayEntry>& list) {
    std::vector<float> out;
    for (const PlayEntry& e : list) out.push_back(e.frequency);
    return out;
}

TEST(PlayList, LengthsFollowTheNoteValueAndTempo) {
    QuietDiagnostics quiet;
    const struct {
        std::int64_t onp, tempo;
        float seconds;
    } cases[] = {
        {33, 120, 0.5f},                  // the alternate quarter
        {6, 60, 1.5f},                    // dotted quarter
        {2, 90, 6.0f * (60.0f / 90.0f)},  // dotted whole
        {12, 120, 0.09375f},              // dotted thirty-second
        {41, 120, 0.333333f},             // triplets are six-digit decimals, not thirds
        {48, 120, 0.1666665f},
    };
    for (const auto& c : cases) {
        const auto list = buildPlayList({{17, c.onp}}, 0, staffTable(), {.tempo = c.tempo});
        ASSERT_EQ(list.size(), 1u) << c.onp;
        EXPECT_EQ(list[0], (PlayEntry{440.0f, c.seconds})) << c.onp << " at " << c.tempo;
    }
    EXPECT_EQ(noteSeconds(kQuarter, 0), 0.0f);
    EXPECT_EQ(noteSeconds(kQuarter, -60), 0.0f);
    EXPECT_EQ(noteSeconds(999, 120), 0.0f);
}

TEST(PlayList, TransposingKeysScaleEverySoundingPitch) {
    QuietDiagnostics quiet;
    const std::pair<const char*, float> cases[] = {
        {"C", 440.0f}, {"Bb", 391.99539f}, {"Eb", 523.2512f}, {"", 440.0f}, {"bb", 440.0f}};
    for (const auto& [key, a1] : cases) {
        const auto list = buildPlayList({{17, kQuarter}, {17, kQuarterRest}}, -1, staffTable(),
                                        {.tempo = 120, .key = key});
        ASSERT_EQ(list.size(), 2u) << key;
        EXPECT_FLOAT_EQ(list[0].frequency, a1) << key;
        EXPECT_EQ(list[1].frequency, 0.0f) << "rests stay silent in " << key;
    }
}

TEST(PlayList, TiesCarryTheirLengthIntoTheNoteThatClosesThem) {
    QuietDiagnostics quiet;
    const auto table = countingTable();
    const struct {
        const char* name;
        std::vector<ScoreCell> cells;
        std::vector<PlayEntry> expected;
    } cases[] = {
        {"tie quarter then eighth", {{1, kTieQuarter}, {2, kEighth}}, {{102, 0.75f}}},
        {"open chain is dropped", {{1, kTieHalf}, {2, kTieHalf}}, {}},
        {"chain of three", {{1, kTieHalf}, {2, kAltTieQuarter}, {3, kEighth}}, {{103, 1.75f}}},
        {"rest inside a chain stays",
         {{1, kTieQuarter}, {0, kQuarterRest}, {3, kQuarter}},
         {{0, 0.5f}, {103, 1.0f}}},
        {"blank and mark inside a chain",
         {{1, kTieEighth}, {0, 0}, {0, kMark}, {4, kQuarter}},
         {{104, 0.75f}}},
        {"chain after a plain note",
         {{1, kQuarter}, {2, kTieQuarter}, {3, kTripletEighth}},
         {{101, 0.5f}, {103, 0.5f + 0.1666665f}}},
        {"chain left open at the end after notes",
         {{1, kQuarter}, {2, kTieQuarter}},
         {{101, 0.5f}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(buildPlayList(c.cells, 0, table, {.tempo = 120}), c.expected) << c.name;
    }
}

TEST(PlayList, RepeatsAndFirstEndingsPlayAsWrittenFromAnyStart) {
    QuietDiagnostics quiet;
    const ScoreCell R{0, kRepeatStart}, E{0, kRepeatEnd}, F{0, kFirstEnding}, M{0, kMark};
    const ScoreCell A{1, kQuarter}, B{2, kQuarter}, C{3, kQuarter}, D{4, kQuarter};
    const struct {
        const char* name;
        std::vector<ScoreCell> cells;
        std::int64_t start;
        std::vector<float> expected;  // pitches in order
    } cases[] = {
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
    for (const auto& c : cases) {
        EXPECT_EQ(pitches(buildPlayList(c.cells, c.start, countingTable(), {.tempo = 120})),
                  c.expected)
            << c.name;
    }
}

TEST(PlayList, TheStartCellAndTheExerciseLineBoundTheWalk) {
    QuietDiagnostics quiet;
    const auto table = countingTable();
    std::vector<ScoreCell> score;
    for (std::int64_t i = 0; i < 100; ++i) score.push_back({i, kEighth});
    auto range = [](std::int64_t from, std::int64_t to) {
        std::vector<float> out;
        for (std::int64_t i = from; i < to; ++i) out.push_back(100.0f + static_cast<float>(i));
        return out;
    };
    const struct {
        const char* name;
        std::int64_t cells;
        std::int64_t start;
        bool exercise;
        std::vector<float> expected;
    } cases[] = {
        {"from the selection", 100, 97, false, range(97, 100)},
        {"any negative start", 5, -40, false, range(0, 5)},
        {"start past the end", 5, 5, false, {}},
        {"first cell of a line", 100, 40, true, range(40, 80)},
        {"last cell of a line", 100, 39, true, range(0, 40)},
        {"exercise outside the score", 100, -1, true, range(0, 40)},
        {"line running past the last cell", 50, 45, true, range(40, 50)},
        {"exercise start past the end", 50, 90, true, {}},
        {"empty score in exercise mode", 0, 0, true, {}},
    };
    for (const auto& c : cases) {
        const std::vector<ScoreCell> cells(score.begin(), score.begin() + c.cells);
        EXPECT_EQ(
            pitches(buildPlayList(cells, c.start, table, {.tempo = 120, .exercise = c.exercise})),
            c.expected)
            << c.name;
    }
}

TEST(PlayList, StrayIndicesNeitherCrashNorShiftTheTiming) {
    QuietDiagnostics quiet;
    const auto table = staffTable();
    const std::vector<ScoreCell> cells = {
        {-3, kQuarter}, {39, kQuarter},           {17, 65},
        {17, -1},       {17, kTripletEighthRest}, {17, kEighthRest}};
    const std::vector<PlayEntry> expected = {
        {0.0f, 0.5f}, {0.0f, 0.5f}, {0.0f, 0.1666665f}, {0.0f, 0.25f}};
    EXPECT_EQ(buildPlayList(cells, 0, table, {.tempo = 120}), expected);
    EXPECT_TRUE(buildPlayList(cells, 0, {}, {.tempo = 120}).size() == expected.size());
}

TEST(PlayList, AScoreOfRepeatEndsEndsQuickly) {
    QuietDiagnostics quiet;
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

}  // namespace
}  // namespace sorvel
