// Cut, Copy, Paste and Add on the text being edited or on the selected cells of a score.
#include "app/clipboard_commands.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "cell_editor_fake.h"
#include "edit/clip_payload.h"

namespace sorvel {
namespace {

using fakes::FakeAlerts;
using fakes::FakeClipboard;
using fakes::FakeScore;
using fakes::FakeText;

// Cells 0..n-1 that can all be told apart: pitch i, value i + 1.
std::vector<ScoreCell> distinct(std::int64_t n) {
    std::vector<ScoreCell> cells;
    for (std::int64_t i = 0; i < n; ++i) cells.push_back({i % 39, i % 64 + 1});
    return cells;
}

std::vector<ScoreCell> concat(std::vector<std::vector<ScoreCell>> parts) {
    std::vector<ScoreCell> all;
    for (auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

std::vector<ScoreCell> slice(const std::vector<ScoreCell>& v, std::size_t from, std::size_t to) {
    return {v.begin() + static_cast<std::ptrdiff_t>(from),
            v.begin() + static_cast<std::ptrdiff_t>(to)};
}

struct Rig {
    UndoHistory undo;
    FakeClipboard clipboard;
    FakeAlerts alerts;
    ClipboardCommands commands{clipboard, alerts};
    CellEditor* reached = nullptr;
    Rig() {
        commands.setScoreReached([this](CellEditor& s) { reached = &s; });
    }
    ClipTarget score(FakeScore& s) { return {ClipFocus::Score, nullptr, &s}; }
};

TEST(ClipboardCommands, FocusDecidesBetweenTextAndScore) {
    struct Case {
        ClipFocus focus;
        ClipAction action;
        std::string textAfter;      // the field's text afterwards
        std::string clipTextAfter;  // plain text on the clipboard afterwards ("-": none)
        std::int64_t cellsAfter;
        std::vector<std::string> alerts;
    };
    const std::vector<Case> cases = {
        {ClipFocus::TextField, ClipAction::Cut, "C7", "Am ", 5, {}},
        {ClipFocus::TextField, ClipAction::Copy, "Am C7", "Am ", 5, {}},
        {ClipFocus::TextField, ClipAction::Paste, "GC7", "G", 5, {}},
        {ClipFocus::TextField, ClipAction::Add, "GC7", "G", 5, {}},
        {ClipFocus::Score, ClipAction::Cut, "Am C7", "-", 3, {}},
        {ClipFocus::Score, ClipAction::Copy, "Am C7", "-", 5, {}},
        {ClipFocus::Other, ClipAction::Cut, "Am C7", "G", 5, {}},
        {ClipFocus::Other, ClipAction::Paste, "Am C7", "G", 5, {}},
        {ClipFocus::NoKeyWindow,
         ClipAction::Copy,
         "Am C7",
         "G",
         5,
         {"Please open the main window first"}},
        {ClipFocus::NoKeyWindow,
         ClipAction::Add,
         "Am C7",
         "G",
         5,
         {"Please open the main window first"}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.clipboard.text = "G";
        FakeScore score(&rig.undo, distinct(5));
        score.select(2, 3);
        FakeText field("Am C7", 0, 3);
        rig.commands.perform(c.action, {c.focus, &field, &score});
        const std::string where = std::to_string(static_cast<int>(c.focus)) + "/" +
                                  std::to_string(static_cast<int>(c.action));
        EXPECT_EQ(field.text, c.textAfter) << where;
        EXPECT_EQ(rig.clipboard.text.value_or("-"), c.clipTextAfter) << where;
        EXPECT_EQ(score.size(), c.cellsAfter) << where;
        EXPECT_EQ(rig.alerts.shown, c.alerts) << where;
        // Text commands record nothing for undo.
        if (c.focus != ClipFocus::Score) {
            EXPECT_FALSE(rig.undo.canUndo()) << where;
        }
    }
}

TEST(ClipboardCommands, CopyThenPasteAndAddMoveTheSelection) {
    struct Case {
        ClipAction action;
        std::int64_t selectedColumn;  // one cell selected
        std::size_t insertedAt;       // score index of the first pasted cell
        std::int64_t selectedColumnAfter;
    };
    // Cells 3..5 (columns 3..5) are copied first.
    const std::vector<Case> cases = {
        {ClipAction::Paste, 1, 0, 2}, {ClipAction::Paste, 7, 6, 8}, {ClipAction::Add, 1, 1, 1},
        {ClipAction::Add, 7, 7, 7},   {ClipAction::Add, 8, 8, 8},  // after the last cell
    };
    for (const Case& c : cases) {
        Rig rig;
        const auto original = distinct(8);
        FakeScore score(&rig.undo, original);
        score.select(3, 5);
        rig.commands.menuCopy(rig.score(score));
        EXPECT_FALSE(rig.undo.canUndo()) << "a copy is not an edit";
        ASSERT_TRUE(rig.clipboard.cells.has_value());
        EXPECT_FALSE(rig.clipboard.text.has_value()) << "no plain text from a score copy";

        score.select(c.selectedColumn, c.selectedColumn);
        rig.commands.perform(c.action, rig.score(score));
        const auto copied = slice(original, 2, 5);
        EXPECT_EQ(score.data, concat({slice(original, 0, c.insertedAt), copied,
                                      slice(original, c.insertedAt, 8)}))
            << c.selectedColumn;
        EXPECT_EQ(score.selCol, c.selectedColumnAfter);
        EXPECT_EQ(rig.reached, &score);

        // One step: undo removes exactly the three cells, redo puts them back.
        const auto pasted = score.data;
        rig.undo.undo();
        EXPECT_EQ(score.data, original);
        EXPECT_FALSE(rig.undo.canUndo());
        rig.undo.redo();
        EXPECT_EQ(score.data, pasted);
    }
}

TEST(ClipboardCommands, CutUndoRedo) {
    Rig rig;
    const auto original = distinct(6);
    FakeScore score(&rig.undo, original);
    score.select(2, 4);
    rig.commands.menuCut(rig.score(score));
    EXPECT_EQ(score.data, concat({slice(original, 0, 1), slice(original, 4, 6)}));
    EXPECT_EQ(decodeClipCells(*rig.clipboard.cells).cells, slice(original, 1, 4));
    EXPECT_EQ(rig.undo.undoStepCount(), 1u);
    rig.undo.undo();
    EXPECT_EQ(score.data, original);
    rig.undo.redo();
    EXPECT_EQ(score.data, concat({slice(original, 0, 1), slice(original, 4, 6)}));
    // Pasting the cut cells back where they were restores the score.
    score.select(2, 2);
    rig.commands.menuPaste(rig.score(score));
    EXPECT_EQ(score.data, original);
}

TEST(ClipboardCommands, SmallScoresAndBadSelections) {
    struct Case {
        const char* name;
        std::int64_t cells;
        std::int64_t from, to;  // selected columns
        ClipAction action;
        std::int64_t cellsAfter;
        bool clipboardWritten;
        std::vector<std::string> alerts;
    };
    const std::string bad = "範囲指定が不正です。";
    const std::vector<Case> cases = {
        {"cut of one cell", 1, 1, 1, ClipAction::Cut, 1, false, {}},
        {"copy of one cell", 1, 1, 1, ClipAction::Copy, 1, false, {}},
        {"cut of an empty score", 0, 1, 1, ClipAction::Cut, 0, false, {}},
        {"end beyond the score", 4, 2, 9, ClipAction::Cut, 4, false, {bad}},
        {"start beyond the score", 4, 6, 6, ClipAction::Copy, 4, false, {bad}},
        {"end before start", 4, 3, 2, ClipAction::Cut, 4, false, {bad}},
        {"cut of every cell", 4, 1, 4, ClipAction::Cut, 0, true, {}},
    };
    for (const Case& c : cases) {
        Rig rig;
        FakeScore score(&rig.undo, distinct(c.cells));
        score.select(c.from, c.to);
        rig.commands.perform(c.action, rig.score(score));
        EXPECT_EQ(score.size(), c.cellsAfter) << c.name;
        EXPECT_EQ(rig.clipboard.writes > 0, c.clipboardWritten) << c.name;
        EXPECT_EQ(rig.alerts.shown, c.alerts) << c.name;
        EXPECT_EQ(rig.commands.canPerform(ClipAction::Copy, rig.score(score)),
                  c.cellsAfter > 1 && c.alerts.empty() && c.from <= c.to)
            << c.name;
    }
}

TEST(ClipboardCommands, PasteIntoOneCellAndIntoAnEmptyScore) {
    for (const std::int64_t n : {1, 0}) {
        for (const ClipAction action : {ClipAction::Paste, ClipAction::Add}) {
            Rig rig;
            FakeScore source(&rig.undo, distinct(5));
            source.select(2, 3);
            rig.commands.menuCopy(rig.score(source));
            FakeScore score(&rig.undo, distinct(n));
            const auto before = score.data;
            ASSERT_TRUE(rig.commands.canPerform(action, rig.score(score)));
            rig.commands.perform(action, rig.score(score));
            const auto copied = slice(source.data, 1, 3);
            std::vector<ScoreCell> expected;
            if (n == 0) {
                expected = copied;
            } else if (action == ClipAction::Paste) {
                expected = concat({copied, before});
            } else {
                expected = concat({before, copied});
            }
            EXPECT_EQ(score.data, expected) << n;
            // The selection stays inside the score.
            EXPECT_GE(score.selStart(), 0) << n;
            rig.undo.undo();
            EXPECT_EQ(score.data, before) << n;
        }
    }
}

TEST(ClipboardCommands, BadClipboardContentPastesNothing) {
    struct Case {
        std::optional<std::string> cells;
        bool alerted;
    };
    const std::vector<Case> cases = {
        {std::nullopt, false},  // only foreign data (plain text) on the clipboard
        {std::string(""), true},
        {std::string("SORVELCELLS 1 2 17,5\n"), true},
        {std::string("SORVELCELLS 1 1 17\n"), true},
        {std::string("SORVELCELLS 1 2 17,5 x,5\n"), true},
        {std::string("SORVELCELLS 1 2 17,5 39,5\n"), true},
        {std::string("SORVELCELLS 1 2 17,5 17,65\n"), true},
        {std::string("SORVELCELLS 1 1 17,5"), true},
    };
    for (const Case& c : cases) {
        for (const ClipAction action : {ClipAction::Paste, ClipAction::Add}) {
            Rig rig;
            rig.clipboard.text = "Am";
            rig.clipboard.cells = c.cells;
            FakeScore score(&rig.undo, distinct(4));
            score.select(2, 2);
            const auto before = score.data;
            EXPECT_FALSE(rig.commands.canPerform(action, rig.score(score)));
            rig.commands.perform(action, rig.score(score));
            EXPECT_EQ(score.data, before);
            EXPECT_EQ(score.insertCalls, 0);
            EXPECT_EQ(score.selCol, 2);
            EXPECT_FALSE(rig.undo.canUndo());
            EXPECT_EQ(rig.alerts.shown.size(), c.alerted ? 1u : 0u) << c.cells.value_or("-");
        }
    }
}

TEST(ClipboardCommands, PasteWithTheSelectionOutsideDoesNothing) {
    Rig rig;
    rig.clipboard.cells = encodeClipCells({{17, 5}});
    FakeScore score(&rig.undo, distinct(3));
    score.select(9, 9);
    rig.commands.menuPaste(rig.score(score));
    EXPECT_EQ(score.size(), 3);
    EXPECT_TRUE(rig.alerts.shown.empty());
}

TEST(ClipboardCommands, AfterAScoreCutAFieldPasteInsertsNothing) {
    Rig rig;
    rig.clipboard.text = "Am";
    FakeScore score(&rig.undo, distinct(4));
    score.select(1, 2);
    rig.commands.menuCut(rig.score(score));
    FakeText field("C", 1, 1);
    rig.commands.menuPaste({ClipFocus::TextField, &field, nullptr});
    EXPECT_EQ(field.text, "C");
    EXPECT_FALSE(
        rig.commands.canPerform(ClipAction::Paste, {ClipFocus::TextField, &field, nullptr}));
}

TEST(ClipboardCommands, UndoAfterTwoScoresUndoesTheLaterEdit) {
    Rig rig;
    FakeScore first(&rig.undo, distinct(4));
    FakeScore second(&rig.undo, distinct(5));
    first.select(1, 1);
    rig.commands.menuCut(rig.score(first));
    second.select(2, 3);
    rig.commands.menuCut(rig.score(second));
    rig.undo.undo();
    EXPECT_EQ(second.size(), 5);
    EXPECT_EQ(first.size(), 3);
    rig.undo.undo();
    EXPECT_EQ(first.size(), 4);
}

TEST(ClipboardCommands, MenuEnabling) {
    struct Case {
        ClipFocus focus;
        bool fieldSelection;
        bool clipText;
        bool clipCells;
        std::array<bool, 4> enabled;  // Cut, Copy, Paste, Add
    };
    const std::vector<Case> cases = {
        {ClipFocus::NoKeyWindow, false, false, false, {true, true, true, true}},
        {ClipFocus::Other, true, true, true, {false, false, false, false}},
        {ClipFocus::TextField, true, false, false, {true, true, false, false}},
        {ClipFocus::TextField, false, true, false, {false, false, true, true}},
        {ClipFocus::Score, false, true, false, {true, true, false, false}},
        {ClipFocus::Score, false, false, true, {true, true, true, true}},
    };
    for (const Case& c : cases) {
        Rig rig;
        if (c.clipText) rig.clipboard.text = "Dm";
        if (c.clipCells) rig.clipboard.cells = encodeClipCells({{3, 3}});
        FakeScore score(&rig.undo, distinct(4));
        score.select(2, 3);
        FakeText field("Am C7", 0, c.fieldSelection ? 2 : 0);
        const ClipTarget target{c.focus, &field, &score};
        const ClipAction actions[4] = {ClipAction::Cut, ClipAction::Copy, ClipAction::Paste,
                                       ClipAction::Add};
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(rig.commands.canPerform(actions[k], target), c.enabled[k])
                << static_cast<int>(c.focus) << " action " << k;
        }
    }
}

}  // namespace
}  // namespace sorvel
