#include "ShopScaleRows.h"

#include <QDateTime>

#include "KnownContents.h"
#include "LastRuns.h"
#include "OpenProblem.h"
#include "PortProblemText.h"
#include "PortScan.h"
#include "ShopTexts.h"

namespace {

// When the known contents last changed, as the shop's window shows times.
QString SinceText(const std::optional<jobs::KnownHeld>& held) {
    if (!held) return {};
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(held->since.time_since_epoch());
    return QDateTime::fromMSecsSinceEpoch(ms.count()).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString KnownOf(const std::string& port) {
    const auto plus = jobs::KnownHeldBy(port, scale::RowKind::Plu);
    const auto messages = jobs::KnownHeldBy(port, scale::RowKind::Message);
    return texts::KnownText(plus ? plus->records : 0, SinceText(plus),
                            messages ? messages->records : 0, SinceText(messages));
}

QString DeviceOf(const serial::ComLead& lead) {
    return QString::fromStdString(lead.device.empty() ? lead.leadsTo : lead.device);
}

}  // namespace

std::vector<ShopScaleRow> ShopScaleRows(const std::optional<OwnPort>& own) {
    const serial::DeviceRoots roots = serial::DeviceRootsFromEnvironment();
    const std::map<std::string, jobs::LastRun> last =
        jobs::LastRunsByPort(jobs::SharedLog().ReadAll());
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
                          : QString::fromStdString(jobs::PortProblemText(row.name, own->openError));
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
