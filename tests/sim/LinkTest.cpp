// The COM link: made while the scale runs, gone when it ends, never taken from someone else;
// and the qvscale-sim program's own start and stop.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "PcSide.h"
#include "TempConfig.h"
#include "VirtualScale.h"

namespace fs = std::filesystem;

namespace {

sim::Options LinkAs(const char* name) {
    sim::Options o;
    o.link = name;
    return o;
}

TEST(ComLink, PointsAtTheSlaveWhileTheScaleRunsAndGoesWithIt) {
    TempConfig config;
    const fs::path link = fs::path(config.PortDir()) / "COM2";
    {
        sim::VirtualScale scale(LinkAs("COM2"));
        EXPECT_EQ(scale.LinkPath(), link.string());
        EXPECT_EQ(fs::read_symlink(link), fs::path(scale.SlavePath()));
        PcSide pc(link.string());
        EXPECT_EQ(pc.Ask({0xA5}, 1), sim::Bytes{0x77});
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(ComLink, StaleLinkIsReplacedAndLiveOnesAreRefused) {
    TempConfig config;
    const fs::path link = fs::path(config.PortDir()) / "COM3";
    fs::create_symlink("/dev/pts/no-such-device", link);
    {
        sim::VirtualScale scale(LinkAs("COM3"));
        EXPECT_EQ(fs::read_symlink(link), fs::path(scale.SlavePath()));
        // A second scale must not take the first one's name.
        EXPECT_THROW(sim::VirtualScale second(LinkAs("COM3")), std::runtime_error);
        EXPECT_EQ(fs::read_symlink(link), fs::path(scale.SlavePath()));
    }
    fs::create_symlink("/dev/null", link);
    EXPECT_THROW(sim::VirtualScale scale(LinkAs("COM3")), std::runtime_error);
    EXPECT_EQ(fs::read_symlink(link), fs::path("/dev/null"));
    fs::remove(link);
    std::ofstream(link.string()) << "not a link";
    EXPECT_THROW(sim::VirtualScale scale(LinkAs("COM3")), std::runtime_error);
    EXPECT_TRUE(fs::is_regular_file(link));
}

TEST(ComLink, ALinkReplacedBySomeoneElseIsLeftAlone) {
    TempConfig config;
    const fs::path link = fs::path(config.PortDir()) / "COM4";
    {
        sim::VirtualScale scale(LinkAs("COM4"));
        fs::remove(link);
        fs::create_symlink("/dev/null", link);
    }
    EXPECT_EQ(fs::read_symlink(link), fs::path("/dev/null"));
}

TEST(ComLink, SerialDeviceCannotBeLinked) {
    TempConfig config;
    sim::Options o = LinkAs("COM2");
    o.device = "/dev/null";
    EXPECT_THROW(sim::VirtualScale scale(o), std::invalid_argument);
}

// qvscale-sim is built beside this test program: build/tools/scale-sim and build/tests.
std::string SimPath() {
    return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() /
            "tools/scale-sim/qvscale-sim")
        .string();
}

// Runs qvscale-sim with its output in a pipe; the first line says where it listens.
class SimProcess {
  public:
    explicit SimProcess(std::vector<std::string> args) {
        const std::string path = SimPath();
        if (access(path.c_str(), X_OK) != 0) throw std::runtime_error(path + " not built");
        int out[2];
        if (pipe(out) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            const int null = open("/dev/null", O_RDWR);
            dup2(null, STDIN_FILENO);
            dup2(null, STDERR_FILENO);
            std::vector<char*> argv{const_cast<char*>(path.c_str())};
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(path.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        out_ = out[0];
    }
    ~SimProcess() {
        if (pid_ > 0) Stop(SIGKILL);
        close(out_);
    }
    // The first line of standard output, waiting at most 5 s.
    std::string FirstLine() {
        std::string line;
        char c;
        pollfd p{out_, POLLIN, 0};
        while (poll(&p, 1, 5000) > 0 && read(out_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }
    // Sends the signal and returns the exit status, waiting at most 5 s.
    int Stop(int signal) {
        kill(pid_, signal);
        for (int i = 0; i < 500; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return status;
            }
            usleep(10000);
        }
        return -1;
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
};

TEST(Program, AnnouncesItsLinkAndRemovesItOnEachStopSignal) {
    for (int signal : {SIGTERM, SIGINT}) {
        TempConfig config;
        const fs::path link = fs::path(config.PortDir()) / "COM2";
        SimProcess sim({"--link", "COM2", "--display", "1234,5,123456"});
        const std::string line = sim.FirstLine();
        ASSERT_EQ(line.rfind("qvscale-sim: listening on /dev/pts/", 0), 0u) << line;
        EXPECT_NE(line.find(", linked as COM2"), std::string::npos) << line;
        {
            PcSide pc(link.string());
            EXPECT_EQ(pc.Ask({0xA5}, 1), sim::Bytes{0x77});
            EXPECT_EQ(pc.Ask({0x06}, 12), (sim::Bytes{0x00, 0x00, 0x04, 0xD2, 0x00, 0x00, 0x00,
                                                      0x05, 0x00, 0x01, 0xE2, 0x40}));
        }
        const int status = sim.Stop(signal);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    }
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Program, LoadsAndSavesTheDemoSamplesUnchanged) {
    TempConfig config;
    // From the fixture folder ctest names: __FILE__ is relative when a compiler cache rewrites it.
    const char* data = std::getenv("QVSCALE_TEST_DATA");
    const fs::path samples = (data ? fs::path(data) : fs::path(__FILE__).parent_path()) / ".." /
                             "../tools/scale-sim/samples";
    const fs::path plu = fs::path(config.Dir()) / "out.plu",
                   msg = fs::path(config.Dir()) / "out.msg";
    SimProcess sim({"--load", (samples / "demo.plu").string(), "--load",
                    (samples / "demo.msg").string(), "--save", plu.string(), "--save",
                    msg.string()});
    ASSERT_NE(sim.FirstLine(), "");
    const int status = sim.Stop(SIGTERM);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Contents(plu), Contents(samples / "demo.plu"));
    EXPECT_EQ(Contents(msg), Contents(samples / "demo.msg"));
    EXPECT_NE(Contents(plu).find("\xD1\xFB\xF0"), std::string::npos)
        << "Cyrillic in code page 1251";
}

TEST(Program, RefusesBadArgumentsWithUsage) {
    TempConfig config;
    for (std::vector<std::string> args : {std::vector<std::string>{"--baud"},
                                          {"--display", "1,2"},
                                          {"--fault", "plu:ready:silence"},
                                          {"--frobnicate"}}) {
        SimProcess sim(args);
        EXPECT_EQ(sim.FirstLine(), "") << args[0];
        const int status = sim.Stop(0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << args[0] << " " << status;
    }
}

}  // namespace

namespace {

// A serial device given by path: here the slave of a pty of the test's own, the test holding
// the master as the PC's end of the cable.
TEST(SerialDevice, ScaleAnswersOnAGivenDevice) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    sim::Options o;
    o.device = ptsname(master);
    {
        sim::VirtualScale scale(o);
        EXPECT_EQ(scale.SlavePath(), "");
        ASSERT_EQ(write(master, "\xA5", 1), 1);
        pollfd p{master, POLLIN, 0};
        ASSERT_EQ(poll(&p, 1, 3000), 1);
        std::uint8_t answer = 0;
        EXPECT_EQ(read(master, &answer, 1), 1);
        EXPECT_EQ(answer, 0x77);
    }
    close(master);
}

}  // namespace
