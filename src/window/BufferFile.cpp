#include "BufferFile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace {

// Qt gives the system's reason only as English text, so it is read from errno after the call.
QString FailureCause(int error, const QString& path) {
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
            return QStringLiteral("Папка не существует");
        default:
            break;
    }
    // Qt refuses a folder's own name without a system call.
    if (QFileInfo(path).isDir()) return QStringLiteral("Это имя папки, а не файла");
    return QStringLiteral("Ошибка ввода-вывода %1").arg(error);
}

bool Failed(const QString& path, QString& cause) {
    cause = FailureCause(errno, path);
    return false;
}

}  // namespace

bool SaveBytesFile(const QString& path, const std::function<std::string()>& takeBytes,
                   QString& cause) {
    // Unbuffered, so errno belongs to the call that failed.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return Failed(path, cause);
    const std::string bytes = takeBytes();
    const auto size = static_cast<qint64>(bytes.size());
    errno = 0;
    if (file.write(bytes.data(), size) != size) return Failed(path, cause);
    errno = 0;
    if (!file.commit()) return Failed(path, cause);
    cause.clear();
    return true;
}
