#include "qt_ports.h"

#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <cerrno>
#include <ctime>

#include "atomic_file.h"
#include "core_text.h"

namespace sorvel::gui {

namespace {
QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QString startFolder() {
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(docs).exists() ? docs : QDir::homePath();
}

const char* const kScoreFilters = QT_TRANSLATE_NOOP(
    "QtFileDialogs", "Scores (*.sorvel *.txt);;Sorvel scores (*.sorvel);;All files (*)");

// A box whose texts show as they are (a file name is never markup).
void prepare(QMessageBox& box, const QString& text, const QString& informative) {
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIcon(QMessageBox::Warning);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setInformativeText(informative);
    for (QLabel* label : box.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
}

// The fields of /proc/<pid>/stat after the command name, which may hold blanks.
QList<QByteArray> statFields(const QString& pid) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray stat = f.readAll();
    return stat.mid(stat.lastIndexOf(')') + 2).split(' ');
}

// Clock ticks after boot at which the process started ("" when unknown); field 22 of stat.
QByteArray startTime(const QString& pid) {
    const QList<QByteArray> fields = statFields(pid);
    return fields.size() > 19 ? fields[19] : QByteArray();
}

QByteArray bootId() {
    QFile f(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    if (!f.open(QIODevice::ReadOnly)) return "boot";
    return f.readAll().left(8);
}
}  // namespace

SaveChoice QtQuestions::askToSave(const std::string& scoreName, bool several) {
    QMessageBox box(QApplication::activeWindow());
    prepare(box,
            QObject::tr("Do you want to save the changes to \u201c%1\u201d?").arg(q(scoreName)),
            QObject::tr("Your changes will be lost if you don't save them."));
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.button(QMessageBox::Save)->setText(QObject::tr("&Save"));
    box.button(QMessageBox::Discard)->setText(QObject::tr("Do&n't Save"));
    QAbstractButton* discardAll = nullptr;
    if (several) {
        box.addButton(QMessageBox::SaveAll)->setText(QObject::tr("Save &All"));
        discardAll = box.addButton(QObject::tr("D&iscard All"), QMessageBox::DestructiveRole);
    }
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked == discardAll) return SaveChoice::DiscardAll;
    switch (box.standardButton(clicked)) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::SaveAll:
            return SaveChoice::SaveAll;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
    }
}

bool QtQuestions::askToRestore(const std::vector<std::string>& scoreNames) {
    QStringList names;
    for (const std::string& name : scoreNames) names << q(name);
    QMessageBox box(QApplication::activeWindow());
    prepare(box,
            QObject::tr("Sorvel Score ended without saving these scores. Restore them as they "
                        "were a few seconds before?"),
            names.join(QLatin1Char('\n')));
    QPushButton* restore = box.addButton(QObject::tr("&Restore"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QObject::tr("&Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    box.setEscapeButton(restore);
    box.exec();
    return box.clickedButton() != discard;
}

std::string SystemProcesses::selfId() const {
    static const std::string id = [] {
        const QString pid = QString::number(::getpid());
        QByteArray started = startTime(pid);
        if (started.isEmpty())
            started = QByteArray::number(static_cast<qint64>(std::time(nullptr)));
        return (bootId() + '-' + pid.toLatin1() + '-' + started).toStdString();
    }();
    return id;
}

bool SystemProcesses::running(const std::string& id) const {
    const QList<QByteArray> parts = QByteArray::fromStdString(id).split('-');
    if (parts.size() != 3 || parts[0] != bootId()) return false;
    const QString pid = QString::fromLatin1(parts[1]);
    const QByteArray started = startTime(pid);
    // Without /proc only the process number can be asked about.
    if (started.isEmpty() && !QFileInfo::exists(QStringLiteral("/proc/self/stat"))) {
        return ::kill(static_cast<pid_t>(pid.toLongLong()), 0) == 0 || errno == EPERM;
    }
    return !started.isEmpty() && started == parts[2];
}

void QtAlerts::showAlert(const std::string& text, const std::string& informativeText) {
    QMessageBox box(QApplication::activeWindow());
    // File names show as they are, never as markup; the informative text's label does not
    // follow the box's text format.
    prepare(box, coreText(text), coreText(informativeText));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtAlerts::confirm(const std::string& text, const std::string& informativeText,
                       const std::string& acceptTitle) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIcon(QMessageBox::Question);
    box.setTextFormat(Qt::PlainText);
    box.setText(coreText(text));
    if (!informativeText.empty()) box.setInformativeText(coreText(informativeText));
    for (QLabel* label : box.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
    QPushButton* accept = box.addButton(coreText(acceptTitle), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(accept);
    box.exec();
    return box.clickedButton() == accept;
}

std::optional<std::string> QtFileDialogs::saveFile(const std::string& suggested) {
    // A path: the dialog starts in its folder, as long as that is still there.
    const QFileInfo file(q(suggested));
    const bool path = suggested.find('/') != std::string::npos && file.dir().exists();
    QFileDialog dialog(QApplication::activeWindow(), QObject::tr("Save Score"),
                       path ? file.absolutePath() : startFolder());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QCoreApplication::translate("QtFileDialogs", kScoreFilters));
    // A name typed without an extension gets ".sorvel".
    dialog.setDefaultSuffix(QStringLiteral("sorvel"));
    dialog.selectFile(file.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtFileDialogs::openFile() {
    QFileDialog dialog(QApplication::activeWindow(), QObject::tr("Open Score"), startFolder());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QCoreApplication::translate("QtFileDialogs", kScoreFilters));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtFileDialogs::chooseFolder(const std::string& message) {
    const QString title = coreText(message);
    QFileDialog dialog(QApplication::activeWindow(), title, QDir::homePath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setLabelText(QFileDialog::LookIn, title);
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
