// The line-test panels on a pseudo-terminal, the test playing the far end of the line.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "FormHarness.h"
#include "PtyPair.h"
#include "WaitFor.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class DiagnosticsOnPty : public ::testing::Test {
  protected:
    FormHarness h;
    PtyPair pty{"COM2"};

    void SetUp() override {
        h.ConfirmPort(1);
        ASSERT_EQ(h.form->ForTests().GetError(), 0);
    }

    // Sends bytes from the far end and waits, at most 2 s, until all of them are waiting.
    void Arrive(const Bytes& bytes) {
        pty.Write(bytes);
        const auto count = static_cast<std::int32_t>(bytes.size());
        WaitFor([&] { return h.form->ForTests().InQue() >= count; }, 2000);
        ASSERT_EQ(h.form->ForTests().InQue(), count);
    }

    std::vector<QString> Items() const {
        std::vector<QString> items;
        for (int i = 0; i < h.Find<QListWidget>("Bytebox")->count(); ++i)
            items.push_back(h.Find<QListWidget>("Bytebox")->item(i)->text());
        return items;
    }
};

TEST_F(DiagnosticsOnPty, SendMessageSendsTheTextsBytesInCodePage1251) {
    h.Find<QLineEdit>("Edit1")->setText(QStringLiteral("Вес 1,5"));
    h.Click("BSend");
    EXPECT_EQ(pty.Read(7), (Bytes{0xC2, 0xE5, 0xF1, ' ', '1', ',', '5'}));
}

TEST_F(DiagnosticsOnPty, GetMessageAddsOneLinePerReadAndNothingWhenNothingWaits) {
    Arrive({'a', 'b', 'c'});
    h.Click("BHent");
    EXPECT_EQ(h.Find<QPlainTextEdit>("BeskedBox")->toPlainText(), "abc");
    EXPECT_EQ(h.form->ForTests().InQue(), 0);
    h.Click("BHent");
    EXPECT_EQ(h.Find<QPlainTextEdit>("BeskedBox")->toPlainText(), "abc");
    Arrive({0xC2, 'x'});
    h.Click("BHent");
    EXPECT_EQ(h.Find<QPlainTextEdit>("BeskedBox")->toPlainText(), QStringLiteral("abc\nВx"));
}

TEST_F(DiagnosticsOnPty, SendByteSendsTheLowEightBitsOfTheDecimalText) {
    const std::pair<const char*, std::uint8_t> cases[] = {{"300", 44},  {"5", 5},    {"0", 0},
                                                          {"255", 255}, {"-1", 255}, {"256", 0}};
    for (const auto& [text, byte] : cases) {
        h.Find<QLineEdit>("EByte")->setText(text);
        h.Click("Button10");
        EXPECT_EQ(pty.Read(1), Bytes{byte}) << text;
    }
    EXPECT_TRUE(h.dialogs->boxes.empty());
}

TEST_F(DiagnosticsOnPty, SendByteOfATextThatIsNotANumberShowsTheMessageAndSendsNothing) {
    for (const char* text : {"abc", "", "1.5", "4294967296"}) {
        h.Find<QLineEdit>("EByte")->setText(text);
        h.Click("Button10");
    }
    EXPECT_THAT(h.dialogs->Texts(BoxKind::Error),
                ::testing::ElementsAre("'abc' is not a valid integer value",
                                       "'' is not a valid integer value",
                                       "'1.5' is not a valid integer value",
                                       "'4294967296' is not a valid integer value"));
    // A byte sent now comes first: nothing went out before it.
    h.Find<QLineEdit>("EByte")->setText("7");
    h.Click("Button10");
    EXPECT_EQ(pty.Read(1), Bytes{7});
}

TEST_F(DiagnosticsOnPty, GetByteAddsEachWaitingValueAndNothingWhenNoneWaits) {
    Arrive({0, 200, 'A'});
    for (int i = 0; i < 4; ++i) h.Click("Button11");
    // A fourth read would have waited for a byte and added "0".
    EXPECT_EQ(Items(), (std::vector<QString>{"0", "200", "65"}));
}

TEST_F(DiagnosticsOnPty, EscapeCodesOnALineWithoutModemLinesLatchTheFailureAndNothingBreaks) {
    for (const char* name : {"Button1", "Button2", "Button3", "Button4"}) {
        h.Click(name);
        EXPECT_THAT(h.form->ForTests().GetError(),
                    ::testing::AnyOf(serial::kErrorNotSupported, serial::kErrorInvalidParameter))
            << name;
    }
    h.Click("Button6");
    h.Click("Button5");
    h.Find<QLineEdit>("Edit1")->setText("ok");
    h.Click("BSend");
    EXPECT_EQ(pty.Read(2), (Bytes{'o', 'k'}));
    Arrive({'z'});
    h.Click("BHent");
    EXPECT_EQ(h.Find<QPlainTextEdit>("BeskedBox")->toPlainText(), "z");
}

class DiagnosticsSaveBuffer : public DiagnosticsOnPty {
  protected:
    QTemporaryDir dir;
    QString PathOf(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    static QByteArray Content(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
};

TEST_F(DiagnosticsSaveBuffer, WritesTheWaitingBytesExactlyThroughTheSaveDialog) {
    const QString path = PathOf("line.bin");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an earlier, longer file");
    old.close();
    Arrive({0x00, 0x0D, 0x0A, 0xFF, 'x', 0x1A});
    h.dialogs->fileAnswers.push_back(path);
    h.Click("Button9");
    ASSERT_EQ(h.dialogs->fileDialogs.size(), 1u);
    EXPECT_TRUE(h.dialogs->fileDialogs[0].save);
    EXPECT_EQ(h.dialogs->fileDialogs[0].request.fileName, "noname1");
    EXPECT_EQ(Content(path), QByteArray("\x00\x0D\x0A\xFFx\x1A", 6));
    EXPECT_EQ(h.form->ForTests().SaveDialog1().fileName, path);
    EXPECT_EQ(h.form->ForTests().InQue(), 0);
    EXPECT_TRUE(h.dialogs->boxes.empty());
}

TEST_F(DiagnosticsSaveBuffer, ALaterQuickSaveOfTheTableStillAsksForItsOwnName) {
    Arrive({'x'});
    h.dialogs->fileAnswers.push_back(PathOf("line.bin"));
    h.Click("Button9");
    h.form->Button18Click();
    h.form->StringGrid1SetEditText(1, 1, QStringLiteral("x"));
    const QString list = PathOf("list.plu");
    h.dialogs->promptAnswers = {Answer::Yes};
    h.dialogs->fileAnswers.push_back(list);
    h.form->Button17Click();
    ASSERT_EQ(h.dialogs->fileDialogs.size(), 2u);
    EXPECT_TRUE(QFile::exists(list));
    EXPECT_TRUE(h.dialogs->Texts(BoxKind::Error).empty());
    EXPECT_FALSE(h.form->ForTests().TableIsPlu()) << "the new message list was made after the save";
}

TEST_F(DiagnosticsSaveBuffer, NothingWaitingOpensNoDialog) {
    h.dialogs->fileAnswers.push_back(PathOf("never.bin"));
    h.Click("Button9");
    EXPECT_TRUE(h.dialogs->fileDialogs.empty());
    EXPECT_FALSE(QFile::exists(PathOf("never.bin")));
}

TEST_F(DiagnosticsSaveBuffer, CancelledDialogKeepsTheInputWaitingAndTheName) {
    Arrive({'a', 'b', 'c'});
    h.dialogs->fileAnswers.push_back(std::nullopt);
    h.Click("Button9");
    EXPECT_EQ(h.dialogs->fileDialogs.size(), 1u);
    EXPECT_EQ(h.form->ForTests().SaveDialog1().fileName, "noname1");
    h.Click("BHent");
    EXPECT_EQ(h.Find<QPlainTextEdit>("BeskedBox")->toPlainText(), "abc");
}

TEST_F(DiagnosticsSaveBuffer, AFileThatCannotBeCreatedShowsTheCauseAndLeavesTheInputWaiting) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    const std::pair<QString, QString> cases[] = {
        {PathOf("missing/line.bin"), QStringLiteral("Папка не существует")},
        {PathOf("folder"), QStringLiteral("Это имя папки, а не файла")}};
    Arrive({'a', 'b', 'c'});
    for (const auto& [path, cause] : cases) {
        h.dialogs->boxes.clear();
        h.dialogs->fileAnswers.push_back(path);
        h.Click("Button9");
        ASSERT_EQ(h.dialogs->Texts(BoxKind::Error).size(), 1u) << path.toStdString();
        const QString text = h.dialogs->Texts(BoxKind::Error)[0];
        EXPECT_TRUE(text.contains(cause)) << text.toStdString();
        EXPECT_TRUE(text.contains(path)) << text.toStdString();
        EXPECT_EQ(h.form->ForTests().InQue(), 3) << path.toStdString();
    }
}

}  // namespace
