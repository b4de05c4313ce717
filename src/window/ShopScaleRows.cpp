#include "ShopScaleRows.h"

#include <QDateTime>
#include <filesystem>

#include "KnownContents.h"
#include "KnownJournal.h"
#include "LastRuns.h"
#include "OpenProblem.h"
#include "PortMap.h"
#include "PortProblemText.h"
#include "PortScan.h"
#include "ShopTexts.h"

namespace {

namespace fs = std::filesystem;

// When the known contents last changed: the file or its journal, whichever is later.
QString KnownSince(const std::string& port, scale::RowKind kind) {
    const std::string path = jobs::KnownContentsPath(port, kind);
    std::optional<fs::file_time_type> latest;
    for (const std::string& p : {path, jobs::JournalPath(path)}) {
        std::error_code error;
        const fs::file_time_type t = fs::last_write_time(p, error);
        if (!error && (!latest || t > *latest)) latest = t;
    }
    if (!latest) return {};
    const auto system = std::chrono::time_point_cast<std::chrono::milliseconds>(
        *latest - fs::file_time_type::clock::now() + std::chrono::system_clock::now());
    return QDateTime::fromMSecsSinceEpoch(system.time_since_epoch().count())
        .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString KnownOf(const std::string& port) {
    const auto plus = jobs::LoadKnown(port, scale::RowKind::Plu);
    const auto messages = jobs::LoadKnown(port, scale::RowKind::Message);
    return texts::KnownText(plus ? static_cast<int>(plus->size()) : 0,
                            plus ? KnownSince(port, scale::RowKind::Plu) : QString(),
                            messages ? static_cast<int>(messages->size()) : 0,
                            messages ? KnownSince(port, scale::RowKind::Message) : QString());
}

QString DeviceOf(const serial::ComLead& lead) {
    return QString::fromStdString(lead.device.empty() ? lead.leadsTo : lead.device);
}

}  // namespace

std::vector<ShopScaleRow> ShopScaleRows(const std::optional<OwnPort>& own,
                                        const jobs::TransferLog& log) {
    const serial::DeviceRoots roots = serial::DeviceRootsFromEnvironment();
    const std::map<std::string, jobs::LastRun> last = jobs::LastRunsByPort(log.ReadAll());
    std::vector<ShopScaleRow> rows;
    for (int n = 1; n <= serial::kComNames; ++n) {
        const serial::ComLead lead = serial::LeadOf(n, roots);
        ShopScaleRow row;
        row.name = lead.name;
        row.own = own && own->name == lead.name;
        if (!row.own && !lead.Present()) continue;
        row.device = DeviceOf(lead);
        if (row.own) {
            row.opens = own->openError == 0;
            row.openText =
                row.opens ? texts::OwnPortOpens()
                          : QString::fromStdString(jobs::PortProblemText(
                                row.name, serial::DiagnoseOpen(serial::DeviceOfComName(row.name),
                                                               own->openError)));
        } else {
            const serial::ComPort port = serial::ScanComPort(n, roots);
            row.opens = port.open.problem == serial::OpenProblem::None;
            row.openText = row.opens
                               ? texts::PortOpens()
                               : QString::fromStdString(jobs::PortProblemText(row.name, port.open));
        }
        const auto run = last.find(row.name);
        row.lastRun = run == last.end() ? texts::NoLastRun() : texts::LastRunText(run->second);
        row.known = KnownOf(row.name);
        rows.push_back(std::move(row));
    }
    return rows;
}
