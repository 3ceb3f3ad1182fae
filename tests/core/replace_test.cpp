// Replacing one pitch by another in every octave, and the steps of the one-cell staves.
#include "app/replace.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "cell_editor_fake.h"
#include "model/notation_tables.h"
#include "view/pitch_step.h"

namespace sorvel {
namespace {

using fakes::FakeScore;

TEST(PitchStep, StepsAndWraps) {
    struct Case {
        std::int64_t pitch, row, expected;
    };
    const std::vector<Case> cases = {
        {0, 0, 1},   {1, 0, 2},   {2, 0, 3},    {37, 0, 38}, {38, 0, 0},  {37, 1, 38},
        {38, 1, 0},  {0, 1, 3},   {1, 1, 3},    {16, 1, 20}, {5, 1, 7},   {3, 2, 0},
        {2, 2, 0},   {1, 2, 38},  {0, 2, 38},   {38, 2, 37}, {17, 2, 14}, {0, 3, 38},
        {1, 3, 0},   {38, 3, 37}, {21, 4, 38},  {22, 4, 5},  {0, 4, 17},  {38, 4, 21},
        {17, 4, 34}, {17, 5, 17}, {17, -1, 17}, {99, 7, 99}, {99, 0, 0},  {-5, 3, 38},
        {33, 1, 37}, {9, 1, 11},  {11, 2, 10},  {39, 1, 0},  {-7, 2, 38}, {1000, 4, 21},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stepPitch(c.pitch, c.row), c.expected) << c.pitch << " row " << c.row;
    }
}

TEST(PitchStep, EveryStepStaysInTheTableAndMatchesItsName) {
    for (std::int64_t p = 0; p < tables::kPitchCount; ++p) {
        for (std::int64_t row = 0; row < 5; ++row) {
            const std::int64_t q = stepPitch(p, row);
            ASSERT_TRUE(tables::validPitch(q)) << p << " " << row;
            const auto loc = [](std::int64_t x) { return tables::locateArr[std::size_t(x)]; };
            if (row == 1 && p != 38) {
                EXPECT_EQ(loc(q), loc(p) + 1);
                EXPECT_EQ(tables::shflArr[std::size_t(q)], 0) << "a natural";
            }
            if (row == 4) {
                EXPECT_EQ(tables::noteArr[std::size_t(q)].substr(0, 1),
                          tables::noteArr[std::size_t(p)].substr(0, 1));
            }
        }
    }
}

TEST(PitchStep, StaffKeepsItsPositionAndRedraws) {
    GosenView staff("gosenT");
    std::vector<ScoreCell> cell;
    setUpOneCellStaff({staff, cell}, 17, 1);
    int redraws = 0;
    staff.onNeedsDisplay = [&](const GosenView&) { ++redraws; };
    stepStaffPitch({staff, cell}, 1);  // A1 -> B1
    EXPECT_EQ(staff.cellAt(1), (ScoreCell{20, 1}));
    EXPECT_EQ(staff.selLocate, tables::locateArr[20]);
    EXPECT_EQ(redraws, 1);
    stepStaffPitch({staff, cell}, 9);
    EXPECT_EQ(staff.cellAt(1).noteIndex, 20);
}

TEST(Replace, PairsForEveryRangeOfTheFindPitch) {
    struct Case {
        std::int64_t a, b;
        std::array<ReplacePair, 3> pairs;
    };
    const std::vector<Case> cases = {
        {17, 22, {{{17, 22}, {0, 5}, {34, 5}}}},  // 39 is lowered by 34
        {38, 0, {{{38, 0}, {21, 17}, {4, 0}}}},   // -17 and -34 raised by 34
        {34, 37, {{{34, 37}, {17, 20}, {0, 3}}}},
        {16, 38, {{{16, 38}, {33, 21}, {50, 38}}}},  // 55 and 72 lowered; 50 matches nothing
        {0, 0, {{{0, 0}, {17, 17}, {34, 34}}}},
        {33, 1, {{{33, 1}, {16, 18}, {50, 18}}}},  // -16 raised
    };
    for (const Case& c : cases) {
        EXPECT_EQ(replacePairs(c.a, c.b), c.pairs) << c.a << " -> " << c.b;
    }
}

TEST(Replace, ScoreCases) {
    struct Case {
        const char* name;
        std::int64_t a, b;
        std::vector<ScoreCell> before, after;
    };
    const std::vector<Case> cases = {
        {"A1 to C1#",
         17,
         22,
         {{0, 5}, {17, 5}, {34, 7}, {3, 5}},
         {{5, 5}, {22, 5}, {5, 7}, {3, 5}}},
        {"C2 to A0", 38, 0, {{38, 1}, {21, 1}, {4, 1}, {5, 1}}, {{0, 1}, {17, 1}, {0, 1}, {5, 1}}},
        {"other spelling untouched", 1, 10, {{1, 5}, {2, 5}, {18, 5}}, {{10, 5}, {2, 5}, {27, 5}}},
        {"same pitch", 17, 17, {{17, 5}, {0, 5}}, {{17, 5}, {0, 5}}},
        // No chaining: A0 -> A1 and A1 -> A2 happen side by side, the new A1 stays.
        {"no chaining", 0, 17, {{0, 5}, {17, 5}, {34, 5}}, {{17, 5}, {34, 5}, {17, 5}}},
        {"rests and marks by their pitch",
         17,
         20,
         {{17, 17}, {17, 27}, {17, 0}, {4, 17}},
         {{20, 17}, {20, 27}, {20, 0}, {4, 17}}},
    };
    for (const Case& c : cases) {
        std::vector<ScoreCell> cells = c.before;
        replacePitches(cells, c.a, c.b);
        EXPECT_EQ(cells, c.after) << c.name;
    }
}

TEST(Replace, PitchesOutsideTheTableChangeNothing) {
    const std::vector<ScoreCell> before = {{17, 5}, {0, 5}};
    for (const auto& [a, b] :
         std::vector<std::pair<std::int64_t, std::int64_t>>{{-1, 3}, {39, 3}, {17, -1}, {17, 39}}) {
        std::vector<ScoreCell> cells = before;
        EXPECT_EQ(replacePitches(cells, a, b), 0);
        EXPECT_EQ(cells, before);
    }
}

TEST(Replace, WindowActsOnTheScoreWithoutUndoAndShowsPageOne) {
    UndoHistory undo;
    FakeScore score(&undo, {{17, 5}, {3, 5}, {0, 1}});
    // An edit before the replacement.
    score.deleteCells(1, 1);
    ASSERT_EQ(score.size(), 2);

    PitchReplacer replacer;
    EXPECT_EQ(replacer.findPitch(), 17);
    EXPECT_EQ(replacer.replacementPitch(), 17);
    replacer.btnUpDwn2(1);  // A1 -> B1
    EXPECT_EQ(replacer.btnReplace(score), 2);
    EXPECT_EQ(score.data, (std::vector<ScoreCell>{{20, 5}, {3, 1}}));
    EXPECT_EQ(score.firstPageShows, 1);
    EXPECT_EQ(undo.undoStepCount(), 1u);

    // Undo takes back the deletion made before, not the replacement.
    undo.undo();
    EXPECT_EQ(score.data, (std::vector<ScoreCell>{{20, 5}, {3, 5}, {3, 1}}));

    // The same pitch twice: unchanged, still shown from page 1.
    replacer.btnUpDwn1(1);
    EXPECT_EQ(replacer.btnReplace(score), 0);
    EXPECT_EQ(score.firstPageShows, 2);
}

TEST(Replace, EmptyScoreIsLeftAlone) {
    FakeScore score(nullptr);
    PitchReplacer replacer;
    replacer.btnUpDwn2(0);
    EXPECT_EQ(replacer.btnReplace(score), 0);
    EXPECT_TRUE(score.data.empty());
    EXPECT_EQ(score.firstPageShows, 0);
    EXPECT_EQ(score.unrecordedWrites, 0);
}

}  // namespace
}  // namespace sorvel
