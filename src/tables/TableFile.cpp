// Table files on disk: the atomic write and the bounded read.
#include "TableFile.h"

#include <QFile>
#include <algorithm>

#include "AtomicFile.h"

namespace tables {

namespace {
// Bytes looked at for control characters, and how rare they are in any text.
constexpr std::size_t kTextSample = 64 * 1024;
constexpr std::size_t kControlsPerText = 16;

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n';
}
}  // namespace

bool LooksBinary(std::string_view bytes) {
    const std::string_view sample = bytes.substr(0, kTextSample);
    const auto controls =
        static_cast<std::size_t>(std::count_if(sample.begin(), sample.end(), IsControl));
    return bytes.find('\0') != std::string_view::npos ||
           controls * kControlsPerText > sample.size();
}

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
