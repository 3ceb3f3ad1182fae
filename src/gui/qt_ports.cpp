#include "qt_ports.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStorageInfo>
#include <cerrno>

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

namespace {

// Why a save failed, in words: a full disk is named as such, whatever Qt reports.
std::string saveFailure(const QString& path, const QString& qtReason, int error,
                        std::size_t bytes) {
    const QStorageInfo volume(QFileInfo(path).absolutePath());
    const bool full = error == ENOSPC || error == EDQUOT ||
                      (volume.isValid() && volume.bytesAvailable() >= 0 &&
                       static_cast<quint64>(volume.bytesAvailable()) < bytes);
    if (full) {
        return QObject::tr("%1: the disk is full (%2 bytes needed, %3 free).")
            .arg(path)
            .arg(bytes)
            .arg(volume.bytesAvailable())
            .toStdString();
    }
    return QObject::tr("%1: %2").arg(path, qtReason).toStdString();
}

}  // namespace

std::optional<std::string> QtTextFileWriter::writeFile(const std::string& path,
                                                       std::string_view bytes) {
    QSaveFile file(q(path));
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        return saveFailure(q(path), file.errorString(), errno, bytes.size());
    }
    const qint64 n = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (n != static_cast<qint64>(bytes.size())) {
        const int error = errno;
        const QString why = file.errorString();
        file.cancelWriting();
        return saveFailure(q(path), why, error, bytes.size());
    }
    if (!file.commit()) return saveFailure(q(path), file.errorString(), errno, bytes.size());
    return std::nullopt;
}

}  // namespace sorvel::gui
