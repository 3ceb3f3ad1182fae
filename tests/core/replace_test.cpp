// Replacing one pitch by another in every octave, and the steps of the one-cell staves.
#include "app/replace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"
#include "given.h"
#include "model/notation_tables.h"
#include "view/pitch_step.h"

namespace sorvel {
namespace {

TEST(PitchStep, StepsAndWraps) {
    // {pitch, row, after}: the wraps at both ends, the naturals, the octave; stray pitches are
    // brought into the table first, other rows change nothing.
    const std::int64_t cases[][3] = {
        {37, 0, 38}, {38, 0, 0},  {38, 1, 0},   {0, 1, 3},  {16, 1, 20}, {3, 2, 0},
        {0, 2, 38},  {17, 2, 14}, {0, 3, 38},   {1, 3, 0},  {21, 4, 38}, {22, 4, 5},
        {0, 4, 17},  {17, 5, 17}, {17, -1, 17}, {99, 0, 0}, {-5, 3, 38}, {1000, 4, 21},
    };
    for (const auto& c : cases) EXPECT_EQ(stepPitch(c[0], c[1]), c[2]) << c[0] << " row " << c[1];
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

TEST(Replace, ScoreCases) {
    struct Case {
        const char* name;
        std::int64_t a, b;
        std::vector<ScoreCell> before, after;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"A1 to C1#", 17, 22, {{0, 5}, {17, 5}, {34, 7}, {3, 5}},
         {{5, 5}, {22, 5}, {5, 7}, {3, 5}}},
        {"C2 to A0", 38, 0, {{38, 1}, {21, 1}, {4, 1}, {5, 1}}, {{0, 1}, {17, 1}, {0, 1}, {5, 1}}},
        {"other spelling untouched", 1, 10, {{1, 5}, {2, 5}, {18, 5}}, {{10, 5}, {2, 5}, {27, 5}}},
        {"same pitch", 17, 17, {{17, 5}, {0, 5}}, {{17, 5}, {0, 5}}},
        // No chaining: A0 -> A1 and A1 -> A2 happen side by side, the new A1 stays.
        {"no chaining", 0, 17, {{0, 5}, {17, 5}, {34, 5}}, {{17, 5}, {34, 5}, {17, 5}}},
        {"rests and marks by their pitch", 17, 20, {{17, 17}, {17, 27}, {17, 0}, {4, 17}},
         {{20, 17}, {20, 27}, {20, 0}, {4, 17}}},
        {"find outside the table", -1, 3, {{17, 5}, {0, 5}}, {{17, 5}, {0, 5}}},
        {"find past the table", 39, 3, {{17, 5}, {0, 5}}, {{17, 5}, {0, 5}}},
        {"replacement outside the table", 17, -1, {{17, 5}}, {{17, 5}}},
        {"replacement past the table", 17, 39, {{17, 5}}, {{17, 5}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::vector<ScoreCell> cells = c.before;
        const std::int64_t changed = replacePitches(cells, c.a, c.b);
        EXPECT_EQ(cells, c.after) << c.name;
        std::int64_t differ = 0;
        for (std::size_t i = 0; i < cells.size(); ++i) differ += cells[i] != c.before[i];
        EXPECT_EQ(changed, differ) << c.name;
    }
}

TEST(Replace, WindowActsOnTheScoreWithoutUndoAndShowsPageOne) {
    testing::DiagCapture quiet;
    UndoHistory undo;
    auto doc = testing::givenScore().cells({{17, 5}, {3, 5}, {0, 1}}).build(&undo);
    doc->deleteCells(1, 1);  // an edit before the replacement
    testing::setTopPage(*doc, 2);

    PitchReplacer replacer;
    EXPECT_EQ(replacer.findPitch(), 17);
    EXPECT_EQ(replacer.replacementPitch(), 17);
    replacer.btnUpDwn2(1);  // A1 -> B1
    EXPECT_EQ(replacer.btnReplace(*doc), 2);
    EXPECT_EQ(doc->score().musicData, (std::vector<ScoreCell>{{20, 5}, {3, 1}}));
    EXPECT_EQ(testing::topPage(*doc), 1);
    EXPECT_EQ(testing::staffMismatch(*doc), "");
    // Undo takes back the deletion made before, not the replacement.
    EXPECT_EQ(undo.undoStepCount(), 1u);
    undo.undo();
    EXPECT_EQ(doc->score().musicData, (std::vector<ScoreCell>{{20, 5}, {3, 5}, {3, 1}}));

    // The same pitch twice: unchanged, still shown from page 1; an empty score is left alone.
    testing::setTopPage(*doc, 2);
    replacer.btnUpDwn1(1);
    EXPECT_EQ(replacer.btnReplace(*doc), 0);
    EXPECT_EQ(testing::topPage(*doc), 1);
    auto empty = testing::givenScore().cells({}).build(&undo);
    testing::setTopPage(*empty, 2);
    replacer.btnUpDwn2(0);
    EXPECT_EQ(replacer.btnReplace(*empty), 0);
    EXPECT_EQ(testing::topPage(*empty), 2);
}

}  // namespace
}  // namespace sorvel
