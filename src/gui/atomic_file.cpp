#include "atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QSaveFile>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>

namespace sorvel::gui {
namespace {

// Why writing `needed` bytes to path failed, from the error number of the failing call (0
// when unknown), what the file system says, and Qt's words as the last resort. The disk is
// named full only when it is: a read-only or pseudo file system has no free space either.
QString failureReason(const QString& path, int error, qint64 needed, const QString& qtReason) {
    if (error == EROFS) return QObject::tr("read-only file system");
    if (error == EACCES || error == EPERM) return QObject::tr("permission denied");
    const QFileInfo file(path);
    const QStorageInfo volume(file.absolutePath());
    if (error == ENOSPC || error == EDQUOT) {
        return QObject::tr("the disk is full (%1 bytes needed, %2 free).")
            .arg(QString::number(needed), QString::number(volume.bytesAvailable()));
    }
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir()) return QObject::tr("no such folder");
    if (!volume.isValid()) return qtReason;
    if (volume.bytesTotal() <= 0) {
        return QObject::tr("the folder is not on a disk (%1 file system)")
            .arg(QString::fromLatin1(volume.fileSystemType()));
    }
    if (volume.isReadOnly()) return QObject::tr("read-only file system");
    if (!folder.isWritable() || (file.exists() && !file.isWritable()))
        return QObject::tr("permission denied");
    if (volume.bytesAvailable() >= 0 && volume.bytesAvailable() < needed) {
        return QObject::tr("the disk is full (%1 bytes needed, %2 free).")
            .arg(QString::number(needed), QString::number(volume.bytesAvailable()));
    }
    return qtReason;
}

std::optional<QString> write(const QString& path, const std::function<bool(QIODevice&)>& fill,
                             qint64 size) {
    // Replacing a device or a pipe with a regular file would break the system, not save.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return QObject::tr("not a regular file");
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        return failureReason(path, errno, size, file.errorString());
    }
    errno = 0;
    if (!fill(file)) {
        // The error number tells only when the file itself failed.
        const int error = file.error() == QFileDevice::NoError ? 0 : errno;
        const QString why = file.errorString();
        const qint64 needed = std::max(size, file.pos());
        file.cancelWriting();
        return failureReason(path, error, needed, why);
    }
    const qint64 needed = std::max(size, file.pos());
    errno = 0;
    if (!file.commit()) return failureReason(path, errno, needed, file.errorString());
    return std::nullopt;
}

}  // namespace

std::optional<QString> writeFileAtomically(const QString& path,
                                           const std::function<bool(QIODevice&)>& fill) {
    return write(path, fill, 0);
}

std::optional<QString> writeFileAtomically(const QString& path, std::string_view bytes) {
    const auto size = static_cast<qint64>(bytes.size());
    return write(
        path, [&](QIODevice& file) { return file.write(bytes.data(), size) == size; }, size);
}

}  // namespace sorvel::gui
