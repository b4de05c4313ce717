// .xls workbooks, read by libfreexl in qvscale-xls, a process of its own (see its main.cpp):
// its lines become the sheet's rows here.
#include <QDeadlineTimer>
#include <QProcess>

#include "SheetFile.h"
#include "SheetReaders.h"
#include "SheetRows.h"
#include "WorkbookZip.h"

namespace tables {
namespace {

// A sheet of 65,535 rows takes the reader well under a second; a damaged book may take it into
// a loop.
constexpr int kReaderMs = 20'000;

std::string Unescaped(const QByteArray& text) {
    std::string cell;
    cell.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            cell += text[i];
            continue;
        }
        const char next = text[++i];
        cell += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return cell;
}

class ReaderLines {
  public:
    ReaderLines(const QString& sheet, const CsvRecordSink& onRow) : sheet_(sheet), row_(onRow) {}

    // Takes one line of the reader; false once the reading is over.
    bool Take(QByteArray line) {
        if (line.endsWith('\n')) line.chop(1);
        const QByteArray kind = line.left(2);
        const QByteArray rest = line.mid(2);
        if (kind == "S ") names_.push_back(QString::fromUtf8(rest));
        if (kind == "X ") failure_ = Failure(rest);
        if (kind == "R ") {
            if (line_ > 0 && !row_.End(line_)) return false;
            line_ = rest.toInt();
        }
        if (kind == "C " || kind == "N ") {
            const qsizetype space = rest.indexOf(' ');
            const int column = rest.left(space).toInt();
            const QByteArray value = rest.mid(space + 1);
            row_.Put(column, kind == "N " ? ShownNumber(value.toStdString()) : Unescaped(value));
        }
        return failure_.empty() && !row_.Stopped();
    }

    // Why the sheet was not read, or nothing once its last row is handed on.
    std::string Finish(bool readerEnded) {
        if (failure_.empty() && line_ > 0 && !row_.Stopped()) row_.End(line_);
        if (!failure_.empty()) return failure_;
        if (!row_.Refusal().empty()) return row_.Refusal();
        if (!readerEnded && !row_.Stopped()) return NoWorkbook(".xls");
        return {};
    }

  private:
    std::string Failure(const QByteArray& why) const {
        if (why == "password") return "Книга .xls защищена паролем: сохраните её без пароля";
        if (why == "sheet") return NoSheetNamed(sheet_, names_);
        if (why == "memory") return "Файл не прочитан: не хватило памяти";
        return NoWorkbook(".xls");
    }

    const QString& sheet_;
    SheetRow row_;
    QStringList names_;
    std::string failure_;
    int line_ = 0;
};

}  // namespace

std::string ForEachXlsRow(const std::string& bytes, const QString& sheet,
                          const CsvRecordSink& onRow) {
    QProcess reader;
    reader.start(HelperProgram(QStringLiteral("qvscale-xls")),
                 sheet.isEmpty() ? QStringList() : QStringList{sheet});
    if (!reader.waitForStarted())
        return "Книга .xls не прочитана: нет программы " +
               HelperProgram(QStringLiteral("qvscale-xls")).toStdString();
    const QDeadlineTimer deadline(kReaderMs);
    reader.write(bytes.data(), static_cast<qint64>(bytes.size()));
    while (reader.bytesToWrite() > 0 && reader.waitForBytesWritten(deadline.remainingTime())) {
    }
    reader.closeWriteChannel();
    ReaderLines lines(sheet, onRow);
    bool reading = true;
    while (reading) {
        while (reading && reader.canReadLine()) reading = lines.Take(reader.readLine());
        if (!reading || reader.state() == QProcess::NotRunning) break;
        if (!reader.waitForReadyRead(deadline.remainingTime()) && deadline.hasExpired()) break;
    }
    const bool ended = reading && reader.state() == QProcess::NotRunning &&
                       reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0;
    if (reader.state() != QProcess::NotRunning) {
        reader.kill();
        reader.waitForFinished();
    }
    return lines.Finish(ended);
}

}  // namespace tables
