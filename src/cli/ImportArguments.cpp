#include "ImportArguments.h"

namespace cli {

const QList<QCommandLineOption>& ImportCommandLineOptions() {
    static const QList<QCommandLineOption> options = {
        QCommandLineOption("columns", "", "choice"),
        QCommandLineOption("header-row", "", "row"),
        QCommandLineOption("remember"),
        QCommandLineOption("sheet", "", "name"),
    };
    return options;
}

std::optional<std::string> ReadImportOptions(const QCommandLineParser& parser,
                                             jobs::ImportOptions& import) {
    if (parser.isSet("columns")) {
        std::string error;
        import.columns = tables::ParseColumnChoice(parser.value("columns").toStdString(), error);
        if (!import.columns) return error;
    }
    if (parser.isSet("header-row")) {
        bool ok = false;
        import.headerRow = parser.value("header-row").toInt(&ok);
        if (!ok || import.headerRow < 1)
            return std::string("--header-row: нужен номер строки от 1");
    }
    import.remember = parser.isSet("remember");
    if (import.remember && !import.columns)
        return std::string("--remember запоминает столбцы из --columns: задайте и их");
    import.sheet = parser.value("sheet");
    return std::nullopt;
}

std::string ImportOptionsHelp(const QStringList& taken) {
    if (!taken.contains(ImportCommandLineOptions().front().names().front())) return {};
    return "\nСписок может быть CSV-файлом или книгой (.xlsx, .ods, .xls); над строкой\n"
           "заголовков могут быть другие строки (название прайс-листа, пустая строка).\n"
           "--columns ВЫБОР   что значит каждый столбец, по названию или номеру от 1:\n"
           "                  \"Код=plu,Наименование=name,Цена=price_rub\"; есть plu, name1,\n"
           "                  name2, price (копейки), price_rub (рубли), shelf_life, tare,\n"
           "                  item_code, group, message, name (всё наименование в две\n"
           "                  строки), number и line1..line8 для сообщений; \"Штрихкод=\" —\n"
           "                  не брать\n"
           "--header-row N    строка заголовков (по умолчанию первая, где есть все\n"
           "                  выбранные столбцы)\n"
           "--remember        запомнить --columns для файлов с таким же заголовком: потом\n"
           "                  --columns не нужен\n"
           "--sheet ЛИСТ      лист книги (по умолчанию первый)\n";
}

std::string ColumnsHint(const jobs::ImportReport& report) {
    if (report.header.empty()) return {};
    std::string header;
    for (const std::string& title : report.header) header += (header.empty() ? "" : "; ") + title;
    std::string hint =
        "\nСтрока заголовков (" + std::to_string(report.headerLine) + "): " + header + "\n";
    if (report.guess.empty())
        return hint + "Задайте, что значит каждый столбец: --columns \"НАЗВАНИЕ=plu,...\"";
    return hint + "Задайте, что значит каждый столбец, например:\n  --columns \"" +
           tables::ColumnChoiceText(report.guess) +
           "\"\n(с --remember выбор запомнится для файлов с таким заголовком)";
}

}  // namespace cli
