// Writing a file whole or not at all.
#include "AtomicFile.h"

#include <cerrno>

#include <QFileInfo>
#include <QSaveFile>

namespace tables {
namespace {

// The operator's words for why a file could not be written. Qt reports the system's reason only
// as English text, so the cause is taken from errno right after the call that failed.
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
    // Qt refuses a folder's name itself, without a system call.
    if (QFileInfo(path).isDir()) return WriteFailureCause(EISDIR, path);
    if (error == 0) return QStringLiteral("Ошибка записи");
    return QStringLiteral("Ошибка ввода-вывода %1").arg(error);
}

bool Failed(const QString& path, QString& error) {
    error = WriteFailureCause(errno, path);
    return false;
}

}  // namespace

bool WriteFileWhole(const QString& path, const std::function<std::string()>& takeBytes,
                    QString& error) {
    // Unbuffered, so the system call that fails is the last one made before errno is read.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return Failed(path, error);
    const std::string bytes = takeBytes();
    const auto size = static_cast<qint64>(bytes.size());
    errno = 0;
    // A short count with no error set is how a full disk shows; the temporary file is dropped
    // when `file` goes, leaving the earlier file as it was.
    if (file.write(bytes.data(), size) != size) return Failed(path, error);
    errno = 0;
    if (!file.commit()) return Failed(path, error);
    error.clear();
    return true;
}

}  // namespace tables
