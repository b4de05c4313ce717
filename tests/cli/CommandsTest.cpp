// The command line's commands against virtual scales, run as a user runs them.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <filesystem>
#include <sstream>

#include "CliFixture.h"
#include "FileSizeLimit.h"
#include "MyCom.h"
#include "PortMap.h"

namespace {

// Runs the program with the files it writes limited to `bytes`, as a disk that fills up; 0: no
// limit.
CliRun RunCliWritingAtMost(const QStringList& args, std::size_t bytes) {
    if (!bytes) return RunCli(args);
    FileSizeLimit limit(bytes);
    return RunCli(args);
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> numbers;
    for (int n = first; n <= last; ++n) numbers.push_back(n);
    return numbers;
}

TEST(CliUsage, AWrongCommandLineSaysWhyWithCodeTwoAndTouchesNoPort) {
    CliFixture f;
    const QString list = f.WritePluList("list.plu", 2);
    const QString text = f.WriteFile("list.txt", "1\r\n***\r\n");
    struct Case {
        QStringList args;
        std::string says;
    };
    const Case cases[] = {
        {{}, "Не задана команда"},
        {{"send", "--port", "COM2"}, "Неизвестная команда: send"},
        {{"display"}, "Не задан порт"},
        {{"display", "--port", "COM9"}, "Порт COM9 не годится"},
        {{"display", "--port", "ttyUSB0"}, "Порт ttyUSB0 не годится"},
        {{"display", "--port", "COM2", "--port", "COM2"}, "задан дважды"},
        {{"download", "--port", "COM2"}, "нужен ровно один файл списка"},
        {{"download", "--port", "COM2", text}, "--kind plu"},
        {{"download", "--port", "COM2", "--kind", "csv", list}, "--kind: нужен plu или msg"},
        {{"display", "--port", "COM2", "--baud", "9601"}, "--baud"},
        {{"upload", "--port", "COM2"}, "-o ФАЙЛ"},
        {{"upload", "--port", "COM2", "--port", "COM3", "-o", "x.plu"}, "один --port"},
        {{"upload", "--port", "COM2", "-o", "-", "--json"}, "стандартный вывод"},
        {{"display", "--port", "COM2", "--no-such-option"}, "no-such-option"},
        {{"watch", "--port", "COM2"}, "нужна ровно одна папка"},
        {{"watch", "--port", "COM2", f.Path("no-such-folder")}, "no-such-folder не найдена"},
        {{"watch", "--port", "COM2", list}, "это файл, а нужна папка"},
        {{"ports", "map", "COM9", "/dev/ttyUSB0"}, "COM9 не годится"},
        {{"ports", "unmap"}, "ports unmap COMn"},
        {{"ports", "list"}, "ports map COMn"},
        {{"ports", "--port", "COM2"}, "ports не берёт --port"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.says;
        EXPECT_TRUE(Has(run.err, c.says)) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    EXPECT_TRUE(f.Scale().Received().empty());
    EXPECT_TRUE(f.Log().empty());
}

TEST(CliUsage, AnOptionErrorIsRussianWithCodeTwoAndPointsToTheCommandsHelp) {
    CliFixture f;
    const QString list = f.WritePluList("list.plu", 2);
    struct Case {
        QStringList args;
        std::string says;
        std::string help;  // what the pointer to the help names
    };
    const Case cases[] = {
        {{"download", "--port", "COM2", "--chnaged-only", list},
         "Неизвестный параметр: --chnaged-only",
         "help download"},
        {{"display", "--port"}, "После --port нужно значение", "help display"},
        {{"upload", "--port", "COM2", "-o"}, "После -o нужно значение", "help upload"},
        {{"display", "--port", "COM2", "--json=yes"}, "--json не берёт значения", "help display"},
        {{"display", "--port", "COM2", "--partial"},
         "Команда display не берёт --partial",
         "help display"},
        {{"convert", "--port", "COM2", list, f.Path("list.csv")},
         "Команда convert не берёт --port",
         "help convert"},
        {{"upload", "--port", "COM2", "-o", f.Path("x.plu"), "--changed-only"},
         "Команда upload не берёт --changed-only",
         "help upload"},
        {{"compare", "--port", "COM2", "--encoding", "cp1251", list},
         "Команда compare не берёт --encoding",
         "help compare"},
        {{"watch", "--port", "COM2", "--partial", f.Path("")},
         "Команда watch не берёт --partial",
         "help watch"},
        {{"ports", "--baud", "9600"}, "Команда ports не берёт --baud", "help ports"},
        {{"help", "nosuch"}, "Неизвестная команда: nosuch", "help КОМАНДА"},
        {{"nosuch"}, "Неизвестная команда: nosuch", "help КОМАНДА"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.args);
        const std::string args = c.args.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, 2) << args;
        EXPECT_TRUE(Has(run.err, c.says)) << args << ": " << run.err;
        EXPECT_TRUE(Has(run.err, "Справка: qvscale-cli " + c.help) ||
                    Has(run.err, "справка по команде: qvscale-cli " + c.help))
            << args << ": " << run.err;
        for (const char* english : {"Unknown", "Missing", "Unexpected", "option"})
            EXPECT_FALSE(Has(run.err, english)) << args << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    EXPECT_TRUE(f.Scale().Received().empty());
}

// Code points, as a terminal shows them.
std::size_t Width(const std::string& utf8) {
    return static_cast<std::size_t>(QString::fromStdString(utf8).size());
}

TEST(CliUsage, TheHelpsParagraphsBreakOnlyWhereTheLineIsFull) {
    struct Case {
        QStringList args;
        std::string paragraph;  // how it begins
    };
    const Case cases[] = {
        {{"--help"}, "Коды завершения:"},
        {{"--help"}, "Обмен с весами без окна"},
        {{"help", "compare"}, "Считывает список PLU"},
    };
    for (const auto& c : cases) {
        const std::string out = RunCli(c.args).out;
        const std::size_t at = out.find(c.paragraph);
        ASSERT_NE(at, std::string::npos) << c.paragraph;
        std::vector<std::string> lines;
        std::istringstream text(out.substr(at, out.find("\n\n", at) - at));
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        std::size_t widest = 0;
        for (const auto& line : lines) widest = std::max(widest, Width(line));
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
            const std::string next = lines[i + 1].substr(0, lines[i + 1].find(' '));
            EXPECT_GT(Width(lines[i]) + 1 + Width(next), widest)
                << c.paragraph << ": «" << lines[i] << "» could take «" << next << "»";
        }
    }
}

TEST(CliUsage, HelpAndVersionGoToStandardOutput) {
    const QStringList asked[] = {
        {"--help"}, {"help", "download"}, {"download", "--help"}, {"--version"}};
    for (const auto& args : asked) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(Has(run.out, args.contains("--version") ? "qvscale-cli " : "Использование"))
            << run.out;
    }
    EXPECT_TRUE(Has(RunCli({"help", "upload"}).out, "--partial"));
    EXPECT_TRUE(Has(RunCli({"help", "ports"}).out, "ports unmap COMn"));
}

// The first word of each line under "Команды:" in the program's help.
std::vector<std::string> ListedCommands() {
    const std::string out = RunCli({"--help"}).out;
    const std::size_t from = out.find("Команды:\n");
    std::istringstream lines(out.substr(from, out.find("\n\n", from) - from));
    std::vector<std::string> names;
    std::string line;
    for (std::getline(lines, line); std::getline(lines, line);)
        names.push_back(line.substr(2, line.find(' ', 2) - 2));
    return names;
}

// Every "--name" in the text, in order; names are lower-case letters and hyphens.
std::vector<std::string> LongOptions(const std::string& text) {
    std::vector<std::string> options;
    for (std::size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at)) {
        std::size_t end = at + 2;
        while (end < text.size() && ((text[end] >= 'a' && text[end] <= 'z') || text[end] == '-'))
            ++end;
        if (end > at + 2) options.push_back(text.substr(at, end - at));
        at = end;
    }
    return options;
}

TEST(CliUsage, EachListedCommandHasItsPageAndTakesEveryOptionThePageNames) {
    const std::vector<std::string> commands = ListedCommands();
    ASSERT_GE(commands.size(), 7u);
    for (const std::string& name : commands) {
        if (name == "help") continue;
        const QString command = QString::fromStdString(name);
        const CliRun page = RunCli({"help", command});
        EXPECT_EQ(page.exitCode, 0) << name;
        EXPECT_EQ(page.out.rfind("Использование: qvscale-cli " + name + " ", 0), 0u) << page.out;
        EXPECT_EQ(RunCli({command, "--help"}).out, page.out) << name;
        for (const std::string& option : LongOptions(page.out)) {
            // The stray word keeps a command that takes the option from running.
            const CliRun run = RunCli({command, QString::fromStdString(option), "x"});
            EXPECT_EQ(run.exitCode, 2) << name << " " << option;
            EXPECT_FALSE(Has(run.err, "не берёт")) << name << " " << option << ": " << run.err;
        }
    }
}

TEST(CliUsage, AUsageLineNamesThePortOnlyForACommandThatTakesIt) {
    struct Case {
        QStringList args;
        std::string usage;
        bool port;
    };
    const Case cases[] = {
        {{"--help"}, "Использование: qvscale-cli КОМАНДА [ПАРАМЕТРЫ]", false},
        {{"help", "display"}, "Использование: qvscale-cli display ", true},
        {{"help", "watch"}, "Использование: qvscale-cli watch ", true},
        {{"help", "convert"}, "Использование: qvscale-cli convert ", false},
        {{"help", "ports"}, "Использование: qvscale-cli ports ", false},
    };
    for (const Case& c : cases) {
        const std::string out = RunCli(c.args).out;
        const std::string first = out.substr(0, out.find('\n'));
        EXPECT_EQ(first.rfind(c.usage, 0), 0u) << first;
        EXPECT_EQ(Has(first, "--port"), c.port) << first;
    }
    EXPECT_TRUE(Has(RunCli({"--help"}).out, "qvscale-cli help КОМАНДА"));
}

TEST(CliPorts, APortThatDoesNotOpenIsNamedWithItsCauseAndCodeFour) {
    CliFixture f;
    TComm holder;  // this test holds COM2 as another program would
    holder.Port = COM2;
    holder.Connect();
    const QString plain = f.WriteFile("plain.txt", "no serial line here");
    struct Case {
        QString port;
        std::string says;
    };
    const Case cases[] = {
        {f.Path("no-such-device"), "не найдено: проверьте, подключён ли адаптер"},
        {plain, "не последовательный порт"},
        {"COM2", "занято другой программой (test_cli)"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli({"display", "--port", c.port});
        EXPECT_EQ(run.exitCode, 4) << c.says;
        EXPECT_TRUE(Has(run.err, c.says)) << run.err;
    }
}

TEST(CliPorts, MessagesAndTheLogNameTheDeviceACOMNameLeadsToNotItsLink) {
    namespace fs = std::filesystem;
    CliFixture f;
    const std::string link = serial::PortMapDir() + "/COM2";
    const std::string pty = fs::canonical(link).string();
    fs::create_symlink(f.Path("unplugged").toStdString(), serial::PortMapDir() + "/COM5");
    struct Case {
        const char* name;
        QString port;
        bool hold;  // this test holds the port as another program would
        int exitCode;
        std::string says;
    };
    const Case cases[] = {
        {"busy", "COM2", true, 4, "Устройство " + pty + " для COM2 занято"},
        {"a link to nothing", "COM5", false, 4,
         "Устройство " + f.Path("unplugged").toStdString() + " для COM5 не найдено"},
        {"read", "COM2", false, 0, "COM2: Вес"},
    };
    for (const auto& c : cases) {
        TComm holder;
        if (c.hold) {
            holder.Port = COM2;
            holder.Connect();
        }
        const CliRun run = RunCli({"display", "--port", c.port});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << run.err;
        EXPECT_TRUE(Has(run.out + run.err, c.says)) << c.name << ": " << run.err;
        EXPECT_FALSE(Has(run.err, "qvscale/ports")) << c.name << ": " << run.err;
    }
    EXPECT_TRUE(Has(f.Log(), " COM2 " + pty + " readout")) << f.Log();
    EXPECT_FALSE(Has(f.Log(), "qvscale/ports")) << f.Log();
}

TEST(CliDisplay, ShowsTheReadingsAsTheWindowDoesOnEveryPort) {
    CliFixture f({2, 3});
    f.Scale(0).SetDisplay(1234, 5678, 9012);
    f.Scale(1).SetDisplay(-5, 5, 1234567);
    const CliRun run = RunCli({"display", "--port", "COM2", "--port", "COM3"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "COM2: Вес 1,234  Цена 56,78  Стоимость 90,12")) << run.out;
    EXPECT_TRUE(Has(run.out, "COM3: Вес -0,005  Цена 0,05  Стоимость 12345,67")) << run.out;
    EXPECT_TRUE(Has(f.Log(), "COM3")) << f.Log();
}

TEST(CliDownload, EveryPortGetsTheListAndTheWorstOutcomeIsTheExitCode) {
    struct Case {
        const char* name;
        std::function<void(CliFixture&)> arrange;
        int exitCode;
        std::vector<std::vector<int>> stored;  // per scale
        std::string says;
    };
    const Case cases[] = {
        {"all three",
         [](CliFixture&) {},
         0,
         {Range(1, 5), Range(1, 5), Range(1, 5)},
         "COM4: готово, строк: 5 из 5"},
        {"one silent, the others go on",
         [](CliFixture& f) {
             f.Scale(1).Inject(
                 FaultAt(sim::Kind::Any, 0, sim::Step::Ready, sim::Action::Silence, true));
         },
         5,
         {Range(1, 5), {}, Range(1, 5)},
         "COM3: ошибка в строке 1: весы не отвечают"},
        {"a refused record",
         [](CliFixture& f) {
             f.Scale(0).Inject(
                 FaultAt(sim::Kind::PluDownload, 3, sim::Step::NumberCheck, sim::Action::Refuse));
         },
         6,
         {Range(1, 2), Range(1, 5), Range(1, 5)},
         "COM2: ошибка в строке 3: весы не приняли"},
        {"a stall in a record",
         [](CliFixture& f) {
             f.Scale(2).Inject(
                 FaultAt(sim::Kind::PluDownload, 2, sim::Step::Record, sim::Action::Stall));
         },
         5,
         {Range(1, 5), Range(1, 5), {1}},
         "COM4: ошибка в строке 2: связь прервалась"},
    };
    for (const auto& c : cases) {
        CliFixture f({2, 3, 4});
        c.arrange(f);
        const QString list = f.WritePluList("list.plu", 5);
        const CliRun run = RunCli({"download", "--port", "COM2", "--port", "COM3", "--port", "COM4",
                                   "--byte-timeout-ms", "200", list});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << run.err;
        for (std::size_t i = 0; i < c.stored.size(); ++i)
            EXPECT_EQ(CliFixture::StoredPlus(f.Scale(i)), c.stored[i]) << c.name << " scale " << i;
        EXPECT_TRUE(Has(run.out + run.err, c.says)) << c.name << run.out << run.err;
        const std::string log = f.Log();
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), c.exitCode == 0 ? 3 : 4) << log;
    }
}

TEST(CliDownload, ABadFileIsRefusedBeforeTheFirstByteListingEveryBadRow) {
    CliFixture f;
    const std::string goodRow = "1\r\nA\r\n\r\n100\r\n5\r\n0\r\n1\r\n1\r\n0\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> says;
    };
    const Case cases[] = {
        {"two bad rows",
         goodRow + "2\r\nB\r\n\r\n12,5\r\n5\r\n0\r\n1\r\n1\r\n0\r\n" +
             "3\r\nC\r\n\r\n100\r\n400\r\n0\r\n99999999999\r\n1\r\n0\r\n***\r\n",
         {"Строка 2, «Цена»: не число: «12,5»", "Строка 3, «Код товара»: число не помещается",
          "строк с ошибками: 2"}},
        {"shelf life out of range",
         "1\r\nA\r\n\r\n100\r\n367\r\n0\r\n1\r\n1\r\n0\r\n***\r\n",
         {"Строка 1, «Срок хранения»: срок годности вне 0..366"}},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli({"download", "--port", "COM2", f.WriteFile("bad.plu", c.bytes)});
        EXPECT_EQ(run.exitCode, 3) << c.name;
        for (const auto& line : c.says) EXPECT_TRUE(Has(run.err, line)) << c.name << run.err;
    }
    EXPECT_EQ(RunCli({"download", "--port", "COM2", f.Path("missing.plu")}).exitCode, 3);
    EXPECT_TRUE(f.Scale().Received().empty());
}

TEST(CliUpload, TheFileIsReplacedOnlyWhenTheUploadEndedWellOrPartialIsAsked) {
    struct Case {
        const char* name;
        bool stall;
        bool partial;
        std::size_t sizeLimit;  // 0: none
        int exitCode;
        int rowsWritten;  // -1: the earlier file stays
    };
    const Case cases[] = {
        {"ended well", false, false, 0, 0, 4},
        {"stalled", true, false, 0, 5, -1},
        {"stalled, partial", true, true, 0, 5, 2},
        {"the disk fills up", false, false, 40, 3, -1},
    };
    for (const auto& c : cases) {
        CliFixture f;
        for (int n = 1; n <= 4; ++n) {
            sim::PluRecord r;
            r.plu = static_cast<std::uint16_t>(n);
            r.price = 100 * n;
            f.Scale().PutPlu(r);
        }
        if (c.stall)
            f.Scale().Inject(
                FaultAt(sim::Kind::PluUpload, 3, sim::Step::Record, sim::Action::Stall));
        const QString out = f.WriteFile("out.plu", "earlier\r\n***\r\n");
        QStringList args = {"upload", "--port", "COM2", "-o", out, "--byte-timeout-ms", "200"};
        if (c.partial) args << "--partial";
        const CliRun run = RunCliWritingAtMost(args, c.sizeLimit);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << run.err;
        const std::string file = CliFixture::ReadFile(out);
        if (c.rowsWritten < 0) {
            EXPECT_EQ(file, "earlier\r\n***\r\n") << c.name;
        } else {
            EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 9 * c.rowsWritten + 1) << c.name;
            EXPECT_EQ(file.substr(0, 3), "1\r\n") << c.name;
        }
    }
}

// The last JSON event of the output.
QJsonObject LastEvent(const std::string& out) {
    std::istringstream lines(out);
    QJsonObject last;
    for (std::string line; std::getline(lines, line);)
        last = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
    return last;
}

TEST(CliUpload, AFileNotWrittenIsSaidAsSuchInTextAndEvents) {
    struct Case {
        const char* name;
        std::string file;       // in the test's folder
        bool earlier;           // a file is there before
        std::size_t sizeLimit;  // 0: none
        bool transfer;          // the scale is asked at all
        std::string says;
    };
    const Case cases[] = {
        {"a missing folder", "no-such-folder/x.plu", false, 0, false,
         "no-such-folder нет; список из весов не принимался"},
        {"a folder as the file", "", false, 0, false, "не записать: это папка"},
        {"the disk fills up, no file before", "new.plu", false, 40, true, "не записан"},
        {"the disk fills up, a file before", "old.plu", true, 40, true,
         "прежний файл остался как был"},
    };
    for (const auto& c : cases) {
        CliFixture f;
        for (int n = 1; n <= 4; ++n) {
            sim::PluRecord r;
            r.plu = static_cast<std::uint16_t>(n);
            f.Scale().PutPlu(r);
        }
        const QString out = f.Path(c.file);
        if (c.earlier) f.WriteFile(c.file, "earlier\r\n***\r\n");
        const QStringList args = {"upload", "--json", "--port", "COM2", "-o", out};
        const CliRun run = RunCliWritingAtMost(args, c.sizeLimit);
        EXPECT_EQ(run.exitCode, 3) << c.name << run.err;
        EXPECT_TRUE(Has(run.err, c.says)) << c.name << ": " << run.err;
        EXPECT_EQ(Has(run.err, "прежний файл"), c.earlier) << c.name << ": " << run.err;
        EXPECT_FALSE(Has(run.err, "COM2: готово, строк: 4, ")) << c.name << ": " << run.err;
        const QJsonObject last = LastEvent(run.out);
        EXPECT_EQ(last["event"].toString(), "file-not-written") << c.name << run.out;
        EXPECT_EQ(last["exit_code"].toInt(), 3) << c.name << run.out;
        EXPECT_EQ(!f.Scale().Received().empty(), c.transfer) << c.name;
    }
}

TEST(CliUpload, ADashWritesTheTableBytesAloneToStandardOutput) {
    CliFixture f;
    sim::PluRecord r;
    r.plu = 7;
    r.price = 990;
    f.Scale().PutPlu(r);
    const CliRun run = RunCli({"upload", "--port", "COM2", "-o", "-"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, 3), "7\r\n");
    EXPECT_EQ(run.out.substr(run.out.size() - 5), "***\r\n");
    EXPECT_TRUE(Has(run.err, "COM2: готово")) << run.err;
}

TEST(CliJson, EachEventIsOneObjectALineAndTheTextGoesToStandardError) {
    CliFixture f({2, 3});
    f.Scale(1).Inject(FaultAt(sim::Kind::Any, 0, sim::Step::Ready, sim::Action::Silence, true));
    const QString list = f.WritePluList("list.plu", 3);
    const CliRun run = RunCli({"download", "--json", "--port", "COM2", "--port", "COM3", list});
    EXPECT_EQ(run.exitCode, 5);
    std::map<std::string, int> exitCodes;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        const QJsonObject event = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        ASSERT_FALSE(event.isEmpty()) << line;
        if (event["event"] == "run-end")
            exitCodes[event["port"].toString().toStdString()] = event["exit_code"].toInt();
    }
    EXPECT_EQ(exitCodes, (std::map<std::string, int>{{"COM2", 0}, {"COM3", 5}}));
    EXPECT_TRUE(Has(run.err, "COM2: готово")) << run.err;
}

TEST(CliSignal, SigintEndsTheRunAfterTheRecordUnderWay) {
    CliFixture f({2}, 9600);
    const QString list = f.WritePluList("list.plu", 40);
    CliProcess cli({"download", "--port", "COM2", list});
    // Three rows and some bytes of the fourth are on the line.
    ASSERT_TRUE(f.Scale().WaitReceived(3 * 81 + 20, std::chrono::seconds(10)));
    cli.Signal(SIGINT);
    ASSERT_TRUE(cli.Finish());
    EXPECT_EQ(cli.ExitCode(), 130);
    const std::vector<int> stored = CliFixture::StoredPlus(f.Scale());
    ASSERT_GE(stored.size(), 4u);
    EXPECT_LT(stored.size(), 40u);
    EXPECT_EQ(stored, Range(1, static_cast<int>(stored.size())));
    EXPECT_TRUE(Has(cli.Err(), "строк: " + std::to_string(stored.size()) + " из 40")) << cli.Err();
    EXPECT_TRUE(Has(f.Log(), "stopped")) << f.Log();
}

}  // namespace
