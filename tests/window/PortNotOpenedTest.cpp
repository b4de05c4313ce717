// "OK" on a port that does not open: one warning box with the cause, then everything as before.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "FakePlatform.h"
#include "FormHarness.h"
#include "PtyPair.h"

namespace {

namespace fs = std::filesystem;

// Another process that holds the device as a program using the port does, until destroyed.
class Holder {
  public:
    explicit Holder(const std::string& device) {
        int ready[2];
        if (pipe(ready) != 0 || pipe(release_) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(release_[1]);
            close(ready[0]);
            const int fd = open(device.c_str(), O_RDWR | O_NOCTTY);
            const bool held =
                fd >= 0 && ioctl(fd, TIOCEXCL) == 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
            const char byte = held ? 1 : 0;
            if (write(ready[1], &byte, 1) != 1) _exit(1);
            char ignored;
            while (read(release_[0], &ignored, 1) > 0) {
            }
            _exit(0);
        }
        close(ready[1]);
        close(release_[0]);
        char byte = 0;
        held_ = read(ready[0], &byte, 1) == 1 && byte == 1;
        close(ready[0]);
    }
    ~Holder() {
        close(release_[1]);
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
    }
    bool Held() const { return held_; }

  private:
    int release_[2] = {-1, -1};
    pid_t pid_ = -1;
    bool held_ = false;
};

struct Cause {
    const char* name;
    std::function<std::unique_ptr<FormHarness>()> arrange;
    QString says;
};

TEST(PortNotOpened, OneWarningNamesTheCauseThenTheTableAndTheReadoutAreAsBefore) {
    const QString linkCheck = QStringLiteral("Проверьте СОМ-порт или линию связи");
    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<Holder> holder;
    const Cause causes[] = {
        {"held by another process",
         [&] {
             auto h = std::make_unique<FormHarness>();
             pty = std::make_unique<PtyPair>("COM2");
             holder = std::make_unique<Holder>(pty->SlavePath());
             EXPECT_TRUE(holder->Held());
             return h;
         },
         QStringLiteral("занято другой программой (test_window)")},
        {"a link to nothing",
         [] {
             auto h = std::make_unique<FormHarness>();
             fs::create_symlink("/nonexistent/ttyUSB7", h->config.PortDir() + "/COM2");
             return h;
         },
         QStringLiteral("Устройство /nonexistent/ttyUSB7 для COM2 не найдено: проверьте, подключён "
                        "ли адаптер")},
        {"a link to a regular file",
         [] {
             auto h = std::make_unique<FormHarness>();
             const std::string file = h->config.Dir() + "/plain.txt";
             std::ofstream(file) << "not a line";
             fs::create_symlink(file, h->config.PortDir() + "/COM2");
             return h;
         },
         QStringLiteral("не последовательный порт")},
        {"a device this user may not open",
         [] {
             auto line = std::make_shared<FakeLine>();
             line->denied.insert("COM2");
             return std::make_unique<FormHarness>(std::make_unique<FakePlatform>(line));
         },
         QStringLiteral("не входит в группу dialout. Добавьте его командой «sudo usermod -aG "
                        "dialout")},
    };
    for (const auto& c : causes) {
        auto h = c.arrange();
        h->ConfirmPort();
        const QString says = c.says.contains("%1")
                                 ? c.says.arg(QString::fromStdString(h->config.PortDir()))
                                 : c.says;
        ASSERT_EQ(h->dialogs->boxes.size(), 1u) << c.name;
        EXPECT_EQ(h->dialogs->boxes[0].kind, BoxKind::Warning) << c.name;
        EXPECT_TRUE(h->dialogs->boxes[0].text.contains(says))
            << c.name << ": " << h->dialogs->boxes[0].text.toStdString();
        EXPECT_TRUE(h->Find<QGroupBox>("GroupBox1")->isHidden()) << c.name;
        EXPECT_FALSE(h->Find<GridView>("StringGrid1")->isHidden()) << c.name;
        EXPECT_TRUE(h->Find<QPushButton>("StartBtn")->isEnabled()) << c.name;
        h->Click("StartBtn");
        EXPECT_EQ(h->dialogs->Texts(BoxKind::Error), std::vector<QString>{linkCheck}) << c.name;
        holder.reset();
        pty.reset();
    }
}

TEST(PortNotOpened, APortThatOpensShowsNoBox) {
    FormHarness h;
    PtyPair pty("COM2");
    h.ConfirmPort();
    EXPECT_TRUE(h.dialogs->boxes.empty());
    EXPECT_FALSE(h.Find<GridView>("StringGrid1")->isHidden());
}

}  // namespace
