// A list as an .xlsx workbook, made by qvscale-xlsx (libxlsxwriter in a process of its own) in
// a temporary folder, then written whole under its name.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

#include "AtomicFile.h"
#include "CodePage1251.h"
#include "SheetFile.h"

namespace tables {
namespace {

// A cell the sheet shows as a number: digits only, no leading zero that a number would lose.
bool IsWholeNumber(const std::string& cell) {
    return !cell.empty() && cell.size() <= 15 &&
           cell.find_first_not_of("0123456789") == std::string::npos &&
           (cell.size() == 1 || cell[0] != '0');
}

std::string WriterInput(const Table& table, ListKind kind, int rows) {
    std::string input;
    for (const std::string& title : TitlesOf(kind)) input += "s" + Cp1251ToUtf8(title) + "\n";
    for (int r = 1; r <= rows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const std::string& cell = table.Cell(c, r);
            input += IsWholeNumber(cell) ? "n" : "s";
            input += Cp1251ToUtf8(OneLine(cell)) + "\n";
        }
    }
    return input;
}

}  // namespace

bool WriteXlsxFile(const QString& path, const Table& table, ListKind kind, int dataRows,
                   QString& error) {
    const int rows = std::clamp(dataRows, 0, std::max(table.RowCount() - 1, 0));
    QTemporaryDir dir;
    const QString made = dir.filePath(QStringLiteral("list.xlsx"));
    QProcess writer;
    writer.start(HelperProgram(QStringLiteral("qvscale-xlsx")), {made});
    const std::string input = WriterInput(table, kind, rows);
    writer.write(input.data(), static_cast<qint64>(input.size()));
    writer.closeWriteChannel();
    QFile book(made);
    if (!dir.isValid() || !writer.waitForFinished(60'000) ||
        writer.exitStatus() != QProcess::NormalExit || writer.exitCode() != 0 ||
        !book.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("книга не собрана (") +
                HelperProgram(QStringLiteral("qvscale-xlsx")) + QStringLiteral(" не отработал)");
        return false;
    }
    return WriteFileWhole(
        path, [&] { return book.readAll().toStdString(); }, error);
}

}  // namespace tables
