#include <gtest/gtest.h>

#include "edit_test_document.h"
#include "model/notation_tables.h"

namespace sorvel {
namespace {

using testing::DiagCapture;
using testing::distinctCells;
using testing::expectStavesShowScore;
using testing::loadScore;
using testing::makeDocument;

struct Selection {
    std::int64_t row, col, rowTo, colTo;
};

Selection selectionOf(const Document& d) {
    return {d.selRow, d.selCol, d.selRowTo, d.selColTo};
}

bool operator==(const Selection& a, const Selection& b) {
    return a.row == b.row && a.col == b.col && a.rowTo == b.rowTo && a.colTo == b.colTo;
}

std::ostream& operator<<(std::ostream& os, const Selection& s) {
    return os << "(" << s.row << "," << s.col << ")-(" << s.rowTo << "," << s.colTo << ")";
}

class CellCommands : public ::testing::Test {
  protected:
    void SetUp() override { doc = makeDocument(&undo); }
    UndoHistory undo;
    std::unique_ptr<Document> doc;
};

TEST_F(CellCommands, SelStartAndEndAreScoreIndicesOrMinusOne) {
    loadScore(*doc, distinctCells(85));
    doc->selCell(5, 2);
    EXPECT_EQ(doc->selStart(), 44);
    doc->selCellTo(3, 3);
    EXPECT_EQ(doc->selEnd(), 82);
    doc->selColTo = 7;  // index 86 lies past the end
    EXPECT_EQ(doc->selEnd(), -1);
    doc->selRow = 0;
    EXPECT_EQ(doc->selStart(), -1);
    doc->selRow = 4;
    EXPECT_EQ(doc->selStart(), -1);
}

TEST_F(CellCommands, UpdateWritesTheEntryCellOverTheSelectedCell) {
    loadScore(*doc, distinctCells(100));
    doc->selCell(3, 2);  // index 42
    doc->entryCell() = {20, 7};
    doc->btnUPDate();
    EXPECT_EQ(doc->musicData[42], (ScoreCell{20, 7}));
    EXPECT_EQ(doc->gosen2.musicData[2], (ScoreCell{20, 7}));
    EXPECT_EQ(doc->musicData.size(), 100u);
    EXPECT_EQ(selectionOf(*doc), (Selection{2, 3, 2, 3}));
    expectStavesShowScore(*doc);

    undo.undo();
    EXPECT_EQ(doc->musicData, distinctCells(100));
    expectStavesShowScore(*doc);
    undo.redo();
    EXPECT_EQ(doc->musicData[42], (ScoreCell{20, 7}));
    expectStavesShowScore(*doc);
}

TEST_F(CellCommands, UpdateOffTheStavesOrPastTheEndDoesNothing) {
    loadScore(*doc, distinctCells(10));
    doc->entryCell() = {20, 7};
    doc->selRow = 0;
    doc->btnUPDate();
    doc->btnIns();
    doc->btnADD();
    doc->selRow = 1;
    doc->selCol = 11;  // the cell after the last one
    doc->btnUPDate();
    EXPECT_EQ(doc->musicData, distinctCells(10));
    EXPECT_FALSE(undo.canUndo());
}

TEST_F(CellCommands, UndoOfAnUpdateAfterThePageMovedKeepsTheStavesTrue) {
    loadScore(*doc, distinctCells(130));
    doc->selCell(3, 2);  // index 42, on gosen2
    doc->entryCell() = {20, 7};
    doc->btnUPDate();
    doc->btnPageDown();  // index 42 now shows on gosen1, gosen2 shows index 82
    ASSERT_EQ(doc->topPage(), 2);
    undo.undo();
    EXPECT_EQ(doc->musicData, distinctCells(130));
    expectStavesShowScore(*doc);
    EXPECT_EQ(doc->gosen2.musicData[2], doc->musicData[82]);
    EXPECT_EQ(doc->gosen1.musicData[2], doc->musicData[42]);

    // The page moves on until the cell is off the staves; redo still changes only the score.
    doc->btnPageDown();
    doc->btnPageDown();
    ASSERT_EQ(doc->startCell, 120);
    undo.redo();
    EXPECT_EQ(doc->musicData[42], (ScoreCell{20, 7}));
    expectStavesShowScore(*doc);
}

TEST_F(CellCommands, InsertPutsTheEntryCellBeforeTheSelection) {
    loadScore(*doc, distinctCells(50));
    doc->selCell(40, 1);  // index 39: the last cell of page 1 moves onto page 2
    doc->entryCell() = {20, 7};
    doc->btnIns();
    ASSERT_EQ(doc->musicData.size(), 51u);
    EXPECT_EQ(doc->musicData[39], (ScoreCell{20, 7}));
    EXPECT_EQ(doc->musicData[40], distinctCells(50)[39]);
    EXPECT_EQ(selectionOf(*doc), (Selection{1, 40, 1, 40}));
    EXPECT_EQ(doc->selStart(), 39);
    expectStavesShowScore(*doc);

    undo.undo();  // removes exactly the inserted cell
    EXPECT_EQ(doc->musicData, distinctCells(50));
    expectStavesShowScore(*doc);
}

struct AddCase {
    std::int64_t cells;
    std::int64_t col, row;  // selected cell
    Selection after;
};

TEST_F(CellCommands, AddPutsTheEntryCellAfterTheSelectionAndSelectsIt) {
    const AddCase cases[] = {
        {10, 3, 1, {1, 4, 1, 4}},      // inside the score
        {10, 10, 1, {1, 11, 1, 11}},   // on the last cell: appended and selected
        {80, 40, 1, {2, 1, 2, 1}},     // end of a staff: on to the next one
        {120, 40, 3, {3, 40, 3, 40}},  // end of the third staff: the selection stays
    };
    for (const AddCase& c : cases) {
        loadScore(*doc, distinctCells(c.cells));
        doc->selCell(c.col, c.row);
        const std::int64_t index = doc->selStart();
        doc->entryCell() = {20, 7};
        doc->btnADD();
        ASSERT_EQ(static_cast<std::int64_t>(doc->musicData.size()), c.cells + 1);
        EXPECT_EQ(doc->musicData[static_cast<std::size_t>(index + 1)], (ScoreCell{20, 7}));
        EXPECT_EQ(selectionOf(*doc), c.after) << c.cells << " cells";
        expectStavesShowScore(*doc);
    }
}

TEST_F(CellCommands, InsertCellsReportsAndRefusesBadIndices) {
    loadScore(*doc, distinctCells(12));
    DiagCapture diag;
    doc->insertCells({{20, 7}}, 5, 5);
    ASSERT_FALSE(diag.lines.empty());
    EXPECT_EQ(diag.lines.front(), "5 12 index over");
    EXPECT_EQ(doc->musicData.size(), 13u);

    for (std::int64_t bad : {-1, 14, 1000}) {
        diag.lines.clear();
        const std::size_t steps = undo.undoStepCount();
        doc->insertCells({{20, 7}}, bad, bad);
        EXPECT_EQ(diag.lines, (std::vector<std::string>{std::to_string(bad) + " 13 index over",
                                                        " index over"}));
        EXPECT_EQ(doc->musicData.size(), 13u);
        EXPECT_EQ(undo.undoStepCount(), steps);
    }
}

TEST_F(CellCommands, PrimitivesIgnoreRangesOutsideTheScore) {
    loadScore(*doc, distinctCells(12));
    doc->deleteCells(5, 4);
    doc->deleteCells(-1, 3);
    doc->deleteCells(10, 12);
    doc->insertCellList({1, 2}, 13);
    doc->insertCellList({1, 2}, -1);
    doc->insertCellList({1}, 3);  // no whole cell
    doc->setCell(doc->gosen1, 0, 12, 1, 1);
    doc->setCell(doc->gosen1, 0, -1, 1, 1);
    EXPECT_EQ(doc->musicData, distinctCells(12));
    EXPECT_FALSE(undo.canUndo());
    // A trailing odd integer is ignored.
    doc->insertCellList({20, 7, 21, 9, 5}, 12);
    EXPECT_EQ(doc->musicData.size(), 14u);
    EXPECT_EQ(doc->musicData[13], (ScoreCell{21, 9}));
}

struct DeleteCase {
    std::int64_t cells;
    Selection sel;
    std::int64_t from, to;  // removed range, from > to for none
    Selection after;
};

TEST_F(CellCommands, DeleteRemovesTheSelectedRange) {
    const DeleteCase cases[] = {
        {10, {1, 3, 1, 3}, 2, 2, {1, 3, 1, 3}},
        {10, {1, 3, 1, 6}, 2, 5, {1, 3, 1, 3}},
        {10, {1, 8, 1, 10}, 7, 9, {1, 7, 1, 7}},  // up to the end: one column left
        {10, {1, 10, 1, 10}, 9, 9, {1, 9, 1, 9}},
        {100, {1, 39, 2, 2}, 38, 41, {1, 39, 1, 39}},  // across two staves
        {1, {1, 1, 1, 1}, 1, 0, {1, 1, 1, 1}},         // one cell: nothing happens
        {10, {1, 5, 1, 3}, 1, 0, {1, 5, 1, 5}},        // end before start: nothing deleted
    };
    for (const DeleteCase& c : cases) {
        loadScore(*doc, distinctCells(c.cells));
        doc->selCell(c.sel.col, c.sel.row);
        doc->selRowTo = c.sel.rowTo;
        doc->selColTo = c.sel.colTo;
        doc->btnDel();
        std::vector<ScoreCell> expected = distinctCells(c.cells);
        if (c.from <= c.to) expected.erase(expected.begin() + c.from, expected.begin() + c.to + 1);
        EXPECT_EQ(doc->musicData, expected) << c.cells << " cells, " << c.sel;
        EXPECT_EQ(selectionOf(*doc), c.after) << c.sel;
        expectStavesShowScore(*doc);
    }
}

TEST_F(CellCommands, DeleteWithASelectionEndPastTheScoreDeletesNothing) {
    // What is left after a cut: the end still names cells that have gone.
    loadScore(*doc, distinctCells(10));
    doc->selCell(7, 1);
    doc->selColTo = 14;
    doc->btnDel();
    EXPECT_EQ(doc->musicData, distinctCells(10));
    EXPECT_EQ(selectionOf(*doc), (Selection{1, 7, 1, 7}));
    EXPECT_FALSE(undo.canUndo());
}

TEST_F(CellCommands, DeletingTheTopPagesCellsBlanksTheStaves) {
    loadScore(*doc, distinctCells(81));
    doc->btnPageDown();
    doc->btnPageDown();
    ASSERT_EQ(doc->topPage(), 3);
    ASSERT_EQ(doc->gosen1.musicData[0], distinctCells(81)[80]);
    doc->selCell(1, 1);
    doc->btnDel();  // the only cell of page 3
    ASSERT_EQ(doc->musicData.size(), 80u);
    EXPECT_EQ(doc->allP, "2");
    expectStavesShowScore(*doc);  // page 3 is past the end: blank
    undo.undo();
    EXPECT_EQ(doc->musicData, distinctCells(81));
    expectStavesShowScore(*doc);
}

TEST_F(CellCommands, EveryCommandKeepsWorkingOnAnEmptyScore) {
    loadScore(*doc, {{4, 5}, {7, 5}});
    doc->withCode = true;
    doc->selCellTo(2, 1);
    doc->btnDel();
    ASSERT_TRUE(doc->musicData.empty());
    EXPECT_EQ(doc->allP, "0");
    expectStavesShowScore(*doc);
    EXPECT_EQ(doc->selStart(), -1);

    doc->entryCell() = {20, 7};
    doc->btnUPDate();
    doc->btnDel();
    doc->btnAllUpDown(0);
    doc->btnAllUpDown(1);
    doc->btnPageDown();
    doc->btnPageUp();
    EXPECT_TRUE(doc->musicData.empty());
    expectStavesShowScore(*doc);
    EXPECT_EQ(undo.undoStepCount(), 1u);

    doc->btnIns();  // inserts at 0
    EXPECT_EQ(doc->musicData, (std::vector<ScoreCell>{{20, 7}}));
    expectStavesShowScore(*doc);
    undo.undo();
    EXPECT_TRUE(doc->musicData.empty());
    expectStavesShowScore(*doc);

    doc->btnADD();  // also inserts at 0
    EXPECT_EQ(doc->musicData, (std::vector<ScoreCell>{{20, 7}}));
    EXPECT_EQ(doc->selStart(), 0);
    expectStavesShowScore(*doc);

    undo.undo();
    undo.undo();
    EXPECT_EQ(doc->musicData, (std::vector<ScoreCell>{{4, 5}, {7, 5}}));
    expectStavesShowScore(*doc);
}

struct TransposeCase {
    ScoreCell before;
    std::int64_t row;  // 0 up, 1 down
    std::int64_t pitchAfter;
};

TEST_F(CellCommands, TransposeTable) {
    const TransposeCase cases[] = {
        {{0, 5}, 1, 34},
        {{1, 5}, 1, 34},
        {{2, 5}, 1, 34},
        {{3, 5}, 1, 2},
        {{38, 5}, 0, 5},
        {{1, 5}, 0, 3},
        {{37, 1}, 0, 38},
        {{35, 12}, 0, 37},
        {{19, 29}, 1, 17},
        {{18, 40}, 1, 17},
        {{17, 41}, 0, 18},
        {{17, 43}, 1, 16},
        {{17, 47}, 0, 18},
        {{17, 49}, 1, 16},
        {{17, 53}, 0, 18},
        {{17, 64}, 1, 16},
        {{12, 5}, 0, 14},
        {{13, 5}, 1, 11},
        {{12, 5}, 7, 11},  // any other row is down
        // Values without a pitch keep theirs.
        {{17, 0}, 0, 17},
        {{17, 13}, 0, 17},
        {{17, 24}, 1, 17},
        {{17, 25}, 0, 17},
        {{17, 28}, 1, 17},
        {{17, 44}, 0, 17},
        {{17, 46}, 1, 17},
        {{17, 50}, 0, 17},
        {{17, 52}, 1, 17},
        {{0, 0}, 1, 0},
        // Stray indices are left alone.
        {{39, 5}, 0, 39},
        {{-1, 5}, 1, -1},
        {{17, 65}, 0, 17},
        {{17, -5}, 0, 17},
    };
    for (const TransposeCase& c : cases) {
        loadScore(*doc, {{4, 5}, c.before, {4, 13}});
        doc->btnAllUpDown(c.row);
        const ScoreCell expected{c.pitchAfter, c.before.onpIndex};
        EXPECT_EQ(doc->musicData[1], expected)
            << "(" << c.before.noteIndex << ", " << c.before.onpIndex << ") row " << c.row;
        EXPECT_EQ(doc->musicData[0], (ScoreCell{c.row == 0 ? 5 : 3, 5}));
        expectStavesShowScore(*doc);
    }
    EXPECT_FALSE(undo.canUndo());
}

TEST_F(CellCommands, TransposeARangeOnly) {
    std::vector<ScoreCell> cells(100, ScoreCell{17, 5});
    loadScore(*doc, cells);
    doc->btnPageDown();  // P = 2: row 1 shows 40..79
    doc->selCell(39, 1);
    doc->selCellTo(2, 2);  // indices 78..81
    const Selection sel = selectionOf(*doc);
    doc->btnAllUpDown(0);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const bool inRange = i >= 78 && i <= 81;
        EXPECT_EQ(doc->musicData[i].noteIndex, inRange ? 18 : 17) << i;
    }
    EXPECT_EQ(selectionOf(*doc), sel);
    expectStavesShowScore(*doc);
}

TEST_F(CellCommands, TransposeRangeEndsOutsideTheScore) {
    loadScore(*doc, std::vector<ScoreCell>(10, ScoreCell{17, 5}));
    doc->selCell(8, 1);
    doc->selColTo = 15;  // past the end: cut at the end
    doc->btnAllUpDown(1);
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(doc->musicData[i].noteIndex, i >= 7 ? 16 : 17);

    loadScore(*doc, std::vector<ScoreCell>(10, ScoreCell{17, 5}));
    doc->selCell(8, 1);
    doc->selColTo = 3;  // before the start: nothing
    doc->btnAllUpDown(1);
    EXPECT_EQ(doc->musicData, std::vector<ScoreCell>(10, ScoreCell{17, 5}));
}

TEST_F(CellCommands, TransposeTakesTheChordsAlongOnlyForTheWholeScore) {
    loadScore(*doc, {{17, 5}, {20, 5}});
    doc->codeData = {"C G7", "Am"};
    doc->showPage(1);
    doc->cdText[2] = "F";  // typed but not yet stored
    doc->withCode = true;
    doc->btnAllUpDown(0);
    EXPECT_EQ(doc->codeData, (std::vector<std::string>{"C# G#7 ", "A#m ", "F# "}));
    EXPECT_EQ(doc->cdText[0], "C# G#7 ");
    EXPECT_EQ(doc->cdText[2], "F# ");
    doc->btnAllUpDown(1);
    EXPECT_EQ(doc->codeData, (std::vector<std::string>{"C G7  ", "Am  ", "F  "}));

    const std::vector<std::string> before = doc->codeData;
    doc->withCode = false;
    doc->btnAllUpDown(0);
    EXPECT_EQ(doc->codeData, before);

    doc->withCode = true;
    doc->selCellTo(2, 1);  // a range: the chords stay
    doc->btnAllUpDown(0);
    EXPECT_EQ(doc->codeData, before);
    // Up, down, up, and up again over the range: A1 -> A1# -> B1, B1 -> C1 -> C1#.
    EXPECT_EQ(doc->musicData, (std::vector<ScoreCell>{{20, 5}, {22, 5}}));
}

}  // namespace
}  // namespace sorvel
