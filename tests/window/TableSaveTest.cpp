// Save, QuickSave and the saves that fail.

#include <QDir>

#include "FileSizeLimit.h"
#include "TableWindow.h"

namespace {

std::string Lines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

TEST(TableSave, NewListsAreWrittenByteForByteThroughButtonAndMenu) {
    struct Case {
        const char* kind;
        std::function<void(TableWindow&)> edit;
        std::string bytes;
    };
    const Case cases[] = {
        {"Button17", [](TableWindow&) {}, Lines({"1", "", "", "", "", "", "", "", "", "***"})},
        {"Button18", [](TableWindow&) {},
         Lines({"1", "", "", "0", "0", "0", "0", "0", "0", "***"})},
        // "Молоко", "Ёж" in code page 1251.
        {"Button18",
         [](TableWindow& w) {
             w.EditCell(1, 1, QStringLiteral("Молоко"));
             w.EditCell(2, 1, QStringLiteral("Ёж"));
         },
         Lines({"1", "\xcc\xee\xeb\xee\xea\xee", "\xa8\xe6", "0", "0", "0", "0", "0", "0", "***"})},
    };
    for (const Case& c : cases) {
        for (const char* command : {"Button19", "N4"}) {
            SCOPED_TRACE(std::string(c.kind) + " " + command);
            TableWindow w;
            w.Run(c.kind);
            c.edit(w);
            const QString path = w.Path("list.out");
            w.h.dialogs->fileAnswers = {path};
            w.Run(command);
            EXPECT_EQ(FileBytes(path), c.bytes);
            ASSERT_EQ(w.h.dialogs->fileDialogs.size(), 1u);
            EXPECT_TRUE(w.h.dialogs->fileDialogs[0].save);
            EXPECT_EQ(w.h.dialogs->fileDialogs[0].request.fileName, "noname1");
            EXPECT_FALSE(w.h.form->ForTests().TableModified());
            EXPECT_EQ(w.h.form->ForTests().TableFileName(), path);
            EXPECT_EQ(w.h.form->ForTests().SaveDialog1().fileName, path);
            EXPECT_TRUE(w.h.dialogs->boxes.empty());
        }
    }
}

TEST(TableSave, NRowsMakeNineNPlusOneLinesEndingAtTheFirstMarker) {
    TableWindow w;
    w.Run("Button17");
    w.SetRows({"1|a", "2", "3||||||||x", "***", "4|after the marker", "***"});
    w.h.dialogs->fileAnswers = {w.Path("three.msg")};
    w.Run("Button19");
    const std::string bytes = FileBytes(w.Path("three.msg"));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 9 * 3 + 1);
    EXPECT_EQ(bytes.find("after"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 5), "***\r\n");
}

TEST(TableSave, CancelInTheDialogWritesNothingAndKeepsTheFlag) {
    for (const bool modified : {false, true}) {
        TableWindow w;
        w.Run("Button18");
        if (modified) w.h.form->StringGrid1SetEditText(1, 1, QStringLiteral("x"));
        ASSERT_EQ(w.h.form->ForTests().TableModified(), modified);
        w.h.dialogs->fileAnswers = {std::nullopt};
        w.Run("Button19");
        EXPECT_EQ(w.h.dialogs->fileDialogs.size(), 1u);
        EXPECT_TRUE(QDir(w.dir.path()).isEmpty());
        EXPECT_EQ(w.h.form->ForTests().TableModified(), modified);
        EXPECT_EQ(w.h.form->ForTests().SaveDialog1().fileName, "noname1");
        EXPECT_TRUE(w.h.form->ForTests().TableFileName().isEmpty());
    }
}

TEST(TableSave, BeforeAListKindIsChosenThereIsNothingToSave) {
    for (const char* command : {"Button19", "N4"}) {
        TableWindow w;
        w.h.dialogs->fileAnswers = {w.Path("x.plu")};
        w.Run(command);
        EXPECT_EQ(w.h.dialogs->Texts(BoxKind::Plain),
                  std::vector<QString>{QStringLiteral("Было бы, что сохранять...")});
        EXPECT_TRUE(w.h.dialogs->fileDialogs.empty());
        EXPECT_TRUE(QDir(w.dir.path()).isEmpty());
    }
}

TEST(TableSave, AfterAConfirmedDialogYesWritesWithoutOneUntilANewList) {
    TableWindow w;
    w.Run("Button18");
    const QString first = w.Path("first.plu");
    w.h.dialogs->fileAnswers = {first};
    w.Run("Button19");
    w.EditCell(1, 1, "Tea");
    w.h.dialogs->promptAnswers = {Answer::Yes};
    w.Run("Button17");
    EXPECT_EQ(w.h.dialogs->fileDialogs.size(), 1u) << "no second dialog";
    EXPECT_EQ(FileBytes(first), Lines({"1", "Tea", "", "0", "0", "0", "0", "0", "0", "***"}));
    EXPECT_EQ(w.Titles().left(3), "MSG");

    // The message list forgot first.plu: a Yes asks for a name again.
    w.EditCell(1, 1, "Hello");
    const QString second = w.Path("second.msg");
    w.h.dialogs->promptAnswers = {Answer::Yes};
    w.h.dialogs->fileAnswers = {second};
    w.Run("Button18");
    ASSERT_EQ(w.h.dialogs->fileDialogs.size(), 2u);
    EXPECT_EQ(w.h.dialogs->fileDialogs[1].request.fileName, "noname1");
    EXPECT_EQ(w.h.dialogs->fileDialogs[1].request.defaultSuffix, "msg");
    EXPECT_EQ(FileBytes(second), Lines({"1", "Hello", "", "", "", "", "", "", "", "***"}));
    EXPECT_EQ(FileBytes(first), Lines({"1", "Tea", "", "0", "0", "0", "0", "0", "0", "***"}));
}

TEST(TableSave, OnceTheDialogWasConfirmedYesWritesToTheOpenedFile) {
    TableWindow w;
    w.Run("Button18");
    w.h.dialogs->fileAnswers = {w.Path("saved.plu"), w.Path("opened.plu")};
    w.Run("Button19");
    WriteBytes(w.Path("opened.plu"), Lines({"9", "Salt", "", "1", "1", "1", "1", "1", "1", "***"}));
    w.Run("Button20");
    w.EditCell(3, 1, "2");
    w.h.dialogs->promptAnswers = {Answer::Yes};
    w.h.dialogs->fileAnswers = {std::nullopt};
    w.Run("Button20");
    EXPECT_EQ(w.h.dialogs->fileDialogs.size(), 3u) << "the save asked no name";
    EXPECT_EQ(FileBytes(w.Path("opened.plu")),
              Lines({"9", "Salt", "", "2", "1", "1", "1", "1", "1", "***"}));
    EXPECT_EQ(FileBytes(w.Path("saved.plu")),
              Lines({"1", "", "", "0", "0", "0", "0", "0", "0", "***"}));
}

// A place a save cannot go, as root meets it. Root writes wherever a folder's mode forbids, so
// these are a folder that is a regular file, a folder of /proc that takes no new file (beside a
// file the process may write), and a file size limit for the full disk.
struct FailingPlace {
    const char* name;
    QString path;
    QString cause;
    bool sizeLimit;
};

std::vector<FailingPlace> FailingPlaces(const TableWindow& w) {
    WriteBytes(w.Path("plain"), "a file, not a folder");
    WriteBytes(w.Path("list.plu"), Lines({"earlier", "", "", "", "", "", "", "", "", "***"}));
    return {
        {"folder is a file", w.Path("plain/list.plu"), QStringLiteral("Папка не существует"),
         false},
        {"folder takes no new file", "/proc/self/comm", QStringLiteral("Доступ запрещён"), false},
        {"disk full", w.Path("list.plu"), QStringLiteral("Файл слишком велик"), true},
    };
}

TEST(TableSave, AFailedWriteKeepsTheEarlierFileTheFlagAndTheTableAndStopsTheCommandThatAsked) {
    // Save itself, and the commands whose prompt is answered Yes.
    const char* const commands[] = {"Button19", "Button18", "Button17", "Button20", "Button25"};
    for (const char* command : commands) {
        for (std::size_t i = 0; i < 3; ++i) {
            TableWindow w;
            const FailingPlace place = FailingPlaces(w)[i];
            SCOPED_TRACE(std::string(command) + ", " + place.name);
            w.Run("Button18");
            w.EditCell(1, 1, QStringLiteral("Сыр"));
            const std::vector<QString> before = w.Rows();
            const std::string earlier = FileBytes(place.path);
            const QStringList entries = QDir(w.dir.path()).entryList(QDir::Files | QDir::Hidden);
            w.h.dialogs->promptAnswers = {Answer::Yes};
            w.h.dialogs->fileAnswers = {place.path, w.Path("never-opened.plu")};
            {
                std::unique_ptr<FileSizeLimit> limit;
                if (place.sizeLimit) limit = std::make_unique<FileSizeLimit>(16);
                w.Run(command);
            }
            EXPECT_EQ(w.h.dialogs->Texts(BoxKind::Error),
                      std::vector<QString>{QStringLiteral("Не удалось сохранить файл %1: %2")
                                               .arg(place.path, place.cause)});
            EXPECT_EQ(w.h.dialogs->fileDialogs.size(), 1u) << "only the save dialog";
            EXPECT_EQ(FileBytes(place.path), earlier);
            EXPECT_EQ(QDir(w.dir.path()).entryList(QDir::Files | QDir::Hidden), entries);
            EXPECT_TRUE(w.h.form->ForTests().TableModified());
            EXPECT_EQ(w.Rows(), before);
            EXPECT_TRUE(w.h.form->ForTests().TableIsPlu());
            EXPECT_TRUE(w.h.form->isVisible());
        }
    }
}

}  // namespace
