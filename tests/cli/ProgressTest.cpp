// The live lines a terminal shows while several ports run.

#include <gtest/gtest.h>

#include <cstdio>

#include "Output.h"
#include "PortRun.h"
#include "TempConfig.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// What the terminal shows last: the lines drawn since the last time they were taken off.
std::string LastDrawn(const std::string& err) {
    const std::size_t clear = err.rfind("\x1b[J");
    return clear == std::string::npos ? err : err.substr(clear + 3);
}

TEST(CliProgress, APortThatEndsSaysSoAtOnceWhileTheOthersGoOn) {
    struct Case {
        const char* name;
        jobs::Report report;
        std::string says;
    };
    jobs::Failure silent;
    silent.row = 3;
    silent.outcome = scale::PluOutcome::T1;
    const Case cases[] = {
        {"done", {5, std::nullopt, false, std::chrono::milliseconds(1200)}, "COM2: готово"},
        {"failed", {2, silent, false, std::chrono::milliseconds(300)}, "COM2: ошибка в строке 3"},
    };
    for (const auto& c : cases) {
        TempConfig config;
        char* buffer = nullptr;
        std::size_t size = 0;
        std::FILE* err = open_memstream(&buffer, &size);
        ASSERT_NE(err, nullptr);
        {
            cli::Output output(false, false, stdout, err, true);
            output.TrackPorts({"COM2", "COM3"});
            output.Progress("COM2", 5, 5);
            output.Progress("COM3", 1, 10);
            cli::RunEnded("COM2", jobs::RunKind::PluDownload, 5, c.report, output);
            std::fflush(err);
            const std::string shown = LastDrawn(std::string(buffer, size));
            EXPECT_TRUE(Has(shown, c.says)) << c.name << ": " << shown;
            EXPECT_FALSE(Has(shown, "COM2: строк")) << c.name << ": " << shown;
            EXPECT_TRUE(Has(shown, "COM3: строк")) << c.name << ": " << shown;
            output.EndProgress();
            std::fflush(err);
            EXPECT_EQ(LastDrawn(std::string(buffer, size)), "") << c.name << ": no line is left";
        }
        std::fclose(err);
        std::free(buffer);
    }
}

}  // namespace
