#include "ImportTexts.h"

#include "CodePage1251.h"
#include "CsvHeader.h"

namespace texts {

QString ColumnsDialogTitle() {
    return QStringLiteral("Выбор столбцов");
}
QString EncodingLabel() {
    return QStringLiteral("Кодировка:");
}
QString DelimiterLabel() {
    return QStringLiteral("Разделитель:");
}
QString HeaderRowLabel() {
    return QStringLiteral("Заголовок:");
}
QString SourceRowsLabel() {
    return QStringLiteral("Первые строки файла. Над каждым столбцом выберите, что в нём");
}
QString PreviewRowsLabel() {
    return QStringLiteral("Так они будут прочитаны");
}
QString ProblemsColumn() {
    return QStringLiteral("Ошибки");
}
QString TabDelimiter() {
    return QStringLiteral("табуляция");
}
QString LineCaption(int line) {
    return QStringLiteral("Строка %1").arg(line);
}

QString ColumnTargetCaption(const std::string& key) {
    if (key.empty()) return QStringLiteral("— не брать —");
    const auto target = tables::TargetOfKey(key);
    if (!target) return QString::fromStdString(key);
    QString title;
    switch (target->column.source) {
        case tables::CsvSource::WholeName:
            title = QStringLiteral("Наименование целиком");
            break;
        case tables::CsvSource::Roubles:
            title = QStringLiteral("Цена, руб.");
            break;
        case tables::CsvSource::Cell:
            title = tables::DecodeCp1251(tables::TitlesOf(target->kind)[target->column.column]);
            if (target->kind == tables::ListKind::Plu &&
                target->column.column == tables::Column::Price)
                title = QStringLiteral("Цена, коп.");
            break;
    }
    return QStringLiteral("%1 (%2)").arg(title, QString::fromStdString(key));
}

QString RememberedChoiceNote() {
    return QStringLiteral("Столбцы выбраны, как в прошлый раз для этого заголовка");
}
QString GuessedChoiceNote() {
    return QStringLiteral("Столбцы предложены по названиям и содержимому: проверьте их");
}
QString ChoiceNotRemembered(const QString& cause) {
    return QStringLiteral("Выбор столбцов не запомнен: %1").arg(cause);
}

}  // namespace texts
