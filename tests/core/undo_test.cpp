// The undo history on its own, and undo and redo of the cell commands, each document on its own
// history.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "edit/undo_history.h"
#include "edit_test_document.h"

namespace sorvel {
namespace {

using namespace sorvel::testing;

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

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEdits, ::testing::Values(1u, 2u, 3u, 17u, 2024u));

}  // namespace
}  // namespace sorvel
