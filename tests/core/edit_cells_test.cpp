// The cell commands (update, insert, add, delete, transposition) and the cell primitives.
#include <gtest/gtest.h>

#include "edit_test_document.h"

namespace sorvel {
namespace {

using testing::DiagCapture;
using testing::distinctCells;
using testing::expectStavesShowScore;
using testing::loadScore;
using testing::makeDocument;
using testing::Pos;

// Sets the selection as the window would have left it, also where selCell refuses to go.
void select(Document& d, Pos from, Pos to) {
    d.selRow = from.row;
    d.selCol = from.col;
    d.selRowTo = to.row;
    d.selColTo = to.col;
}

class CellCommands : public ::testing::Test {
  protected:
    void SetUp() override { doc = makeDocument(&undo); }
    UndoHistory undo;
    std::unique_ptr<Document> doc;
};

TEST_F(CellCommands, EachCommandEditsTheScoreMovesTheSelectionAndUndoesAsOneStep) {
    const ScoreCell entry{20, 7};
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
        {D, 10, {1, 3}, {1, 3}, 2, 1, false, {1, 3}},
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
        std::vector<ScoreCell> expected = distinctCells(c.cells);
        expected.erase(expected.begin() + c.at, expected.begin() + c.at + c.removed);
        if (c.entered) expected.insert(expected.begin() + c.at, entry);
        // Once without an undo history, then with one.
        auto plain = makeDocument();
        for (Document* d : {plain.get(), doc.get()}) {
            loadScore(*d, distinctCells(c.cells));
            select(*d, c.from, c.to);
            d->entryCell() = entry;
        }
        (plain.get()->*c.command)();
        EXPECT_EQ(plain->score().musicData, expected);
        const std::size_t steps = undo.undoStepCount();
        (doc.get()->*c.command)();
        EXPECT_EQ(doc->score().musicData, expected);
        EXPECT_EQ((Pos{doc->selRow, doc->selCol}), c.after);
        EXPECT_EQ((Pos{doc->selRowTo, doc->selColTo}), c.after);
        expectStavesShowScore(*doc);
        const bool changed = c.removed > 0 || c.entered;
        ASSERT_EQ(undo.undoStepCount(), steps + (changed ? 1 : 0));
        if (!changed) continue;
        undo.undo();
        EXPECT_EQ(doc->score().musicData, distinctCells(c.cells));
        expectStavesShowScore(*doc);
        undo.redo();
        EXPECT_EQ(doc->score().musicData, expected);
        expectStavesShowScore(*doc);
    }
}

TEST_F(CellCommands, UndoOfAnUpdateAfterThePageMovedKeepsTheStavesTrue) {
    loadScore(*doc, distinctCells(130));
    doc->selCell(3, 2);  // index 42, on gosen2
    doc->entryCell() = {20, 7};
    doc->btnUPDate();
    doc->btnPageDown();  // index 42 now shows on gosen1, gosen2 shows index 82
    undo.undo();
    EXPECT_EQ(doc->score().musicData, distinctCells(130));
    expectStavesShowScore(*doc);
    // The page moves on until the cell is off the staves; redo still changes only the score.
    doc->btnPageDown();
    doc->btnPageDown();
    ASSERT_EQ(doc->startCell(), 120);
    undo.redo();
    EXPECT_EQ(doc->score().musicData[42], (ScoreCell{20, 7}));
    expectStavesShowScore(*doc);
}

TEST_F(CellCommands, EveryCommandKeepsWorkingOnAnEmptyScore) {
    loadScore(*doc, {{4, 5}, {7, 5}});
    doc->withCode = true;
    doc->selCellTo(2, 1);
    doc->btnDel();
    ASSERT_TRUE(doc->score().musicData.empty());
    EXPECT_EQ(doc->pageCount(), 0);
    EXPECT_EQ(doc->selStart(), -1);

    doc->entryCell() = {20, 7};
    for (auto command :
         {&Document::btnUPDate, &Document::btnDel, &Document::btnPageDown, &Document::btnPageUp}) {
        (doc.get()->*command)();
    }
    doc->btnAllUpDown(0);
    doc->btnAllUpDown(1);
    EXPECT_TRUE(doc->score().musicData.empty());
    expectStavesShowScore(*doc);
    EXPECT_EQ(undo.undoStepCount(), 1u);

    for (auto command : {&Document::btnIns, &Document::btnADD}) {  // both insert at 0
        (doc.get()->*command)();
        EXPECT_EQ(doc->score().musicData, (std::vector<ScoreCell>{{20, 7}}));
        EXPECT_EQ(doc->selStart(), 0);
        expectStavesShowScore(*doc);
        undo.undo();
        EXPECT_TRUE(doc->score().musicData.empty());
    }
    undo.undo();
    EXPECT_EQ(doc->score().musicData, (std::vector<ScoreCell>{{4, 5}, {7, 5}}));
    expectStavesShowScore(*doc);
}

TEST_F(CellCommands, PrimitivesRefuseIndicesOutsideTheScore) {
    loadScore(*doc, distinctCells(12));
    DiagCapture diag;
    for (std::int64_t bad : {-1, 13, 1000}) {
        diag.lines.clear();
        doc->insertCells({{20, 7}}, bad, bad);
        EXPECT_EQ(diag.lines, (std::vector<std::string>{std::to_string(bad) + " 12 index over",
                                                        " index over"}));
    }
    doc->deleteCells(5, 4);
    doc->deleteCells(-1, 3);
    doc->deleteCells(10, 12);
    doc->insertCellList({1, 2}, 13);
    doc->insertCellList({1, 2}, -1);
    doc->insertCellList({1}, 3);  // no whole cell
    doc->setCell(doc->gosen1, 0, 12, 1, 1);
    doc->setCell(doc->gosen1, 0, -1, 1, 1);
    EXPECT_EQ(doc->score().musicData, distinctCells(12));
    EXPECT_FALSE(undo.canUndo());

    // The end of the score is a valid place; a trailing odd integer is ignored.
    doc->insertCells({{20, 7}}, 12, 12);
    EXPECT_EQ(diag.lines.back(), "12 12 index over");
    doc->insertCellList({20, 7, 21, 9, 5}, 13);
    EXPECT_EQ(doc->score().musicData.size(), 15u);
    EXPECT_EQ(doc->score().musicData[14], (ScoreCell{21, 9}));
}

TEST_F(CellCommands, TransposeTable) {
    // {pitch, value, row (0 up, anything else down), pitch after}
    // clang-format off
    const std::int64_t cases[][4] = {
        // Wrapping: below A0# to A2, above C2 to C0#; accidentals step over their twin.
        {0, 5, 1, 34}, {1, 5, 1, 34}, {2, 5, 1, 34}, {3, 5, 1, 2}, {38, 5, 0, 5}, {1, 5, 0, 3},
        {37, 1, 0, 38}, {35, 12, 0, 37}, {12, 5, 0, 14}, {13, 5, 1, 11}, {12, 5, 7, 11},
        // Every pitched family moves.
        {19, 29, 1, 17}, {18, 40, 1, 17}, {17, 41, 0, 18}, {17, 43, 1, 16}, {17, 47, 0, 18},
        {17, 49, 1, 16}, {17, 53, 0, 18}, {17, 64, 1, 16},
        // Blanks, rests, marks and triplet rests keep their pitch; so do stray indices.
        {17, 0, 0, 17}, {17, 13, 0, 17}, {17, 24, 1, 17}, {17, 25, 0, 17}, {17, 28, 1, 17},
        {17, 44, 0, 17}, {17, 46, 1, 17}, {17, 50, 0, 17}, {17, 52, 1, 17}, {0, 0, 1, 0},
        {39, 5, 0, 39}, {-1, 5, 1, -1}, {17, 65, 0, 17}, {17, -5, 0, 17},
    };
    // clang-format on
    for (const auto& c : cases) {
        loadScore(*doc, {{4, 5}, {c[0], c[1]}, {4, 13}});
        doc->btnAllUpDown(c[2]);
        EXPECT_EQ(doc->score().musicData,
                  (std::vector<ScoreCell>{{c[2] == 0 ? 5 : 3, 5}, {c[3], c[1]}, {4, 13}}))
            << "(" << c[0] << ", " << c[1] << ") row " << c[2];
        expectStavesShowScore(*doc);
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
        loadScore(*doc, std::vector<ScoreCell>(static_cast<std::size_t>(n), ScoreCell{17, 5}));
        if (c.page == 2) doc->btnPageDown();
        doc->selCell(c.from.col, c.from.row);
        select(*doc, c.from, c.to);
        doc->btnAllUpDown(1);
        for (std::int64_t i = 0; i < n; ++i) {
            EXPECT_EQ(doc->score().musicData[static_cast<std::size_t>(i)].noteIndex,
                      i >= c.first && i <= c.last ? 16 : 17)
                << i;
        }
        EXPECT_EQ((Pos{doc->selRowTo, doc->selColTo}), c.to) << "the range stays selected";
        expectStavesShowScore(*doc);
    }
}

TEST_F(CellCommands, TransposeTakesTheChordsAlongOnlyForTheWholeScore) {
    loadScore(*doc, {{17, 5}, {20, 5}});
    doc->score().codeData = {"C G7", "Am"};
    doc->showPage(1);
    doc->cdText[2] = "F";  // typed but not yet stored
    doc->withCode = true;
    doc->btnAllUpDown(0);
    EXPECT_EQ(doc->score().codeData, (std::vector<std::string>{"C# G#7 ", "A#m ", "F# "}));
    EXPECT_EQ(doc->cdText[0], "C# G#7 ");
    EXPECT_EQ(doc->cdText[2], "F# ");
    doc->btnAllUpDown(1);
    EXPECT_EQ(doc->score().codeData, (std::vector<std::string>{"C G7  ", "Am  ", "F  "}));

    const std::vector<std::string> before = doc->score().codeData;
    doc->withCode = false;
    doc->btnAllUpDown(0);
    EXPECT_EQ(doc->score().codeData, before);
    doc->withCode = true;
    doc->selCellTo(2, 1);  // a range: the chords stay
    doc->btnAllUpDown(0);
    EXPECT_EQ(doc->score().codeData, before);
    // Up, down, up, and up again over the range: A1 -> A1# -> B1, B1 -> C1 -> C1#.
    EXPECT_EQ(doc->score().musicData, (std::vector<ScoreCell>{{20, 5}, {22, 5}}));
}

}  // namespace
}  // namespace sorvel
