#include "CommandLine.h"

#include <functional>
#include <map>
#include <stdexcept>

#include "FaultText.h"

namespace sim {

const char kUsage[] =
    "usage: qvscale-sim [options]\n"
    "  --link COMn          link the pseudo-terminal as COMn in the port map folder\n"
    "  --device PATH        answer on this serial device instead of a pseudo-terminal\n"
    "  --baud N             pace every byte as the line would at N baud (default: unpaced)\n"
    "  --usb-latency MS     hold each answer shorter than 62 bytes MS ms, as a USB\n"
    "                       adapter's latency timer does (FTDI: 16 by default)\n"
    "  --trace              print every byte each way, one line per exchange step\n"
    "  --load FILE          load a .plu/.plw or .msg table file (may repeat)\n"
    "  --save FILE          save the PLUs or messages to FILE on exit (may repeat)\n"
    "  --display W,P,T      weight, unit price and total shown (thousandths, hundredths)\n"
    "  --capacity N         accept PLU numbers 1 to N only\n"
    "  --no-messages        no answer at all to the message command 0x00\n"
    "  --fault SPEC         inject a fault: KIND[@N][#NUM]:STEP:ACTION[=ARG][:always]\n"
    "                       KIND any|readout|plu|msg|upload, STEP ready|accept|check|\n"
    "                       record|closing, ACTION silence|byte=HH|refuse|stall=K[/MS]|hangup=K\n"
    "  --version            print the version and exit\n"
    "While running, standard input takes \"display W P T\", \"save FILE\" and \"quit\".\n";

namespace {

int Integer(const std::string& text, long long lo, long long hi, const std::string& what) {
    std::size_t used = 0;
    long long v = 0;
    try {
        v = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size() || v < lo || v > hi)
        throw std::invalid_argument("bad " + what + ": \"" + text + "\"");
    return static_cast<int>(v);
}

Display ParseDisplay(const std::string& text) {
    Display d;
    std::int32_t* values[] = {&d.weight, &d.price, &d.total};
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = text.find(',', start);
        if ((comma == std::string::npos) != (i == 2))
            throw std::invalid_argument("--display W,P,T");
        *values[i] =
            Integer(text.substr(start, comma - start), INT32_MIN, INT32_MAX, "display value");
        start = comma + 1;
    }
    return d;
}

using Handler = std::function<void(CommandLine&, const std::string&)>;

const std::map<std::string, Handler>& WithValue() {
    static const std::map<std::string, Handler> handlers = {
        {"--link", [](CommandLine& c, const std::string& v) { c.options.link = v; }},
        {"--device", [](CommandLine& c, const std::string& v) { c.options.device = v; }},
        {"--baud",
         [](CommandLine& c, const std::string& v) {
             c.options.baud = Integer(v, 1, 4000000, "baud rate");
         }},
        {"--usb-latency",
         [](CommandLine& c, const std::string& v) {
             c.options.usbLatency = std::chrono::milliseconds(Integer(v, 0, 255, "USB latency"));
         }},
        {"--load", [](CommandLine& c, const std::string& v) { c.loads.push_back(v); }},
        {"--save", [](CommandLine& c, const std::string& v) { c.saves.push_back(v); }},
        {"--display", [](CommandLine& c, const std::string& v) { c.display = ParseDisplay(v); }},
        {"--capacity",
         [](CommandLine& c, const std::string& v) {
             c.capacity = Integer(v, 0, kMaxPluNumber, "capacity");
         }},
        {"--fault",
         [](CommandLine& c, const std::string& v) { c.faults.push_back(ParseFault(v)); }},
    };
    return handlers;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--trace")
            c.trace = true;
        else if (a == "--no-messages")
            c.faults.push_back(NoMessages());
        else if (a == "--help" || a == "-h")
            c.help = true;
        else if (a == "--version")
            c.version = true;
        else if (WithValue().count(a)) {
            if (i + 1 == args.size()) throw std::invalid_argument(a + " needs a value");
            WithValue().at(a)(c, args[++i]);
        } else {
            throw std::invalid_argument("unknown option \"" + a + "\"");
        }
    }
    return c;
}

}  // namespace sim
