#include "KnownJournal.h"

#include <fcntl.h>
#include <unistd.h>

#include <QString>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "AtomicFile.h"
#include "TableFile.h"

namespace jobs {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr char kChecksumMark = '#';

// FNV-1a: enough to tell a torn or zero-filled tail from a written one; nothing here guards
// against a forger.
std::uint64_t Checksum(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string ChecksumLine(const std::string& cells) {
    char line[24];
    std::snprintf(line, sizeof line, "%c%016llx", kChecksumMark,
                  static_cast<unsigned long long>(Checksum(cells)));
    return line;
}

// The next CR LF-ended line at `at`; false when the bytes end before its line end.
bool NextLine(const std::string& bytes, std::size_t& at, std::string& line) {
    const std::size_t end = bytes.find(kLineEnd, at);
    if (end == std::string::npos) return false;
    line = bytes.substr(at, end - at);
    at = end + 2;
    return true;
}

std::string CellsBytes(const tables::Row& record) {
    std::string bytes;
    for (const std::string& cell : record) bytes += cell + kLineEnd;
    return bytes;
}

// The cause is read before fd, when one is given, is closed: the close may set errno again.
bool Failed(const std::string& path, std::string& error, int fd = -1) {
    error = tables::WriteFailureCause(errno, QString::fromStdString(path)).toStdString();
    if (fd >= 0) ::close(fd);
    return false;
}

}  // namespace

std::string JournalPath(const std::string& knownPath) {
    return knownPath + ".journal";
}

std::string JournalEntry(const tables::Row& record) {
    const std::string cells = CellsBytes(record);
    return cells + ChecksumLine(cells) + kLineEnd;
}

std::vector<tables::Row> ReadJournal(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<tables::Row> records;
    if (!in) return records;
    // A journal holds at most one entry per record a table file holds; anything longer is not
    // ours to trust.
    in.seekg(0, std::ios::end);
    if (in.tellg() > tables::kMaxTableFileBytes * 2) return records;
    in.seekg(0);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::size_t at = 0;
    for (;;) {
        tables::Row record;
        for (std::string& cell : record)
            if (!NextLine(bytes, at, cell)) return records;
        std::string checksum;
        if (!NextLine(bytes, at, checksum) || checksum != ChecksumLine(CellsBytes(record)))
            return records;
        records.push_back(std::move(record));
    }
}

bool AppendJournal(const std::string& path, const std::vector<tables::Row>& records,
                   std::string& error) {
    std::string bytes;
    for (const tables::Row& record : records) bytes += JournalEntry(record);
    errno = 0;
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return Failed(path, error);
    std::size_t written = 0;
    while (written < bytes.size()) {
        errno = 0;
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Failed(path, error, fd);
        written += static_cast<std::size_t>(n);
    }
    errno = 0;
    // The folder is not synced: a journal whose name a power cut loses costs its claims and
    // never makes one.
    if (::fsync(fd) != 0) return Failed(path, error, fd);
    ::close(fd);
    error.clear();
    return true;
}

}  // namespace jobs
