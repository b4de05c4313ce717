#include "Texts.h"

namespace texts {

QString LinkCheck() {
    return QStringLiteral("Проверьте СОМ-порт или линию связи");
}
QString PortNotSet() {
    return QStringLiteral("Установите параметры СОМ-порта");
}
QString NoDevice() {
    return QStringLiteral("нет устройства");
}
QString NoMessageFunction() {
    return QStringLiteral("Возможно у весов отсутствует функция передачи сообщений");
}
QString PluNumberRefused() {
    return QStringLiteral("Неправильно задан номер ячейки PLU");
}
QString MessageNumberRefused() {
    return QStringLiteral("Неправильно набран номер сообщения\r\nОбычно это число от 1 до 200");
}
QString MessageNotSent() {
    return QStringLiteral("Ошибка передачи сообщения");
}
QString BadCell() {
    return QStringLiteral("Ошибка ввода данных в таблице!");
}
QString BadShelfLife() {
    return QStringLiteral("Ошибка ввода срока годности!");
}
QString DataSent() {
    return QStringLiteral("Данные переданы");
}
QString DataReceived() {
    return QStringLiteral("Данные приняты");
}

QString SentStatus(int done, int rows, bool stopped, int failedRow, int skipped) {
    QString text = QStringLiteral("Передано строк: %1 из %2").arg(done).arg(rows);
    if (stopped)
        text += QStringLiteral(", остановлено");
    else if (failedRow > 0)
        text += QStringLiteral(", ошибка в строке %1").arg(failedRow);
    if (skipped >= 0) text += QStringLiteral("; без изменений пропущено: %1").arg(skipped);
    return text;
}
QString ReceivedStatus(int records, bool stopped, bool failed) {
    QString text = QStringLiteral("Принято записей: %1").arg(records);
    if (stopped)
        text += QStringLiteral(", остановлено");
    else if (failed)
        text += QStringLiteral(", обмен прерван");
    return text;
}

QString ComparePluOnly() {
    return QStringLiteral(
        "Сверить с весами можно только список PLU: сообщения весы обратно не передают");
}
QString NoPluListToCompare() {
    return QStringLiteral(
        "Нет списка PLU, который можно сверить с весами: откройте или создайте его");
}
QString CompareProgress() {
    return QStringLiteral("Сверка с весами: прочитано %v");
}
QString ScaleValue(const QString& value) {
    return QStringLiteral("В весах: %1").arg(value);
}
QString MissingInScale() {
    return QStringLiteral("нет в весах");
}
QString CompareBadRow(const QString& problem, int row) {
    return QStringLiteral("%1\r\nСтрока %2: сверка не начата").arg(problem).arg(row);
}
QString CompareSummary(int equal, int differing, int missing, const QStringList& onlyInScale) {
    constexpr int kListed = 50;
    QString text =
        QStringLiteral("Совпадает: %1, отличается: %2, нет в весах: %3, нет в списке: %4")
            .arg(equal)
            .arg(differing)
            .arg(missing)
            .arg(onlyInScale.size());
    if (onlyInScale.isEmpty()) return text;
    text += QStringLiteral("\r\nТолько в весах: PLU ") +
            onlyInScale.mid(0, kListed).join(QStringLiteral(", "));
    if (onlyInScale.size() > kListed)
        text += QStringLiteral(" и ещё %1").arg(onlyInScale.size() - kListed);
    return text;
}
QString NothingKnown(const QString& port) {
    return QStringLiteral(
               "Неизвестно, что сейчас в весах на %1: с ними ещё не было обмена, после которого "
               "это известно.\r\nПереслать весь список?")
        .arg(port);
}
QString KnownStale(const QString& ports) {
    return QStringLiteral(
               "В весах%1 не то, что было в них передано: возможно, цену ввели на самих весах или "
               "кабель теперь подключён к другим весам.\r\nПереслать весь список?")
        .arg(ports.isEmpty() ? QString() : QStringLiteral(" на ") + ports);
}
QString ChangesNotKeepable(const QString& why) {
    return why + QStringLiteral("\r\nНичего не передано: перешлите весь список.");
}
QString MessagesUnchecked(const QString& counts) {
    return QStringLiteral(
               "Весы не передают сообщения обратно, поэтому проверить, что в них сейчас, нельзя: "
               "будут пересланы сообщения, изменённые после прошлой пересылки (%1).\r\n"
               "Если сообщения меняли на самих весах, ответьте «Нет» и перешлите весь список.\r\n"
               "Переслать изменения?")
        .arg(counts);
}
QString PartOf(int part, int whole) {
    return QStringLiteral("%1 из %2").arg(part).arg(whole);
}
QString NothingChanged(int rows) {
    return QStringLiteral("Изменений нет: все строки списка (%1) уже в весах").arg(rows);
}

QString NothingToSave() {
    return QStringLiteral("Было бы, что сохранять...");
}
QString ChooseListKindFirst() {
    return QStringLiteral(
        "Перед работой нажмите кнопку PLU или MSG для определения нужного типа файла");
}
QString ReadFailure(tables::ReadResult result, const QString& path) {
    switch (result) {
        case tables::ReadResult::Ok:
            return {};
        case tables::ReadResult::CannotOpen:
            return QStringLiteral("Cannot open file %1").arg(path);
        case tables::ReadResult::TooLarge:
            break;
    }
    return QStringLiteral("Файл %1 больше 64 МБ: это не список товаров или сообщений, он не открыт")
        .arg(path);
}
QString TooManyRecords(const QString& path, qint64 maxRecords) {
    return QStringLiteral(
               "В файле %1 больше %2 записей: это не список товаров или сообщений, он не открыт")
        .arg(path)
        .arg(maxRecords);
}
QString SaveFailed(const QString& path, const QString& cause) {
    return QStringLiteral("Не удалось сохранить файл %1: %2").arg(path, cause);
}

QString NewPluListPrompt() {
    return QStringLiteral(
        "Будет создан новый список товаров\r\nВ старой таблице  были изменения.\r\nСохранить ?");
}
QString NewMsgListPrompt() {
    return QStringLiteral(
        "Будет создан новый список сообщений\r\nВ старой таблице  были изменения.\r\nСохранить ?");
}
QString OpenPrompt() {
    return QStringLiteral(
        "Будет открыт новый список товаров или сообщений\r\nВ старой таблице  были изменения.\r\n"
        "Сохранить ?");
}
QString UploadPrompt() {
    return QStringLiteral(
        "Очевидно будет прочитан новый список товаров\r\nВ старой таблице  были изменения.\r\n"
        "Сохранить ?");
}
QString ImportCsvTitle() {
    return QStringLiteral("Импорт");
}
QString ExportCsvTitle() {
    return QStringLiteral("Экспорт");
}
QString CsvOpenFilter() {
    return QStringLiteral(
        "Прайс-листы|*.csv;*.xlsx;*.ods;*.xls|Файлы CSV|*.csv|Книги Excel|*.xlsx|"
        "Книги LibreOffice|*.ods|Книги Excel 97-2003|*.xls|Все файлы|*");
}
QString CsvSaveFilter() {
    return QStringLiteral(
        "CSV, UTF-8|*.csv|CSV, Windows-1251 для старых программ|*.csv|Книга Excel|*.xlsx");
}
QString ClosePrompt() {
    return QStringLiteral("В таблице были изменения.\r\nСохранить ?");
}

QString NoName() {
    return QStringLiteral("noname1");
}
QString PluOpenFilter() {
    return QStringLiteral("*.plu;*.plw|*.plu;*.plw");
}
QString PluSaveFilter() {
    return QStringLiteral("*.plu|*.plu");
}
QString MsgFilter() {
    return QStringLiteral("*.msg|*.msg");
}
QString PluSuffix() {
    return QStringLiteral("plu");
}
QString MsgSuffix() {
    return QStringLiteral("msg");
}
QString OpenPluTitle() {
    return QStringLiteral("Открытие файла PLU");
}
QString OpenMsgTitle() {
    return QStringLiteral("Открытие файла сообщений");
}

QString PortSetUpTitle() {
    return QStringLiteral("Настройка порта");
}
QString ErrorCaption() {
    return QStringLiteral("Error");
}
QString About() {
    return QStringLiteral(
               "qvscale %1\n"
               "Программа для работы с торговыми весами по линии RS-232:\n"
               "показания дисплея, списки товаров (PLU) и сообщений.\n\n"
               "Распространяется по лицензии MIT.")
        .arg(QStringLiteral(QVSCALE_VERSION));
}

QString ListStatus(bool plu, int records, int row) {
    return QStringLiteral("%1 · записей: %2 · строка %3")
        .arg(plu ? QStringLiteral("Список PLU") : QStringLiteral("Список сообщений"))
        .arg(records)
        .arg(row);
}
QString Pasted(int rows, int columnsCut, int rowsCut) {
    QString pasted = QStringLiteral("Вставлено строк: %1").arg(rows);
    if (columnsCut > 0)
        pasted += QStringLiteral("; столбцов за девятым не вставлено: %1").arg(columnsCut);
    if (rowsCut > 0)
        pasted += QStringLiteral("; строк сверх 65535 записей не вставлено: %1").arg(rowsCut);
    return pasted;
}
QString FindCaption() {
    return QStringLiteral("Найти:");
}
QString NotFound() {
    return QStringLiteral("не найдено");
}

}  // namespace texts
