// .xls workbooks, read by libfreexl. It opens only paths, so the bytes are handed to it as a
// file that lives in memory.
#include <freexl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "SheetFile.h"
#include "SheetReaders.h"
#include "SheetRows.h"
#include "WorkbookZip.h"

namespace tables {
namespace {

class MemoryFile {
  public:
    explicit MemoryFile(const std::string& bytes) : fd_(memfd_create("xls", MFD_CLOEXEC)) {
        std::size_t written = 0;
        while (fd_ >= 0 && written < bytes.size()) {
            const ssize_t n = write(fd_, bytes.data() + written, bytes.size() - written);
            if (n <= 0) break;
            written += static_cast<std::size_t>(n);
        }
        ok_ = fd_ >= 0 && written == bytes.size();
    }
    ~MemoryFile() {
        if (fd_ >= 0) close(fd_);
    }
    bool Ok() const { return ok_; }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

  private:
    int fd_;
    bool ok_ = false;
};

class Workbook {
  public:
    explicit Workbook(const std::string& path) : opened_(freexl_open(path.c_str(), &handle_)) {}
    ~Workbook() {
        if (handle_) freexl_close(handle_);
    }
    int Opened() const { return opened_; }
    const void* Handle() const { return handle_; }

  private:
    const void* handle_ = nullptr;
    int opened_;
};

std::string CellShown(const FreeXL_CellValue& cell) {
    switch (cell.type) {
        case FREEXL_CELL_INT:
            return std::to_string(cell.value.int_value);
        case FREEXL_CELL_DOUBLE:
            return ShownNumber(cell.value.double_value);
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            return cell.value.text_value ? cell.value.text_value : "";
        default:
            return {};
    }
}

// The index of the sheet named, the first for none; -1 when the book has no such sheet.
int SheetIndex(const void* book, const QString& sheet, QStringList& names) {
    unsigned int count = 0;
    if (freexl_get_info(book, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) return -1;
    int found = -1;
    for (unsigned int i = 0; i < count && i < 0xFFFF; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(book, static_cast<unsigned short>(i), &name) != FREEXL_OK)
            continue;
        names.push_back(QString::fromUtf8(name ? name : ""));
        if (found < 0 && (sheet.isEmpty() || names.back() == sheet)) found = static_cast<int>(i);
    }
    return found;
}

}  // namespace

std::string ForEachXlsRow(const std::string& bytes, const QString& sheet,
                          const CsvRecordSink& onRow) {
    const MemoryFile file(bytes);
    if (!file.Ok()) return "Файл не прочитан: не хватило памяти";
    const Workbook book(file.Path());
    if (book.Opened() == FREEXL_BIFF_OBFUSCATED)
        return "Книга .xls защищена паролем: сохраните её без пароля";
    if (book.Opened() != FREEXL_OK) return NoWorkbook(".xls");
    QStringList names;
    const int index = SheetIndex(book.Handle(), sheet, names);
    if (index < 0) return NoSheetNamed(sheet, names);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(book.Handle(), static_cast<unsigned short>(index)) !=
            FREEXL_OK ||
        freexl_worksheet_dimensions(book.Handle(), &rows, &columns) != FREEXL_OK)
        return NoWorkbook(".xls");
    SheetRow row(onRow);
    for (unsigned int r = 0; r < rows && !row.Stopped(); ++r) {
        for (unsigned short c = 0; c < columns && c < kMaxSheetColumns; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(book.Handle(), r, c, &cell) == FREEXL_OK)
                row.Put(c, CellShown(cell));
        }
        row.End(static_cast<int>(r) + 1);
    }
    return {};
}

}  // namespace tables
