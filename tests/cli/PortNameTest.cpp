// What --port and the ports command accept: the COM names the window offers, as it writes
// them, and device paths.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "PortName.h"
#include "TempConfig.h"

namespace {

TEST(PortName, TakesTheWindowsCOMNamesAndPathsAndNothingElse) {
    TempConfig config;
    std::filesystem::create_symlink("/dev/ttyUSB0", config.PortDir() + "/COM5");
    struct Case {
        std::string value;
        int offered;  // 0: not a COM name the window offers
        std::optional<std::string> device;
    };
    const Case cases[] = {
        {"COM1", 1, "/dev/ttyS0"},
        {"COM2", 2, "/dev/ttyS1"},
        {"COM5", 5, config.PortDir() + "/COM5"},
        {"COM8", 8, "/dev/ttyS7"},
        {"COM9", 0, std::nullopt},
        {"COM12", 0, std::nullopt},
        {"COM0", 0, std::nullopt},
        {"COM02", 0, std::nullopt},
        {"com2", 0, std::nullopt},
        {"COM2 ", 0, std::nullopt},
        {"ttyUSB0", 0, std::nullopt},
        {"", 0, std::nullopt},
        {"/dev/ttyUSB0", 0, "/dev/ttyUSB0"},
        {"./COM2", 0, "./COM2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cli::OfferedComNumber(c.value), c.offered) << c.value;
        const std::optional<cli::PortName> port = cli::ParsePortName(c.value);
        ASSERT_EQ(port.has_value(), c.device.has_value()) << c.value;
        if (!port) continue;
        EXPECT_EQ(port->name, c.value);
        EXPECT_EQ(port->device, *c.device) << c.value;
        EXPECT_EQ(port->comNumber, c.offered) << c.value;
    }
}

}  // namespace
