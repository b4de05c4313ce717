#include "CommandTable.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <set>

#include "ChangedOnly.h"
#include "Commands.h"
#include "CompareCommand.h"
#include "ExitCode.h"
#include "HubAddress.h"
#include "ImportArguments.h"
#include "ListFile.h"
#include "PortsCommand.h"
#include "Sync.h"
#include "Watch.h"

namespace cli {

namespace {

using Problem = std::optional<std::string>;  // what is wrong, in the user's words

struct Command {
    const char* name;
    const char* summary;  // its line in the program's help
    const char* page;     // help COMMAND; none for help itself
    // The long names of the options it takes besides --help and --version.
    QStringList options;
    // The words after the options are read (the name first) into the settings, and the checks
    // between its options.
    Problem (*operands)(const QStringList& words, Settings& settings);
    int (*run)(const Settings& settings, Output& output);
};

const char* const kProgramHead =
    "Использование: qvscale-cli КОМАНДА [ПАРАМЕТРЫ]\n"
    "Параметры каждой команды: qvscale-cli help КОМАНДА\n"
    "\n"
    "Обмен с весами без окна: для сценариев, таймеров и программ учёта.\n"
    "\n"
    "Команды:\n";

const char* const kProgramTail =
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
    "линия отключена); 6 весы отвергли команду или запись; 7 хаб недоступен или\n"
    "ответил ошибкой (sync; в весы ничего не передано); 130 остановлено сигналом\n"
    "SIGINT или SIGTERM после текущей записи. С несколькими портами — наибольший\n"
    "из кодов.\n";

// The options of a command that talks to scales, and its own.
QStringList Link(QStringList own = {}) {
    return own + QStringList{"port", "baud", "json", "byte-timeout-ms"};
}

// And the options of a command that reads a list: its columns, header row and sheet.
QStringList Reading(QStringList options) {
    for (const QCommandLineOption& option : ImportCommandLineOptions()) options << option.names();
    return options;
}

const char* const kOneList = " нужен ровно один файл списка";

Problem NoPort(const Settings& s) {
    return s.ports.empty() ? "Не задан порт: --port COM2 или --port /dev/ttyUSB0" : Problem();
}

// The one file or folder a command works on; needs: what to say when there is not one.
Problem OneOperand(const QStringList& words, Settings& s, const char* needs) {
    if (words.size() != 2) return "Команде " + s.command + needs;
    if (const auto problem = NoPort(s)) return problem;
    s.file = words[1];
    return std::nullopt;
}

// A file that cannot be read is said so when it is read, which names the cause.
Problem KindUnseen(const Settings& s) {
    const QFileInfo file(s.file);
    if (s.kind || KindOfFileName(s.file) || IsImportedFileName(s.file) || !file.exists() ||
        file.isDir())
        return std::nullopt;
    return "Вид списка не виден по расширению файла: задайте --kind plu или --kind msg";
}

Problem NoOperand(const QStringList& words, Settings& s) {
    if (words.size() != 1) return "Лишний аргумент: " + words.back().toStdString();
    return NoPort(s);
}

Problem DownloadOperands(const QStringList& words, Settings& s) {
    if (const auto problem = OneOperand(words, s, kOneList)) return problem;
    if (const auto problem = KindUnseen(s)) return problem;
    if ((s.fullIfUnknown || s.trustKnown) && !s.changedOnly)
        return "--full-if-unknown и --trust-known — только вместе с --changed-only";
    // A CSV file says its kind once read; the command checks it then.
    const auto kind = KindToSend(s, s.file);
    return kind ? ChangesProblem(s, *kind) : std::nullopt;
}

Problem UploadOperands(const QStringList& words, Settings& s) {
    if (const auto problem = NoOperand(words, s)) return problem;
    if (s.output.isEmpty())
        return "Команде " + s.command + " нужен файл: -o ФАЙЛ (или -o - для вывода)";
    if (s.ports.size() > 1)
        return s.command + " принимает список из одних весов: задайте один --port";
    if (s.output == QStringLiteral("-") && s.json)
        return "-o - и --json вместе не годятся: оба пишут в стандартный вывод";
    if (KindOfFileName(s.output) == tables::ListKind::Msg)
        return s.command + " принимает список PLU, а файл " + s.output.toStdString() +
               " по расширению — список сообщений: задайте ФАЙЛ.plu или ФАЙЛ.csv";
    return std::nullopt;
}

Problem WatchOperands(const QStringList& words, Settings& s) {
    if (const auto problem = OneOperand(words, s, " нужна ровно одна папка")) return problem;
    if (QFileInfo(s.file).isDir()) return std::nullopt;
    return "Папка " + s.file.toStdString() +
           (QFileInfo::exists(s.file) ? " — это файл, а нужна папка" : " не найдена");
}

Problem ConvertOperands(const QStringList& words, Settings& s) {
    if (words.size() != 3) return "Команде " + s.command + " нужны два файла: ВХОД ВЫХОД";
    s.file = words[1];
    s.output = words[2];
    if (const auto problem = KindUnseen(s)) return problem;
    if (IsImportedFileName(s.file) != IsImportedFileName(s.output)) return std::nullopt;
    return s.command + " переводит файл таблицы в CSV-файл (.csv) или книгу (.xlsx) или обратно";
}

Problem CompareOperands(const QStringList& words, Settings& s) {
    if (const auto problem = OneOperand(words, s, kOneList)) return problem;
    if (KindToSend(s, s.file) == tables::ListKind::Msg) return kComparePluOnly;
    return std::nullopt;
}

Problem SyncOperands(const QStringList& words, Settings& s) {
    if (const auto problem = NoOperand(words, s)) return problem;
    for (const PortName& port : s.ports)
        if (port.comNumber == 0)
            return "sync: --port — COM-имя (COM2), им хаб называет весы; устройство ему "
                   "назначает qvscale-cli ports map COM2 " +
                   port.name;
    if (s.hub.isEmpty()) return std::string("sync: нужен адрес хаба: --hub https://...");
    if (s.store.empty()) return std::string("sync: нужно имя магазина на хабе: --store ИМЯ");
    if (!hub::IsSafeName(s.store))
        return "--store: имя " + s.store +
               " не годится: латинские буквы, цифры, -, _ и точка, до 64 знаков, не с точки";
    if (const std::string problem = hub::AddressProblem(QUrl(s.hub), s.insecureHttp);
        !problem.empty())
        return problem;
    return std::nullopt;
}

// In the order of the program's help, help last.
const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"display", "показания весов: вес, цена, стоимость",
         "Использование: qvscale-cli display --port ПОРТ [--port ПОРТ...]\n\n"
         "Читает показания весов и печатает их так, как их показывает окно:\n"
         "  COM2: Вес 1,234  Цена 12,34  Стоимость 15,23\n",
         Link(), NoOperand, RunDisplay},
        {"download", "список PLU или сообщений из файла в весы",
         "Использование: qvscale-cli download --port ПОРТ [--port ПОРТ...] [--kind plu|msg]\n"
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
         "                   нельзя, известное содержимое берётся на веру\n",
         Reading(Link({"kind", "changed-only", "full-if-unknown", "trust-known"})),
         DownloadOperands, RunDownload},
        {"upload", "список PLU из весов в файл",
         "Использование: qvscale-cli upload --port ПОРТ -o ФАЙЛ [--partial]\n\n"
         "Принимает список PLU из весов в файл таблицы (- — стандартный вывод)\n"
         "или, для ФАЙЛ.csv, в CSV-файл (UTF-8; --encoding cp1251 для старых программ).\n"
         "Прежний файл заменяется целиком и только если приём закончился успешно\n"
         "или задан --partial (тогда записывается принятое).\n",
         Link({"output", "partial", "encoding"}), UploadOperands, RunUpload},
        {"watch", "загружать в весы списки, что появляются в папке",
         "Использование: qvscale-cli watch --port ПОРТ [--port ПОРТ...] [--kind plu|msg] ПАПКА\n\n"
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
         "Код 3: папку нельзя отслеживать, или её удалили или перенесли.\n",
         Link({"kind", "retry-ms"}), WatchOperands, RunWatch},
        {"convert", "файл таблицы в CSV-файл или обратно, с проверкой строк",
         "Использование: qvscale-cli convert [--kind plu|msg] [--encoding utf8|cp1251] ВХОД "
         "ВЫХОД\n\n"
         "Переводит список из файла таблицы (.plu, .msg) в CSV-файл (.csv) или книгу\n"
         "(.xlsx) или обратно; прочесть можно и книги .ods, .xls.\n"
         "Строки проверяются, как перед загрузкой в весы: с ошибкой — ничего не\n"
         "пишется (код 3). CSV пишется в UTF-8 с `;`, --encoding cp1251 — для старых\n"
         "программ.\n",
         Reading({"json", "kind", "encoding"}), ConvertOperands, RunConvert},
        {"compare", "сверить список PLU из файла с тем, что в весах",
         "Использование: qvscale-cli compare --port ПОРТ [--port ПОРТ...] ФАЙЛ\n\n"
         "Считывает список PLU из весов и сверяет его со списком в файле по номерам\n"
         "PLU, каждое поле так, как его хранят весы. Печатает по строке на различие\n"
         "(PLU, поле, значение в списке, значение в весах), PLU, которых нет в весах\n"
         "или нет в списке, и итог. Код 0 — совпадает, 1 — есть различия.\n",
         Reading(Link({"kind"})), CompareOperands, RunCompare},
        {"ports",
         "куда ведут COM1..COM8; назначить и снять COM-имя",
         "Использование: qvscale-cli ports [--json]\n"
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
         "код 4 и у устройства, которого нет; 3 — ссылку не записать.\n",
         {"json"},
         PortsOperands,
         RunPorts},
        {"sync", "списки с хаба сети магазинов в весы, квитанции обратно",
         "Использование: qvscale-cli sync --hub АДРЕС --store ИМЯ --port COMn [--port COMn...]\n"
         "       [--every СЕКУНДЫ] [--credentials ФАЙЛ] [--ca ФАЙЛ] [--insecure-http]\n\n"
         "Берёт с хаба (веб-сервер с GET и PUT) списки магазина: lists/ИМЯ/COMn.plu,\n"
         ".msg, .csv, .xlsx — для одних весов, lists/ИМЯ/all.* — для всех прочих.\n"
         "Список, что не менялся, стоит одного короткого запроса (If-None-Match).\n"
         "Новый список проверяется целиком до первого байта; в весы идут только\n"
         "изменения после проверки пяти записей, а если содержимое весов неизвестно\n"
         "или не совпало — весь список. Все весы загружаются сразу.\n"
         "После каждой попытки на хаб идёт квитанция receipts/ИМЯ/COMn.plu.json\n"
         "(или .msg.json), каждый проход — status/ИМЯ.json. Квитанция, которую хаб\n"
         "не принял, хранится и уходит при следующем проходе.\n"
         "Весы, что не ответили, пробуются снова: с --every — через 30 с, 1, 2, 5\n"
         "минут, без него — при каждом запуске.\n"
         "\n"
         "--every СЕКУНДЫ    проход раз в столько секунд (с небольшим случайным\n"
         "                   разбросом), пока не придёт SIGINT или SIGTERM\n"
         "--credentials ФАЙЛ имя:пароль или токен; файл не должны читать другие\n"
         "                   пользователи (chmod 600)\n"
         "--ca ФАЙЛ          свой удостоверяющий центр сети (PEM) в дополнение к\n"
         "                   системным\n"
         "--insecure-http    http:// не только к этому компьютеру (127.0.0.1)\n"
         "Код 7: хаб недоступен, не принял учётные данные или ответил ошибкой;\n"
         "тогда в весы ничего не передаётся.\n",
         Reading(Link({"hub", "store", "every", "credentials", "ca", "insecure-http",
                       "hub-timeout-ms", "retry-ms"})),
         SyncOperands, RunSync},
        {"help", "справка по команде: qvscale-cli help download", nullptr, {}, nullptr, nullptr},
    };
    return commands;
}

// A command with a page of its own; nothing for help or an unknown name.
const Command* CommandNamed(const std::string& name) {
    for (const Command& c : Commands())
        if (c.page && name == c.name) return &c;
    return nullptr;
}

// The page of one command, or the program's help for an empty or unknown name.
std::string HelpText(const std::string& command) {
    if (const Command* c = CommandNamed(command)) return c->page + ImportOptionsHelp(c->options);
    std::string text = kProgramHead;
    for (const Command& c : Commands()) {
        std::string name = c.name;
        name.resize(10, ' ');
        text += "  " + name + c.summary + "\n";
    }
    return text + kProgramTail;
}

// Every option of every command. The parser knows them all, so that one a command does not take
// is named as such; a command gets only those its row lists. --byte-timeout-ms and --retry-ms
// are for tests, which shorten a stall and a retry.
const QList<QCommandLineOption>& Options() {
    static const QList<QCommandLineOption> options = {
        QCommandLineOption({"p", "port"}, "", "port"),
        QCommandLineOption("kind", "", "kind"),
        QCommandLineOption({"o", "output"}, "", "file"),
        QCommandLineOption("partial"),
        QCommandLineOption("json"),
        QCommandLineOption("baud", "", "rate"),
        QCommandLineOption(QStringList{"h", "help"}),
        QCommandLineOption(QStringList{"v", "version"}),
        QCommandLineOption("encoding", "", "encoding"),
        QCommandLineOption("byte-timeout-ms", "", "ms"),
        QCommandLineOption("retry-ms", "", "list"),
        QCommandLineOption("changed-only"),
        QCommandLineOption("full-if-unknown"),
        QCommandLineOption("trust-known"),
        QCommandLineOption("hub", "", "url"),
        QCommandLineOption("store", "", "name"),
        QCommandLineOption("every", "", "seconds"),
        QCommandLineOption("credentials", "", "file"),
        QCommandLineOption("ca", "", "file"),
        QCommandLineOption("insecure-http"),
        QCommandLineOption("hub-timeout-ms", "", "ms"),
    };
    static const QList<QCommandLineOption> all = options + ImportCommandLineOptions();
    return all;
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

// The values of the options given. Only those the command takes can be set by now.
Problem ReadOptions(const QCommandLineParser& parser, Settings& s) {
    std::set<std::string> devices;
    for (const QString& value : parser.values("port")) {
        const auto name = ParsePortName(value.toStdString());
        if (!name)
            return "Порт " + value.toStdString() +
                   " не годится: нужен COM1..COM8 или путь к устройству";
        if (!devices.insert(name->device).second)
            return "Порт " + value.toStdString() + " задан дважды";
        s.ports.push_back(*name);
    }
    if (parser.isSet("kind")) {
        const QString k = parser.value("kind").toLower();
        if (k != QStringLiteral("plu") && k != QStringLiteral("msg"))
            return std::string("--kind: нужен plu или msg");
        s.kind = k == QStringLiteral("plu") ? tables::ListKind::Plu : tables::ListKind::Msg;
    }
    if (parser.isSet("encoding")) {
        const QString e = parser.value("encoding").toLower();
        if (e != QStringLiteral("utf8") && e != QStringLiteral("cp1251"))
            return std::string("--encoding: нужен utf8 или cp1251");
        s.encoding =
            e == QStringLiteral("cp1251") ? tables::CsvEncoding::Cp1251 : tables::CsvEncoding::Utf8;
    }
    if (parser.isSet("baud")) {
        const auto rate = BaudOf(parser.value("baud"));
        if (!rate)
            return std::string("--baud: такой скорости нет; есть 110 .. 256000, например 9600");
        s.baud = *rate;
    }
    if (parser.isSet("byte-timeout-ms")) {
        bool ok = false;
        s.byteTimeoutMs = parser.value("byte-timeout-ms").toInt(&ok);
        if (!ok || s.byteTimeoutMs <= 0) return std::string("--byte-timeout-ms: нужно число");
    }
    if (parser.isSet("retry-ms")) {
        const auto list = MillisecondsList(parser.value("retry-ms"));
        if (!list || list->empty()) return std::string("--retry-ms: нужны числа через запятую");
        s.retryDelaysMs = *list;
    }
    if (parser.isSet("every")) {
        bool ok = false;
        s.everySeconds = parser.value("every").toDouble(&ok);
        if (!ok || s.everySeconds <= 0 || s.everySeconds > 86'400)
            return std::string("--every: нужно число секунд, например 60");
    }
    if (parser.isSet("hub-timeout-ms")) {
        bool ok = false;
        s.hubTimeoutMs = parser.value("hub-timeout-ms").toInt(&ok);
        if (!ok || s.hubTimeoutMs <= 0) return std::string("--hub-timeout-ms: нужно число");
    }
    s.hub = parser.value("hub");
    s.store = parser.value("store").toStdString();
    s.credentialsFile = parser.value("credentials");
    s.caFile = parser.value("ca");
    s.insecureHttp = parser.isSet("insecure-http");
    s.output = parser.value("output");
    s.partial = parser.isSet("partial");
    s.json = parser.isSet("json");
    s.changedOnly = parser.isSet("changed-only");
    s.fullIfUnknown = parser.isSet("full-if-unknown");
    s.trustKnown = parser.isSet("trust-known");
    return ReadImportOptions(parser, s.import);
}

std::string Spelled(const QString& name) {
    return (name.size() == 1 ? "-" : "--") + name.toStdString();
}

// Every usage error ends with where to read the command's options.
Parsed Usage(const std::string& error, const std::string& command = {}) {
    const std::string help = CommandNamed(command)
                                 ? "Справка: qvscale-cli help " + command
                                 : "Команды: qvscale-cli help; справка по команде: qvscale-cli "
                                   "help КОМАНДА";
    return {std::nullopt, kUsage, error + "\n" + help + "\n"};
}

// The first option set that the command does not take; nothing when it takes them all.
Problem OptionNotTaken(const QCommandLineParser& parser, const Command& command) {
    for (const QCommandLineOption& option : Options()) {
        const QString name = option.names().last();
        if (parser.isSet(option) && !command.options.contains(name))
            return "Команда " + std::string(command.name) + " не берёт " + Spelled(name);
    }
    return std::nullopt;
}

// The parser's own complaint in the user's words: an unknown option, a value missing after the
// last option, or a value given to an option that takes none.
std::string ParseError(const QCommandLineParser& parser, const QStringList& arguments) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) return "Неизвестный параметр: " + Spelled(unknown.front());
    for (const QCommandLineOption& option : Options()) {
        for (const QString& name : option.names()) {
            const QString spelled = Q(Spelled(name));
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

}  // namespace

Parsed ParseArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions(Options());
    const bool parsed = parser.parse(arguments);
    const QStringList words = parser.positionalArguments();
    const std::string name = words.isEmpty() ? "" : words.front().toStdString();
    if (!parsed) return Usage(ParseError(parser, arguments), name);

    if (parser.isSet(QStringLiteral("version")))
        return {std::nullopt, kDone, "qvscale-cli " QVSCALE_VERSION "\n"};
    if (name == Commands().back().name) {  // help
        const std::string asked = words.value(1).toStdString();
        if (!asked.empty() && !CommandNamed(asked)) return Usage("Неизвестная команда: " + asked);
        return {std::nullopt, kDone, HelpText(asked)};
    }
    if (parser.isSet(QStringLiteral("help"))) return {std::nullopt, kDone, HelpText(name)};
    if (name.empty()) return Usage("Не задана команда");
    const Command* command = CommandNamed(name);
    if (!command) return Usage("Неизвестная команда: " + name);
    if (const auto problem = OptionNotTaken(parser, *command)) return Usage(*problem, name);

    Settings s;
    s.command = name;
    if (const auto problem = ReadOptions(parser, s)) return Usage(*problem, name);
    if (const auto problem = command->operands(words, s)) return Usage(*problem, name);
    return {s, kDone, {}, command->run};
}

}  // namespace cli
