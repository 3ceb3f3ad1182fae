#include "qt_ports.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

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
    box.setText(q(text));
    if (!informativeText.empty()) box.setInformativeText(q(informativeText));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
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
    QSaveFile file(q(path));
    if (!file.open(QIODevice::WriteOnly)) {
        return QObject::tr("%1: %2").arg(q(path), file.errorString()).toStdString();
    }
    const qint64 n = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (n != static_cast<qint64>(bytes.size())) {
        const QString why = file.errorString();
        file.cancelWriting();
        return QObject::tr("%1: %2").arg(q(path), why).toStdString();
    }
    if (!file.commit()) return QObject::tr("%1: %2").arg(q(path), file.errorString()).toStdString();
    return std::nullopt;
}

}  // namespace sorvel::gui
