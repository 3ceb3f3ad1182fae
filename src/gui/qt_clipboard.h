#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "app/clipboard_commands.h"
#include "ports/clipboard.h"

class QClipboard;
class QLineEdit;
class QWidget;

namespace sorvel::gui {

// The private clipboard type under which copied cells travel between windows and between
// running copies of the application.
inline const QString kCellsMimeType = QStringLiteral("application/x-sorvel-cells");

// The system clipboard (QClipboard's Clipboard mode).
class QtClipboard : public Clipboard {
  public:
    explicit QtClipboard(QClipboard* clipboard = nullptr);

    std::optional<std::string> plainText() const override;
    bool hasPlainText() const override;
    bool isEmpty() const override;
    void setPlainText(const std::string& text) override;
    std::optional<std::string> cellData() const override;
    void setCellData(const std::string& bytes) override;

  private:
    QClipboard* clipboard_;
};

// A line edit being edited, as the text half of the clipboard commands sees it.
class LineEditText : public TextEditing {
  public:
    explicit LineEditText(QLineEdit* field);

    std::string selectedText() const override;
    bool hasSelectedText() const override;
    void removeSelectedText() override;
    void pasteAsPlainText(const std::string& text) override;

  private:
    QPointer<QLineEdit> field_;
};

// The text adapter for the focus widget when it is a line edit, else nullptr.
std::unique_ptr<TextEditing> textEditingFor(QWidget* focus);

// Gives the score of keyWindow when it is a score window whose keyboard is with the window
// itself (no field or other control has the focus), else nullptr.
using ScoreOfWindow = std::function<EditableScore*(QWidget* keyWindow, QWidget* focus)>;

// What the clipboard commands act on: no key window; a line edit being edited in the key
// window (whatever window that is); the score of a score window that has the keyboard; or
// something else. The text adapter, when there is one, lives in textHolder.
ClipTarget clipTargetFor(QWidget* keyWindow, QWidget* focus, const ScoreOfWindow& scoreOf,
                         std::unique_ptr<TextEditing>& textHolder);

}  // namespace sorvel::gui
