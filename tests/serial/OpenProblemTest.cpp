// Why a device does not open, told from the platform's error code or by trying it.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "OpenProblem.h"
#include "PtyPair.h"
#include "SerialPlatform.h"
#include "TempConfig.h"

namespace {

using serial::OpenProblem;

bool Holds(const serial::OpenDiagnosis& d, const std::string& program) {
    return std::find(d.holders.begin(), d.holders.end(), program) != d.holders.end();
}

TEST(OpenProblem, EachCauseIsToldWithTheSystemsWordsOnlyWhereTheCodeCannotTell) {
    TempConfig config;
    PtyPair free("COM3");
    PtyPair held("COM4");
    auto platform = serial::MakePosixPlatform();
    const serial::Handle h = platform->CreateFile("COM4");
    ASSERT_NE(h, serial::kInvalidHandle);
    const std::string file = config.Dir() + "/plain.txt";
    std::ofstream(file) << "no line here";
    const std::string missing = config.Dir() + "/ttyUSB9";

    const struct {
        const char* what;
        serial::OpenDiagnosis d;
        OpenProblem problem;
        std::string systemText;  // "-" for any non-empty text
        bool heldByUs;
    } cases[] = {
        {"tried, free", serial::TryOpen(free.SlavePath()), OpenProblem::None, "", false},
        {"tried, missing", serial::TryOpen(missing), OpenProblem::NoDevice, "-", false},
        {"tried, no terminal", serial::TryOpen(file), OpenProblem::NotSerial, "-", false},
        {"tried, held", serial::TryOpen(held.SlavePath()), OpenProblem::Busy, "-", true},
        {"code, not found", serial::DiagnoseOpen(missing, serial::kErrorFileNotFound),
         OpenProblem::NoDevice, "", false},
        {"code, busy", serial::DiagnoseOpen(held.SlavePath(), serial::kErrorSharingViolation),
         OpenProblem::Busy, "", true},
        {"unknown code, device missing", serial::DiagnoseOpen(missing, serial::kErrorGenFailure),
         OpenProblem::NoDevice, "-", false},
        {"unknown code, device opens",
         serial::DiagnoseOpen(free.SlavePath(), serial::kErrorGenFailure), OpenProblem::Other,
         "код ошибки " + std::to_string(serial::kErrorGenFailure), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.d.problem, c.problem) << c.what;
        if (c.systemText == "-")
            EXPECT_FALSE(c.d.systemText.empty()) << c.what;
        else
            EXPECT_EQ(c.d.systemText, c.systemText) << c.what;
        EXPECT_EQ(Holds(c.d, "test_serial"), c.heldByUs) << c.what;
    }
    platform->CloseHandle(h);
}

}  // namespace
