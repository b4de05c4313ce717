// List files the command line will not send: the wrong kind, no list at all, a price the CSV
// reading would get wrong; each said in one plain line, before any byte.

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <sstream>

#include "CliFixture.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// A message list of one message, in code page 1251.
std::string MessageList() {
    std::string bytes = "1\r\n";
    for (int line = 1; line <= 8; ++line) bytes += "\xd1\xf2\xf0 " + std::to_string(line) + "\r\n";
    return bytes + "***\r\n";
}

TEST(CliKind, AListIsNeverSentOrWrittenAsTheOtherKind) {
    struct Case {
        const char* name;
        QStringList args;  // PLU and MSG stand for the lists' paths, OUT for a file to write
        int exitCode;
        std::string says;
    };
    const Case cases[] = {
        {"download PLUs as messages",
         {"download", "--port", "COM2", "--kind", "msg", "PLU"},
         3,
         "по расширению — список PLU, а задан список сообщений"},
        {"download messages as PLUs",
         {"download", "--port", "COM2", "--kind", "plu", "MSG"},
         3,
         "по расширению — список сообщений, а задан список PLU"},
        {"compare messages as PLUs",
         {"compare", "--port", "COM2", "--kind", "plu", "MSG"},
         3,
         "по расширению — список сообщений, а задан список PLU"},
        {"upload under a message list's name",
         {"upload", "--port", "COM2", "-o", "OUT"},
         2,
         "по расширению — список сообщений"},
        {"convert PLUs as messages",
         {"convert", "--kind", "msg", "PLU", "OUT.csv"},
         3,
         "по расширению — список PLU, а задан список сообщений"},
    };
    for (const auto& c : cases) {
        CliFixture f;
        sim::PluRecord r;
        r.plu = 9;
        f.Scale().PutPlu(r);
        const QString plu = f.WritePluList("prices.plu", 2);
        const QString msg = f.WriteFile("texts.msg", MessageList());
        const QString out = f.Path("x.msg");
        QStringList args;
        for (const QString& a : c.args)
            args << (a == "PLU"            ? plu
                     : a == "MSG"          ? msg
                     : a.startsWith("OUT") ? out + a.mid(3)
                                           : a);
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.err;
        EXPECT_TRUE(Has(run.err, c.says)) << c.name << ": " << run.err;
        EXPECT_TRUE(f.Scale().Received().empty()) << c.name;
        EXPECT_FALSE(QFileInfo::exists(out)) << c.name;
        EXPECT_FALSE(QFileInfo::exists(out + ".csv")) << c.name;
    }
}

TEST(CliBadFile, AFileThatIsNoListIsSaidInOneLineWithoutItsBytes) {
    std::string binary;
    for (int i = 0; i < 600; ++i) binary += static_cast<char>((i * 37 + 11) % 256);
    binary += "\x1b[2J\x1b]0;title\x07";
    struct Case {
        const char* name;
        std::function<QString(CliFixture&)> file;
        QStringList extra;
        std::string says;
    };
    const Case cases[] = {
        {"binary bytes",
         [&](CliFixture& f) { return f.WriteFile("image.plu", binary); },
         {},
         "не похож на файл списка: в нём двоичные данные"},
        {"an empty file",
         [](CliFixture& f) { return f.WriteFile("empty.plu", ""); },
         {},
         "пуст: в нём нет ни одной записи"},
        {"blank lines",
         [](CliFixture& f) { return f.WriteFile("blank.plu", "\r\n\r\n"); },
         {},
         "пуст: в нём нет ни одной записи"},
        {"a missing file",
         [](CliFixture& f) { return f.Path("missing.plu"); },
         {},
         "не открывается: такого файла нет"},
        {"a missing file without extension",
         [](CliFixture& f) { return f.Path("prices"); },
         {},
         "не открывается: такого файла нет"},
        {"a folder",
         [](CliFixture& f) {
             QDir().mkpath(f.Path("lists"));
             return f.Path("lists");
         },
         {},
         "не открывается: это папка, а нужен файл списка"},
        {"a folder named as a list",
         [](CliFixture& f) {
             QDir().mkpath(f.Path("old.plu"));
             return f.Path("old.plu");
         },
         {"--kind", "plu"},
         "не открывается: это папка, а нужен файл списка"},
    };
    for (const auto& c : cases) {
        CliFixture f;
        const CliRun run = RunCli(QStringList{"download", "--port", "COM2", c.file(f)} + c.extra);
        EXPECT_EQ(run.exitCode, 3) << c.name << ": " << run.err;
        EXPECT_TRUE(Has(run.err, c.says)) << c.name << ": " << run.err;
        EXPECT_EQ(Lines(run.err), 1u) << c.name << ": " << run.err;
        EXPECT_TRUE(f.Scale().Received().empty()) << c.name;
    }
}

TEST(CliBadFile, NoLineEverCarriesAControlCharacterFromTheFile) {
    const std::string row = "1\r\nA\r\n\r\n100\r\n5\r\n0\r\n1\r\n1\r\n0\r\n";
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"an escape in a price", "1\r\nA\r\n\r\n\x1b[31m12\r\n5\r\n0\r\n1\r\n1\r\n0\r\n***\r\n"},
        {"a bell and a C1 control in a number",
         row + "\x07\xc2\x9b"
               "2\r\nB\r\n\r\n100\r\n5\r\n0\r\n1\r\n1\r\n0\r\n***\r\n"},
    };
    for (const auto& c : cases) {
        CliFixture f;
        const CliRun run = RunCli({"download", "--port", "COM2", f.WriteFile("odd.plu", c.bytes)});
        EXPECT_EQ(run.exitCode, 3) << c.name << ": " << run.err;
        EXPECT_TRUE(Has(run.err, "\xEF\xBF\xBD")) << c.name << ": " << run.err;
        for (const char* control : {"\x1b", "\x07", "\xc2\x9b"})
            EXPECT_FALSE(Has(run.err, control)) << c.name << ": " << run.err;
    }
}

TEST(CliConvert, ARefusalSaysTheOutputIsNotWrittenAndNothingOfAScale) {
    struct Case {
        const char* name;
        std::string input;  // file name
        std::string bytes;
        std::string output;
    };
    const Case cases[] = {
        {"a bad table row", "bad.plu", "1\r\nA\r\n\r\n12,5\r\n5\r\n0\r\n1\r\n1\r\n0\r\n***\r\n",
         "out.csv"},
        {"a bad CSV row", "bad.csv", "PLU;Наименование;Цена\r\n1;Сыр;12,5\r\n", "out.plu"},
    };
    for (const auto& c : cases) {
        CliFixture f;
        const QString out = f.Path(c.output);
        const CliRun run = RunCli({"convert", f.WriteFile(c.input, c.bytes), out});
        EXPECT_EQ(run.exitCode, 3) << c.name;
        EXPECT_TRUE(Has(run.err, "Файл " + out.toStdString() + " не записан")) << run.err;
        EXPECT_FALSE(Has(run.err, "В весы")) << run.err;
        EXPECT_FALSE(QFileInfo::exists(out)) << c.name;
    }
}

TEST(CliCsv, ARowWithMoreCellsThanTheHeaderIsABadRowInEveryDelimiter) {
    struct Case {
        const char* name;
        std::string bytes;
        int exitCode;
    };
    const Case cases[] = {
        {"a rouble price split at commas", "PLU,Наименование,\"Цена, руб\"\r\n1,Сыр,549,90\r\n", 3},
        {"semicolons", "PLU;Наименование;Цена\r\n1;Сыр;100\r\n2;Хлеб;45;12\r\n", 3},
        {"tabs", "PLU\tНаименование\tЦена\r\n1\tСыр\t100\t7\r\n", 3},
        {"past an unknown column", "PLU;Цена;Заметка\r\n1;100;новый;x\r\n", 3},
        {"empty cells past the header", "PLU;Наименование;Цена\r\n1;Сыр;100;;\r\n", 0},
        {"as many cells as the header", "PLU,Наименование,\"Цена, руб\"\r\n1,Сыр,\"549,90\"\r\n",
         0},
    };
    for (const auto& c : cases) {
        CliFixture f;
        const QString out = f.Path("out.plu");
        const CliRun run = RunCli({"convert", f.WriteFile("in.csv", c.bytes), out});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.err;
        EXPECT_EQ(Has(run.err, "ячеек в строке больше, чем столбцов в заголовке"), c.exitCode != 0)
            << c.name << ": " << run.err;
        EXPECT_EQ(QFileInfo::exists(out), c.exitCode == 0) << c.name;
    }
}

TEST(CliCsv, TheImportsNotesAreSaidOnStandardErrorAndAsEvents) {
    const std::string longName(70, 'x');
    struct Case {
        const char* name;
        std::string bytes;
        std::string says;  // empty: no note
        std::string what;
    };
    const Case cases[] = {
        {"an unknown column", "PLU;Наименование;Цена;Остаток\r\n1;Сыр;100;5\r\n",
         "Пропущены неизвестные столбцы: «Остаток»", "ignored-columns"},
        {"a name too long", "PLU;Наименование;Цена\r\n1;Сыр;100\r\n2;" + longName + ";100\r\n",
         "обрезано: строка 3, PLU 2", "names-cut"},
        {"nothing to note", "PLU;Наименование;Цена\r\n1;Сыр;100\r\n", "", ""},
    };
    for (const auto& c : cases) {
        CliFixture f;
        const QString in = f.WriteFile("in.csv", c.bytes);
        const CliRun plain = RunCli({"convert", in, f.Path("out.plu")});
        EXPECT_EQ(plain.exitCode, 0) << c.name << ": " << plain.err;
        EXPECT_EQ(Has(plain.err, c.says) && !c.says.empty(), !c.says.empty())
            << c.name << ": " << plain.err;
        const CliRun json = RunCli({"download", "--json", "--port", "COM2", in});
        EXPECT_EQ(json.exitCode, 0) << c.name << ": " << json.err;
        std::istringstream lines(json.out);
        std::vector<std::string> notes;
        for (std::string line; std::getline(lines, line);) {
            const QJsonObject e = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
            if (e["event"] == "import-note") {
                notes.push_back(e["what"].toString().toStdString());
                EXPECT_TRUE(Has(e["text"].toString().toStdString(), c.says)) << line;
            }
        }
        EXPECT_EQ(notes,
                  c.what.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.what})
            << c.name;
        EXPECT_TRUE(Has(json.err, c.says)) << c.name << ": " << json.err;
    }
}

}  // namespace
