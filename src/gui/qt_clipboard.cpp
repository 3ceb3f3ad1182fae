#include "qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <algorithm>

namespace sorvel::gui {

QtClipboard::QtClipboard(QClipboard* clipboard)
    : clipboard_(clipboard ? clipboard : QGuiApplication::clipboard()) {}

std::optional<std::string> QtClipboard::plainText() const {
    const QMimeData* data = clipboard_->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText()) return std::nullopt;
    return data->text().toStdString();
}

bool QtClipboard::hasPlainText() const {
    const QMimeData* data = clipboard_->mimeData(QClipboard::Clipboard);
    return data && data->hasText();
}

bool QtClipboard::isEmpty() const {
    const QMimeData* data = clipboard_->mimeData(QClipboard::Clipboard);
    return !data || data->formats().isEmpty();
}

void QtClipboard::setPlainText(const std::string& text) {
    clipboard_->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

std::optional<std::string> QtClipboard::cellData() const {
    const QMimeData* data = clipboard_->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasFormat(kCellsMimeType)) return std::nullopt;
    const QByteArray bytes = data->data(kCellsMimeType);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtClipboard::setCellData(const std::string& bytes) {
    // Only the private type: a score cut or copy leaves no text to paste into a field.
    auto* data = new QMimeData;
    data->setData(kCellsMimeType, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    clipboard_->setMimeData(data, QClipboard::Clipboard);
}

LineEditText::LineEditText(QLineEdit* field) : field_(field) {}

std::string LineEditText::selectedText() const {
    return field_ ? field_->selectedText().toStdString() : std::string();
}

bool LineEditText::hasSelectedText() const {
    return field_ && field_->hasSelectedText();
}

void LineEditText::removeSelectedText() {
    if (field_ && field_->hasSelectedText()) field_->del();
}

void LineEditText::pasteAsPlainText(const std::string& text) {
    if (!field_) return;
    // The field keeps at most maxLength() QChars, and no QChar takes more than three UTF-8
    // bytes: a huge text is not converted whole only to be cut.
    const std::size_t room = static_cast<std::size_t>(field_->maxLength()) * 3 + 3;
    // A line holds no line breaks: they become spaces, as a field's own paste does.
    QString line =
        QString::fromUtf8(text.data(), static_cast<qsizetype>(std::min(text.size(), room)));
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    field_->insert(line);
}

std::unique_ptr<TextEditing> textEditingFor(QWidget* focus) {
    if (auto* field = qobject_cast<QLineEdit*>(focus)) {
        return std::make_unique<LineEditText>(field);
    }
    return nullptr;
}

ClipTarget clipTargetFor(QWidget* keyWindow, QWidget* focus, const ScoreOfWindow& scoreOf,
                         std::unique_ptr<TextEditing>& textHolder) {
    textHolder.reset();
    if (!keyWindow) return {ClipFocus::NoKeyWindow, nullptr, nullptr};
    if (focus && focus->window() == keyWindow) {
        textHolder = textEditingFor(focus);
        if (textHolder) return {ClipFocus::TextField, textHolder.get(), nullptr};
    }
    if (EditableScore* score = scoreOf ? scoreOf(keyWindow, focus) : nullptr) {
        return {ClipFocus::Score, nullptr, score};
    }
    return {ClipFocus::Other, nullptr, nullptr};
}

}  // namespace sorvel::gui
