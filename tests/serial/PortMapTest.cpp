// COM names read as the port map reads them, and where each leads with and without a link.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "PortMap.h"
#include "TempConfig.h"

namespace {

TEST(PortMap, ReadsTheNumberOfACOMNameAndResolvesOnlyThose) {
    TempConfig config;
    struct Case {
        std::string name;
        std::optional<int> number;
        std::string device;
    };
    const Case cases[] = {
        {"COM1", 1, "/dev/ttyS0"},
        {"COM8", 8, "/dev/ttyS7"},
        {"COM02", 2, "/dev/ttyS1"},
        {"COM12", 12, "/dev/ttyS11"},
        {"COM10000", 10000, "/dev/ttyS9999"},
        {"COM100000", std::nullopt, "COM100000"},
        {"COM0", std::nullopt, "COM0"},
        {"COM", std::nullopt, "COM"},
        {"com2", std::nullopt, "com2"},
        {"Com2", std::nullopt, "Com2"},
        {"COM 2", std::nullopt, "COM 2"},
        {"COM+2", std::nullopt, "COM+2"},
        {"COM2x", std::nullopt, "COM2x"},
        {"XCOM2", std::nullopt, "XCOM2"},
        {"/dev/ttyUSB0", std::nullopt, "/dev/ttyUSB0"},
        {"", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(serial::ComNumber(c.name), c.number) << c.name;
        EXPECT_EQ(serial::ResolveComName(c.name), c.device) << c.name;
    }
}

TEST(PortMap, ALinkedCOMNameLeadsToItsLinkAndNoOtherNameDoes) {
    TempConfig config;
    const std::string link = config.PortDir() + "/COM3";
    std::filesystem::create_symlink("/dev/ttyUSB0", link);
    EXPECT_EQ(serial::ResolveComName("COM3"), link);
    EXPECT_EQ(serial::ResolveComName("COM4"), "/dev/ttyS3");
    EXPECT_EQ(serial::ResolveComName("COM03"), "/dev/ttyS2");
}

}  // namespace
