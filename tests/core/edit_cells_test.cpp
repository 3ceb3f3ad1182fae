// The cell commands (update, insert, add, delete, transposition) and the cell primitives.
#include <gtest/gtest.h>

#include "fakes.h"
#include "given.h"

namespace sorvel {
namespace {

using namespace sorvel::testing;
using testing::Selection;  // the test builder's, not the key logic's
using Cells = std::vector<ScoreCell>;

class CellCommands : public ::testing::Test {
  protected:
    UndoHistory undo;
};

TEST_F(CellCommands, EachCommandEditsTheScoreMovesTheSelectionAndUndoesAsOneStep) {
    const ScoreCell in{20, 7};
    const auto U = &Document::btnUPDate, I = &Document::btnIns, A = &Document::btnADD,
               D = &Document::btnDel;
    const struct {
        void (Document::*command)();
        std::int64_t cells;
        Pos from, to;
        std::int64_t at, removed;  // cells removed at `at`, then the entry cell put there
        bool entered;
        Pos after;
    } cases[] = {
        {U, 100, {2, 3}, {2, 3}, 42, 1, true, {2, 3}},
        {U, 10, {0, 1}, {0, 1}, 0, 0, false, {0, 1}},     // off the staves
        {U, 10, {1, 11}, {1, 11}, 0, 0, false, {1, 11}},  // past the end
        {I, 50, {1, 40}, {1, 40}, 39, 0, true, {1, 40}},  // the last cell moves on a page
        {I, 10, {0, 1}, {0, 1}, 0, 0, false, {0, 1}},
        {A, 10, {1, 3}, {1, 3}, 3, 0, true, {1, 4}},
        {A, 10, {1, 10}, {1, 10}, 10, 0, true, {1, 11}},    // appended and selected
        {A, 80, {1, 40}, {1, 40}, 40, 0, true, {2, 1}},     // on to the next staff
        {A, 120, {3, 40}, {3, 40}, 120, 0, true, {3, 40}},  // the third staff's end: stays
        {A, 10, {4, 1}, {4, 1}, 0, 0, false, {4, 1}},
        {D, 10, {1, 3}, {1, 6}, 2, 4, false, {1, 3}},
        {D, 10, {1, 8}, {1, 10}, 7, 3, false, {1, 7}},  // up to the end: one column left
        {D, 10, {1, 10}, {1, 10}, 9, 1, false, {1, 9}},
        {D, 100, {1, 39}, {2, 2}, 38, 4, false, {1, 39}},  // across two staves
        {D, 1, {1, 1}, {1, 1}, 0, 0, false, {1, 1}},       // the only cell stays
        {D, 10, {1, 5}, {1, 3}, 0, 0, false, {1, 5}},      // end before start
        {D, 10, {1, 7}, {1, 14}, 0, 0, false, {1, 7}},     // end past the score (after a cut)
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(++row));
        Cells expected = distinctCells(c.cells);
        expected.erase(expected.begin() + c.at, expected.begin() + c.at + c.removed);
        if (c.entered) expected.insert(expected.begin() + c.at, in);
        // given the selection as the window left it, also where a click could not put it
        const auto given =
            givenScore().cells(distinctCells(c.cells)).forcedSelection(c.from, c.to).entry(in);
        // when the command runs once without an undo history, once with one
        auto plain = given.build();
        (plain.get()->*c.command)();
        EXPECT_EQ(cells(*plain), expected);
        auto doc = given.build(&undo);
        const std::size_t steps = undo.undoStepCount();
        (doc.get()->*c.command)();
        // then
        EXPECT_EQ(cells(*doc), expected);
        EXPECT_EQ(selection(*doc), (Selection{c.after, c.after}));
        EXPECT_EQ(staffMismatch(*doc), "");
        const bool changed = c.removed > 0 || c.entered;
        ASSERT_EQ(undo.undoStepCount(), steps + (changed ? 1 : 0));
        if (!changed) continue;
        undo.undo();
        EXPECT_EQ(cells(*doc), distinctCells(c.cells));
        EXPECT_EQ(staffMismatch(*doc), "");
        undo.redo();
        EXPECT_EQ(cells(*doc), expected);
        EXPECT_EQ(staffMismatch(*doc), "");
        undo.removeAllActions(doc.get());
    }
}

TEST_F(CellCommands, EveryCommandKeepsWorkingOnAnEmptyScore) {
    // given a score whose every cell was deleted
    auto doc = givenScore()
                   .cells({{4, 5}, {7, 5}})
                   .selected({1, 1}, {1, 2})
                   .chordsTransposeAlong()
                   .build(&undo);
    doc->btnDel();
    ASSERT_TRUE(cells(*doc).empty());
    EXPECT_EQ(pageCount(*doc), 0);
    EXPECT_EQ(doc->selStart(), -1);
    // when every command runs, then nothing breaks and only insertions add a cell
    setEntry(*doc, {20, 7});
    for (auto command :
         {&Document::btnUPDate, &Document::btnDel, &Document::btnPageDown, &Document::btnPageUp}) {
        (doc.get()->*command)();
    }
    doc->btnAllUpDown(0);
    doc->btnAllUpDown(1);
    EXPECT_TRUE(cells(*doc).empty());
    EXPECT_EQ(staffMismatch(*doc), "");
    EXPECT_EQ(undo.undoStepCount(), 1u);
    for (auto command : {&Document::btnIns, &Document::btnADD}) {  // both insert at 0
        (doc.get()->*command)();
        EXPECT_EQ(cells(*doc), (Cells{{20, 7}}));
        EXPECT_EQ(doc->selStart(), 0);
        EXPECT_EQ(staffMismatch(*doc), "");
        undo.undo();
        EXPECT_TRUE(cells(*doc).empty());
    }
    undo.undo();
    EXPECT_EQ(cells(*doc), (Cells{{4, 5}, {7, 5}}));
    EXPECT_EQ(staffMismatch(*doc), "");
}

TEST_F(CellCommands, PrimitivesRefuseIndicesOutsideTheScore) {
    auto doc = givenScore().cells(distinctCells(12)).build(&undo);
    DiagCapture quiet;
    for (std::int64_t bad : {-1, 13, 1000}) doc->insertCells({{20, 7}}, bad, bad);
    for (auto [from, to] : {std::pair{5, 4}, {-1, 3}, {10, 12}}) doc->deleteCells(from, to);
    EXPECT_EQ(cells(*doc), distinctCells(12));
    // The primitives under the commands refuse the same, and a list with no whole cell.
    Score score{distinctCells(12), {}, {}};
    CellPrimitives primitives(score, &undo, &score, nullptr);
    for (auto [list, at] : {std::pair{std::vector<std::int64_t>{1, 2}, 13}, {{1, 2}, -1}, {{1}, 3}})
        EXPECT_FALSE(primitives.insertCellList(list, at)) << at;
    for (std::int64_t at : {12, -1}) EXPECT_FALSE(primitives.setCell(at, {1, 1})) << at;
    EXPECT_EQ(score.musicData, distinctCells(12));
    EXPECT_FALSE(undo.canUndo());
    // The end of the score is a valid place; a trailing odd integer is ignored.
    EXPECT_TRUE(primitives.insertCellList({20, 7, 21, 9, 5}, 12));
    EXPECT_EQ(score.musicData.size(), 14u);
    EXPECT_EQ(score.musicData[13], (ScoreCell{21, 9}));
    undo.removeAllActions(&score);
}

TEST_F(CellCommands, TransposeTable) {
    // {pitch, value, row (0 up, anything else down), pitch after}
    // clang-format off
    const std::int64_t cases[][4] = {
        // Wrapping: below A0# to A2, above C2 to C0#; accidentals step over their twin.
        {0, 5, 1, 34}, {1, 5, 1, 34}, {2, 5, 1, 34}, {3, 5, 1, 2}, {38, 5, 0, 5}, {1, 5, 0, 3},
        {37, 1, 0, 38}, {12, 5, 7, 11},
        // Every pitched family moves.
        {19, 29, 1, 17}, {17, 41, 0, 18}, {17, 64, 1, 16},
        // Blanks, rests, marks and triplet rests keep their pitch; so do stray indices.
        {17, 0, 0, 17}, {17, 13, 0, 17}, {17, 25, 0, 17}, {17, 44, 0, 17},
        {39, 5, 0, 39}, {-1, 5, 1, -1}, {17, 65, 0, 17}, {17, -5, 0, 17},
    };
    // clang-format on
    for (const auto& c : cases) {
        auto doc = givenScore().cells({{4, 5}, {c[0], c[1]}, {4, 13}}).build(&undo);
        doc->btnAllUpDown(c[2]);
        EXPECT_EQ(cells(*doc), (Cells{{c[2] == 0 ? 5 : 3, 5}, {c[3], c[1]}, {4, 13}}))
            << "(" << c[0] << ", " << c[1] << ") row " << c[2];
        EXPECT_EQ(staffMismatch(*doc), "");
    }
    EXPECT_FALSE(undo.canUndo());
}

TEST_F(CellCommands, TransposeARangeOnly) {
    const struct {
        std::int64_t page;
        Pos from, to;
        std::int64_t first, last;  // indices transposed
    } cases[] = {
        {2, {1, 39}, {2, 2}, 78, 81},
        {1, {1, 8}, {1, 15}, 7, 9},  // past the end of the score: cut there
        {1, {1, 8}, {1, 3}, 1, 0},   // end before the start: nothing
    };
    for (const auto& c : cases) {
        const std::int64_t n = c.page == 2 ? 100 : 10;
        auto doc = givenScore()
                       .cells(Cells(static_cast<std::size_t>(n), ScoreCell{17, 5}))
                       .onPage(c.page)
                       .forcedSelection(c.from, c.to)
                       .build(&undo);
        doc->btnAllUpDown(1);
        for (std::int64_t i = 0; i < n; ++i) {
            EXPECT_EQ(cells(*doc)[static_cast<std::size_t>(i)].noteIndex,
                      i >= c.first && i <= c.last ? 16 : 17)
                << i;
        }
        EXPECT_EQ(selection(*doc).to, c.to) << "the range stays selected";
        EXPECT_EQ(staffMismatch(*doc), "");
    }
}

}  // namespace
}  // namespace sorvel
