#include "Options.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <map>
#include <set>

#include "ChangedOnly.h"
#include "CompareCommand.h"
#include "ExitCode.h"
#include "ImportArguments.h"
#include "ListFile.h"
#include "PortsCommand.h"

namespace cli {

namespace {

const char* const kCommands[] = {"display", "download", "upload", "watch",
                                 "convert", "compare",  "ports"};

const char* const kProgramHelp =
    "Использование: qvscale-cli КОМАНДА [ПАРАМЕТРЫ]\n"
    "Параметры каждой команды: qvscale-cli help КОМАНДА\n"
    "\n"
    "Обмен с весами без окна: для сценариев, таймеров и программ учёта.\n"
    "\n"
    "Команды:\n"
    "  display   показания весов: вес, цена, стоимость\n"
    "  download  список PLU или сообщений из файла в весы\n"
    "  upload    список PLU из весов в файл\n"
    "  watch     загружать в весы списки, что появляются в папке\n"
    "  convert   файл таблицы в CSV-файл или обратно, с проверкой строк\n"
    "  compare   сверить список PLU из файла с тем, что в весах\n"
    "  ports     куда ведут COM1..COM8; назначить и снять COM-имя\n"
    "  help      справка по команде: qvscale-cli help download\n"
    "\n"
    "Общие параметры:\n"
    "  -p, --port ПОРТ   COM1..COM8 или путь к устройству (/dev/ttyUSB0); можно\n"
    "                    повторить, чтобы работать с несколькими весами сразу;\n"
    "                    convert и ports обходятся без него\n"
    "  --baud СКОРОСТЬ   скорость линии, по умолчанию 9600\n"
    "  --json            события по одному JSON-объекту в строке на стандартный\n"
    "                    вывод; текст для человека тогда идёт в стандартный поток ошибок\n"
    "  -h, --help        эта справка\n"
    "  -v, --version     версия программы\n"
    "\n"
    "Коды завершения: 0 готово; 1 сверка нашла различия, или --changed-only не\n"
    "доверяет известному содержимому весов (ничего не передано); 2 ошибка в\n"
    "командной строке; 3 файл не годится (в весы ничего не передано) или файл не\n"
    "записан; 4 порт не открывается; 5 нет связи (весы не отвечают, замолчали,\n"
    "линия отключена); 6 весы отвергли команду или запись; 130 остановлено\n"
    "сигналом SIGINT или SIGTERM после текущей записи. С несколькими портами —\n"
    "наибольший из кодов.\n";

std::string CommandHelp(const std::string& command) {
    if (command == "display")
        return "Использование: qvscale-cli display --port ПОРТ [--port ПОРТ...]\n\n"
               "Читает показания весов и печатает их так, как их показывает окно:\n"
               "  COM2: Вес 1,234  Цена 12,34  Стоимость 15,23\n";
    if (command == "download")
        return "Использование: qvscale-cli download --port ПОРТ [--port ПОРТ...] [--kind plu|msg]\n"
               "       [--changed-only [--full-if-unknown] [--trust-known]] ФАЙЛ\n\n"
               "Загружает список из файла таблицы в весы, по одной записи за обмен.\n"
               "Вид списка — по расширению файла (.plu или .msg), --kind его задаёт явно;\n"
               "у CSV-файла (.csv) вид даёт его строка заголовков.\n"
               "Все строки проверяются до отправки: строка с ошибкой останавливает\n"
               "команду до первого байта, ошибки перечисляются (код 3).\n"
               "С несколькими --port список идёт во все весы сразу.\n"
               "\n"
               "--changed-only     только строки, которые отличаются от известного\n"
               "                   содержимого весов (того, что они подтвердили при прошлых\n"
               "                   обменах). Сначала весы показывают несколько своих записей:\n"
               "                   если они не совпали или содержимое неизвестно, ничего не\n"
               "                   передаётся (код 1)\n"
               "--full-if-unknown  тогда передать весь список\n"
               "--trust-known      для сообщений: весы их обратно не передают, проверить\n"
               "                   нельзя, известное содержимое берётся на веру\n";
    if (command == "compare")
        return "Использование: qvscale-cli compare --port ПОРТ [--port ПОРТ...] ФАЙЛ\n\n"
               "Считывает список PLU из весов и сверяет его со списком в файле по номерам\n"
               "PLU, каждое поле так, как его хранят весы. Печатает по строке на различие\n"
               "(PLU, поле, значение в списке, значение в весах), PLU, которых нет в весах\n"
               "или нет в списке, и итог. Код 0 — совпадает, 1 — есть различия.\n";
    if (command == "upload")
        return "Использование: qvscale-cli upload --port ПОРТ -o ФАЙЛ [--partial]\n\n"
               "Принимает список PLU из весов в файл таблицы (- — стандартный вывод)\n"
               "или, для ФАЙЛ.csv, в CSV-файл (UTF-8; --encoding cp1251 для старых программ).\n"
               "Прежний файл заменяется целиком и только если приём закончился успешно\n"
               "или задан --partial (тогда записывается принятое).\n";
    if (command == "convert")
        return "Использование: qvscale-cli convert [--kind plu|msg] [--encoding utf8|cp1251] "
               "ВХОД ВЫХОД\n\n"
               "Переводит список из файла таблицы (.plu, .msg) в CSV-файл (.csv) или книгу\n"
               "(.xlsx) или обратно; прочесть можно и книги .ods, .xls.\n"
               "Строки проверяются, как перед загрузкой в весы: с ошибкой — ничего не\n"
               "пишется (код 3). CSV пишется в UTF-8 с `;`, --encoding cp1251 — для старых\n"
               "программ.\n";
    if (command == "watch")
        return "Использование: qvscale-cli watch --port ПОРТ [--port ПОРТ...] [--kind plu|msg] "
               "ПАПКА\n\n"
               "Ждёт файлы списков (*.plu, *.msg) в папке и загружает каждый в весы в том\n"
               "порядке, в каком они появились. Файл берётся, только когда он записан\n"
               "целиком: закрыт после записи или перенесён в папку. Файлы, что уже лежат\n"
               "в папке, идут первыми, от старых к новым.\n"
               "После передачи файл переносится в ПАПКА/done (все весы его приняли) или\n"
               "в ПАПКА/failed (ошибки в файле, весы отвергли запись, связь прервалась\n"
               "посреди списка), а рядом с ним ложится ФАЙЛ.log: что с ним было.\n"
               "Если порт не открывается или весы не отвечают, файл ждёт в папке, и все\n"
               "следующие ждут за ним: повтор через 30 с, 1, 2, 5 минут и дальше каждые\n"
               "5 минут, только в те весы, что его ещё не приняли.\n"
               "SIGINT или SIGTERM заканчивают передачу после текущей записи; файл\n"
               "остаётся в папке и после перезапуска передаётся снова (код 130).\n"
               "Код 3: папку нельзя отслеживать, или её удалили или перенесли.\n";
    if (command == "ports")
        return "Использование: qvscale-cli ports [--json]\n"
               "               qvscale-cli ports map COMn УСТРОЙСТВО\n"
               "               qvscale-cli ports unmap COMn\n\n"
               "Без параметров: куда ведёт каждое из COM1..COM8 (ссылка в папке\n"
               "~/.config/qvscale/ports или /dev/ttyS<n-1>), есть ли устройство, можно ли\n"
               "его открыть и не занято ли оно; затем последовательные устройства без\n"
               "COM-имени: по именам из /dev/serial/by-id, с производителем и моделью\n"
               "адаптера, и порты /dev/ttyS* с UART.\n"
               "map назначает COM-имя устройству; /dev/ttyUSB0 записывается под его\n"
               "именем из /dev/serial/by-id, и назначение переживает перенос адаптера\n"
               "в другой разъём USB. unmap снимает назначение.\n"
               "Назначение, чьё устройство занято программой, не меняется (код 4);\n"
               "код 4 и у устройства, которого нет; 3 — ссылку не записать.\n";
    return kProgramHelp;
}

bool IsCommand(const std::string& name) {
    return std::find(std::begin(kCommands), std::end(kCommands), name) != std::end(kCommands);
}

// Every usage error ends with where to read the command's options.
Parsed Usage(const std::string& error, const std::string& command = {}) {
    const std::string help = IsCommand(command)
                                 ? "Справка: qvscale-cli help " + command
                                 : "Команды: qvscale-cli help; справка по команде: qvscale-cli "
                                   "help КОМАНДА";
    return {std::nullopt, kUsage, error + "\n" + help + "\n"};
}

// The options each command takes besides --help and --version; any other is refused by one rule.
const std::map<std::string, std::set<QString>>& OptionsTaken() {
    static const std::set<QString> link = {"port", "baud", "json", "byte-timeout-ms"};
    static const auto with = [](std::set<QString> more) {
        more.insert(link.begin(), link.end());
        return more;
    };
    static const auto reading = [](std::set<QString> more) {
        more.insert(ImportOptionNames().begin(), ImportOptionNames().end());
        return more;
    };
    static const std::map<std::string, std::set<QString>> taken = {
        {"display", link},
        {"download", reading(with({"kind", "changed-only", "full-if-unknown", "trust-known"}))},
        {"upload", with({"output", "partial", "encoding"})},
        {"watch", with({"kind", "retry-ms"})},
        {"convert", reading({"json", "kind", "encoding"})},
        {"compare", reading(with({"kind"}))},
        {"ports", {"json"}},
    };
    return taken;
}

std::string Spelled(const QString& name) {
    return (name.size() == 1 ? "-" : "--") + name.toStdString();
}

// The first option set that the command does not take; nothing when it takes them all.
std::optional<std::string> OptionNotTaken(const QCommandLineParser& parser,
                                          const std::vector<QCommandLineOption>& options,
                                          const std::string& command) {
    const std::set<QString>& taken = OptionsTaken().at(command);
    for (const QCommandLineOption& option : options) {
        const QString name = option.names().last();
        if (parser.isSet(option) && !taken.count(name))
            return "Команда " + command + " не берёт " + Spelled(name);
    }
    return std::nullopt;
}

// The parser's own complaint in the user's words: an unknown option, a value missing after the
// last option, or a value given to an option that takes none.
std::string ParseError(const QCommandLineParser& parser, const QStringList& arguments,
                       const std::vector<QCommandLineOption>& options) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) return "Неизвестный параметр: " + Spelled(unknown.front());
    for (const QCommandLineOption& option : options) {
        for (const QString& name : option.names()) {
            const QString spelled = QString::fromStdString(Spelled(name));
            if (option.valueName().isEmpty()) {
                for (const QString& a : arguments)
                    if (a.startsWith(spelled + '='))
                        return Spelled(name) + " не берёт значения: " + a.toStdString();
            } else if (arguments.size() > 1 && arguments.last() == spelled) {
                return "После " + Spelled(name) + " нужно значение";
            }
        }
    }
    return "Параметры не разобраны: " + parser.errorText().toStdString();
}

std::optional<TBaud> BaudOf(const QString& text) {
    bool ok = false;
    const unsigned rate = text.toUInt(&ok);
    for (int b = b110; ok && b <= b256000; ++b)
        if (BaudRateOf(static_cast<TBaud>(b)) == rate) return static_cast<TBaud>(b);
    return std::nullopt;
}

std::optional<std::vector<int>> MillisecondsList(const QString& text) {
    std::vector<int> list;
    for (const QString& part : text.split(',')) {
        bool ok = false;
        const int ms = part.toInt(&ok);
        if (!ok || ms < 0) return std::nullopt;
        list.push_back(ms);
    }
    return list;
}

// What each command needs beyond the parser's own checks.
std::optional<std::string> CheckCommand(const Settings& s, const QStringList& positional) {
    const bool needsFile = s.command == "download" || s.command == "compare";
    const bool needsDir = s.command == "watch";
    const bool convert = s.command == "convert";
    const qsizetype expected = convert ? 3 : needsFile || needsDir ? 2 : 1;
    if (positional.size() != expected) {
        if (needsDir) return std::string("Команде watch нужна ровно одна папка");
        if (convert) return std::string("Команде convert нужны два файла: ВХОД ВЫХОД");
        return needsFile ? "Команде " + s.command + " нужен ровно один " + "файл списка"
                         : "Лишний аргумент: " + positional.back().toStdString();
    }
    if (convert) return std::nullopt;
    if (s.ports.empty()) return "Не задан порт: --port COM2 или --port /dev/ttyUSB0";
    if (s.command == "upload") {
        if (s.output.isEmpty()) return "Команде upload нужен файл: -o ФАЙЛ (или -o - для вывода)";
        if (s.ports.size() > 1)
            return "upload принимает список из одних весов: задайте один --port";
        if (s.output == QStringLiteral("-") && s.json)
            return "-o - и --json вместе не годятся: оба пишут в стандартный вывод";
        if (KindOfFileName(s.output) == tables::ListKind::Msg)
            return "upload принимает список PLU, а файл " + s.output.toStdString() +
                   " по расширению — список сообщений: задайте ФАЙЛ.plu или ФАЙЛ.csv";
    }
    return std::nullopt;
}

// What sending only the changes and comparing need beyond the command's own checks.
std::optional<std::string> CheckChanges(const Settings& s) {
    if ((s.fullIfUnknown || s.trustKnown) && !s.changedOnly)
        return "--full-if-unknown и --trust-known — только вместе с --changed-only";
    // A CSV file says its kind once read; the command checks it then.
    const auto kind = s.kind ? s.kind : KindOfFileName(s.file);
    if (!kind) return std::nullopt;
    if (s.command == "compare" && *kind == tables::ListKind::Msg) return ComparePluOnly();
    return ChangesProblem(s, *kind);
}

}  // namespace

std::string HelpText(const std::string& command) {
    const bool reads = command == "download" || command == "convert" || command == "compare";
    return CommandHelp(command) + (reads ? ImportOptionsHelp() : "");
}

Parsed ParseArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption port({"p", "port"}, "", "port");
    const QCommandLineOption kind("kind", "", "kind");
    const QCommandLineOption output({"o", "output"}, "", "file");
    const QCommandLineOption partial("partial");
    const QCommandLineOption changedOnly("changed-only");
    const QCommandLineOption fullIfUnknown("full-if-unknown");
    const QCommandLineOption trustKnown("trust-known");
    const QCommandLineOption json("json");
    const QCommandLineOption baud("baud", "", "rate");
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    const QCommandLineOption encoding("encoding", "", "encoding");
    QCommandLineOption byteTimeout("byte-timeout-ms", "", "ms");
    byteTimeout.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption retry("retry-ms", "", "list");
    retry.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions(
        {port, kind, output, partial, json, baud, help, version, encoding, byteTimeout, retry});
    parser.addOptions({changedOnly, fullIfUnknown, trustKnown});
    for (const QCommandLineOption& option : ImportCommandLineOptions()) parser.addOption(option);
    std::vector<QCommandLineOption> options = {
        port,    kind,     output,      partial, json,        baud,          help,
        version, encoding, byteTimeout, retry,   changedOnly, fullIfUnknown, trustKnown};
    options.insert(options.end(), ImportCommandLineOptions().begin(),
                   ImportCommandLineOptions().end());
    const bool parsed = parser.parse(arguments);
    const QStringList positional = parser.positionalArguments();
    const std::string command = positional.isEmpty() ? "" : positional.front().toStdString();
    if (!parsed) return Usage(ParseError(parser, arguments, options), command);

    if (parser.isSet(version)) return {std::nullopt, kDone, "qvscale-cli " QVSCALE_VERSION "\n"};
    if (command == "help") {
        const std::string asked = positional.value(1).toStdString();
        if (!asked.empty() && !IsCommand(asked)) return Usage("Неизвестная команда: " + asked);
        return {std::nullopt, kDone, HelpText(asked)};
    }
    if (parser.isSet(help)) return {std::nullopt, kDone, HelpText(command)};
    if (command.empty()) return Usage("Не задана команда");
    if (!IsCommand(command)) return Usage("Неизвестная команда: " + command);
    if (const auto problem = OptionNotTaken(parser, options, command))
        return Usage(*problem, command);
    const auto usage = [&command](const std::string& error) { return Usage(error, command); };

    Settings s;
    s.command = command;
    std::set<std::string> devices;
    for (const QString& value : parser.values(port)) {
        const auto name = ParsePortName(value.toStdString());
        if (!name)
            return usage("Порт " + value.toStdString() +
                         " не годится: нужен COM1..COM8 или путь к устройству");
        if (!devices.insert(name->device).second)
            return usage("Порт " + value.toStdString() + " задан дважды");
        s.ports.push_back(*name);
    }
    if (parser.isSet(kind)) {
        const QString k = parser.value(kind).toLower();
        if (k != QStringLiteral("plu") && k != QStringLiteral("msg"))
            return usage("--kind: нужен plu или msg");
        s.kind = k == QStringLiteral("plu") ? tables::ListKind::Plu : tables::ListKind::Msg;
    }
    if (parser.isSet(encoding)) {
        const QString e = parser.value(encoding).toLower();
        if (e != QStringLiteral("utf8") && e != QStringLiteral("cp1251"))
            return usage("--encoding: нужен utf8 или cp1251");
        s.encoding =
            e == QStringLiteral("cp1251") ? tables::CsvEncoding::Cp1251 : tables::CsvEncoding::Utf8;
    }
    if (parser.isSet(baud)) {
        const auto rate = BaudOf(parser.value(baud));
        if (!rate) return usage("--baud: такой скорости нет; есть 110 .. 256000, например 9600");
        s.baud = *rate;
    }
    if (parser.isSet(byteTimeout)) {
        bool ok = false;
        s.byteTimeoutMs = parser.value(byteTimeout).toInt(&ok);
        if (!ok || s.byteTimeoutMs <= 0) return usage("--byte-timeout-ms: нужно число");
    }
    if (parser.isSet(retry)) {
        const auto list = MillisecondsList(parser.value(retry));
        if (!list || list->empty()) return usage("--retry-ms: нужны числа через запятую");
        s.retryDelaysMs = *list;
    }
    s.output = parser.value(output);
    s.partial = parser.isSet(partial);
    s.json = parser.isSet(json);
    s.changedOnly = parser.isSet(changedOnly);
    s.fullIfUnknown = parser.isSet(fullIfUnknown);
    s.trustKnown = parser.isSet(trustKnown);
    if (const auto problem = ReadImportOptions(parser, s.import)) return usage(*problem);
    if (command == "ports") {
        for (qsizetype i = 1; i < positional.size(); ++i)
            s.operands.push_back(positional[i].toStdString());
        if (const auto problem = CheckPortsOperands(s.operands)) return usage(*problem);
        return {s, kDone, {}};
    }
    if (const auto problem = CheckCommand(s, positional)) return usage(*problem);
    if (positional.size() > 1) s.file = positional[1];
    if (s.command == "convert") s.output = positional[2];
    const bool listFile = s.command == "download" || s.command == "convert";
    // A file that cannot be read is said so when it is read, which names the cause.
    const QFileInfo file(s.file);
    if (listFile && !s.kind && !KindOfFileName(s.file) && !IsImportedFileName(s.file) &&
        file.exists() && !file.isDir())
        return usage("Вид списка не виден по расширению файла: задайте --kind plu или --kind msg");
    if (s.command == "convert" && IsImportedFileName(s.file) == IsImportedFileName(s.output))
        return usage(
            "convert переводит файл таблицы в CSV-файл (.csv) или книгу (.xlsx) или обратно");
    if (s.command == "watch" && !QFileInfo(s.file).isDir())
        return usage("Папка " + s.file.toStdString() +
                     (QFileInfo::exists(s.file) ? " — это файл, а нужна папка" : " не найдена"));
    if (const auto problem = CheckChanges(s)) return usage(*problem);
    return {s, kDone, {}};
}

}  // namespace cli
