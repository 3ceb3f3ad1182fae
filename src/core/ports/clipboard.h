#pragma once

#include <optional>
#include <string>

namespace sorvel {

// The system clipboard as the edit commands need it. Cells travel as bytes under the
// application's private type; text as plain text.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // The plain text on the clipboard, or nothing when it holds none.
    virtual std::optional<std::string> plainText() const = 0;
    // Whether it holds plain text, and whether it holds anything at all, without fetching
    // it: the menus ask after every key.
    virtual bool hasPlainText() const = 0;
    virtual bool isEmpty() const = 0;
    // Empties the clipboard and puts the text on it.
    virtual void setPlainText(const std::string& text) = 0;
    // The bytes stored under the private cells type, or nothing when there are none.
    virtual std::optional<std::string> cellData() const = 0;
    // Empties the clipboard and puts only the cell bytes on it (no plain text).
    virtual void setCellData(const std::string& bytes) = 0;
};

// The text field that is being edited in the key window.
class TextEditing {
  public:
    virtual ~TextEditing() = default;
    virtual std::string selectedText() const = 0;
    virtual bool hasSelectedText() const = 0;
    // Removes the selected text, leaving the text before and after it.
    virtual void removeSelectedText() = 0;
    // Replaces the selection by the text, as plain text.
    virtual void pasteAsPlainText(const std::string& text) = 0;
};

}  // namespace sorvel
