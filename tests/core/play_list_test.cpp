// The list of (frequency, seconds) entries a score plays: note values, ties, repeats, keys,
// the start cell and the exercise line.
#include "sound/play_list.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "fakes.h"
#include "model/notation_tables.h"

namespace sorvel {
namespace {

using QuietDiagnostics = testing::DiagCapture;

constexpr std::int64_t kQuarter = 5, kEighthRest = 19, kTripletEighthRest = 45, kTieQuarter = 55;
constexpr std::int64_t kMark = 25, kRepeatStart = 26, kRepeatEnd = 27, kFirstEnding = 28;

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
    QuietDiagnostics quiet;
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
    QuietDiagnostics quiet;
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
