// qvscale-xls [SHEET]: the cells of an .xls workbook on standard input, one a line on standard
// output.
//
// libfreexl is not safe on every damaged file (fuzzing found it reading past its buffers), so it
// runs in this process of its own: whatever it does to this one, the program that asked only
// sees the file refused. Output, UTF-8, one record a line:
//   S name          each sheet of the book, in order, first
//   R row           a row of the sheet chosen, from 1, before its cells
//   C column text   a text cell, column from 0; \, line breaks and CRs escaped as \\, \n, \r
//   N column value  a number cell, with all 17 digits
//   X why           the book cannot be read: open, password, sheet or memory
#include <freexl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

constexpr std::size_t kMaxBytes = 64 << 20;  // as the program reads any list file
constexpr int kMaxColumns = 1000;

void Limit() {
    // Time and memory are the library's to run out of, not the machine's. Address sanitizers
    // reserve terabytes of address space, so they keep only the limit on time.
    rlimit cpu{10, 10};
    setrlimit(RLIMIT_CPU, &cpu);
#ifndef QVSCALE_SANITIZED
    rlimit memory{768 << 20, 768 << 20};
    setrlimit(RLIMIT_AS, &memory);
#endif
}

// The bytes of standard input in a file that lives in memory, for libfreexl opens only paths.
int ReadInput() {
    const int fd = memfd_create("xls", MFD_CLOEXEC);
    if (fd < 0) return -1;
    char buffer[1 << 16];
    std::size_t total = 0;
    for (ssize_t n; (n = read(STDIN_FILENO, buffer, sizeof buffer)) > 0;) {
        total += static_cast<std::size_t>(n);
        if (total > kMaxBytes || write(fd, buffer, static_cast<std::size_t>(n)) != n) return -1;
    }
    return fd;
}

void PutText(int column, const char* text) {
    std::string line = "C " + std::to_string(column) + " ";
    for (const char* c = text; *c; ++c) {
        if (*c == '\\')
            line += "\\\\";
        else if (*c == '\n')
            line += "\\n";
        else if (*c == '\r')
            line += "\\r";
        else
            line += *c;
    }
    std::puts(line.c_str());
}

void PutCell(int column, const FreeXL_CellValue& cell) {
    switch (cell.type) {
        case FREEXL_CELL_INT:
            std::printf("N %d %d\n", column, cell.value.int_value);
            break;
        case FREEXL_CELL_DOUBLE:
            std::printf("N %d %.17g\n", column, cell.value.double_value);
            break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            if (cell.value.text_value && *cell.value.text_value)
                PutText(column, cell.value.text_value);
            break;
        default:
            break;
    }
}

// The index of the sheet named, the first for none; -1 when the book has no such sheet.
int ChooseSheet(const void* book, const std::string& wanted) {
    unsigned int count = 0;
    if (freexl_get_info(book, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) return -1;
    int found = -1;
    for (unsigned int i = 0; i < count && i < 0xFFFF; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(book, static_cast<unsigned short>(i), &name) != FREEXL_OK)
            continue;
        const std::string shown = name ? name : "";
        std::printf("S %s\n", shown.c_str());
        if (found < 0 && (wanted.empty() || shown == wanted)) found = static_cast<int>(i);
    }
    return found;
}

int Read(const void* book, const std::string& sheet) {
    const int index = ChooseSheet(book, sheet);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (index < 0) {
        std::puts("X sheet");
        return 0;
    }
    if (freexl_select_active_worksheet(book, static_cast<unsigned short>(index)) != FREEXL_OK ||
        freexl_worksheet_dimensions(book, &rows, &columns) != FREEXL_OK) {
        std::puts("X open");
        return 0;
    }
    for (unsigned int r = 0; r < rows; ++r) {
        bool said = false;
        for (unsigned short c = 0; c < columns && c < kMaxColumns; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(book, r, c, &cell) != FREEXL_OK ||
                cell.type == FREEXL_CELL_NULL)
                continue;
            if (!said) std::printf("R %u\n", r + 1);
            said = true;
            PutCell(c, cell);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Limit();
    const int fd = ReadInput();
    if (fd < 0) {
        std::puts("X memory");
        return 0;
    }
    const void* book = nullptr;
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    const int opened = freexl_open(path.c_str(), &book);
    int status = 0;
    if (opened == FREEXL_BIFF_OBFUSCATED)
        std::puts("X password");
    else if (opened != FREEXL_OK)
        std::puts("X open");
    else
        status = Read(book, argc > 1 ? argv[1] : "");
    if (book) freexl_close(book);
    return status;
}
