// Clipboard text pasted into a list, undone, and copied back out.

#include "CellBlocks.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Check.h"
#include "RowsEdit.h"
#include "Table.h"

using tables::Row;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte picks the current cell; the rest is the clipboard's text.
    const int col = data[0] % tables::kColumns;
    const int row = 1 + (data[0] / tables::kColumns) % 4;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    tables::Table list;
    tables::MakeNewList(list, tables::ListKind::Plu);
    tables::AddRow(list);
    const tables::Table before = list;
    const tables::Block block = tables::ParseBlock(text);
    const tables::Paste paste = tables::PasteBlock(list, col, row, block);
    FUZZ_CHECK(paste.rows + paste.rowsCut == static_cast<int>(block.size()));
    tables::SpliceRows(list, paste.edit.first, static_cast<int>(paste.edit.before.size()),
                       paste.edit.after);

    // The titles and the marker row that ends the list are never written.
    FUZZ_CHECK(list.RowAt(0) == before.RowAt(0));
    FUZZ_CHECK(list.RowAt(list.RowCount() - 1) == (Row{tables::kEndMarker}));
    FUZZ_CHECK(list.RowCount() >= before.RowCount());
    for (int r = 0; r < list.RowCount(); ++r)
        for (int c = 0; c < tables::kColumns; ++c)
            FUZZ_CHECK(list.Cell(c, r).find_first_of("\r\n") == std::string::npos);

    // Copied out and parsed again, every cell comes back as it is.
    const tables::CellRange all{0, tables::kColumns - 1, 1, list.RowCount() - 1};
    const tables::Block copied = tables::ParseBlock(tables::FormatBlock(list, all));
    FUZZ_CHECK(static_cast<int>(copied.size()) == list.RowCount() - 1);
    for (std::size_t r = 0; r < copied.size(); ++r) {
        const Row& cells = list.RowAt(static_cast<int>(r) + 1);
        FUZZ_CHECK(copied[r] == std::vector<std::string>(cells.begin(), cells.end()));
    }

    // One undo gives the list back.
    tables::SpliceRows(list, paste.edit.first, static_cast<int>(paste.edit.after.size()),
                       paste.edit.before);
    for (int r = 0; r < before.RowCount(); ++r) FUZZ_CHECK(list.RowAt(r) == before.RowAt(r));
    FUZZ_CHECK(list.RowCount() == before.RowCount());
    return 0;
}
