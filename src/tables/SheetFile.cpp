#include "SheetFile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "SheetReaders.h"
#include "TableFile.h"

namespace tables {

std::optional<SheetFormat> SheetFormatOfName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"xlsx") return SheetFormat::Xlsx;
    if (suffix == u"ods") return SheetFormat::Ods;
    if (suffix == u"xls") return SheetFormat::Xls;
    return std::nullopt;
}

QString HelperProgram(const QString& name) {
    const QString dir = qEnvironmentVariable("QVSCALE_HELPER_DIR");
    if (!dir.isEmpty()) return dir + '/' + name;
    const QString bin =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    const QString beside = bin + '/' + name;
    if (QFileInfo(beside).isExecutable()) return beside;
    return bin + QStringLiteral("/" QVSCALE_HELPERS_FROM_BIN "/") + name;
}

std::string ForEachSheetRow(const std::string& bytes, SheetFormat format, const QString& sheet,
                            const CsvRecordSink& onRow) {
    if (static_cast<std::int64_t>(bytes.size()) > kMaxTableFileBytes)
        return "Файл больше 64 МБ: это не список";
    switch (format) {
        case SheetFormat::Xlsx:
            return ForEachXlsxRow(bytes, sheet, onRow);
        case SheetFormat::Ods:
            return ForEachOdsRow(bytes, sheet, onRow);
        case SheetFormat::Xls:
            return ForEachXlsRow(bytes, sheet, onRow);
    }
    return {};
}

}  // namespace tables
