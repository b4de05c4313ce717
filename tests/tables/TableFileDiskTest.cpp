#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>

#include "FileSizeLimit.h"
#include "Table.h"
#include "TableFile.h"
#include "TableTestSupport.h"

namespace tables {
namespace {

using testing::Cells;
using testing::FileBytes;
using testing::Marker;
using testing::Record;
using testing::TableOf;

class TableFileOnDisk : public ::testing::Test {
  protected:
    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
    QStringList Entries() const {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir dir_;
};

bool Write(const std::string& path, const Table& table, QString& error) {
    return WriteTableFile(QString::fromStdString(path), table, DataRowCount(table), error);
}

// "Молоко" and "Сыр"
const Table kTwoRecords = TableOf(
    {Row{}, Cells({"3", "\xcc\xee\xeb\xee\xea\xee", "\xd1\xfb\xf0"}), Record("4"), Marker()});

TEST_F(TableFileOnDisk, WritesTheFileBytesAndReadsThemBack) {
    QString error = "stale";
    const std::string path = Path("list.plu");
    ASSERT_TRUE(Write(path, kTwoRecords, error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(FileBytes(path), TableFileBytes(kTwoRecords, 2));

    std::string bytes;
    ASSERT_EQ(ReadTableFile(QString::fromStdString(path), bytes), ReadResult::Ok);
    EXPECT_EQ(bytes, FileBytes(path));
}

TEST_F(TableFileOnDisk, ReplacesALongerEarlierFileWhole) {
    QString error;
    const std::string path = Path("list.msg");
    std::vector<Row> many = {Row{}};
    for (int i = 0; i < 50; ++i) many.push_back(Record(std::to_string(i)));
    ASSERT_TRUE(Write(path, TableOf(many), error));
    ASSERT_TRUE(Write(path, kTwoRecords, error));
    EXPECT_EQ(FileBytes(path), TableFileBytes(kTwoRecords, 2));
    EXPECT_EQ(Entries(), QStringList{"list.msg"});
}

TEST_F(TableFileOnDisk, NamesTheCauseWhenTheFileCannotBeMade) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
    QString error;
    ASSERT_TRUE(Write(Path("plain"), kTwoRecords, error));
    const QStringList before = Entries();
    struct Case {
        std::string path;
        const char* cause;
    };
    // Root may write anywhere a folder's mode forbids, so these are folders nobody can write in.
    const Case cases[] = {
        {Path("missing/list.plu"), "Папка не существует"},
        {Path("plain/list.plu"), "Папка не существует"},
        {Path("folder"), "Это имя папки, а не файла"},
        {"/proc/self/list.plu", "Доступ запрещён"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Write(c.path, kTwoRecords, error)) << c.path;
        EXPECT_EQ(error.toStdString(), c.cause) << c.path;
    }
    EXPECT_EQ(Entries(), before);
}

TEST_F(TableFileOnDisk, AWriteThatRunsOutOfRoomLeavesTheEarlierFileWhole) {
    const std::string path = Path("list.plu");
    QString error;
    ASSERT_TRUE(Write(path, kTwoRecords, error));
    const std::string earlier = FileBytes(path);

    std::vector<Row> many = {Row{}};
    for (int i = 0; i < 2000; ++i) many.push_back(Record(std::to_string(i)));
    bool written = true;
    {
        FileSizeLimit limit(4096);
        written = Write(path, TableOf(many), error);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(error.toStdString(), "Файл слишком велик");
    EXPECT_EQ(FileBytes(path), earlier);
    EXPECT_EQ(Entries(), QStringList{"list.plu"});
}

TEST_F(TableFileOnDisk, ReadsUpToTheLimitAndRefusesMore) {
    const std::string atLimit = Path("at-limit.plu");
    const std::string overLimit = Path("over-limit.plu");
    // Sparse files: no 64 MiB is written to the disk.
    std::ofstream(atLimit).close();
    std::ofstream(overLimit).close();
    std::filesystem::resize_file(atLimit, kMaxTableFileBytes);
    std::filesystem::resize_file(overLimit, kMaxTableFileBytes + 1);

    std::string bytes = "untouched";
    EXPECT_EQ(ReadTableFile(QString::fromStdString(overLimit), bytes), ReadResult::TooLarge);
    EXPECT_EQ(bytes, "untouched");
    ASSERT_EQ(ReadTableFile(QString::fromStdString(atLimit), bytes), ReadResult::Ok);
    EXPECT_EQ(static_cast<std::int64_t>(bytes.size()), kMaxTableFileBytes);
}

TEST_F(TableFileOnDisk, CannotOpenWhatIsNotAReadableFile) {
    std::string bytes = "untouched";
    for (const std::string& path : {Path("missing.plu"), dir_.path().toStdString()}) {
        EXPECT_EQ(ReadTableFile(QString::fromStdString(path), bytes), ReadResult::CannotOpen)
            << path;
    }
    EXPECT_EQ(bytes, "untouched");
}

}  // namespace
}  // namespace tables
