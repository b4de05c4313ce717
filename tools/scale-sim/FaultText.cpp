#include "FaultText.h"

#include <map>
#include <stdexcept>
#include <vector>

namespace sim {

namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = s.find(sep, start)) != std::string::npos; start = at + 1)
        parts.push_back(s.substr(start, at - start));
    parts.push_back(s.substr(start));
    return parts;
}

int Count(const std::string& text, int base = 10) {
    std::size_t used = 0;
    int v = -1;
    try {
        v = std::stoi(text, &used, base);
    } catch (const std::exception&) {
    }
    if (text.empty() || used != text.size() || v < 0)
        throw std::invalid_argument("bad number \"" + text + "\"");
    return v;
}

template <typename T>
T Lookup(const std::map<std::string, T>& names, const std::string& name, const char* what) {
    const auto it = names.find(name);
    if (it == names.end())
        throw std::invalid_argument(std::string("unknown ") + what + " \"" + name + "\"");
    return it->second;
}

// KIND[@OCCURRENCE][#NUMBER]
void ParseWhich(const std::string& text, Fault& f) {
    static const std::map<std::string, Kind> kinds = {{"any", Kind::Any},
                                                      {"readout", Kind::Readout},
                                                      {"plu", Kind::PluDownload},
                                                      {"msg", Kind::MsgDownload},
                                                      {"upload", Kind::PluUpload}};
    const std::size_t hash = text.find('#');
    const std::string head = text.substr(0, hash);
    if (hash != std::string::npos) f.number = Count(text.substr(hash + 1));
    const std::size_t at = head.find('@');
    f.kind = Lookup(kinds, head.substr(0, at), "exchange");
    if (at != std::string::npos) f.occurrence = Count(head.substr(at + 1));
}

void ParseAction(const std::string& text, Fault& f) {
    static const std::map<std::string, Action> actions = {{"silence", Action::Silence},
                                                          {"byte", Action::Byte},
                                                          {"refuse", Action::Refuse},
                                                          {"stall", Action::Stall},
                                                          {"hangup", Action::HangUp}};
    const std::size_t eq = text.find('=');
    f.action = Lookup(actions, text.substr(0, eq), "action");
    const std::string arg = eq == std::string::npos ? "" : text.substr(eq + 1);
    const bool needsArg =
        f.action == Action::Byte || f.action == Action::Stall || f.action == Action::HangUp;
    if (needsArg != !arg.empty()) throw std::invalid_argument("argument of \"" + text + "\"");
    if (f.action == Action::Byte) {
        const int b = Count(arg, 16);
        if (b > 0xFF) throw std::invalid_argument("byte out of range: " + arg);
        f.byte = static_cast<std::uint8_t>(b);
    } else if (needsArg) {
        const std::vector<std::string> kms = Split(arg, '/');
        f.afterBytes = static_cast<std::size_t>(Count(kms[0]));
        if (kms.size() > 1 && f.action == Action::Stall)
            f.stallMs = Count(kms[1]);
        else if (kms.size() > 1)
            throw std::invalid_argument("only a stall has a duration");
    }
}

}  // namespace

Fault ParseFault(const std::string& text) {
    static const std::map<std::string, Step> steps = {{"ready", Step::Ready},
                                                      {"accept", Step::Accept},
                                                      {"check", Step::NumberCheck},
                                                      {"record", Step::Record},
                                                      {"closing", Step::Closing}};
    const std::vector<std::string> parts = Split(text, ':');
    if (parts.size() < 3 || parts.size() > 4 || (parts.size() == 4 && parts[3] != "always"))
        throw std::invalid_argument("fault \"" + text + "\": expected KIND:STEP:ACTION[:always]");
    Fault f;
    ParseWhich(parts[0], f);
    f.step = Lookup(steps, parts[1], "step");
    ParseAction(parts[2], f);
    f.persistent = parts.size() == 4;
    CheckFault(f);
    return f;
}

}  // namespace sim
