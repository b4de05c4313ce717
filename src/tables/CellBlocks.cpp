#include "CellBlocks.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "TableFile.h"

namespace tables {

namespace {

bool EndsCell(std::string_view text, std::size_t i) {
    return i == text.size() || text[i] == '\t' || text[i] == '\r' || text[i] == '\n';
}

// The quoted cell opening at `at`: its text, and where it ends. None when no quote closes it
// right before a tab, a line end or the end of the text.
std::optional<std::pair<std::string, std::size_t>> QuotedCell(std::string_view text,
                                                              std::size_t at) {
    std::string cell;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        if (text[i] != '"') {
            cell += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '"') {
            cell += '"';
            ++i;
        } else {
            if (!EndsCell(text, i + 1)) return std::nullopt;
            return std::pair{std::move(cell), i + 1};
        }
    }
    return std::nullopt;
}

}  // namespace

Block ParseBlock(std::string_view text) {
    Block block;
    std::vector<std::string> row(1);
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '"' && row.back().empty()) {
            if (auto quoted = QuotedCell(text, i)) {
                row.back() = std::move(quoted->first);
                i = quoted->second;
                continue;
            }
        }
        const char c = text[i++];
        if (c == '\t') {
            row.emplace_back();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i < text.size() && text[i] == '\n') ++i;
            block.push_back(std::move(row));
            row.assign(1, std::string());
        } else {
            row.back() += c;
        }
    }
    if (row.size() > 1 || !row.back().empty()) block.push_back(std::move(row));
    return block;
}

std::string FormatBlock(const Table& table, const CellRange& range) {
    std::string text;
    for (int r = range.firstRow; r <= range.lastRow; ++r) {
        for (int c = range.firstCol; c <= range.lastCol; ++c) {
            if (c > range.firstCol) text += '\t';
            const std::string& cell = table.Cell(c, r);
            if (cell.find('\t') == std::string::npos && (cell.empty() || cell[0] != '"')) {
                text += cell;
                continue;
            }
            text += '"';
            for (const char ch : cell) text += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            text += '"';
        }
        text += '\n';
    }
    return text;
}

int EditableEnd(const Table& table) {
    const int last = table.RowCount() - 1;
    return last >= 1 && table.Cell(kNumberColumn, last) == kEndMarker ? last : table.RowCount();
}

Paste PasteBlock(const Table& table, int col, int row, const Block& block) {
    const int end = EditableEnd(table);
    Paste paste;
    paste.edit.first = std::clamp(row, 1, end);
    const int overwritten = std::min(static_cast<int>(block.size()), end - paste.edit.first);
    const int room = std::max(0, static_cast<int>(kMaxTableRecords) - (end - 1));
    paste.rows = std::min(static_cast<int>(block.size()), overwritten + room);
    paste.rowsCut = static_cast<int>(block.size()) - paste.rows;
    for (int i = 0; i < overwritten; ++i)
        paste.edit.before.push_back(table.RowAt(paste.edit.first + i));
    paste.edit.after = paste.edit.before;
    paste.edit.after.resize(static_cast<std::size_t>(paste.rows));
    for (std::size_t i = 0; i < paste.edit.after.size(); ++i) {
        const auto& cells = block[i];
        const int fits = std::max(0, std::min(static_cast<int>(cells.size()), kColumns - col));
        paste.columnsCut = std::max(paste.columnsCut, static_cast<int>(cells.size()) - fits);
        for (int k = 0; k < fits; ++k) paste.edit.after[i][col + k] = OneLine(cells[k]);
    }
    return paste;
}

RowsEdit ClearCells(const Table& table, const CellRange& range) {
    RowsEdit edit;
    edit.first = std::max(range.firstRow, 1);
    const int last = std::min(range.lastRow, EditableEnd(table) - 1);
    for (int r = edit.first; r <= last; ++r) edit.before.push_back(table.RowAt(r));
    edit.after = edit.before;
    for (Row& row : edit.after)
        for (int c = range.firstCol; c <= range.lastCol; ++c) row[c].clear();
    return edit;
}

}  // namespace tables
