#pragma once
// A sheet's row put together cell by cell and handed on in code page 1251.

#include <QStringView>
#include <QXmlStreamAttributes>
#include <string>
#include <vector>

#include "CsvRecords.h"

namespace tables {

// Columns past this many are not read, as in CSV files: no list has them.
constexpr int kMaxSheetColumns = 1000;

// Rows and cells a sheet may hold, the empty ones and those an .ods repeats too: a sheet of
// millions of them would take many seconds to walk, and no list is like it.
constexpr int kMaxSheetElements = 3'000'000;
// A cell's text past this many bytes is dropped: no cell of a list is so long.
constexpr std::size_t kMaxCellBytes = 64 * 1024;

class SheetRow {
  public:
    explicit SheetRow(const CsvRecordSink& onRow) : onRow_(onRow) {}

    // column counts from 0; a cell past kMaxSheetColumns is dropped. Each counts as Walk does.
    void Put(int column, const std::string& utf8);
    // Hands the row on when a cell holds something, and starts the next; false once onRow
    // stopped the reading.
    bool End(int line);
    bool Stopped() const { return stopped_; }
    // Counts a row or a cell of the file, empty or not; false, stopping the reading, once they
    // are more than kMaxSheetElements.
    bool Walk();
    // Why the reading stopped when it was for the sheet's size; empty otherwise.
    std::string Refusal() const;

  private:
    const CsvRecordSink& onRow_;
    std::vector<std::string> cells_;
    bool stopped_ = false;
    int walked_ = 0;
};

// The value of an attribute by its local name, whatever its namespace prefix; empty when none.
QString AttributeOf(const QXmlStreamAttributes& attributes, QLatin1String name);
// The same as a view into attributes, for the cells read by the million.
QStringView AttributeView(const QXmlStreamAttributes& attributes, QLatin1String name);

// "B7" -> 1: the column of a cell reference, from 0; -1 when it names none.
int ColumnOfReference(const QStringView reference);

}  // namespace tables
