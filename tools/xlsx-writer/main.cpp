// qvscale-xlsx PATH: writes the list on standard input as an .xlsx workbook at PATH.
//
// libxlsxwriter carries its own zip library under the same names as the one QuaZip builds in,
// so the two cannot share a process: the program that reads workbooks writes them through this
// one. Input: one cell a line in UTF-8, nine a row, the titles first; each line starts with 'n'
// for a number or 's' for text.
#include <xlsxwriter.h>

#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: qvscale-xlsx PATH < cells\n";
        return 2;
    }
    lxw_workbook* book = workbook_new(argv[1]);
    if (!book) return 1;
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    constexpr int kColumns = 9;
    std::string line;
    for (lxw_row_t cell = 0; std::getline(std::cin, line); ++cell) {
        const lxw_row_t row = cell / kColumns;
        const auto column = static_cast<lxw_col_t>(cell % kColumns);
        if (line.empty()) continue;
        const std::string text = line.substr(1);
        if (line[0] == 'n')
            worksheet_write_number(sheet, row, column, std::strtod(text.c_str(), nullptr),
                                   row == 0 ? bold : nullptr);
        else if (!text.empty())
            worksheet_write_string(sheet, row, column, text.c_str(), row == 0 ? bold : nullptr);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    worksheet_set_column(sheet, 1, 2, 30, nullptr);
    return workbook_close(book) == LXW_NO_ERROR ? 0 : 1;
}
