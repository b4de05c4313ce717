#include "HubAddress.h"

#include <QHostAddress>

namespace hub {

std::string AddressProblem(const QUrl& url, bool insecureHttp) {
    const std::string shown = url.toDisplayString(QUrl::RemoveUserInfo).toStdString();
    if (!url.isValid() || url.host().isEmpty()) return "--hub: адрес " + shown + " не разобран";
    if (!url.userInfo().isEmpty())
        return "--hub: имя и пароль в адресе не берутся, их место — файл --credentials";
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringLiteral("https")) return {};
    if (scheme != QStringLiteral("http")) return "--hub: нужен адрес https:// или http://";
    const QHostAddress host(url.host());
    const bool loopback =
        url.host().compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 ||
        (!host.isNull() && host.isLoopback());
    if (loopback || insecureHttp) return {};
    return "--hub: по http:// пароль и списки идут открытым текстом; нужен https:// "
           "(или --insecure-http, если сеть своя)";
}

bool IsSafeName(const std::string& name) {
    if (name.empty() || name.size() > 64 || name.front() == '.') return false;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (!plain) return false;
    }
    return true;
}

std::vector<std::string> ListNamesFor(const std::string& owner) {
    std::vector<std::string> names;
    for (const char* ext : {".plu", ".msg", ".csv", ".xlsx"}) names.push_back(owner + ext);
    return names;
}

QString ListPath(const std::string& store, const std::string& name) {
    return Q("lists/" + store + "/" + name);
}

QString ReceiptPath(const std::string& store, const std::string& port, const std::string& kind) {
    return Q("receipts/" + store + "/" + port + "." + kind + ".json");
}

QString StatusPath(const std::string& store) {
    return Q("status/" + store + ".json");
}

}  // namespace hub
