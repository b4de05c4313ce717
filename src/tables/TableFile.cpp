// Table files on disk: the atomic write and the bounded read.
#include "TableFile.h"

#include <QFile>

#include "AtomicFile.h"

namespace tables {

bool WriteTableFile(const QString& path, const Table& table, int dataRows, QString& error) {
    return WriteFileWhole(
        path, [&] { return TableFileBytes(table, dataRows); }, error);
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
