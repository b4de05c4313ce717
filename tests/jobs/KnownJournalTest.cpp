// The journal of claims: whatever a kill or a power cut leaves of its tail, it gives back only
// records that were written whole, in order.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "KnownJournal.h"

namespace {

tables::Row Record(int plu) {
    return {std::to_string(plu), "Сыр", "", std::to_string(100 * plu), "5", "0", "77", "1", "0"};
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

TEST(KnownJournal, GivesBackOnlyWholeEntriesWhateverIsLeftOfItsTail) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("COM2.plu.journal").toStdString();
    const std::vector<tables::Row> records{Record(1), Record(2), Record(3)};
    std::string error;
    ASSERT_TRUE(jobs::AppendJournal(path, {records[0]}, error)) << error;
    ASSERT_TRUE(jobs::AppendJournal(path, {records[1], records[2]}, error)) << error;
    ASSERT_EQ(jobs::ReadJournal(path), records);

    std::string whole;
    std::vector<std::size_t> ends;
    for (const tables::Row& record : records) {
        whole += jobs::JournalEntry(record);
        ends.push_back(whole.size());
    }
    const auto wholeBefore = [&](std::size_t size) {
        std::size_t count = 0;
        while (count < ends.size() && ends[count] <= size) ++count;
        return std::vector<tables::Row>(records.begin(), records.begin() + count);
    };
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        // A tail cut short, and one the disk filled with zeros or garbage it never synced.
        for (const std::string& tail :
             {std::string(), std::string(40, '\0'), std::string("7\r\n")}) {
            Write(path, whole.substr(0, cut) + tail);
            EXPECT_EQ(jobs::ReadJournal(path), wholeBefore(cut)) << "cut at " << cut;
        }
    }
    // A damaged byte ends the journal at the entry that holds it.
    for (std::size_t at = 0; at < whole.size(); ++at) {
        std::string damaged = whole;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
        Write(path, damaged);
        EXPECT_EQ(jobs::ReadJournal(path), wholeBefore(at)) << "damaged at " << at;
    }
    EXPECT_TRUE(jobs::ReadJournal(dir.filePath("none").toStdString()).empty());
}

TEST(KnownJournal, AJournalThatCannotBeWrittenSaysWhy) {
    QTemporaryDir dir;
    const struct {
        std::string path;
        const char* cause;
    } cases[] = {
        {dir.filePath("gone/COM2.plu.journal").toStdString(), "Папка не существует"},
        // Opens, then every write fails with ENOSPC.
        {"/dev/full", "Диск переполнен"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(jobs::AppendJournal(c.path, {Record(1)}, error)) << c.path;
        EXPECT_NE(error.find(c.cause), std::string::npos) << c.path << ": " << error;
    }
}

}  // namespace
