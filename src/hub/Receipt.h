#pragma once
// What a store tells the hub: a receipt per scale and kind after each attempt, and its status
// every pass. Times are ISO 8601 with the zone.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace hub {

enum class Outcome { Done, BadList, PortProblem, NoAnswer, Refused, Stopped };
const char* OutcomeName(Outcome outcome);
std::optional<Outcome> OutcomeNamed(const QString& name);

// A bad list's receipt names its first problems, as the import reports them.
constexpr std::size_t kProblemsKept = 50;

struct Receipt {
    std::string store;
    std::string port;
    std::string kind;  // "plu" or "msg"
    QString listPath;  // on the hub: lists/<store>/<name>
    QString etag;
    QString sha256;  // of the bytes loaded
    Outcome outcome = Outcome::Done;
    bool holdsList = false;
    int rowsSent = 0;
    int rowsSkipped = 0;
    int failureRow = 0;   // 0 when the failure is no row's
    std::string failure;  // empty: none
    std::vector<std::string> problems;
    QDateTime started;
    QDateTime ended;
};
QByteArray ReceiptJson(const Receipt& receipt);

struct PortStatus {
    std::string port;
    std::string device;
    bool opened = false;
    std::string reason;              // why it did not open
    std::optional<Outcome> outcome;  // of its last attempt, if any
};
QByteArray StatusJson(const std::string& store, const QDateTime& time,
                      const std::vector<PortStatus>& ports);

}  // namespace hub
