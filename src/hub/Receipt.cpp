#include "Receipt.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "HubAddress.h"

namespace hub {

namespace {

const Outcome kOutcomes[] = {Outcome::Done,     Outcome::BadList, Outcome::PortProblem,
                             Outcome::NoAnswer, Outcome::Refused, Outcome::Stopped};

// "2026-12-09T17:21:57.120+03:00"
QString IsoTime(const QDateTime& time) {
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

}  // namespace

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
        case Outcome::Done:
            return "done";
        case Outcome::BadList:
            return "bad_list";
        case Outcome::PortProblem:
            return "port_problem";
        case Outcome::NoAnswer:
            return "no_answer";
        case Outcome::Refused:
            return "refused";
        case Outcome::Stopped:
            return "stopped";
    }
    return "";
}

std::optional<Outcome> OutcomeNamed(const QString& name) {
    for (const Outcome o : kOutcomes)
        if (name == QLatin1String(OutcomeName(o))) return o;
    return std::nullopt;
}

QByteArray ReceiptJson(const Receipt& r) {
    QJsonArray problems;
    for (std::size_t i = 0; i < r.problems.size() && i < kProblemsKept; ++i)
        problems.append(Q(r.problems[i]));
    QJsonValue failure = QJsonValue::Null;
    if (!r.failure.empty())
        failure = QJsonObject{{"row", r.failureRow > 0 ? QJsonValue(r.failureRow) : QJsonValue()},
                              {"reason", Q(r.failure)}};
    const QJsonObject receipt{
        {"store", Q(r.store)},
        {"port", Q(r.port)},
        {"kind", Q(r.kind)},
        {"list", QJsonObject{{"path", r.listPath}, {"etag", r.etag}, {"sha256", r.sha256}}},
        {"outcome", OutcomeName(r.outcome)},
        {"holds_list", r.holdsList},
        {"rows_sent", r.rowsSent},
        {"rows_skipped", r.rowsSkipped},
        {"failure", failure},
        {"problems", problems},
        {"started", IsoTime(r.started)},
        {"ended", IsoTime(r.ended)},
        {"version", QVSCALE_VERSION},
    };
    return QJsonDocument(receipt).toJson(QJsonDocument::Indented);
}

QByteArray StatusJson(const std::string& store, const QDateTime& time,
                      const std::vector<PortStatus>& ports) {
    QJsonArray list;
    for (const PortStatus& p : ports) {
        QJsonObject port{
            {"port", Q(p.port)},
            {"device", Q(p.device)},
            {"opened", p.opened},
            {"outcome", p.outcome ? QJsonValue(OutcomeName(*p.outcome)) : QJsonValue()}};
        if (!p.opened) port.insert("reason", Q(p.reason));
        list.append(port);
    }
    const QJsonObject status{{"store", Q(store)},
                             {"time", IsoTime(time)},
                             {"version", QVSCALE_VERSION},
                             {"ports", list}};
    return QJsonDocument(status).toJson(QJsonDocument::Indented);
}

}  // namespace hub
