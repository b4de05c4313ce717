// The scale's memory in table files: code page 1251 cells in, code page 866 bytes stored, and
// back out as the program would show them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScaleFixture.h"
#include "ScaleText.h"
#include "TableFile.h"

namespace fs = std::filesystem;
using sim::Bytes;

namespace {

// "Сыр", "Ёлка" and "АБ" in code page 1251.
const std::string kSyr = "\xD1\xFB\xF0";
const std::string kYolka = "\xA8\xEB\xEA\xE0";
const std::string kAB = "\xC0\xC1";

class TableFiles : public ScaleTest {
  protected:
    std::string PathOf(const std::string& name) { return config_.Dir() + "/" + name; }
    std::string Write(const std::string& name, const std::string& content) {
        std::ofstream(PathOf(name), std::ios::binary) << content;
        return PathOf(name);
    }
    std::string Read(const std::string& name) {
        std::ifstream in(PathOf(name), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

const std::string kExamplePlu =
    "1\r\n" + kSyr + "\r\n\r\n12345\r\n5\r\n0\r\n123\r\n1\r\n0\r\n***\r\n";

TEST_F(TableFiles, PluFileLoadsAsTheDownloadWouldStoreItAndSavesBack) {
    sim::LoadTableFile(scale_, Write("in.plu", kExamplePlu));
    const auto r = scale_.FindPlu(1);
    ASSERT_TRUE(r);
    EXPECT_EQ(Of(r->name1), Concat({Repeat(0x20, 12), {0x91, 0xEB, 0xE0}, Repeat(0x20, 13)}));
    EXPECT_EQ(Of(r->name2), Repeat(0x20, 28));
    EXPECT_EQ(r->price, 12345);
    EXPECT_EQ(r->shelfLife, 5);
    EXPECT_EQ(r->itemCode, 123);
    EXPECT_EQ(r->group, 1);
    sim::SaveTableFile(scale_, PathOf("out.plw"));
    EXPECT_EQ(Read("out.plw"), kExamplePlu);
}

TEST_F(TableFiles, MessageFileKeepsItsLinesThroughLoadAndSave) {
    const std::string file = "7\r\n" + kYolka + "\r\nTest 1\r\n\r\n\r\n\r\n\r\n\r\n  x\r\n***\r\n";
    sim::LoadTableFile(scale_, Write("in.msg", file));
    const auto m = scale_.FindMessage(7);
    ASSERT_TRUE(m);
    EXPECT_EQ(Bytes(m->lines[0].begin(), m->lines[0].end()),
              Concat({{0xF0, 0xAB, 0xAA, 0xA0}, Repeat(0x20, 46)}));
    EXPECT_EQ(Bytes(m->lines[1].begin(), m->lines[1].end()),
              Concat({{0x54, 0x65, 0x73, 0x74, 0x20, 0x31}, Repeat(0x20, 44)}));
    sim::SaveTableFile(scale_, PathOf("out.msg"));
    EXPECT_EQ(Read("out.msg"), file);
}

TEST_F(TableFiles, UploadedNameBytesAreSavedAsTheProgramShowsThem) {
    sim::PluRecord r = SamplePlu(2);
    r.name1 = {0x20, 0x20, 0x80, 0x81};  // the rest 0x00
    r.name2.fill(0x00);
    scale_.PutPlu(r);
    sim::SaveTableFile(scale_, PathOf("out.plu"));
    const std::string saved = Read("out.plu");
    EXPECT_EQ(saved.substr(0, saved.find("\r\n", 3) + 2), "2\r\n" + kAB + "\r\n");
    EXPECT_EQ(saved.substr(3 + kAB.size() + 2, 2), "\r\n") << "all-0x00 name saves empty";
}

TEST_F(TableFiles, NameCellsArePlacedAsTheDownloadPlacesThem) {
    const std::string n26(26, 'a'), n27(27, 'b'), n30 = std::string(28, 'c') + "dd";
    struct Case {
        std::string cell;
        Bytes line;
    };
    const Case cases[] = {
        {"", Repeat(0x20, 28)},
        {"   ", Repeat(0x20, 28)},
        {kSyr + "   ", Concat({Repeat(0x20, 12), {0x91, 0xEB, 0xE0}, Repeat(0x20, 13)})},
        {n26, Concat({{0x20}, Repeat('a', 26), {0x20}})},
        {n27, Concat({Repeat('b', 27), {0x00}})},
        {n30, Repeat('c', 28)},
        {"\xFF\xA8\xB8\xB9",
         Concat({Repeat(0x20, 12), {0xEF, 0xF0, 0xF1, 0xB9}, Repeat(0x20, 12)})},
    };
    for (const Case& c : cases) {
        const sim::NameLine line = sim::NameLineFromText(c.cell);
        EXPECT_EQ(Of(line), c.line) << c.cell;
    }
    const std::pair<Bytes, std::string> decoded[] = {
        {Concat({{0x20, 0x20, 0x80, 0x81}, Repeat(0x00, 24)}), kAB},
        {Repeat(0x00, 28), ""},
        {Concat({{0x41, 0x20, 0x42}, Repeat(0x20, 25)}), "A B"},
        {Concat({{0xF1, 0xB0, 0xDF}, Repeat(0x20, 25)}), "\xB8\xB0\xDF"},
    };
    for (const auto& [bytes, text] : decoded) {
        sim::NameLine line{};
        std::copy(bytes.begin(), bytes.end(), line.begin());
        EXPECT_EQ(sim::TextFromNameLine(line), text);
    }
}

TEST_F(TableFiles, BadFilesAreRefusedAndLeaveTheScaleAsItWas) {
    const std::string good = "1\n\n\n0\n0\n0\n0\n0\n0\n";
    const std::pair<std::string, std::string> cases[] = {
        {"nomarker.plu", good},
        {"cut.plu", "1\n\n\n0\n***\n"},
        {"badnum.plu", good + "2\n\n\n12a\n0\n0\n0\n0\n0\n***\n"},
        {"plu0.plu", "0\n\n\n0\n0\n0\n0\n0\n0\n***\n"},
        {"wide.plu", "1\n\n\n0\n65536\n0\n0\n0\n0\n***\n"},
        {"msg201.msg", "201\n\n\n\n\n\n\n\n\n***\n"},
        {"list.txt", good + "***\n"},
    };
    for (const auto& [name, content] : cases) {
        EXPECT_THROW(sim::LoadTableFile(scale_, Write(name, content)), std::runtime_error) << name;
        EXPECT_TRUE(scale_.Plus().empty()) << name;
        EXPECT_TRUE(scale_.Messages().empty()) << name;
    }
    sim::LoadTableFile(scale_, Write("lf.plu", good + "***\n"));
    EXPECT_EQ(scale_.Plus().size(), 1u) << "LF-only lines load too";
}

}  // namespace
