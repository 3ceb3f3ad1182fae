#include "app/clipboard_commands.h"

#include <string>
#include <utility>
#include <vector>

#include "edit/clip_payload.h"
#include "edit/editable_score.h"
#include "edit/undo_history.h"
#include "ports/alerts.h"
#include "ports/clipboard.h"

namespace sorvel {
namespace {

std::int64_t cellCount(const EditableScore& score) {
    return static_cast<std::int64_t>(score.cells().size());
}

// A selection the cut and copy commands can take: both ends inside the score, in order.
bool rangeValid(const EditableScore& score) {
    const std::int64_t s = score.selStart();
    const std::int64_t e = score.selEnd();
    return s >= 0 && e >= s;
}

// Where Paste or Add inserts, or -1 when it cannot. An empty score takes the cells at 0.
std::int64_t insertionIndex(const EditableScore& score, bool add) {
    if (cellCount(score) == 0) return 0;
    const std::int64_t s = score.selStart();
    if (s < 0) return -1;
    return add ? s + 1 : s;
}

}  // namespace

ClipboardCommands::ClipboardCommands(Clipboard& clipboard, Alerts& alerts)
    : clipboard_(clipboard), alerts_(alerts) {}

void ClipboardCommands::setScoreReached(std::function<void(EditableScore&)> handler) {
    scoreReached_ = std::move(handler);
}

void ClipboardCommands::perform(ClipAction action, const ClipTarget& target) {
    switch (target.focus) {
        case ClipFocus::NoKeyWindow:
            alerts_.showAlert(std::string(kClipNoKeyWindowMessage));
            return;
        case ClipFocus::TextField:
            if (target.text) textCommand(action, *target.text);
            return;
        case ClipFocus::Score:
            if (!target.score) return;
            if (action == ClipAction::Cut || action == ClipAction::Copy) {
                cutOrCopy(action == ClipAction::Cut, *target.score);
            } else {
                pasteOrAdd(action == ClipAction::Add, *target.score);
            }
            return;
        case ClipFocus::Other:
            return;
    }
}

bool ClipboardCommands::canPerform(ClipAction action, const ClipTarget& target) const {
    const bool taking = action == ClipAction::Cut || action == ClipAction::Copy;
    switch (target.focus) {
        case ClipFocus::NoKeyWindow:
            return true;
        case ClipFocus::TextField: {
            if (!target.text) return false;
            if (taking) return target.text->hasSelectedText();
            return clipboard_.hasPlainText();
        }
        case ClipFocus::Score: {
            if (!target.score) return false;
            const EditableScore& score = *target.score;
            if (taking) return cellCount(score) > 1 && rangeValid(score);
            return !clipboard_.isEmpty() && insertionIndex(score, action == ClipAction::Add) >= 0;
        }
        case ClipFocus::Other:
            return false;
    }
    return false;
}

void ClipboardCommands::textCommand(ClipAction action, TextEditing& text) {
    switch (action) {
        case ClipAction::Cut:
            clipboard_.setPlainText(text.selectedText());
            text.removeSelectedText();
            return;
        case ClipAction::Copy:
            clipboard_.setPlainText(text.selectedText());
            return;
        case ClipAction::Paste:
        case ClipAction::Add:
            if (const auto plain = clipboard_.plainText()) text.pasteAsPlainText(*plain);
            return;
    }
}

void ClipboardCommands::cutOrCopy(bool cut, EditableScore& score) {
    if (scoreReached_) scoreReached_(score);
    if (cellCount(score) <= 1) return;
    if (!rangeValid(score)) {
        alerts_.showAlert(std::string(kClipBadRangeMessage));
        return;
    }
    const std::int64_t s = score.selStart();
    const std::int64_t e = score.selEnd();
    const std::vector<ScoreCell>& all = score.cells();
    const std::vector<ScoreCell> taken(all.begin() + s, all.begin() + e + 1);
    // The cells are on the clipboard before they leave the score.
    clipboard_.setCellData(encodeClipCells(taken));
    if (cut) {
        UndoGroup step(score.undoHistory());
        score.deleteCells(s, e);
    }
}

void ClipboardCommands::pasteOrAdd(bool add, EditableScore& score) {
    const auto data = clipboard_.cellData();
    if (!data) {
        // Text or a picture from another program: say why nothing happens.
        if (!clipboard_.isEmpty()) alerts_.showAlert(std::string(kClipNoCellsMessage));
        return;
    }
    if (scoreReached_) scoreReached_(score);
    const std::int64_t index = insertionIndex(score, add);
    if (index < 0) return;
    ClipDecodeResult decoded = decodeClipCells(*data);
    if (!decoded.ok()) {
        alerts_.showAlert(describeClipError(decoded.error));
        return;
    }
    // The selection moves from its start: one column on for Paste, none for Add. An end
    // outside the score counts as a selection of the start cell alone; an empty score keeps
    // the selection on the first pasted cell.
    const std::int64_t s = score.selStart();
    std::int64_t e = score.selEnd();
    if (cellCount(score) == 0) {
        e = index - 1;
    } else if (e < s) {
        e = s;
    }
    UndoGroup step(score.undoHistory());
    score.insertCells(decoded.cells, index, e);
}

}  // namespace sorvel
