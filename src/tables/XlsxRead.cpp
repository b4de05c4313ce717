// .xlsx workbooks: the sheet list, its relations to the sheet files, the shared strings, then the
// sheet's cells.
#include <QHash>
#include <cstdint>
#include <vector>

#include "SheetFile.h"
#include "SheetReaders.h"
#include "SheetRows.h"
#include "WorkbookZip.h"

namespace tables {
namespace {

// Every string of the book in one buffer: a book of millions of short strings stays small.
class SharedStrings {
  public:
    void Add(const QString& text) {
        text_ += text.toStdString();
        ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    }
    std::string At(const QStringView index) const {
        bool ok = false;
        const std::size_t i = index.toULong(&ok);
        if (!ok || i >= ends_.size()) return {};
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return text_.substr(begin, ends_[i] - begin);
    }

  private:
    std::string text_;
    std::vector<std::uint32_t> ends_;
};

struct Sheet {
    QString name;
    QString relation;
};

// The text of an element whose runs hold <t> pieces; phonetic hints are no part of it.
QString RunsText(QXmlStreamReader& xml) {
    QString text;
    const QString end = xml.name().toString();
    while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::EndDocument) {
        if (xml.isEndElement() && xml.name() == end) break;
        if (!xml.isStartElement()) continue;
        if (xml.name() == u"rPh")
            xml.skipCurrentElement();
        else if (xml.name() == u"t")
            text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return text;
}

std::string ReadSheets(WorkbookZip& zip, std::vector<Sheet>& sheets,
                       QHash<QString, QString>& targets) {
    // The zip reads one entry at a time.
    {
        const auto book = zip.Open(QStringLiteral("xl/workbook.xml"));
        if (!book) return NoWorkbook(".xlsx");
        QXmlStreamReader xml(book.get());
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"sheet")
                continue;
            const QString relation = AttributeOf(xml.attributes(), QLatin1String("id"));
            sheets.push_back({AttributeOf(xml.attributes(), QLatin1String("name")), relation});
        }
        if (std::string failure = zip.ReadFailure(xml); !failure.empty()) return failure;
    }
    const auto relations = zip.Open(QStringLiteral("xl/_rels/workbook.xml.rels"));
    if (!relations) return NoWorkbook(".xlsx");
    QXmlStreamReader xml(relations.get());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Relationship")
            targets.insert(AttributeOf(xml.attributes(), QLatin1String("Id")),
                           AttributeOf(xml.attributes(), QLatin1String("Target")));
    }
    return zip.ReadFailure(xml);
}

std::string ReadSharedStrings(WorkbookZip& zip, SharedStrings& strings) {
    const auto entry = zip.Open(QStringLiteral("xl/sharedStrings.xml"));
    if (!entry) return {};
    QXmlStreamReader xml(entry.get());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings.Add(RunsText(xml));
    }
    return zip.ReadFailure(xml);
}

std::string CellShown(QStringView type, const QString& value, const SharedStrings& strings) {
    if (type == u"s") return strings.At(value);
    if (type == u"b") return value == u"1" ? "1" : "0";
    if (type == u"str" || type == u"inlineStr" || type == u"e" || type == u"d")
        return value.toStdString();
    return ShownNumber(value.toStdString());
}

class SheetReader {
  public:
    SheetReader(QXmlStreamReader& xml, const SharedStrings& strings, const CsvRecordSink& onRow)
        : xml_(xml), strings_(strings), row_(onRow) {}

    // Why the sheet was not read to its end for its size; empty when it was not.
    std::string Read() {
        while (!xml_.atEnd() && !row_.Stopped()) {
            if (xml_.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml_.name() == u"row" && row_.Walk()) ReadRow();
        }
        return row_.Refusal();
    }

  private:
    void ReadRow() {
        bool ok = false;
        const QXmlStreamAttributes attributes = xml_.attributes();
        const int line = AttributeView(attributes, QLatin1String("r")).toInt(&ok);
        line_ = ok && line > line_ ? line : line_ + 1;
        column_ = 0;
        while (xml_.readNextStartElement() && row_.Walk()) {
            if (xml_.name() == u"c")
                ReadCell();
            else
                xml_.skipCurrentElement();
        }
        row_.End(line_);
    }

    void ReadCell() {
        const QXmlStreamAttributes attributes = xml_.attributes();
        const int named = ColumnOfReference(AttributeView(attributes, QLatin1String("r")));
        const int column = named >= 0 ? named : column_;
        column_ = column + 1;
        const QStringView type = AttributeView(attributes, QLatin1String("t"));
        QString value;
        while (xml_.readNextStartElement()) {
            if (xml_.name() == u"v")
                value = xml_.readElementText();
            else if (xml_.name() == u"is")
                value = RunsText(xml_);
            else
                xml_.skipCurrentElement();
        }
        if (!value.isEmpty()) row_.Put(column, CellShown(type, value, strings_));
    }

    QXmlStreamReader& xml_;
    const SharedStrings& strings_;
    SheetRow row_;
    int line_ = 0;
    int column_ = 0;
};

QString SheetPath(const QString& target) {
    if (target.startsWith('/')) return target.mid(1);
    return QStringLiteral("xl/") + target;
}

}  // namespace

std::string ForEachXlsxRow(const std::string& bytes, const QString& sheet,
                           const CsvRecordSink& onRow) {
    WorkbookZip zip(bytes, ".xlsx");
    if (!zip.Refusal().empty()) return zip.Refusal();
    std::vector<Sheet> sheets;
    QHash<QString, QString> targets;
    if (std::string failure = ReadSheets(zip, sheets, targets); !failure.empty()) return failure;
    QStringList names;
    const Sheet* chosen = nullptr;
    for (const Sheet& s : sheets) {
        names.push_back(s.name);
        if (!chosen && (sheet.isEmpty() || s.name == sheet)) chosen = &s;
    }
    if (!chosen) return NoSheetNamed(sheet, names);
    SharedStrings strings;
    if (std::string failure = ReadSharedStrings(zip, strings); !failure.empty()) return failure;
    const auto entry = zip.Open(SheetPath(targets.value(chosen->relation)));
    if (!entry) return NoWorkbook(".xlsx");
    QXmlStreamReader xml(entry.get());
    if (std::string tooLarge = SheetReader(xml, strings, onRow).Read(); !tooLarge.empty())
        return tooLarge;
    return zip.ReadFailure(xml);
}

}  // namespace tables
