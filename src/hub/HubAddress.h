#pragma once
// Where things are on the hub, and which addresses and names are taken. Every name that goes
// into a path, on the hub or in the state folder, passes IsSafeName first.

#include <QString>
#include <QUrl>
#include <string>
#include <vector>

namespace hub {

// Text of the store's side, UTF-8, as a QString: for paths and JSON.
inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Why url cannot be the hub, in the user's words; empty when it can. Plain http goes only to the
// loopback address unless insecureHttp.
std::string AddressProblem(const QUrl& url, bool insecureHttp);

// One component of a path: 1..64 letters, digits, '-', '_' or '.', not starting with '.'.
bool IsSafeName(const std::string& name);

// The names of the lists the hub may hold for one scale, or for all ("all"), in the order they
// are taken: a table file of each kind, then a CSV file, then a workbook.
std::vector<std::string> ListNamesFor(const std::string& owner);
constexpr const char* kAllScales = "all";

QString ListPath(const std::string& store, const std::string& name);
QString ReceiptPath(const std::string& store, const std::string& port, const std::string& kind);
QString StatusPath(const std::string& store);

}  // namespace hub
