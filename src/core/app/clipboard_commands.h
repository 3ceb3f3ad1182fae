#pragma once

#include <functional>
#include <string_view>

namespace sorvel {

class Alerts;
class Clipboard;
class EditableScore;
class TextEditing;

// The same text the application shows when a command finds no key window.
inline constexpr std::string_view kClipNoKeyWindowMessage = "Please open the main window first";
inline constexpr std::string_view kClipBadRangeMessage = "範囲指定が不正です。";
inline constexpr std::string_view kClipNoCellsMessage =
    "The clipboard holds no score cells; nothing was pasted.";

// What has the keyboard in the key window when a clipboard command arrives.
enum class ClipFocus {
    NoKeyWindow,
    TextField,  // a text field is being edited: text names it
    Score,      // the score window itself: score names its document
    Other,      // any other control or window: the commands do nothing
};

struct ClipTarget {
    ClipFocus focus = ClipFocus::NoKeyWindow;
    TextEditing* text = nullptr;
    EditableScore* score = nullptr;
};

enum class ClipAction { Cut, Copy, Paste, Add };

// Cut, Copy, Paste (before the selection) and Add (after the selected cell) of the Edit menu,
// on the text being edited or on the selected cells of a score.
class ClipboardCommands {
  public:
    ClipboardCommands(Clipboard& clipboard, Alerts& alerts);

    // Called with the score a command reaches (the application's root document).
    void setScoreReached(std::function<void(EditableScore&)> handler);

    void menuCut(const ClipTarget& target) { perform(ClipAction::Cut, target); }
    void menuCopy(const ClipTarget& target) { perform(ClipAction::Copy, target); }
    void menuPaste(const ClipTarget& target) { perform(ClipAction::Paste, target); }
    void menuAdd(const ClipTarget& target) { perform(ClipAction::Add, target); }
    void perform(ClipAction action, const ClipTarget& target);

    // Whether the menu item can act now. With no key window the items stay enabled, and in a
    // score Paste and Add are enabled by anything on the clipboard, so that choosing one
    // explains what is missing or wrong.
    bool canPerform(ClipAction action, const ClipTarget& target) const;

  private:
    void textCommand(ClipAction action, TextEditing& text);
    void cutOrCopy(bool cut, EditableScore& score);
    void pasteOrAdd(bool add, EditableScore& score);

    Clipboard& clipboard_;
    Alerts& alerts_;
    std::function<void(EditableScore&)> scoreReached_;
};

}  // namespace sorvel
