#include "view/key_dispatch.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "diagnostics.h"

namespace sorvel {
namespace {

using Calls = std::vector<std::string>;

template <typename... Args>
std::string call(const std::string& name, Args... args) {
    std::ostringstream out;
    out << name << '(';
    int i = 0;
    ((out << (i++ ? "," : "") << args), ...);
    out << ')';
    return out.str();
}

// Every pitch has its own frequency here, so a wrong table index shows.
float frequencyOf(std::int64_t p) {
    return 1000.0f + static_cast<float>(p);
}
std::string tone(std::int64_t p) {
    return call("playTone", frequencyOf(p), 0.5f);
}
std::string entry(std::int64_t p, std::int64_t v) {
    return call("entry", p, v);
}

// Records what the dispatcher asks of the document, with just enough state to answer.
class RecordingCommands : public ScoreCommands {
  public:
    Calls calls;
    ScoreCell cell{9, 7};
    Selection sel{1, 3, 1, 3};
    std::int64_t cells = 200;
    std::int64_t cellMax = 40;

    ScoreCell entryCell() const override { return cell; }
    void writeEntryCell(ScoreCell c) override {
        cell = c;
        calls.push_back(entry(c.noteIndex, c.onpIndex));
    }
    void redrawEntry() override { calls.push_back("redrawEntry"); }
    float entryFrequency(std::int64_t p) const override { return frequencyOf(p); }
    void playTone(float f, float s) override { calls.push_back(call("playTone", f, s)); }
    void stepEntryPitch(std::int64_t r) override { calls.push_back(call("stepEntryPitch", r)); }
    void setEntryValue(std::int64_t r, std::int64_t c) override {
        calls.push_back(call("setEntryValue", r, c));
    }
    void toggleTriplet() override { calls.push_back("toggleTriplet"); }
    void toggleTie() override { calls.push_back("toggleTie"); }
    void btnUPDate() override { calls.push_back("btnUPDate"); }
    void btnIns() override { calls.push_back("btnIns"); }
    void btnADD() override { calls.push_back("btnADD"); }
    void btnDel() override { calls.push_back("btnDel"); }
    Selection selection() const override { return sel; }
    void selCell(std::int64_t c, std::int64_t r) override {
        calls.push_back(call("selCell", c, r));
        sel = {r, c, r, c};
    }
    void selCellTo(std::int64_t c, std::int64_t r) override {
        calls.push_back(call("selCellTo", c, r));
        sel.rowTo = r;
        sel.columnTo = c;
    }
    std::int64_t staffCellMax(std::int64_t) const override { return cellMax; }
    void setStaffSelectedCell(std::int64_t r, std::int64_t c) override {
        calls.push_back(call("selectedCell", r, c));
    }
    void redrawStaff(std::int64_t r) override { calls.push_back(call("redrawStaff", r)); }
    std::int64_t cellCount() const override { return cells; }
    void endEditing() override { calls.push_back("endEditing"); }
};

constexpr KeyModifiers kPlain{};
constexpr KeyModifiers kShift{.shift = true};

class KeyDispatch : public ::testing::Test {
  protected:
    void SetUp() override {
        setDiagnosticSink([this](std::string_view line) { diagLines.emplace_back(line); });
    }
    void TearDown() override { setDiagnosticSink({}); }

    void release(std::int64_t code, KeyModifiers m = kPlain, FocusKind focus = FocusKind::Window) {
        win.keyUp(code, m, focus);
    }
    void release(std::int64_t code, bool shift) { release(code, shift ? kShift : kPlain); }

    RecordingCommands doc;
    winCTL win{doc};
    std::vector<std::string> diagLines;
};

TEST_F(KeyDispatch, PitchKeysSoundAndSetTheEntryPitch) {
    // code, pitch, pitch with Shift (-1: Shift only redraws)
    const struct {
        std::int64_t code, p, shifted;
    } keys[] = {
        {0, 0, 17},   {13, 1, 18},  {1, 3, 20},   {2, 4, 21},   {15, 5, 22},  {3, 7, 24},
        {17, 8, 25},  {5, 10, 27},  {4, 11, 28},  {32, 12, 29}, {38, 14, 31}, {34, 15, 32},
        {40, 17, 34}, {31, 18, 35}, {37, 20, 37}, {41, 21, 38}, {33, 22, -1}, {39, 24, -1},
    };
    for (const auto& k : keys) {
        for (bool shift : {false, true}) {
            SCOPED_TRACE(call("key", k.code, shift));
            RecordingCommands d;
            winCTL w{d};
            w.keyUp(k.code, shift ? kShift : kPlain, FocusKind::Window);
            const std::int64_t p = shift ? k.shifted : k.p;
            if (p < 0) {
                EXPECT_EQ(d.calls, Calls({"redrawEntry"}));
                EXPECT_EQ(d.cell, (ScoreCell{9, 7}));
            } else {
                // Sound first, then the pitch, then the redraw; the note value stays.
                EXPECT_EQ(d.calls, Calls({tone(p), entry(p, 7), "redrawEntry"}));
            }
            EXPECT_EQ(w.selectedRow, 0);
            EXPECT_EQ(w.selectedColumn, 0);
        }
    }
}

TEST_F(KeyDispatch, NoteValueKeysStoreAndApplyTheirChoice) {
    // The stored choice before the key is (1, 3); -1 in the expectation means "repeat it".
    const struct {
        std::int64_t code;
        bool shift;
        std::int64_t row, column;
    } keys[] = {
        {18, false, 0, 0}, {18, true, 1, 0},   {19, false, 0, 1}, {19, true, 1, 1},
        {20, false, 0, 2}, {20, true, 1, 2},   {21, false, 0, 3}, {21, true, 1, 3},
        {23, false, 0, 4}, {23, true, 1, 4},   {22, false, 0, 5}, {22, true, 1, 5},
        {29, false, 2, 0}, {29, true, -1, -1}, {47, false, 2, 1}, {47, true, -1, -1},
        {27, false, 2, 2}, {27, true, -1, -1}, {24, false, 2, 3}, {24, true, 2, 5},
        {93, false, 2, 4}, {93, true, -1, -1},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(call("key", k.code, k.shift));
        RecordingCommands d;
        winCTL w{d};
        w.selectedRow = 1;
        w.selectedColumn = 3;
        w.keyUp(k.code, k.shift ? kShift : kPlain, FocusKind::Window);
        const std::int64_t row = k.row < 0 ? 1 : k.row;
        const std::int64_t column = k.row < 0 ? 3 : k.column;
        EXPECT_EQ(d.calls, Calls({call("setEntryValue", row, column)}));
        EXPECT_EQ(w.selectedRow, row);
        EXPECT_EQ(w.selectedColumn, column);
    }
}

TEST_F(KeyDispatch, StoredChoiceRepeats) {
    // Shift+minus right after the 2 key repeats the half note.
    release(19);
    release(27, kShift);
    EXPECT_EQ(doc.calls, Calls({call("setEntryValue", 0, 1), call("setEntryValue", 0, 1)}));

    // A click on the window background stores row 1, column 0 (whole rest).
    doc.calls.clear();
    win.mouseUp();
    release(27, kShift);
    EXPECT_EQ(doc.calls, Calls({call("setEntryValue", 1, 0)}));

    // Shift+= stores its own choice, which the next repeat uses.
    doc.calls.clear();
    release(24, kShift);
    release(47, kShift);
    EXPECT_EQ(doc.calls, Calls({call("setEntryValue", 2, 5), call("setEntryValue", 2, 5)}));

    // A pitch step shares the row field: after 4 (row 0, column 3) and Up (code 1) the
    // repeat asks for row 1, column 3.
    doc.calls.clear();
    release(21);
    release(126);
    release(29, kShift);
    EXPECT_EQ(doc.calls, Calls({call("setEntryValue", 0, 3), call("stepEntryPitch", 1),
                                call("setEntryValue", 1, 3)}));
}

TEST_F(KeyDispatch, PitchStepKeysStoreTheirCode) {
    const struct {
        std::int64_t code;
        bool shift;
        std::int64_t step;
    } keys[] = {
        {126, false, 1}, {126, true, 0}, {125, false, 2},
        {125, true, 3},  {30, false, 4}, {30, true, 4},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(call("key", k.code, k.shift));
        RecordingCommands d;
        winCTL w{d};
        w.selectedColumn = 5;
        w.keyUp(k.code, k.shift ? kShift : kPlain, FocusKind::Window);
        EXPECT_EQ(d.calls, Calls({call("stepEntryPitch", k.step)}));
        EXPECT_EQ(w.selectedRow, k.step);
        EXPECT_EQ(w.selectedColumn, 5);
    }
}

TEST_F(KeyDispatch, SelectionKeys) {
    const struct {
        std::int64_t code;
        bool shift;
        Selection before;
        Calls expected;
    } keys[] = {
        {123, false, {1, 3, 2, 7}, {call("selCell", 2, 1)}},
        // The start moves left; the end is put back where it was before selCell reset it.
        {123, true, {1, 3, 2, 7}, {call("selCell", 2, 1), call("selCellTo", 7, 2)}},
        {124, false, {1, 3, 2, 7}, {call("selCell", 4, 1)}},
        {124, true, {1, 3, 2, 7}, {call("selCellTo", 8, 2)}},
        {124, true, {1, 3, 1, 3}, {call("selCellTo", 4, 1)}},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(call("key", k.code, k.shift));
        RecordingCommands d;
        d.sel = k.before;
        winCTL w{d};
        w.keyUp(k.code, k.shift ? kShift : kPlain, FocusKind::Window);
        EXPECT_EQ(d.calls, k.expected);
    }
}

TEST_F(KeyDispatch, ScoreCommandsIgnoreShift) {
    const struct {
        std::int64_t code;
        const char* command;
    } keys[] = {{36, "btnUPDate"}, {44, "btnIns"},        {94, "btnADD"},
                {51, "btnDel"},    {25, "toggleTriplet"}, {28, "toggleTie"}};
    for (const auto& k : keys) {
        for (bool shift : {false, true}) {
            SCOPED_TRACE(call("key", k.code, shift));
            RecordingCommands d;
            winCTL w{d};
            w.keyUp(k.code, shift ? kShift : kPlain, FocusKind::Window);
            EXPECT_EQ(d.calls, Calls({k.command}));
        }
    }
}

TEST_F(KeyDispatch, KeysOutsideTheTablesDoNothing) {
    const std::set<std::int64_t> used = {
        0,  1,  2,  3,  4,  5,  13, 15, 17, 18, 19, 20, 21, 22, 23, 24, 25, 27,  28,  29,  30,
        31, 32, 33, 34, 36, 37, 38, 39, 40, 41, 42, 44, 47, 51, 53, 93, 94, 123, 124, 125, 126};
    for (std::int64_t code = -3; code <= 300; ++code) {
        if (used.count(code)) continue;
        for (bool shift : {false, true}) {
            doc.calls.clear();
            diagLines.clear();
            release(code, shift);
            EXPECT_TRUE(doc.calls.empty()) << code << " shift " << shift;
            // Only the description of the event is written.
            EXPECT_EQ(diagLines.size(), 1u) << code;
        }
    }
}

TEST_F(KeyDispatch, FormSwap) {
    const struct {
        std::int64_t v, swapped;
    } values[] = {
        {5, 33},
        {33, 5},
        {1, 29},
        {12, 40},
        {29, 1},
        {40, 12},
        {41, 47},
        {42, 48},
        {46, 52},
        {47, 41},
        {48, 42},
        {52, 46},
        {53, 59},
        {58, 64},
        {59, 53},
        {64, 58},
        {0, 0},
        {25, 25},
        {26, 26},
        {28, 28},
        // Rests have no alternate form: they must not turn into triplet values.
        {13, 13},
        {17, 17},
        {24, 24},
        // Values no glyph exists for stay as they are.
        {-1, -1},
        {65, 65},
    };
    for (const auto& c : values) {
        SCOPED_TRACE(c.v);
        RecordingCommands d;
        d.cell = {21, c.v};
        winCTL w{d};
        w.keyUp(42, kPlain, FocusKind::Window);
        // No tone; the pitch stays.
        EXPECT_EQ(d.calls, Calls({entry(21, c.swapped), "redrawEntry"}));
    }

    doc.cell = {4, 5};
    release(42);
    release(42, kShift);
    EXPECT_EQ(doc.calls, Calls({entry(4, 33), "redrawEntry", entry(4, 5), "redrawEntry"}));
}

TEST_F(KeyDispatch, TextModeLeavesKeysToTheField) {
    EXPECT_TRUE(win.makeFirstResponder(true));
    EXPECT_TRUE(win.textMode);

    release(36);
    release(0);
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(diagLines,
              (std::vector<std::string>{"keyUp 36", "TEXT MODE", "keyUp 0", "TEXT MODE"}));

    // Escape ends the editing and gives the keys back to the score.
    release(53);
    EXPECT_EQ(doc.calls, Calls({"endEditing"}));
    EXPECT_FALSE(win.textMode);
    release(36);
    EXPECT_EQ(doc.calls, Calls({"endEditing", "btnUPDate"}));

    // Focus moving to anything but a text view also leaves text mode.
    win.makeFirstResponder(true);
    EXPECT_TRUE(win.makeFirstResponder(false));
    EXPECT_FALSE(win.textMode);
}

TEST_F(KeyDispatch, OnlyTheWindowItselfTakesKeys) {
    win.keyUp(36, kPlain, FocusKind::OtherControl, "QComboBox");
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(diagLines, (std::vector<std::string>{"keyUp 36", "QComboBox", "NOT winCTL"}));

    // A focused text field outside text mode is still not the window.
    diagLines.clear();
    win.keyUp(0, kPlain, FocusKind::TextField, "QLineEdit");
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(diagLines, (std::vector<std::string>{"keyUp 0", "QLineEdit", "NOT winCTL"}));

    // Text mode is checked first.
    diagLines.clear();
    win.makeFirstResponder(true);
    win.keyUp(0, kPlain, FocusKind::OtherControl, "QComboBox");
    EXPECT_EQ(diagLines, (std::vector<std::string>{"keyUp 0", "TEXT MODE"}));

    // Escape works whoever has the focus.
    win.keyUp(53, kPlain, FocusKind::OtherControl, "QComboBox");
    EXPECT_EQ(doc.calls, Calls({"endEditing"}));
    EXPECT_FALSE(win.textMode);
}

TEST_F(KeyDispatch, MenuShortcutKeysLeaveTheEntryCellAlone) {
    const struct {
        std::int64_t code;
        KeyModifiers m;
    } keys[] = {
        {1, {.control = true}},                 // Ctrl+S
        {6, {.control = true}},                 // Ctrl+Z
        {6, {.shift = true, .control = true}},  // Ctrl+Shift+Z
        {0, {.alt = true}},
        {20, {.meta = true}},
        {36, {.control = true}},
        {123, {.alt = true}},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(k.code);
        release(k.code, k.m);
        EXPECT_TRUE(doc.calls.empty());
    }
    EXPECT_EQ(doc.cell, (ScoreCell{9, 7}));

    // Ctrl let go before the key: the release still belongs to the shortcut, once.
    win.keyDown(1, {.control = true});
    release(1);
    EXPECT_TRUE(doc.calls.empty());
    release(1);
    EXPECT_EQ(doc.calls, Calls({tone(3), entry(3, 7), "redrawEntry"}));

    // A plain press of the same key forgets it.
    doc.calls.clear();
    win.keyDown(1, {.control = true});
    win.keyDown(1, kPlain);
    release(1);
    EXPECT_EQ(doc.calls, Calls({tone(3), entry(3, 7), "redrawEntry"}));
}

TEST_F(KeyDispatch, StaffClicks) {
    win.textMode = true;
    // The entry staff only ends the editing.
    win.staffMouseUp(0, 1, false);
    EXPECT_EQ(doc.calls, Calls({"endEditing"}));
    EXPECT_FALSE(win.textMode);

    // gosen2, column 5 is cell 45.
    doc.calls.clear();
    doc.cells = 44;
    win.staffMouseUp(2, 5, false);
    EXPECT_EQ(doc.calls, Calls({"endEditing"}));
    doc.calls.clear();
    diagLines.clear();
    doc.cells = 45;
    win.staffMouseUp(2, 5, false);
    EXPECT_EQ(doc.calls, Calls({"endEditing", call("selectedCell", 2, 5), call("selCell", 5, 2),
                                call("redrawStaff", 2)}));
    EXPECT_EQ(diagLines, (std::vector<std::string>{"No Shift"}));

    // Columns outside the staff are not cells.
    doc.calls.clear();
    win.staffMouseUp(1, 0, false);
    win.staffMouseUp(1, 41, false);
    EXPECT_EQ(doc.calls, Calls({"endEditing", "endEditing"}));
}

TEST_F(KeyDispatch, ShiftClicksExtendTheSelection) {
    const struct {
        Selection before;
        std::int64_t row, column;
        Calls expected;
    } clicks[] = {
        // Before the start: the clicked cell becomes the start, the old start the end.
        {{1, 10, 1, 12}, 1, 4, {call("selCell", 4, 1), call("selCellTo", 10, 1)}},
        {{2, 1, 2, 1}, 1, 40, {call("selCell", 40, 1), call("selCellTo", 1, 2)}},
        {{1, 10, 1, 10}, 1, 10, {call("selCell", 10, 1), call("selCellTo", 10, 1)}},
        // After the start: only the end moves.
        {{1, 10, 1, 10}, 2, 1, {call("selCellTo", 1, 2)}},
        {{1, 10, 1, 10}, 1, 11, {call("selCellTo", 11, 1)}},
    };
    for (const auto& c : clicks) {
        SCOPED_TRACE(call("click", c.row, c.column));
        RecordingCommands d;
        d.sel = c.before;
        winCTL w{d};
        w.staffMouseUp(c.row, c.column, true);
        Calls expected = {"endEditing", call("selectedCell", c.row, c.column)};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        expected.push_back(call("redrawStaff", c.row));
        EXPECT_EQ(d.calls, expected);
    }
}

}  // namespace
}  // namespace sorvel
