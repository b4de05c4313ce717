#include "PortsCommand.h"

#include <QJsonArray>
#include <QJsonObject>
#include <filesystem>

#include "ExitCode.h"
#include "PortMap.h"
#include "PortName.h"
#include "PortProblemText.h"
#include "PortScan.h"

namespace cli {

namespace {

namespace fs = std::filesystem;
using serial::OpenProblem;

struct State {
    const char* key;    // for --json
    const char* words;  // for people
};

State StateOf(const serial::ComPort& port) {
    if (port.lead.noUart) return {"no-uart", "нет устройства: за портом нет UART"};
    switch (port.open.problem) {
        case OpenProblem::None:
            return {"free", "свободен"};
        case OpenProblem::NoDevice:
            return {"no-device", "нет устройства"};
        case OpenProblem::AccessDenied:
            return {"no-access", "нет доступа"};
        case OpenProblem::Busy:
            return {"busy", "занят"};
        case OpenProblem::NotSerial:
            return {"not-serial", "не последовательный порт"};
        case OpenProblem::Other:
            break;
    }
    return {"error", "не открывается"};
}

// What to do about it, in the words a failed open uses; nothing when there is nothing to do.
std::string Advice(const serial::ComPort& port) {
    const OpenProblem p = port.open.problem;
    if (p == OpenProblem::None || p == OpenProblem::NoDevice) return {};
    return jobs::PortProblemText(port.lead.name, port.open);
}

// A path, and the device it leads to when that is another.
std::string WithDevice(const std::string& path, const std::string& device) {
    return path + (!device.empty() && device != path ? " (" + device + ")" : "");
}

void Show(const serial::ComPort& port, Output& output) {
    const State state = StateOf(port);
    const std::string line = port.lead.name + " → " +
                             WithDevice(port.lead.leadsTo, port.lead.device) + ": " + state.words;
    const std::string advice = Advice(port);
    output.Say(line);
    if (!advice.empty()) output.Say("    " + advice);
    QJsonArray holders;
    for (const auto& h : port.open.holders) holders.append(Q(h));
    output.Event({{"kind", "com"},
                  {"port", Q(port.lead.name)},
                  {"leads_to", Q(port.lead.leadsTo)},
                  {"linked", port.lead.linked},
                  {"device", Q(port.lead.device)},
                  {"state", state.key},
                  {"holders", holders},
                  {"text", Q(advice.empty() ? line : advice)}});
}

void Show(const serial::UnmappedDevice& d, Output& output) {
    std::string names = d.maker;
    if (!d.model.empty()) names += (names.empty() ? "" : " ") + d.model;
    output.Say("  " + WithDevice(d.path, d.device) + (names.empty() ? "" : ": " + names));
    output.Event({{"kind", "unmapped"},
                  {"path", Q(d.path)},
                  {"device", Q(d.device)},
                  {"maker", Q(d.maker)},
                  {"model", Q(d.model)}});
}

int List(const serial::DeviceRoots& roots, Output& output) {
    const serial::PortScan scan = serial::ScanPorts(roots);
    for (const auto& port : scan.com) Show(port, output);
    if (scan.unmapped.empty()) {
        output.Say("Последовательных устройств без COM-имени нет");
        return kDone;
    }
    output.Say("Устройства без COM-имени:");
    for (const auto& d : scan.unmapped) Show(d, output);
    output.Say("Назначить COM-имя: qvscale-cli ports map COM2 УСТРОЙСТВО");
    return kDone;
}

// A link whose device a program holds is left alone: that program, or the next run of it,
// would find its COM name leading somewhere else.
bool InUse(const serial::ComPort& port, const std::string& refused, Output& output) {
    if (!port.lead.linked || port.open.problem != OpenProblem::Busy) return false;
    output.Warn(port.lead.name + " " + refused + ": " +
                jobs::PortProblemText(port.lead.name, port.open));
    return true;
}

// The path to store for DEVICE: a bare name is one in /dev; a device with a by-id name is
// stored by it, which stays the same whichever USB socket the adapter is in.
std::string TargetOf(const std::string& given, const serial::DeviceRoots& roots) {
    std::string path = given.find('/') == std::string::npos
                           ? roots.dev + "/" + given
                           : fs::absolute(given).lexically_normal().string();
    const std::string serialDir = roots.dev + "/serial/";
    if (path.compare(0, serialDir.size(), serialDir) == 0) return path;
    const std::string byId = serial::ByIdNameOf(path, roots);
    return byId.empty() ? path : byId;
}

int Map(const std::string& name, const std::string& given, const serial::DeviceRoots& roots,
        Output& output) {
    const int n = OfferedComNumber(name);
    const std::string target = TargetOf(given, roots);
    std::error_code ec;
    if (!fs::exists(target, ec))
        return output.Fail(name + " не назначен: устройство " + target +
                               " не найдено: проверьте, подключён ли адаптер",
                           kNoPort);
    const serial::ComPort before = serial::ScanComPort(n, roots);
    if (before.lead.linked && before.lead.leadsTo == target) {
        output.Say(name + " уже ведёт к " + target);
        Show(before, output);
        return kDone;
    }
    if (InUse(before, "не переназначен", output)) return kNoPort;
    std::string problem;
    if (!serial::LinkComName(name, target, problem))
        return output.Fail(name + " не назначен: " + problem, kBadFile);
    Show(serial::ScanComPort(n, roots), output);
    return kDone;
}

int Unmap(const std::string& name, const serial::DeviceRoots& roots, Output& output) {
    const int n = OfferedComNumber(name);
    const serial::ComPort before = serial::ScanComPort(n, roots);
    if (!before.lead.linked) {
        output.Say("У " + name + " нет ссылки: он ведёт к " + before.lead.leadsTo);
        return kDone;
    }
    if (InUse(before, "не снят", output)) return kNoPort;
    std::string problem;
    if (!serial::UnlinkComName(name, problem))
        return output.Fail(name + " не снят: " + problem, kBadFile);
    Show(serial::ScanComPort(n, roots), output);
    return kDone;
}

}  // namespace

std::optional<std::string> PortsOperands(const QStringList& words, Settings& settings) {
    std::vector<std::string>& operands = settings.operands;
    for (qsizetype i = 1; i < words.size(); ++i) operands.push_back(words[i].toStdString());
    const std::string usage =
        "ports: нужно «ports», «ports map COMn УСТРОЙСТВО» или «ports unmap COMn»";
    if (operands.empty()) return std::nullopt;
    const std::string& verb = operands[0];
    const std::size_t expected = verb == "map" ? 3 : verb == "unmap" ? 2 : 0;
    if (expected == 0 || operands.size() != expected || operands.back().empty()) return usage;
    if (OfferedComNumber(operands[1]) == 0)
        return "ports " + verb + ": " + operands[1] + " не годится, нужен COM1..COM8";
    return std::nullopt;
}

int RunPorts(const Settings& settings, Output& output) {
    const serial::DeviceRoots roots = serial::DeviceRootsFromEnvironment();
    const std::vector<std::string>& o = settings.operands;
    if (o.empty()) return List(roots, output);
    if (o[0] == "map") return Map(o[1], o[2], roots, output);
    return Unmap(o[1], roots, output);
}

}  // namespace cli
