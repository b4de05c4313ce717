// Table files on disk: the atomic write and the bounded read.
#include "TableFile.h"

#include <cerrno>

#include <QFile>
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

bool WriteTableFile(const QString& path, const Table& table, int dataRows, QString& error) {
    const std::string bytes = TableFileBytes(table, dataRows);
    const auto size = static_cast<qint64>(bytes.size());
    // Unbuffered, so the system call that fails is the last one made before errno is read.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return Failed(path, error);
    errno = 0;
    // A short count with no error set is how a full disk shows; the temporary file is dropped
    // when `file` goes, leaving the earlier file as it was.
    if (file.write(bytes.data(), size) != size) return Failed(path, error);
    errno = 0;
    if (!file.commit()) return Failed(path, error);
    error.clear();
    return true;
}

ReadResult ReadTableFile(const QString& path, std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return ReadResult::CannotOpen;
    const qint64 size = file.size();
    if (size > kMaxTableFileBytes) return ReadResult::TooLarge;
    std::string content(static_cast<std::size_t>(size), '\0');
    const qint64 got = file.read(content.data(), size);
    if (got < 0) return ReadResult::CannotOpen;
    content.resize(static_cast<std::size_t>(got));
    // A pipe or a special file tells no size, and a file may grow: read on to its end.
    char more[64 * 1024];
    qint64 count = 0;
    while ((count = file.read(more, sizeof more)) > 0) {
        if (static_cast<qint64>(content.size()) + count > kMaxTableFileBytes) {
            return ReadResult::TooLarge;
        }
        content.append(more, static_cast<std::size_t>(count));
    }
    if (count < 0) return ReadResult::CannotOpen;
    bytes = std::move(content);
    return ReadResult::Ok;
}

}  // namespace tables
