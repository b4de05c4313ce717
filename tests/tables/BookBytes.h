#pragma once
// Small workbooks made in memory, for the cases no spreadsheet program saves.

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <map>
#include <string>

#include "quazip.h"
#include "quazipfile.h"

namespace tables::testing {

inline std::string Zip(const std::map<QString, QByteArray>& entries) {
    QBuffer buffer;
    {
        QuaZip zip(&buffer);
        zip.open(QuaZip::mdCreate);
        for (const auto& [name, body] : entries) {
            QuaZipFile file(&zip);
            file.open(QIODevice::WriteOnly, QuaZipNewInfo(name));
            file.write(body);
            file.close();
        }
        zip.close();
    }
    return buffer.data().toStdString();
}

inline std::string Xlsx(const QByteArray& sheet, const QByteArray& strings = {}) {
    std::map<QString, QByteArray> entries = {
        {"xl/workbook.xml",
         "<workbook><sheets><sheet name=\"A\" r:id=\"r1\" "
         "xmlns:r=\"r\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"r1\" Target=\"worksheets/s.xml\"/></Relationships>"},
        {"xl/worksheets/s.xml", "<worksheet><sheetData>" + sheet + "</sheetData></worksheet>"},
    };
    if (!strings.isEmpty()) entries["xl/sharedStrings.xml"] = "<sst>" + strings + "</sst>";
    return Zip(entries);
}

inline std::string Ods(const QByteArray& rows) {
    return Zip({{"content.xml",
                 "<d xmlns:table=\"t\" xmlns:text=\"x\" xmlns:office=\"o\">"
                 "<table:table table:name=\"A\">" +
                     rows + "</table:table></d>"}});
}

}  // namespace tables::testing
