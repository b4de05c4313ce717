// .ods workbooks: the tables of content.xml, rows and cells repeated as the file counts them.
#include <algorithm>
#include <utility>
#include <vector>

#include "SheetFile.h"
#include "SheetReaders.h"
#include "SheetRows.h"
#include "WorkbookZip.h"

namespace tables {
namespace {

int Repeats(const QXmlStreamReader& xml, const char* attribute) {
    bool ok = false;
    const int count = AttributeOf(xml.attributes(), QLatin1String(attribute)).toInt(&ok);
    return ok && count > 0 ? count : 1;
}

// Spans in spans deeper than this are no text anybody typed; their text is left out.
constexpr int kMaxSpanDepth = 16;

// The text of a paragraph: runs of spaces, tabs and line breaks as the file codes them, notes
// left out.
void AppendText(QXmlStreamReader& xml, QString& text, int depth = 0) {
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) return;
        // A cell's text is cut where SheetRow cuts it: a run of spaces repeated a million times
        // must not fill the memory first.
        const bool room = text.size() <= static_cast<qsizetype>(kMaxCellBytes);
        if (token == QXmlStreamReader::Characters && room) text += xml.text();
        if (token != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"s") {
            if (room) text += QString(std::min(Repeats(xml, "c"), kMaxSheetColumns), ' ');
            xml.skipCurrentElement();
        } else if (xml.name() == u"tab") {
            text += '\t';
            xml.skipCurrentElement();
        } else if (xml.name() == u"line-break") {
            text += '\n';
            xml.skipCurrentElement();
        } else if (xml.name() == u"annotation" || depth > kMaxSpanDepth) {
            xml.skipCurrentElement();
        } else {
            AppendText(xml, text, depth + 1);
        }
    }
}

std::string Shown(const QXmlStreamAttributes& a, const QString& text) {
    const QString type = AttributeOf(a, QLatin1String("value-type"));
    if (type == u"float" || type == u"percentage" || type == u"currency")
        return ShownNumber(AttributeOf(a, QLatin1String("value")).toStdString());
    if (type == u"boolean")
        return AttributeOf(a, QLatin1String("boolean-value")) == u"true" ? "1" : "0";
    if (type == u"date") return AttributeOf(a, QLatin1String("date-value")).toStdString();
    if (type == u"time") return AttributeOf(a, QLatin1String("time-value")).toStdString();
    if (!AttributeOf(a, QLatin1String("string-value")).isEmpty())
        return AttributeOf(a, QLatin1String("string-value")).toStdString();
    return text.toStdString();
}

class TableReader {
  public:
    TableReader(QXmlStreamReader& xml, const CsvRecordSink& onRow) : xml_(xml), row_(onRow) {}

    // Reads the table whose start the reader is at; returns why it stopped for the table's
    // size, or nothing.
    std::string Read() {
        while (!xml_.atEnd() && !row_.Stopped()) {
            const auto token = xml_.readNext();
            if (token == QXmlStreamReader::EndElement && xml_.name() == u"table") break;
            if (token == QXmlStreamReader::StartElement && xml_.name() == u"table-row" &&
                row_.Walk())
                ReadRow();
        }
        return row_.Refusal();
    }

  private:
    void ReadRow() {
        const int repeats = Repeats(xml_, "number-rows-repeated");
        cells_.clear();
        column_ = 0;
        while (xml_.readNextStartElement() && row_.Walk()) {
            if (xml_.name() == u"table-cell" || xml_.name() == u"covered-table-cell")
                ReadCell();
            else
                xml_.skipCurrentElement();
        }
        // A sheet ends in a million repeated empty rows: they are counted, never walked.
        const int rows = cells_.empty() ? 1 : repeats;
        for (int r = 0; r < rows && !row_.Stopped(); ++r) {
            for (const auto& [column, text] : cells_) row_.Put(column, text);
            row_.End(line_ + r + 1);
        }
        line_ += repeats;
    }

    void ReadCell() {
        const int repeats = Repeats(xml_, "number-columns-repeated");
        const QXmlStreamAttributes attributes = xml_.attributes();
        QString text;
        while (xml_.readNextStartElement()) {
            if (xml_.name() == u"p") {
                if (!text.isEmpty()) text += '\n';
                AppendText(xml_, text);
            } else {
                xml_.skipCurrentElement();
            }
        }
        const std::string shown = Shown(attributes, text);
        for (int c = 0; !shown.empty() && c < repeats && column_ + c < kMaxSheetColumns; ++c)
            cells_.emplace_back(column_ + c, shown);
        column_ = std::min(column_ + repeats, kMaxSheetColumns);
    }

    QXmlStreamReader& xml_;
    SheetRow row_;
    std::vector<std::pair<int, std::string>> cells_;
    int line_ = 0;
    int column_ = 0;
};

}  // namespace

std::string ForEachOdsRow(const std::string& bytes, const QString& sheet,
                          const CsvRecordSink& onRow) {
    WorkbookZip zip(bytes, ".ods");
    if (!zip.Refusal().empty()) return zip.Refusal();
    const auto content = zip.Open(QStringLiteral("content.xml"));
    if (!content) return NoWorkbook(".ods");
    QXmlStreamReader xml(content.get());
    QStringList names;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"table") continue;
        const QString name = AttributeOf(xml.attributes(), QLatin1String("name"));
        names.push_back(name);
        if (!sheet.isEmpty() && name != sheet) {
            xml.skipCurrentElement();
            continue;
        }
        if (std::string tooLarge = TableReader(xml, onRow).Read(); !tooLarge.empty())
            return tooLarge;
        return zip.ReadFailure(xml);
    }
    if (const std::string failure = zip.ReadFailure(xml); !failure.empty()) return failure;
    return NoSheetNamed(sheet, names);
}

}  // namespace tables
