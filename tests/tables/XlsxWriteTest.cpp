// Lists written as .xlsx workbooks, looked at in the sheet's own XML.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include "CodePage1251.h"
#include "SheetFile.h"
#include "TableTestSupport.h"
#include "quazip.h"
#include "quazipfile.h"

namespace tables {
namespace {

QString SheetXml(const QString& book) {
    QuaZip zip(book);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile("xl/worksheets/sheet1.xml")) return {};
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

TEST(XlsxWrite, CellsOfWholeNumbersAreNumbersAndTheTitleRowIsFrozen) {
    Table table;
    WriteTitles(table, ListKind::Plu);
    LoadRows(table, {testing::Cells({"7", EncodeCp1251(QString::fromUtf8("Хлеб")), "", "4550", "0",
                                     "0", "0012", "3", "0"}),
                     testing::Marker()});
    QTemporaryDir dir;
    const QString path = dir.filePath("list.xlsx");
    QString error;
    ASSERT_TRUE(WriteXlsxFile(path, table, ListKind::Plu, 1, error)) << error.toStdString();
    const QString xml = SheetXml(path);
    struct Case {
        const char* cell;
        bool number;
    };
    const Case cases[] = {
        {"A1", false},  // "PLU"
        {"A2", true},  {"B2", false},
        {"D2", true},  {"G2", false},  // "0012" keeps its zeros as text
    };
    for (const Case& c : cases) {
        const QRegularExpression cell(QStringLiteral("<c r=\"%1\"[^>]*>").arg(c.cell));
        const QRegularExpressionMatch match = cell.match(xml);
        ASSERT_TRUE(match.hasMatch()) << c.cell;
        EXPECT_EQ(!match.captured().contains(QStringLiteral("t=\"")), c.number) << c.cell;
    }
    EXPECT_TRUE(xml.contains(QStringLiteral("state=\"frozen\""))) << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("ySplit=\"1\"")));
}

}  // namespace
}  // namespace tables
