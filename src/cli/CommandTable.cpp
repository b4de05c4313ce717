#include "CommandTable.h"

#include <QFileInfo>

#include "ChangedOnly.h"
#include "Commands.h"
#include "CompareCommand.h"
#include "ListFile.h"
#include "PortsCommand.h"
#include "Watch.h"

namespace cli {

namespace {

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
    "линия отключена); 6 весы отвергли команду или запись; 130 остановлено\n"
    "сигналом SIGINT или SIGTERM после текущей записи. С несколькими портами —\n"
    "наибольший из кодов.\n";

// The options of a command that talks to scales, and its own.
std::vector<QString> Link(std::vector<QString> own = {}) {
    own.insert(own.end(), {"port", "baud", "json", "byte-timeout-ms"});
    return own;
}

Problem Extra(const QStringList& words) {
    return words.size() == 1 ? Problem() : "Лишний аргумент: " + words.back().toStdString();
}

Problem NoPort(const Settings& s) {
    return s.ports.empty() ? "Не задан порт: --port COM2 или --port /dev/ttyUSB0" : Problem();
}

Problem OneList(const QStringList& words, Settings& s) {
    if (words.size() != 2) return "Команде " + s.command + " нужен ровно один файл списка";
    if (const auto problem = NoPort(s)) return problem;
    s.file = words[1];
    return std::nullopt;
}

// A file that cannot be read is said so when it is read, which names the cause.
Problem KindUnseen(const Settings& s) {
    const QFileInfo file(s.file);
    if (s.kind || KindOfFileName(s.file) || IsCsvFileName(s.file) || !file.exists() || file.isDir())
        return std::nullopt;
    return "Вид списка не виден по расширению файла: задайте --kind plu или --kind msg";
}

Problem DisplayOperands(const QStringList& words, Settings& s) {
    if (const auto extra = Extra(words)) return extra;
    return NoPort(s);
}

Problem DownloadOperands(const QStringList& words, Settings& s) {
    if (const auto problem = OneList(words, s)) return problem;
    if (const auto problem = KindUnseen(s)) return problem;
    if ((s.fullIfUnknown || s.trustKnown) && !s.changedOnly)
        return "--full-if-unknown и --trust-known — только вместе с --changed-only";
    // A CSV file says its kind once read; the command checks it then.
    const auto kind = KindToSend(s, s.file);
    return kind ? ChangesProblem(s, *kind) : std::nullopt;
}

Problem UploadOperands(const QStringList& words, Settings& s) {
    if (const auto problem = DisplayOperands(words, s)) return problem;
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
    if (words.size() != 2) return "Команде " + s.command + " нужна ровно одна папка";
    if (const auto problem = NoPort(s)) return problem;
    s.file = words[1];
    if (QFileInfo(s.file).isDir()) return std::nullopt;
    return "Папка " + s.file.toStdString() +
           (QFileInfo::exists(s.file) ? " — это файл, а нужна папка" : " не найдена");
}

Problem ConvertOperands(const QStringList& words, Settings& s) {
    if (words.size() != 3) return "Команде " + s.command + " нужны два файла: ВХОД ВЫХОД";
    s.file = words[1];
    s.output = words[2];
    if (const auto problem = KindUnseen(s)) return problem;
    if (IsCsvFileName(s.file) != IsCsvFileName(s.output)) return std::nullopt;
    return s.command + " переводит файл таблицы в CSV-файл (.csv) или обратно";
}

Problem CompareOperands(const QStringList& words, Settings& s) {
    if (const auto problem = OneList(words, s)) return problem;
    if (KindToSend(s, s.file) == tables::ListKind::Msg) return ComparePluOnly();
    return std::nullopt;
}

// In the order of the program's help.
const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"display", "показания весов: вес, цена, стоимость",
         "Использование: qvscale-cli display --port ПОРТ [--port ПОРТ...]\n\n"
         "Читает показания весов и печатает их так, как их показывает окно:\n"
         "  COM2: Вес 1,234  Цена 12,34  Стоимость 15,23\n",
         Link(), DisplayOperands, RunDisplay},
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
         Link({"kind", "changed-only", "full-if-unknown", "trust-known"}), DownloadOperands,
         RunDownload},
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
        {"convert",
         "файл таблицы в CSV-файл или обратно, с проверкой строк",
         "Использование: qvscale-cli convert [--kind plu|msg] [--encoding utf8|cp1251] ВХОД "
         "ВЫХОД\n\n"
         "Переводит список из файла таблицы (.plu, .msg) в CSV-файл (.csv) или обратно.\n"
         "Строки проверяются, как перед загрузкой в весы: с ошибкой — ничего не\n"
         "пишется (код 3). CSV пишется в UTF-8 с `;`, --encoding cp1251 — для старых\n"
         "программ.\n",
         {"json", "kind", "encoding"},
         ConvertOperands,
         RunConvert},
        {"compare", "сверить список PLU из файла с тем, что в весах",
         "Использование: qvscale-cli compare --port ПОРТ [--port ПОРТ...] ФАЙЛ\n\n"
         "Считывает список PLU из весов и сверяет его со списком в файле по номерам\n"
         "PLU, каждое поле так, как его хранят весы. Печатает по строке на различие\n"
         "(PLU, поле, значение в списке, значение в весах), PLU, которых нет в весах\n"
         "или нет в списке, и итог. Код 0 — совпадает, 1 — есть различия.\n",
         Link({"kind"}), CompareOperands, RunCompare},
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
        {"help", "справка по команде: qvscale-cli help download", nullptr, {}, nullptr, nullptr},
    };
    return commands;
}

}  // namespace

const Command* CommandNamed(const std::string& name) {
    for (const Command& c : Commands())
        if (c.page && name == c.name) return &c;
    return nullptr;
}

const Command& HelpCommand() {
    return Commands().back();
}

std::string HelpText(const std::string& command) {
    if (const Command* c = CommandNamed(command)) return c->page;
    std::string text = kProgramHead;
    for (const Command& c : Commands()) {
        std::string name = c.name;
        name.resize(10, ' ');
        text += "  " + name + c.summary + "\n";
    }
    return text + kProgramTail;
}

}  // namespace cli
