// The cell commands (update, insert, add, delete, transposition) and the cell primitives; the
// undo history on its own, and undo and redo of the cell commands, each document on its own
// history.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "edit/undo_history.h"
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

// A tiny editable value whose edits record their inverse, as the cell primitives do.
struct Counter {
    UndoHistory* h;
    std::vector<int> values;
    void push(int v) {
        values.push_back(v);
        h->registerUndo(this, [this] { pop(); });
    }
    void pop() {
        const int v = values.back();
        values.pop_back();
        h->registerUndo(this, [this, v] { push(v); });
    }
};

TEST(UndoHistory, StepsGroupsAndRedo) {
    UndoHistory h;
    Counter c{&h, {}};
    c.push(1);  // outside a group: a step of its own
    {
        UndoGroup outer(&h);
        c.push(2);
        {
            UndoGroup inner(&h);
            c.push(3);
        }
        h.undo();  // nothing while a group is open
        EXPECT_EQ(h.undoStepCount(), 1u);
        c.push(4);
    }
    { UndoGroup empty(&h); }
    EXPECT_EQ(h.undoStepCount(), 2u);
    h.undo();
    EXPECT_EQ(c.values, (std::vector<int>{1}));
    h.redo();
    EXPECT_EQ(c.values, (std::vector<int>{1, 2, 3, 4}));  // redone in the original order
    h.undo();
    h.undo();
    h.undo();  // nothing left
    EXPECT_TRUE(c.values.empty());
    EXPECT_EQ(h.redoStepCount(), 2u);
    h.redo();
    EXPECT_EQ(h.redoStepCount(), 1u);
    c.push(5);  // a new action drops what could be redone
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.undoStepCount(), 2u);
    h.undo();
    h.undo();
    EXPECT_TRUE(c.values.empty());
}

using Scores = std::vector<std::vector<ScoreCell>>;

// One user action of the score window on doc, chosen by the generator.
void randomEdit(Document& doc, UndoHistory& undo, std::mt19937& rng) {
    auto pick = [&rng](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
    };
    doc.selCell(pick(1, 40), pick(1, 3));
    setEntry(doc, {pick(0, 38), pick(0, 64)});
    const std::int64_t s = doc.selStart(), count = static_cast<std::int64_t>(cells(doc).size());
    const std::function<void()> actions[] = {
        [&] { doc.btnUPDate(); },
        [&] { doc.btnIns(); },
        [&] { doc.btnADD(); },
        [&] {
            doc.selCellTo(pick(1, 40), pick(1, 3));
            doc.btnDel();
        },
        [&] { doc.btnPageDown(); },
        [&] { doc.btnPageUp(); },
        [&] {  // a paste: several cells in one step
            UndoGroup group(&undo);
            std::vector<ScoreCell> pasted(static_cast<std::size_t>(pick(1, 50)), {pick(0, 38), 5});
            if (s >= 0) doc.insertCells(pasted, s + pick(0, 1), doc.selEnd());
        },
        [&] {  // a cut: a range in one step
            UndoGroup group(&undo);
            if (s >= 0 && count > 1) doc.deleteCells(s, std::min(count - 1, s + pick(0, 60)));
        },
    };
    actions[pick(0, std::size(actions) - 1)]();
}

class RandomEdits : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomEdits, UndoneStepByStepAndRedoneEachDocumentOnItsOwn) {
    std::unique_ptr<Document> docs[] = {givenScore().cells(distinctCells(70)).build(),
                                        givenScore().cells(distinctCells(130)).build()};

    // given two documents, when 300 random actions run on either, then each edit is one step
    // of its own document's history and no step is left out
    std::mt19937 rng(GetParam());
    Scores states[] = {{cells(*docs[0])}, {cells(*docs[1])}};
    for (int i = 0; i < 300; ++i) {
        const int d = std::uniform_int_distribution<int>(0, 1)(rng);
        Document& doc = *docs[d];
        const std::size_t before = doc.history().undoStepCount();
        randomEdit(doc, doc.history(), rng);
        EXPECT_EQ(staffMismatch(doc), "");
        ASSERT_LE(doc.history().undoStepCount(), before + 1) << "one action, one step";
        if (doc.history().undoStepCount() == before + 1) {
            states[d].push_back(cells(doc));
        } else {
            ASSERT_EQ(cells(doc), states[d].back()) << "a change with no step, action " << i;
        }
        if (HasFatalFailure()) return;
    }
    ASSERT_GT(states[0].size() + states[1].size(), 100u) << "the sequence should mostly edit";

    // when every step of one document is undone, then redone: each of its states comes back
    // in turn, and the other document stays as it is
    for (int d : {0, 1}) {
        Document& doc = *docs[d];
        const std::vector<ScoreCell> other = cells(*docs[1 - d]);
        const Scores& s = states[d];
        ASSERT_EQ(doc.history().undoStepCount(), s.size() - 1);
        for (std::size_t k = s.size() - 1; k > 0; --k) {
            doc.history().undo();
            ASSERT_EQ(cells(doc), s[k - 1]) << "after undoing step " << k;
            EXPECT_EQ(staffMismatch(doc), "");
        }
        EXPECT_FALSE(doc.history().canUndo());
        for (std::size_t k = 1; k < s.size(); ++k) {
            doc.history().redo();
            ASSERT_EQ(cells(doc), s[k]) << "after redoing step " << k;
        }
        EXPECT_FALSE(doc.history().canRedo());
        EXPECT_EQ(cells(*docs[1 - d]), other);
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEdits, ::testing::Values(1u, 17u, 2024u));

}  // namespace
}  // namespace sorvel
