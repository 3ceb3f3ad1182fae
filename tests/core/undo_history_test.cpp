#include "edit/undo_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorvel {
namespace {

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

TEST(UndoHistory, RecordsOutsideAGroupAreStepsOfTheirOwn) {
    UndoHistory h;
    Counter c{&h, {}};
    c.push(1);
    c.push(2);
    EXPECT_EQ(h.undoStepCount(), 2u);
    h.undo();
    EXPECT_EQ(c.values, (std::vector<int>{1}));
    h.undo();
    EXPECT_TRUE(c.values.empty());
    EXPECT_FALSE(h.canUndo());
    h.undo();  // nothing to do
    EXPECT_TRUE(c.values.empty());
}

TEST(UndoHistory, AGroupIsOneStepAndNestedGroupsMerge) {
    UndoHistory h;
    Counter c{&h, {}};
    {
        UndoGroup outer(&h);
        c.push(1);
        {
            UndoGroup inner(&h);
            c.push(2);
        }
        EXPECT_EQ(h.undoStepCount(), 0u);  // still open
        c.push(3);
    }
    { UndoGroup empty(&h); }
    EXPECT_EQ(h.undoStepCount(), 1u);
    h.undo();
    EXPECT_TRUE(c.values.empty());
    EXPECT_EQ(h.redoStepCount(), 1u);
    h.redo();
    EXPECT_EQ(c.values, (std::vector<int>{1, 2, 3}));  // redone in the original order
    EXPECT_EQ(h.undoStepCount(), 1u);
    EXPECT_FALSE(h.canRedo());
}

TEST(UndoHistory, RedoSurvivesUndoAndRedoButNotANewAction) {
    UndoHistory h;
    Counter c{&h, {}};
    c.push(1);
    c.push(2);
    h.undo();
    h.undo();
    EXPECT_EQ(h.redoStepCount(), 2u);
    h.redo();
    EXPECT_EQ(c.values, (std::vector<int>{1}));
    EXPECT_EQ(h.redoStepCount(), 1u);
    c.push(5);
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.undoStepCount(), 2u);
    h.undo();
    h.undo();
    EXPECT_TRUE(c.values.empty());
}

TEST(UndoHistory, UndoWhileAGroupIsOpenDoesNothing) {
    UndoHistory h;
    Counter c{&h, {}};
    c.push(1);
    {
        UndoGroup g(&h);
        c.push(2);
        h.undo();
        EXPECT_EQ(c.values, (std::vector<int>{1, 2}));
    }
    EXPECT_EQ(h.undoStepCount(), 2u);
}

TEST(UndoHistory, RemoveAllActionsDropsEveryStepNamingTheTarget) {
    UndoHistory h;
    Counter a{&h, {}};
    Counter b{&h, {}};
    a.push(1);
    b.push(10);
    {
        UndoGroup g(&h);
        a.push(2);
        b.push(20);  // a step naming both
    }
    a.push(3);
    h.undo();  // a's 3 goes to the redo stack
    h.removeAllActions(&a);
    EXPECT_EQ(h.undoStepCount(), 1u);
    EXPECT_FALSE(h.canRedo());
    h.undo();  // only b's own step is left
    EXPECT_EQ(b.values.size(), 1u);
    EXPECT_EQ(a.values, (std::vector<int>{1, 2}));
    EXPECT_FALSE(h.canUndo());
}

TEST(UndoHistory, RemoveAllActionsInsideAnOpenGroup) {
    UndoHistory h;
    Counter a{&h, {}};
    Counter b{&h, {}};
    {
        UndoGroup g(&h);
        a.push(1);
        b.push(2);
        h.removeAllActions(&a);
    }
    EXPECT_EQ(h.undoStepCount(), 1u);
    h.undo();
    EXPECT_EQ(a.values, (std::vector<int>{1}));
    EXPECT_TRUE(b.values.empty());
}

TEST(UndoHistory, NullHistoryGroupIsHarmless) {
    UndoGroup g(nullptr);
}

}  // namespace
}  // namespace sorvel
