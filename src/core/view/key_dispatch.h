#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace sorvel {

// Who has the keyboard focus of the score window when a key is released.
enum class FocusKind {
    Window,        // the window itself (no control focused)
    TextField,     // a text field is being edited (chord fields, the A_Hz field)
    OtherControl,  // a combo box, button or any other control
};

struct KeyModifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
    bool meta = false;

    // Keys held with these belong to menu shortcuts, never to the score.
    bool menuShortcut() const { return control || alt || meta; }
};

// Selection of the score window: start and end, staff row 1..3 and 1-based column.
struct Selection {
    std::int64_t row = 0, column = 0;
    std::int64_t rowTo = 0, columnTo = 0;
};

// What the score window's keys and staff clicks act on: the window's document.
class ScoreCommands {
  public:
    virtual ~ScoreCommands() = default;

    // Entry cell: a piano key's pitch (it sounds), a pitch step (it sounds too), a note-value
    // button, the triplet and tie forms, the other glyph family.
    virtual void setEntryPitch(std::int64_t pitch) = 0;
    virtual void stepEntryPitch(std::int64_t row) = 0;
    virtual void setEntryValue(std::int64_t row, std::int64_t column) = 0;
    virtual void toggleTriplet() = 0;
    virtual void toggleTie() = 0;
    virtual void swapEntryForm() = 0;
    virtual void redrawEntry() = 0;
    virtual void btnUPDate() = 0;
    virtual void btnIns() = 0;
    virtual void btnADD() = 0;
    virtual void btnDel() = 0;

    virtual Selection selection() const = 0;
    virtual void selCell(std::int64_t column, std::int64_t row) = 0;
    virtual void selCellTo(std::int64_t column, std::int64_t row) = 0;

    // Staves of the score window, rows 1..3.
    virtual std::int64_t staffCellMax(std::int64_t row) const = 0;
    virtual void setStaffSelectedCell(std::int64_t row, std::int64_t column) = 0;
    virtual void redrawStaff(std::int64_t row) = 0;
    virtual std::int64_t cellCount() const = 0;

    // Ends editing of any field of the window (the field keeps its text).
    virtual void endEditing() = 0;
};

// What a key of the score window does (Escape aside, which always ends editing).
enum class KeyRole {
    Pitch,      // a piano key: sets and sounds the entry pitch
    Value,      // a note-value key: a choice of the note-value matrix
    PitchStep,  // steps the entry pitch
    Command,    // one of KeyCommand
};
enum class KeyCommand { None, SelectLeft, SelectRight, Update, Insert, Add, Delete, Triplet, Tie,
                        SwapForm, Play };

// One key of the score window's key tables, for whoever shows them (the keyboard map).
// Pitch: plain and shifted are pitch indices. Value: (plain, plainColumn) and (shifted,
// shiftedColumn) are rows and columns of the note-value matrix. PitchStep: step codes. A
// shifted value of -1 is nothing (a pitch key: no pitch; a value key: the stored choice again).
struct KeyBinding {
    std::int64_t code = 0;
    KeyRole role = KeyRole::Command;
    std::int64_t plain = -1, plainColumn = -1;
    std::int64_t shifted = -1, shiftedColumn = -1;
    KeyCommand command = KeyCommand::None;
};

// Every key the score window acts on, as the key logic reads them: piano keys (home row
// white, the row above black), note-value keys, pitch steps, commands.
std::vector<KeyBinding> keyBindings();

// The key and mouse logic of the score window.
//
// The window feeds it key releases only: commands act when a key is let go, and the
// releases of auto-repeat are not passed in, so holding a key acts once.
class winCTL {
  public:
    explicit winCTL(ScoreCommands& commands) : commands_(commands) {}

    // Optional: a key went down. A key pressed with Ctrl, Alt or Meta stays a shortcut key
    // until its release even when the modifier is let go first.
    void keyDown(std::int64_t keyCode, KeyModifiers modifiers);

    // A key was released. focusClass names the focused control for the diagnostic line.
    void keyUp(std::int64_t keyCode, KeyModifiers modifiers, FocusKind focus,
               std::string_view focusClass = {});

    // The window gave the keyboard focus to a text field (true) or to anything else.
    bool makeFirstResponder(bool isTextView);

    // A click on the window background.
    void mouseUp();

    // A click on a staff of the window: row 1..3 for the score staves, 0 for the entry staff;
    // column is the 1-based column under the click.
    void staffMouseUp(std::int64_t row, std::int64_t column, bool shift);

    std::int64_t selectedColumn = 0;
    std::int64_t selectedRow = 0;
    bool textMode = false;
    // Space: the window's play button (start, or stop while playing). Unset, Space does nothing.
    std::function<void()> playPressed;

  private:
    void chooseValue(std::int64_t row, std::int64_t column);
    void repeatValue();
    void stepPitch(std::int64_t code);

    ScoreCommands& commands_;
    std::unordered_set<std::int64_t> shortcutKeys_;
};

}  // namespace sorvel
