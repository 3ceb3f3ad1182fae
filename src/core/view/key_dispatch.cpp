#include "view/key_dispatch.h"

#include <string>

#include "model/diagnostics.h"
#include "view/key_codes.h"

namespace sorvel {
namespace {

constexpr std::int64_t kNone = -1;

// Piano keys: home row white keys, the row above black keys; Shift is one octave up.
struct PitchKey {
    std::int64_t code, pitch, shiftedPitch;
};
constexpr PitchKey kPitchKeys[] = {
    {mac_key::A, 0, 17},
    {mac_key::W, 1, 18},
    {mac_key::S, 3, 20},
    {mac_key::D, 4, 21},
    {mac_key::R, 5, 22},
    {mac_key::F, 7, 24},
    {mac_key::T, 8, 25},
    {mac_key::G, 10, 27},
    {mac_key::H, 11, 28},
    {mac_key::U, 12, 29},
    {mac_key::J, 14, 31},
    {mac_key::I, 15, 32},
    {mac_key::K, 17, 34},
    {mac_key::O, 18, 35},
    {mac_key::L, 20, 37},
    {mac_key::Semicolon, 21, 38},
    {mac_key::LeftBracket, 22, kNone},
    {mac_key::Quote, 24, kNone},
};

// Note-value keys: a (row, column) of the note-value matrix; kNone repeats the stored choice.
struct ValueKey {
    std::int64_t code, row, column, shiftedRow, shiftedColumn;
};
constexpr ValueKey kValueKeys[] = {
    {mac_key::Digit1, 0, 0, 1, 0},
    {mac_key::Digit2, 0, 1, 1, 1},
    {mac_key::Digit3, 0, 2, 1, 2},
    {mac_key::Digit4, 0, 3, 1, 3},
    {mac_key::Digit5, 0, 4, 1, 4},
    {mac_key::Digit6, 0, 5, 1, 5},
    {mac_key::Digit0, 2, 0, kNone, kNone},
    {mac_key::Period, 2, 1, kNone, kNone},
    {mac_key::Minus, 2, 2, kNone, kNone},
    {mac_key::Equal, 2, 3, 2, 5},
    {mac_key::JisYen, 2, 4, kNone, kNone},
    // The repeat end again, on a key every ANSI and ISO keyboard has (left of 1).
    {mac_key::Grave, 2, 4, kNone, kNone},
};

// Pitch-step keys: the code handed to stepEntryPitch.
struct StepKey {
    std::int64_t code, step, shiftedStep;
};
constexpr StepKey kStepKeys[] = {
    {mac_key::UpArrow, 1, 0},
    {mac_key::DownArrow, 2, 3},
    {mac_key::RightBracket, 4, 4},
};

// The other keys of the score window; Shift makes no difference but to the arrows.
struct CommandKey {
    std::int64_t code;
    KeyCommand command;
};
constexpr CommandKey kCommandKeys[] = {
    {mac_key::LeftArrow, KeyCommand::SelectLeft},
    {mac_key::RightArrow, KeyCommand::SelectRight},
    {mac_key::Return, KeyCommand::Update},
    {mac_key::Slash, KeyCommand::Insert},
    // Add: the JIS key, or the comma key of ANSI and ISO keyboards.
    {mac_key::JisUnderscore, KeyCommand::Add},
    {mac_key::Comma, KeyCommand::Add},
    {mac_key::Delete, KeyCommand::Delete},
    {mac_key::Digit9, KeyCommand::Triplet},
    {mac_key::Digit8, KeyCommand::Tie},
    {mac_key::Backslash, KeyCommand::SwapForm},
    {mac_key::Space, KeyCommand::Play},
};

template <typename Entry, std::size_t N>
const Entry* find(const Entry (&table)[N], std::int64_t code) {
    for (const Entry& e : table) {
        if (e.code == code) return &e;
    }
    return nullptr;
}

std::string describe(std::int64_t keyCode, KeyModifiers m) {
    std::string line = "keyUp " + std::to_string(keyCode);
    if (m.shift) line += " shift";
    if (m.control) line += " ctrl";
    if (m.alt) line += " alt";
    if (m.meta) line += " meta";
    return line;
}

const char* focusName(FocusKind focus) {
    switch (focus) {
        case FocusKind::Window:
            return "window";
        case FocusKind::TextField:
            return "text field";
        case FocusKind::OtherControl:
            return "control";
    }
    return "control";
}

}  // namespace

void winCTL::keyDown(std::int64_t keyCode, KeyModifiers modifiers) {
    if (modifiers.menuShortcut()) {
        shortcutKeys_.insert(keyCode);
    } else {
        shortcutKeys_.erase(keyCode);
    }
}

void winCTL::keyUp(std::int64_t keyCode, KeyModifiers modifiers, FocusKind focus,
                   std::string_view focusClass) {
    const bool pressedAsShortcut = shortcutKeys_.erase(keyCode) > 0;
    diag(describe(keyCode, modifiers));

    if (keyCode == mac_key::Escape) {
        commands_.endEditing();
        textMode = false;
        return;
    }
    if (textMode) {
        diag("TEXT MODE");
        return;
    }
    if (focus != FocusKind::Window) {
        diag(focusClass.empty() ? std::string_view(focusName(focus)) : focusClass);
        diag("NOT winCTL");
        return;
    }
    if (modifiers.menuShortcut() || pressedAsShortcut) return;

    const bool shift = modifiers.shift;
    if (const PitchKey* k = find(kPitchKeys, keyCode)) {
        const std::int64_t p = shift ? k->shiftedPitch : k->pitch;
        if (p == kNone) {
            commands_.redrawEntry();
        } else {
            commands_.setEntryPitch(p);
        }
        return;
    }
    if (const ValueKey* k = find(kValueKeys, keyCode)) {
        if (!shift) {
            chooseValue(k->row, k->column);
        } else if (k->shiftedRow == kNone) {
            repeatValue();
        } else {
            chooseValue(k->shiftedRow, k->shiftedColumn);
        }
        return;
    }
    if (const StepKey* k = find(kStepKeys, keyCode)) {
        stepPitch(shift ? k->shiftedStep : k->step);
        return;
    }

    const CommandKey* command = find(kCommandKeys, keyCode);
    if (!command) return;
    switch (command->command) {
        case KeyCommand::SelectLeft: {
            const Selection s = commands_.selection();
            commands_.selCell(s.column - 1, s.row);
            // With Shift only the start moves; the end stays where it was.
            if (shift) commands_.selCellTo(s.columnTo, s.rowTo);
            break;
        }
        case KeyCommand::SelectRight: {
            const Selection s = commands_.selection();
            if (shift) {
                commands_.selCellTo(s.columnTo + 1, s.rowTo);
            } else {
                commands_.selCell(s.column + 1, s.row);
            }
            break;
        }
        case KeyCommand::Update:
            commands_.btnUPDate();
            break;
        case KeyCommand::Insert:
            commands_.btnIns();
            break;
        case KeyCommand::Add:
            commands_.btnADD();
            break;
        case KeyCommand::Delete:
            commands_.btnDel();
            break;
        case KeyCommand::Triplet:
            commands_.toggleTriplet();
            break;
        case KeyCommand::Tie:
            commands_.toggleTie();
            break;
        case KeyCommand::SwapForm:
            commands_.swapEntryForm();
            break;
        case KeyCommand::Play:
            if (playPressed) playPressed();
            break;
        case KeyCommand::None:
            break;
    }
}

std::vector<KeyBinding> keyBindings() {
    std::vector<KeyBinding> out;
    for (const PitchKey& k : kPitchKeys) {
        out.push_back({k.code, KeyRole::Pitch, k.pitch, kNone, k.shiftedPitch, kNone, {}});
    }
    for (const ValueKey& k : kValueKeys) {
        out.push_back(
            {k.code, KeyRole::Value, k.row, k.column, k.shiftedRow, k.shiftedColumn, {}});
    }
    for (const StepKey& k : kStepKeys) {
        out.push_back({k.code, KeyRole::PitchStep, k.step, kNone, k.shiftedStep, kNone, {}});
    }
    for (const CommandKey& k : kCommandKeys) {
        out.push_back({k.code, KeyRole::Command, kNone, kNone, kNone, kNone, k.command});
    }
    return out;
}

bool winCTL::makeFirstResponder(bool isTextView) {
    textMode = isTextView;
    return true;
}

void winCTL::mouseUp() {
    selectedRow = 1;
    selectedColumn = 0;
}

void winCTL::staffMouseUp(std::int64_t row, std::int64_t column, bool shift) {
    commands_.endEditing();
    textMode = false;
    if (row < 1 || row > 3) return;  // the entry staff only ends editing

    const std::int64_t cellMax = commands_.staffCellMax(row);
    if (column < 1 || column > cellMax) return;
    if (column + (row - 1) * cellMax > commands_.cellCount()) return;

    commands_.setStaffSelectedCell(row, column);
    diag("No Shift");
    if (shift) {
        const Selection old = commands_.selection();
        if (old.row * 100 + old.column >= row * 100 + column) {
            // The clicked cell becomes the start, the old start the end.
            commands_.selCell(column, row);
            commands_.selCellTo(old.column, old.row);
        } else {
            commands_.selCellTo(column, row);
        }
    } else {
        commands_.selCell(column, row);
    }
    commands_.redrawStaff(row);
}

void winCTL::chooseValue(std::int64_t row, std::int64_t column) {
    selectedRow = row;
    selectedColumn = column;
    commands_.setEntryValue(selectedRow, selectedColumn);
}

void winCTL::repeatValue() {
    commands_.setEntryValue(selectedRow, selectedColumn);
}

void winCTL::stepPitch(std::int64_t code) {
    selectedRow = code;
    commands_.stepEntryPitch(selectedRow);
}

}  // namespace sorvel
