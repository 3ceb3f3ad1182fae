// The score window's key and mouse logic: against a recording of the commands it gives, and
// on a real document.
#include "view/key_dispatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

#include "app/document.h"
#include "fakes.h"
#include "given.h"
#include "sound/tone.h"

namespace sorvel {
namespace {

using Calls = std::vector<std::string>;
using testing::CapturingAudioOutput;
using testing::DiagCapture;
using testing::Pos;

template <typename... Args>
std::string call(const std::string& name, Args... args) {
    std::ostringstream out;
    out << name << '(';
    int i = 0;
    ((out << (i++ ? "," : "") << args), ...);
    out << ')';
    return out.str();
}

const auto pitch = [](std::int64_t p) { return call("setEntryPitch", p); };
const auto value = [](std::int64_t r, std::int64_t c) { return call("setEntryValue", r, c); };
const auto step = [](std::int64_t r) { return call("stepEntryPitch", r); };
const auto selCall = [](std::int64_t c, std::int64_t r) { return call("selCell", c, r); };
const auto selToCall = [](std::int64_t c, std::int64_t r) { return call("selCellTo", c, r); };

// Records what the dispatcher asks of the document, with just enough state to answer.
class RecordingCommands : public ScoreCommands {
  public:
    Calls calls;
    Selection sel{1, 3, 1, 3};
    std::int64_t cells = 200;

    void setEntryPitch(std::int64_t p) override { calls.push_back(pitch(p)); }
    void swapEntryForm() override { calls.push_back("swapEntryForm"); }
    void redrawEntry() override { calls.push_back("redrawEntry"); }
    void stepEntryPitch(std::int64_t r) override { calls.push_back(step(r)); }
    void setEntryValue(std::int64_t r, std::int64_t c) override { calls.push_back(value(r, c)); }
    void toggleTriplet() override { calls.push_back("toggleTriplet"); }
    void toggleTie() override { calls.push_back("toggleTie"); }
    void btnUPDate() override { calls.push_back("btnUPDate"); }
    void btnIns() override { calls.push_back("btnIns"); }
    void btnADD() override { calls.push_back("btnADD"); }
    void btnDel() override { calls.push_back("btnDel"); }
    Selection selection() const override { return sel; }
    void selCell(std::int64_t c, std::int64_t r) override {
        calls.push_back(selCall(c, r));
        sel = {r, c, r, c};
    }
    void selCellTo(std::int64_t c, std::int64_t r) override {
        calls.push_back(selToCall(c, r));
        sel.rowTo = r;
        sel.columnTo = c;
    }
    std::int64_t staffCellMax(std::int64_t) const override { return 40; }
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
    void release(std::int64_t code, KeyModifiers m = kPlain, FocusKind focus = FocusKind::Window) {
        win.keyUp(code, m, focus);
    }
    DiagCapture diag;
    RecordingCommands doc;
    winCTL win{doc};
};

TEST_F(KeyDispatch, PitchKeysSetTheEntryPitch) {
    // {code, pitch, pitch with Shift (-1: Shift only redraws)}
    // clang-format off
    const std::int64_t keys[][3] = {
        {0, 0, 17},   {13, 1, 18},  {1, 3, 20},   {2, 4, 21},   {15, 5, 22},  {3, 7, 24},
        {17, 8, 25},  {5, 10, 27},  {4, 11, 28},  {32, 12, 29}, {38, 14, 31}, {34, 15, 32},
        {40, 17, 34}, {31, 18, 35}, {37, 20, 37}, {41, 21, 38}, {33, 22, -1}, {39, 24, -1},
    };
    // clang-format on
    for (const auto& k : keys) {
        for (bool shift : {false, true}) {
            SCOPED_TRACE(call("key", k[0], shift));
            RecordingCommands d;
            winCTL w{d};
            w.keyUp(k[0], shift ? kShift : kPlain, FocusKind::Window);
            const std::int64_t p = shift ? k[2] : k[1];
            EXPECT_EQ(d.calls, p < 0 ? Calls{"redrawEntry"} : Calls{pitch(p)});
            EXPECT_EQ(w.selectedRow, 0);
        }
    }
}

TEST_F(KeyDispatch, NoteValueStepSelectionAndCommandKeys) {
    // Before each key the stored choice is (1, 3) and cells (1, 3) to (2, 7) are selected. A
    // value key with Shift that has no choice of its own repeats the stored one; a step key
    // stores its step as the row.
    const std::string u = "btnUPDate", i = "btnIns", a = "btnADD", d = "btnDel",
                      tr = "toggleTriplet", ti = "toggleTie";
    const struct {
        std::int64_t code;
        Calls plain;
        Pos stored;
        Calls shifted;
        Pos shiftedStored;
    } keys[] = {
        {18, {value(0, 0)}, {0, 0}, {value(1, 0)}, {1, 0}},
        {19, {value(0, 1)}, {0, 1}, {value(1, 1)}, {1, 1}},
        {20, {value(0, 2)}, {0, 2}, {value(1, 2)}, {1, 2}},
        {21, {value(0, 3)}, {0, 3}, {value(1, 3)}, {1, 3}},
        {23, {value(0, 4)}, {0, 4}, {value(1, 4)}, {1, 4}},
        {22, {value(0, 5)}, {0, 5}, {value(1, 5)}, {1, 5}},
        {29, {value(2, 0)}, {2, 0}, {value(1, 3)}, {1, 3}},
        {47, {value(2, 1)}, {2, 1}, {value(1, 3)}, {1, 3}},
        {27, {value(2, 2)}, {2, 2}, {value(1, 3)}, {1, 3}},
        {24, {value(2, 3)}, {2, 3}, {value(2, 5)}, {2, 5}},
        {93, {value(2, 4)}, {2, 4}, {value(1, 3)}, {1, 3}},
        {50, {value(2, 4)}, {2, 4}, {value(1, 3)}, {1, 3}},  // repeat end off JIS keyboards
        {126, {step(1)}, {1, 3}, {step(0)}, {0, 3}},
        {125, {step(2)}, {2, 3}, {step(3)}, {3, 3}},
        {30, {step(4)}, {4, 3}, {step(4)}, {4, 3}},
        // Shift+Left moves the start and puts the end back where selCell had reset it.
        {123, {selCall(2, 1)}, {1, 3}, {selCall(2, 1), selToCall(7, 2)}, {1, 3}},
        {124, {selCall(4, 1)}, {1, 3}, {selToCall(8, 2)}, {1, 3}},
        {36, {u}, {1, 3}, {u}, {1, 3}},
        {44, {i}, {1, 3}, {i}, {1, 3}},
        {94, {a}, {1, 3}, {a}, {1, 3}},
        {43, {a}, {1, 3}, {a}, {1, 3}},  // Add off JIS keyboards
        {51, {d}, {1, 3}, {d}, {1, 3}},
        {25, {tr}, {1, 3}, {tr}, {1, 3}},
        {28, {ti}, {1, 3}, {ti}, {1, 3}},
        {42, {"swapEntryForm"}, {1, 3}, {"swapEntryForm"}, {1, 3}},
    };
    for (const auto& k : keys) {
        for (bool shift : {false, true}) {
            SCOPED_TRACE(call("key", k.code, shift));
            RecordingCommands rec;
            rec.sel = {1, 3, 2, 7};
            winCTL w{rec};
            w.selectedRow = 1;
            w.selectedColumn = 3;
            w.keyUp(k.code, shift ? kShift : kPlain, FocusKind::Window);
            EXPECT_EQ(rec.calls, shift ? k.shifted : k.plain);
            EXPECT_EQ((Pos{w.selectedRow, w.selectedColumn}), shift ? k.shiftedStored : k.stored);
        }
    }
}

TEST_F(KeyDispatch, KeysOutsideTheTablesDoNothing) {
    const std::set<std::int64_t> used = {
        0,  1,  2,  3,  4,  5,  13, 15, 17, 18, 19, 20, 21, 22, 23, 24, 25, 27, 28,  29,  30,  31,
        32, 33, 34, 36, 37, 38, 39, 40, 41, 42, 43, 44, 47, 50, 51, 53, 93, 94, 123, 124, 125, 126};
    for (std::int64_t code = -3; code <= 300; ++code) {
        if (used.count(code)) continue;
        for (KeyModifiers m : {kPlain, kShift}) {
            diag.lines.clear();
            release(code, m);
            EXPECT_TRUE(doc.calls.empty()) << code;
            EXPECT_EQ(diag.lines.size(), 1u) << code;  // only the description of the event
        }
    }
}

TEST_F(KeyDispatch, TextModeAndFocusLeaveKeysToTheControls) {
    win.keyUp(36, kPlain, FocusKind::OtherControl, "QComboBox");
    win.keyUp(0, kPlain, FocusKind::TextField, "QLineEdit");  // a field outside text mode
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(diag.lines,
              (Calls{"keyUp 36", "QComboBox", "NOT winCTL", "keyUp 0", "QLineEdit", "NOT winCTL"}));

    diag.lines.clear();
    EXPECT_TRUE(win.makeFirstResponder(true));
    release(36);
    win.keyUp(0, kPlain, FocusKind::OtherControl, "QComboBox");  // text mode is checked first
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(diag.lines, (Calls{"keyUp 36", "TEXT MODE", "keyUp 0", "TEXT MODE"}));

    // Escape ends the editing whoever has the focus and gives the keys back to the score.
    win.keyUp(53, kPlain, FocusKind::OtherControl, "QComboBox");
    EXPECT_FALSE(win.textMode);
    release(36);
    EXPECT_EQ(doc.calls, Calls({"endEditing", "btnUPDate"}));
    // Focus moving to anything but a text view also leaves text mode.
    win.makeFirstResponder(true);
    EXPECT_TRUE(win.makeFirstResponder(false));
    EXPECT_FALSE(win.textMode);
}

TEST_F(KeyDispatch, MenuShortcutKeysLeaveTheEntryCellAlone) {
    const std::pair<std::int64_t, KeyModifiers> keys[] = {
        {1, {.control = true}},  {6, {.shift = true, .control = true}},
        {0, {.alt = true}},      {20, {.meta = true}},
        {36, {.control = true}}, {123, {.alt = true}},
    };
    for (const auto& [code, m] : keys) release(code, m);
    EXPECT_TRUE(doc.calls.empty());
    // Ctrl let go before the key: the release still belongs to the shortcut, once.
    win.keyDown(1, {.control = true});
    release(1);
    EXPECT_TRUE(doc.calls.empty());
    release(1);
    EXPECT_EQ(doc.calls, Calls({pitch(3)}));
    // A plain press of the same key forgets it.
    doc.calls.clear();
    win.keyDown(1, {.control = true});
    win.keyDown(1, kPlain);
    release(1);
    EXPECT_EQ(doc.calls, Calls({pitch(3)}));
}

TEST_F(KeyDispatch, StaffClicks) {
    const struct {
        Selection before;
        std::int64_t row, column, cells;
        bool shift;
        Calls selection;  // between the staff's selected cell and its redraw; {} for no cell
    } clicks[] = {
        {{1, 3, 1, 3}, 0, 1, 200, false, {}},  // the entry staff only ends the editing
        {{1, 3, 1, 3}, 2, 5, 44, false, {}},   // gosen2 column 5 is cell 45
        {{1, 3, 1, 3}, 2, 5, 45, false, {selCall(5, 2)}},
        {{1, 3, 1, 3}, 1, 0, 200, false, {}},
        {{1, 3, 1, 3}, 1, 41, 200, false, {}},
        // Shift before the start: the clicked cell becomes the start, the old start the end.
        {{1, 10, 1, 12}, 1, 4, 200, true, {selCall(4, 1), selToCall(10, 1)}},
        {{2, 1, 2, 1}, 1, 40, 200, true, {selCall(40, 1), selToCall(1, 2)}},
        {{1, 10, 1, 10}, 1, 10, 200, true, {selCall(10, 1), selToCall(10, 1)}},
        // After the start: only the end moves.
        {{1, 10, 1, 10}, 2, 1, 200, true, {selToCall(1, 2)}},
        {{1, 10, 1, 10}, 1, 11, 200, true, {selToCall(11, 1)}},
    };
    for (const auto& c : clicks) {
        SCOPED_TRACE(call("click", c.row, c.column, c.shift));
        RecordingCommands d;
        d.sel = c.before;
        d.cells = c.cells;
        winCTL w{d};
        w.textMode = true;
        w.staffMouseUp(c.row, c.column, c.shift);
        Calls expected = {"endEditing"};
        if (!c.selection.empty()) {
            expected.push_back(call("selectedCell", c.row, c.column));
            expected.insert(expected.end(), c.selection.begin(), c.selection.end());
            expected.push_back(call("redrawStaff", c.row));
        }
        EXPECT_EQ(d.calls, expected);
        EXPECT_FALSE(w.textMode);
    }
}

// Keys on a real document: a letter key sounds at the entry staff's table, Return writes the
// entry into the score as one undoable step.
TEST(KeyDocument, ALetterKeySoundsAndReturnWritesTheCell) {
    DiagCapture quiet;
    UndoHistory undo;
    CapturingAudioOutput audio;
    auto doc = testing::givenScore().cells(testing::distinctCells(50)).selected({1, 3}).build(
        &undo, &audio);
    winCTL win{*doc};
    win.keyUp(2, kShift, FocusKind::Window);   // Shift+D: C1
    win.keyUp(20, kPlain, FocusKind::Window);  // 3: quarter note
    EXPECT_EQ(testing::entry(*doc), (ScoreCell{21, 5}));
    ASSERT_EQ(audio.buffers.size(), 1u);
    EXPECT_EQ(audio.buffers[0].channelData,
              synthesizeTone(audio.outputFormat(), 523.0f, 0.5f).channelData);
    win.keyUp(36, kPlain, FocusKind::Window);  // Return
    EXPECT_EQ(testing::cells(*doc)[2], (ScoreCell{21, 5}));
    EXPECT_EQ(testing::staffMismatch(*doc), "");
    undo.undo();
    EXPECT_EQ(testing::cells(*doc), testing::distinctCells(50));
}

}  // namespace
}  // namespace sorvel
