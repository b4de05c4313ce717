// qvscale-cli ports on a machine of the test's own: COM links in its port map folder, dev/ and
// sys/ entries under its device root, pseudo-terminals for devices that must open.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "CliFixture.h"
#include "MyCom.h"
#include "PtyPair.h"

namespace fs = std::filesystem;

namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

using Fields = std::map<std::string, std::string>;

// The text fields of each JSON line's object of this kind.
std::vector<Fields> Objects(const std::string& out, const std::string& kind) {
    std::vector<Fields> objects;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        Fields fields;
        for (auto it = o.begin(); it != o.end(); ++it)
            fields[it.key().toStdString()] = it.value().toString().toStdString();
        if (fields["kind"] == kind) objects.push_back(fields);
    }
    return objects;
}

// The fixture's folder seen as a machine. Devices are plain files: a scan only looks at them.
struct Machine {
    const CliFixture& f;
    std::string Path(const std::string& name) const { return f.Path(name).toStdString(); }
    std::string Dev(const std::string& name) const { return Path("dev/" + name); }
    std::string Write(const std::string& name, const std::string& text = "") const {
        fs::create_directories(fs::path(Path(name)).parent_path());
        std::ofstream(Path(name)) << text;
        return Path(name);
    }
    std::string Symlink(const std::string& name, const std::string& target) const {
        fs::create_directories(fs::path(Path(name)).parent_path());
        fs::create_symlink(target, Path(name));
        return Path(name);
    }
    std::string ById(const std::string& name, const std::string& device) const {
        return Symlink("dev/serial/by-id/" + name, device);
    }
    // A USB adapter: the tty's device is `below` its USB device, which names maker and model.
    void Usb(const std::string& tty, const std::string& maker, const std::string& model,
             const std::string& below) const {
        const std::string usb = "sys/devices/usb1/" + tty + "/";
        Write(usb + "idVendor", "0403");
        Write(usb + "manufacturer", maker);
        if (!model.empty()) Write(usb + "product", model);
        fs::create_directories(Path(usb + below));
        Symlink("sys/class/tty/" + tty + "/device", Path(usb + below));
    }
    std::string LinkOf(const std::string& com) const {
        std::error_code ec;
        return fs::read_symlink(Path("qvscale/ports/" + com), ec).string();
    }
};

TEST(CliPortsList, EachComNameSaysWhereItLeadsAndWhetherItOpens) {
    CliFixture f({2});
    const Machine m{f};
    PtyPair held("COM3");
    TComm holder;  // this test holds COM3 as another program would
    holder.Port = static_cast<tPort>(2);
    holder.Connect();
    const std::string plain = m.Write("plain.txt", "no serial line here");
    m.Symlink("qvscale/ports/COM4", m.Path("unplugged"));
    m.Symlink("qvscale/ports/COM5", plain);
    m.Write("dev/ttyS0");
    m.Write("sys/class/tty/ttyS0/type", "0\n");  // no UART answered at boot
    const std::tuple<std::string, std::string, const char*, std::string> cases[] = {
        {"COM1", m.Dev("ttyS0"), "no-uart", "нет UART"},
        {"COM2", f.Scale().SlavePath(), "free", "свободен"},
        {"COM3", held.SlavePath(), "busy", "занято другой программой (test_cli)"},
        {"COM4", m.Path("unplugged"), "no-device", "нет устройства"},
        {"COM5", plain, "not-serial", "не последовательный порт"},
        {"COM8", m.Dev("ttyS7"), "no-device", "нет устройства"},
    };
    const CliRun text = RunCli({"ports"});
    const CliRun json = RunCli({"ports", "--json"});
    ASSERT_EQ(text.exitCode + json.exitCode, 0) << text.err << json.err;
    std::map<std::string, Fields> byPort;
    for (const Fields& o : Objects(json.out, "com")) byPort[o.at("port")] = o;
    EXPECT_EQ(byPort.size(), 8u);
    for (const auto& [port, leadsTo, state, says] : cases) {
        EXPECT_EQ(byPort[port]["leads_to"], leadsTo) << port;
        EXPECT_EQ(byPort[port]["state"], state) << port;
        EXPECT_TRUE(Has(byPort[port]["text"], says)) << byPort[port]["text"];
        EXPECT_TRUE(Has(text.out, port + " → " + leadsTo) && Has(text.out, says)) << port;
    }
}

TEST(CliPortsList, DevicesWithoutAComNameAreListedByStableNameWithMakerAndModel) {
    CliFixture f(std::vector<int>{});
    const Machine m{f};
    const std::string ftdi = m.ById("usb-FTDI_FT232R_A12345-if00-port0", m.Write("dev/ttyUSB0"));
    m.Usb("ttyUSB0", "FTDI", "FT232R USB UART", "1-1:1.0/ttyUSB0");
    const std::string acm = m.ById("usb-Arduino_0043-if00", m.Write("dev/ttyACM0"));
    m.Usb("ttyACM0", "Arduino (www.arduino.cc)", "", "1-2:1.0");
    m.Symlink("qvscale/ports/COM6", m.ById("usb-Prolific-if00-port0", m.Write("dev/ttyUSB1")));
    m.Write("sys/class/tty/ttyS11/type", "4\n");  // a 16550A
    m.Write("sys/class/tty/ttyS12/type", "0\n");
    for (const char* tty : {"ttyS11", "ttyS12", "ttyS13"}) m.Write("dev/" + std::string(tty));
    const std::vector<std::vector<std::string>> expected = {
        {acm, m.Dev("ttyACM0"), "Arduino (www.arduino.cc)", ""},
        {ftdi, m.Dev("ttyUSB0"), "FTDI", "FT232R USB UART"},
        {m.Dev("ttyS11"), m.Dev("ttyS11"), "", ""},
    };
    const CliRun json = RunCli({"ports", "--json"});
    std::vector<std::vector<std::string>> listed;
    for (Fields& o : Objects(json.out, "unmapped"))
        listed.push_back({o["path"], o["device"], o["maker"], o["model"]});
    EXPECT_EQ(listed, expected) << json.out;
    EXPECT_TRUE(Has(RunCli({"ports"}).out, ftdi + " (" + m.Dev("ttyUSB0") + "): FTDI FT232R"));
}

TEST(CliPortsMap, LinksByTheStableNameAndLeavesALinkInUseAlone) {
    CliFixture f(std::vector<int>{});
    const Machine m{f};
    PtyPair pty("COM7");
    const std::string byId = m.ById("usb-Prolific-if00-port0", pty.SlavePath());
    const std::string ftdi = m.ById("usb-FTDI_FT232R_A12345-if00-port0", m.Write("dev/ttyUSB0"));
    const std::string plain = m.Write("dev/ttyS11");
    const QString pts = QString::fromStdString(pty.SlavePath());
    // ports ..., whether a program holds COM3's device meanwhile, exit code, link, what is said
    const std::tuple<QStringList, bool, int, std::string, std::string> steps[] = {
        {{"map", "COM3", pts}, false, 0, byId, byId},
        {{"map", "COM3", "ttyUSB0"}, true, 4, byId, "COM3 не переназначен"},
        {{"unmap", "COM3"}, true, 4, byId, "COM3 не снят"},
        {{"map", "COM3", "ttyUSB0"}, false, 0, ftdi, ftdi},  // a bare name is one in dev/
        {{"map", "COM3", QString::fromStdString(plain)}, false, 0, plain, plain},
        {{"map", "COM3", QString::fromStdString(m.Dev("ttyUSB9"))}, false, 4, plain, "не найдено"},
        {{"unmap", "COM3"}, false, 0, "", "COM3 → " + m.Dev("ttyS2") + ": нет устройства"},
        {{"unmap", "COM3"}, false, 0, "", "нет ссылки"},
    };
    for (const auto& [args, held, exitCode, linkedTo, says] : steps) {
        TComm holder;
        holder.Port = static_cast<tPort>(2);
        if (held) holder.Connect();
        const CliRun run = RunCli(QStringList{"ports"} + args);
        const std::string what = args.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, exitCode) << what << run.err;
        EXPECT_EQ(m.LinkOf("COM3"), linkedTo) << what;
        EXPECT_TRUE(Has(run.out + run.err, says)) << what << ": " << run.out << run.err;
    }
}

}  // namespace
