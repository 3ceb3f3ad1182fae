#include "qt_ports.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

#include "atomic_file.h"

namespace sorvel::gui {

namespace {
QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QString startFolder() {
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(docs).exists() ? docs : QDir::homePath();
}
}  // namespace

void QtAlerts::showAlert(const std::string& text, const std::string& informativeText) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIcon(QMessageBox::Warning);
    // File names show as they are, never as markup; the informative text's label does not
    // follow the box's text format.
    box.setTextFormat(Qt::PlainText);
    box.setText(q(text));
    if (!informativeText.empty()) box.setInformativeText(q(informativeText));
    for (QLabel* label : box.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtAlerts::confirm(const std::string& text, const std::string& informativeText,
                       const std::string& acceptTitle) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIcon(QMessageBox::Question);
    box.setTextFormat(Qt::PlainText);
    box.setText(q(text));
    if (!informativeText.empty()) box.setInformativeText(q(informativeText));
    for (QLabel* label : box.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
    QPushButton* accept = box.addButton(q(acceptTitle), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(accept);
    box.exec();
    return box.clickedButton() == accept;
}

std::optional<std::string> QtFileDialogs::saveFile(const std::string& suggestedName) {
    QFileDialog dialog(QApplication::activeWindow(), QObject::tr("Save Score"), startFolder());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QObject::tr("All files (*)"));
    dialog.selectFile(q(suggestedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtFileDialogs::openFile() {
    QFileDialog dialog(QApplication::activeWindow(), QObject::tr("Open Score"), startFolder());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QObject::tr("All files (*)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtFileDialogs::chooseFolder(const std::string& message) {
    QFileDialog dialog(QApplication::activeWindow(), q(message), QDir::homePath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setLabelText(QFileDialog::LookIn, q(message));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

bool QtSettings::has(const std::string& key) const {
    return QSettings().contains(q(key));
}

std::string QtSettings::get(const std::string& key) const {
    return QSettings().value(q(key)).toString().toStdString();
}

void QtSettings::set(const std::string& key, const std::string& value) {
    QSettings().setValue(q(key), q(value));
}

void QtSettings::sync() {
    QSettings().sync();
}

std::optional<std::string> QtTextFileWriter::writeFile(const std::string& path,
                                                       std::string_view bytes) {
    if (const auto why = writeFileAtomically(q(path), bytes))
        return QObject::tr("%1: %2").arg(q(path), *why).toStdString();
    return std::nullopt;
}

}  // namespace sorvel::gui
