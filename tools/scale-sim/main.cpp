// qvscale-sim: the virtual scale as a program, for the demo and for operators without hardware.

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <iostream>
#include <sstream>
#include <stdexcept>

#include "CommandLine.h"
#include "TableFile.h"
#include "VirtualScale.h"

namespace {

// Signals are taken through a descriptor, so the scale's thread never sees them and the link
// is removed by the ordinary destructor.
int BlockStopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, s);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    return signalfd(-1, &set, SFD_CLOEXEC);
}

// One line of standard input; false when it asks to quit.
bool Command(sim::VirtualScale& scale, const std::string& line) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    if (word == "quit") return false;
    if (word == "display") {
        long long w, p, t;
        if (in >> w >> p >> t)
            scale.SetDisplay(std::int32_t(w), std::int32_t(p), std::int32_t(t));
        else
            std::cerr << "qvscale-sim: display W P T\n";
    } else if (word == "save") {
        std::string path;
        in >> path;
        sim::SaveTableFile(scale, path);
    } else if (!word.empty()) {
        std::cerr << "qvscale-sim: commands: display W P T, save FILE, quit\n";
    }
    return true;
}

// Serves until a stop signal, "quit", a hang-up or a failed device ends it.
void Serve(sim::VirtualScale& scale, int signals) {
    bool input = true;
    std::string pending;
    while (scale.Serving()) {
        pollfd fds[2] = {{signals, POLLIN, 0}, {input ? STDIN_FILENO : -1, POLLIN, 0}};
        if (poll(fds, 2, 200) < 0 && errno != EINTR) return;
        if (fds[0].revents) return;
        if (!fds[1].revents) continue;
        char buf[256];
        const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            input = false;
            continue;
        }
        pending.append(buf, std::size_t(n));
        for (std::size_t nl; (nl = pending.find('\n')) != std::string::npos;
             pending.erase(0, nl + 1)) {
            try {
                if (!Command(scale, pending.substr(0, nl))) return;
            } catch (const std::exception& e) {
                std::cerr << "qvscale-sim: " << e.what() << "\n";
            }
        }
    }
}

void Announce(const sim::VirtualScale& scale, const sim::CommandLine& c) {
    std::cout << "qvscale-sim: listening on "
              << (scale.SlavePath().empty() ? c.options.device : scale.SlavePath());
    if (!c.options.link.empty()) std::cout << ", linked as " << c.options.link;
    std::cout << std::endl;
}

int Run(const sim::CommandLine& c) {
    const int signals = BlockStopSignals();
    sim::Options options = c.options;
    if (c.trace) options.trace = &std::cerr;
    sim::VirtualScale scale(options);
    if (c.display) scale.SetDisplay(c.display->weight, c.display->price, c.display->total);
    if (c.capacity) scale.SetCapacity(*c.capacity);
    for (const sim::Fault& f : c.faults) scale.Inject(f);
    for (const std::string& path : c.loads) sim::LoadTableFile(scale, path);
    Announce(scale, c);
    Serve(scale, signals);
    for (const std::string& path : c.saves) sim::SaveTableFile(scale, path);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const sim::CommandLine c = sim::ParseCommandLine({argv + 1, argv + argc});
        if (c.help) {
            std::cout << sim::kUsage;
            return 0;
        }
        if (c.version) {
            std::cout << "qvscale-sim " QVSCALE_VERSION "\n";
            return 0;
        }
        return Run(c);
    } catch (const std::invalid_argument& e) {
        std::cerr << "qvscale-sim: " << e.what() << "\n" << sim::kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "qvscale-sim: " << e.what() << "\n";
        return 1;
    }
}
