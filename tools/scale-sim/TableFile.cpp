#include "TableFile.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "ScaleText.h"
#include "VirtualScale.h"

namespace sim {

namespace {

constexpr char kEndMarker[] = "***";

// A cell's integer: leading spaces, an optional sign, decimal digits, within [lo, hi].
long long Number(const std::string& cell, long long lo, long long hi, const char* what) {
    const std::size_t start = cell.find_first_not_of(' ');
    const char* text = start == std::string::npos ? "" : cell.c_str() + start;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    const bool digits = end != text && *end == '\0' &&
                        (text[0] == '-' || text[0] == '+' || (text[0] >= '0' && text[0] <= '9'));
    if (!digits || errno == ERANGE || v < lo || v > hi)
        throw std::runtime_error(std::string("bad ") + what + ": \"" + cell + "\"");
    return v;
}

std::uint16_t Word(const std::string& cell, const char* what) {
    return static_cast<std::uint16_t>(Number(cell, 0, 65535, what));
}

std::int32_t Long(const std::string& cell, const char* what) {
    return static_cast<std::int32_t>(Number(cell, INT32_MIN, INT32_MAX, what));
}

std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path + ": cannot open");
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace

TableKind KindOfFile(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    std::string ext = dot == std::string::npos ? "" : path.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".plu" || ext == ".plw") return TableKind::Plu;
    if (ext == ".msg") return TableKind::Message;
    throw std::runtime_error(path + ": not a .plu, .plw or .msg file");
}

std::vector<Row> ParseTable(const std::string& content) {
    const std::vector<std::string> lines = SplitLines(content);
    std::vector<Row> rows;
    std::size_t i = 0;
    for (; i < lines.size() && lines[i] != kEndMarker; i += 9) {
        if (i + 9 > lines.size())
            throw std::runtime_error("line " + std::to_string(i + 1) + ": record cut short");
        Row row;
        for (std::size_t c = 0; c < 9; ++c) row[c] = lines[i + c];
        rows.push_back(row);
    }
    if (i >= lines.size()) throw std::runtime_error("no \"***\" end marker");
    return rows;
}

std::string FormatTable(const std::vector<Row>& rows) {
    std::string out;
    for (const Row& row : rows)
        for (const std::string& cell : row) out += cell + "\r\n";
    return out + kEndMarker + "\r\n";
}

PluRecord PluFromRow(const Row& row) {
    PluRecord r;
    r.plu = static_cast<std::uint16_t>(Number(row[0], 1, kMaxPluNumber, "PLU number"));
    r.name1 = NameLineFromText(row[1]);
    r.name2 = NameLineFromText(row[2]);
    r.price = Long(row[3], "price");
    r.shelfLife = Word(row[4], "shelf life");
    r.tare = Word(row[5], "tare");
    r.itemCode = Long(row[6], "item code");
    r.group = Word(row[7], "group");
    r.message = Word(row[8], "message number");
    return r;
}

Row RowFromPlu(const PluRecord& r) {
    return {std::to_string(r.plu),      TextFromNameLine(r.name1),   TextFromNameLine(r.name2),
            std::to_string(r.price),    std::to_string(r.shelfLife), std::to_string(r.tare),
            std::to_string(r.itemCode), std::to_string(r.group),     std::to_string(r.message)};
}

Message MessageFromRow(const Row& row) {
    Message m;
    m.number = static_cast<std::uint16_t>(Number(row[0], 1, kMaxMessageNumber, "message number"));
    for (std::size_t k = 0; k < kMessageLines; ++k) m.lines[k] = MessageLineFromText(row[k + 1]);
    return m;
}

Row RowFromMessage(const Message& m) {
    Row row;
    row[0] = std::to_string(m.number);
    for (std::size_t k = 0; k < kMessageLines; ++k) row[k + 1] = TextFromMessageLine(m.lines[k]);
    return row;
}

void LoadTableFile(VirtualScale& scale, const std::string& path) {
    const TableKind kind = KindOfFile(path);
    std::vector<PluRecord> plus;
    std::vector<Message> messages;
    std::size_t record = 0;
    bool parsed = false;
    try {
        const std::vector<Row> rows = ParseTable(ReadFile(path));
        parsed = true;
        // Every row is checked before the scale holds any of them.
        for (; record < rows.size(); ++record) {
            if (kind == TableKind::Plu)
                plus.push_back(PluFromRow(rows[record]));
            else
                messages.push_back(MessageFromRow(rows[record]));
        }
    } catch (const std::runtime_error& e) {
        const std::string where = parsed ? "record " + std::to_string(record + 1) + ": " : "";
        throw std::runtime_error(path + ": " + where + e.what());
    }
    for (const PluRecord& r : plus) scale.PutPlu(r);
    for (const Message& m : messages) scale.PutMessage(m);
}

void SaveTableFile(const VirtualScale& scale, const std::string& path) {
    std::vector<Row> rows;
    if (KindOfFile(path) == TableKind::Plu)
        for (const PluRecord& r : scale.Plus()) rows.push_back(RowFromPlu(r));
    else
        for (const Message& m : scale.Messages()) rows.push_back(RowFromMessage(m));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << FormatTable(rows);
    out.close();
    if (!out) throw std::runtime_error(path + ": cannot write");
}

}  // namespace sim
