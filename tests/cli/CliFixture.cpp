#include "CliFixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

CliFixture::CliFixture(const std::vector<int>& comNumbers, int baud,
                       std::chrono::milliseconds pcTimeout) {
    for (int n : comNumbers) {
        sim::Options options;
        options.link = "COM" + std::to_string(n);
        options.baud = baud;
        options.pcTimeout = pcTimeout;
        scales_.push_back(std::make_unique<sim::VirtualScale>(options));
    }
}

QString CliFixture::Path(const std::string& name) const {
    return QString::fromStdString(config_.Dir() + "/" + name);
}

std::string CliFixture::PluListBytes(int rows, int priceAdded, const std::string& name2) {
    std::string bytes;
    for (int n = 1; n <= rows; ++n) {
        const std::string cells[] = {std::to_string(n),
                                     "\xd1\xfb\xf0 " + std::to_string(n),
                                     name2,
                                     std::to_string(100 * n + priceAdded),
                                     "5",
                                     "0",
                                     std::to_string(1000 + n),
                                     "1",
                                     "0"};
        for (const auto& cell : cells) bytes += cell + "\r\n";
    }
    return bytes + "***\r\n";
}

QString CliFixture::WritePluList(const std::string& name, int rows) const {
    return WriteFile(name, PluListBytes(rows));
}

QString CliFixture::WriteFile(const std::string& name, const std::string& bytes) const {
    const QString path = Path(name);
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
}

std::string CliFixture::ReadFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<int> CliFixture::StoredPlus(const sim::VirtualScale& scale) {
    std::vector<int> plus;
    for (const sim::PluRecord& r : scale.Plus()) plus.push_back(r.plu);
    return plus;
}

std::string CliFixture::Log() const {
    return ReadFile(QString::fromStdString(config_.Dir() + "/qvscale/transfers.log"));
}

sim::Fault FaultAt(sim::Kind kind, int occurrence, sim::Step step, sim::Action action,
                   bool persistent) {
    sim::Fault fault;
    fault.kind = kind;
    fault.occurrence = occurrence;
    fault.step = step;
    fault.action = action;
    fault.afterBytes = 10;
    fault.persistent = persistent;
    return fault;
}
