// Writing a file whole or not at all.
#include "AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

namespace tables {

// Qt reports the system's reason only as English text, so the cause is taken from errno.
QString WriteFailureCause(int error, const QString& path) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("Диск переполнен");
        case EACCES:
        case EPERM:
            return QStringLiteral("Доступ запрещён");
        case EROFS:
            return QStringLiteral("Диск защищён от записи");
        case ENOENT:
        case ENOTDIR:
            // A folder that exists but takes no new files (such as one under /proc) says so.
            if (QFileInfo(path).absoluteDir().exists()) return WriteFailureCause(EACCES, path);
            return QStringLiteral("Папка не существует");
        case EISDIR:
            return QStringLiteral("Это имя папки, а не файла");
        case ENAMETOOLONG:
            return QStringLiteral("Слишком длинное имя файла");
        case EFBIG:
            return QStringLiteral("Файл слишком велик");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("Открыто слишком много файлов");
        default:
            break;
    }
    if (QFileInfo(path).isDir()) return WriteFailureCause(EISDIR, path);
    if (error == 0) return QStringLiteral("Ошибка записи");
    return QStringLiteral("Ошибка ввода-вывода %1").arg(error);
}

namespace {

bool Failed(const QString& path, QString& error) {
    error = WriteFailureCause(errno, path);
    return false;
}

// A save in progress writes "<name>.<pid>.qvscale-save" beside the file and renames it over the
// file once whole, so a save killed at any point leaves the earlier file or the new one.
const QString kTempSuffix = QStringLiteral(".qvscale-save");

QString TempPathOf(const QString& path, qint64 pid) {
    return QStringLiteral("%1.%2%3").arg(path).arg(pid).arg(kTempSuffix);
}

// Temporaries of this file left by saves whose process is gone (killed, or the power cut).
void RemoveStaleTemporaries(const QString& path) {
    const QFileInfo info(path);
    const QString prefix = info.fileName() + QLatin1Char('.');
    const QDir dir = info.absoluteDir();
    for (const QString& name : dir.entryList({prefix + QStringLiteral("*") + kTempSuffix},
                                             QDir::Files | QDir::Hidden | QDir::System)) {
        // A 64-bit pid from our own file name, not a typed number.
        bool isPid = false;
        const qint64 pid = name.mid(prefix.size(), name.size() - prefix.size() - kTempSuffix.size())
                               .toLongLong(&isPid);
        if (isPid && pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            QFile::remove(dir.filePath(name));
    }
}

// The file a save replaces: a link's target, so the link stays a link.
QString TargetOf(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

// A rename or an unlink is durable only once the folder holding the name is synced.
bool SyncFolderOf(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    const int cause = errno;
    ::close(fd);
    errno = cause;
    return synced;
}

}  // namespace

bool WriteFileWhole(const QString& path, const std::function<std::string()>& takeBytes,
                    QString& error) {
    // A folder's name would fail only at the rename, after the bytes were taken.
    if (QFileInfo(path).isDir()) {
        error = WriteFailureCause(EISDIR, path);
        return false;
    }
    const QString target = TargetOf(path);
    RemoveStaleTemporaries(target);
    const QString temp = TempPathOf(target, QCoreApplication::applicationPid());
    QFile::remove(temp);
    // Unbuffered, so the system call that fails is the last one made before errno is read.
    QFile file(temp);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return Failed(path, error);
    const auto dropTemp = [&] {
        const int cause = errno;
        file.remove();
        errno = cause;
        return Failed(path, error);
    };
    if (QFile::exists(target)) file.setPermissions(QFile::permissions(target));
    const std::string bytes = takeBytes();
    const auto size = static_cast<qint64>(bytes.size());
    errno = 0;
    // A short count with no error set is how a full disk shows.
    if (file.write(bytes.data(), size) != size) return dropTemp();
    errno = 0;
    if (::fsync(file.handle()) != 0) return dropTemp();
    file.close();
    errno = 0;
    if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0)
        return dropTemp();
    errno = 0;
    if (!SyncFolderOf(target)) return Failed(path, error);
    error.clear();
    return true;
}

bool RemoveFileDurably(const QString& path, QString& error) {
    errno = 0;
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        return Failed(path, error);
    errno = 0;
    if (!SyncFolderOf(path) && errno != ENOENT) return Failed(path, error);
    error.clear();
    return true;
}

}  // namespace tables
