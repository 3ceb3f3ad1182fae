// The score window's key and mouse logic: against a recording of the commands it gives, and
// on a real document; and the key codes X11 scan codes and US characters stand for.
#include "view/key_dispatch.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>
#include <sstream>

#include "app/document.h"
#include "fakes.h"
#include "given.h"
#include "golden.h"
#include "sound/tone.h"
#include "view/key_codes.h"

namespace sorvel {
namespace {

using Calls = std::vector<std::string>;
using testing::CapturingAudioOutput;
using testing::DiagCapture;

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

// Every key code, plain and with Shift, from the stored choice (1, 3) with cells (1, 3) to
// (2, 7) selected: the commands it gives and the choice it stores afterwards, a line for each
// key that does anything. A key without a line does nothing but describe its event.
TEST_F(KeyDispatch, EveryKeyAsTheGoldenTranscript) {
    std::ostringstream out;
    for (std::int64_t code = -3; code <= 300; ++code) {
        for (const bool shift : {false, true}) {
            RecordingCommands rec;
            rec.sel = {1, 3, 2, 7};
            winCTL w{rec};
            w.selectedRow = 1;
            w.selectedColumn = 3;
            diag.lines.clear();
            w.keyUp(code, shift ? kShift : kPlain, FocusKind::Window);
            if (rec.calls.empty() && w.selectedRow == 1 && w.selectedColumn == 3) {
                EXPECT_EQ(diag.lines.size(), 1u) << code;
                continue;
            }
            out << code << (shift ? " shift:" : ":");
            for (const std::string& c : rec.calls) out << ' ' << c;
            out << " -> " << w.selectedRow << ',' << w.selectedColumn << '\n';
        }
    }
    testing::expectGolden("keys.txt", out.str());
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
    auto doc = testing::givenScore()
                   .cells(testing::distinctCells(50))
                   .selected({1, 3})
                   .build(&undo, &audio);
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

// Every key the score window's tables use, by its evdev name, with the macOS key code of
// the same position; other codes give none.
TEST(KeyCodes, X11ScanCodesOfEveryTableKeyAndNoOtherKey) {
    // clang-format off
    const struct {
        int evdev;
        std::int64_t mac;
    } keys[] = {
        // piano
        {KEY_A, 0}, {KEY_W, 13}, {KEY_S, 1}, {KEY_D, 2}, {KEY_R, 15}, {KEY_F, 3}, {KEY_T, 17},
        {KEY_G, 5}, {KEY_H, 4}, {KEY_U, 32}, {KEY_J, 38}, {KEY_I, 34}, {KEY_K, 40}, {KEY_O, 31},
        {KEY_L, 37}, {KEY_SEMICOLON, 41}, {KEY_LEFTBRACE, 33}, {KEY_APOSTROPHE, 39},
        // note values
        {KEY_1, 18}, {KEY_2, 19}, {KEY_3, 20}, {KEY_4, 21}, {KEY_5, 23}, {KEY_6, 22}, {KEY_0, 29},
        {KEY_DOT, 47}, {KEY_MINUS, 27}, {KEY_EQUAL, 24}, {KEY_YEN, 93},
        // pitch steps and selection
        {KEY_UP, 126}, {KEY_DOWN, 125}, {KEY_RIGHTBRACE, 30}, {KEY_LEFT, 123}, {KEY_RIGHT, 124},
        // score commands
        {KEY_ENTER, 36}, {KEY_SLASH, 44}, {KEY_RO, 94}, {KEY_BACKSPACE, 51}, {KEY_9, 25},
        {KEY_8, 28}, {KEY_BACKSLASH, 42}, {KEY_ESC, 53},
        // the rest
        {KEY_Q, 12}, {KEY_Z, 6}, {KEY_M, 46}, {KEY_COMMA, 43}, {KEY_7, 26}, {KEY_SPACE, 49},
    };
    // clang-format on
    std::set<std::int64_t> seen;
    for (const auto& k : keys) {
        SCOPED_TRACE(k.evdev);
        EXPECT_EQ(macKeyCodeFromX11ScanCode(k.evdev + 8), k.mac);
        EXPECT_TRUE(seen.insert(k.mac).second) << "two keys give " << k.mac;
    }
    // Modifiers, function keys, unused codes and codes out of range give nothing.
    for (std::int64_t code : {-1LL, 0LL, 8LL, 37LL /* left Ctrl */, 50LL /* left Shift */,
                              67LL /* F1 */, 87LL /* keypad 1 */, 255LL, 256LL, 100000LL})
        EXPECT_FALSE(macKeyCodeFromX11ScanCode(code).has_value()) << code;
}

TEST(KeyCodes, UsCharacters) {
    const struct {
        char32_t c;
        std::int64_t mac;
    } keys[] = {
        {U'a', 0},  {U'S', 1},  {U':', 41}, {U'{', 33},      {U'"', 39}, {U'!', 18},
        {U'6', 22}, {U'^', 22}, {U')', 29}, {U'>', 47},      {U'+', 24}, {U'}', 30},
        {U'?', 44}, {U'*', 28}, {U'|', 42}, {U'\u00a5', 93}, {U'_', 94}, {U'`', 50},
    };
    for (const auto& k : keys)
        EXPECT_EQ(macKeyCodeForUsCharacter(k.c), k.mac) << static_cast<std::uint32_t>(k.c);
    for (char32_t c : {U'\0', U'\n', U'\u00e9', U'\u3042', char32_t{0x110000}})
        EXPECT_FALSE(macKeyCodeForUsCharacter(c).has_value()) << static_cast<std::uint32_t>(c);
}

}  // namespace
}  // namespace sorvel
