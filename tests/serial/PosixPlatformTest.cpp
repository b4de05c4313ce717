// The termios platform's own failures at open and close, reported rather than dropped.

#include <gtest/gtest.h>

#include <filesystem>

#include "PortMap.h"
#include "PtyPair.h"
#include "SerialPlatform.h"
#include "TempConfig.h"

namespace {

TEST(PosixPlatform, ADeviceThatIsNoTerminalIsNotOpened) {
    TempConfig config;
    std::filesystem::create_directories(serial::PortMapDir());
    std::filesystem::create_symlink("/dev/null", serial::PortMapDir() + "/COM3");
    auto platform = serial::MakePosixPlatform();
    EXPECT_EQ(platform->CreateFile("COM3"), serial::kInvalidHandle);
    EXPECT_EQ(platform->GetLastError(), serial::kErrorNotSupported);
}

TEST(PosixPlatform, ClosingAHungUpLineReportsThatItsSettingsCouldNotBeRestored) {
    TempConfig config;
    PtyPair pty("COM3");
    auto platform = serial::MakePosixPlatform();
    const serial::Handle h = platform->CreateFile("COM3");
    ASSERT_NE(h, serial::kInvalidHandle);
    pty.HangUp();
    EXPECT_FALSE(platform->CloseHandle(h));
    EXPECT_EQ(platform->GetLastError(), serial::kErrorIoDevice);
    // The device is gone all the same: a second close finds no such handle.
    EXPECT_FALSE(platform->CloseHandle(h));
    EXPECT_EQ(platform->GetLastError(), serial::kErrorInvalidHandle);
}

}  // namespace
