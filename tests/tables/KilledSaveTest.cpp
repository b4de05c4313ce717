// A save killed at any moment leaves the earlier file or the whole new one, and the next save
// leaves no temporary behind.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "Table.h"
#include "TableFile.h"
#include "TableTestSupport.h"

namespace tables {
namespace {

using Steady = std::chrono::steady_clock;

Table FullList(const std::string& price) {
    Table table;
    table.SetRowCount(kMaxTableRecords + 2);
    for (int r = 1; r <= kMaxTableRecords; ++r)
        table.SetRow(r,
                     testing::Cells({std::to_string(r), "Name " + std::to_string(r), "", price}));
    WriteEndMarker(table, kMaxTableRecords + 1);
    return table;
}

bool Save(const QString& path, const Table& table) {
    QString error;
    return WriteTableFile(path, table, kMaxTableRecords, error);
}

TEST(KilledSave, LeavesTheEarlierFileOrTheNewOneAndNoTemporaryAfterTheNextSave) {
    constexpr int kPoints = 50;
    QTemporaryDir dir;
    const QString path = dir.filePath("list.plu");
    const Table earlier = FullList("100");
    const Table next = FullList("200");
    const std::string earlierBytes = TableFileBytes(earlier, kMaxTableRecords);
    const std::string nextBytes = TableFileBytes(next, kMaxTableRecords);

    // How long a save in a child takes from the fork to its end, so the kills spread over it.
    const auto start = Steady::now();
    const pid_t timed = fork();
    ASSERT_GE(timed, 0);
    if (timed == 0) _exit(Save(dir.filePath("timing.plu"), next) ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(timed, &status, 0), timed);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto saveTime = Steady::now() - start;
    QFile::remove(dir.filePath("timing.plu"));

    int keptEarlier = 0;
    int tookNext = 0;
    for (int point = 0; point < kPoints; ++point) {
        ASSERT_TRUE(Save(path, earlier));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) _exit(Save(path, next) ? 0 : 1);
        std::this_thread::sleep_until(Steady::now() + saveTime * point * 3 / (kPoints * 2));
        kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, nullptr, 0), child);
        const std::string bytes = testing::FileBytes(path.toStdString());
        ASSERT_TRUE(bytes == earlierBytes || bytes == nextBytes)
            << "a mix of " << bytes.size() << " bytes after a kill at point " << point;
        (bytes == earlierBytes ? keptEarlier : tookNext) += 1;
    }
    // The kills fell both before and after the new file took the name.
    EXPECT_GT(keptEarlier, 0);
    EXPECT_GT(tookNext, 0);

    ASSERT_TRUE(Save(path, earlier));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.plu"});
}

}  // namespace
}  // namespace tables
