// The receipt and the status as head office reads them.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

#include "Receipt.h"

namespace {

QJsonObject Parsed(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
    return doc.object();
}

// True when text is ISO 8601 with a zone that gives back the same instant.
bool ZonedIso(const QString& text, const QDateTime& instant) {
    const QDateTime read = QDateTime::fromString(text, Qt::ISODateWithMs);
    const bool zoned =
        text.endsWith('Z') || text.at(text.size() - 6) == '+' || text.at(text.size() - 6) == '-';
    return zoned && read.isValid() && read.toMSecsSinceEpoch() == instant.toMSecsSinceEpoch();
}

TEST(ReceiptJson, CarriesEveryFieldHeadOfficeReadsWithZonedTimes) {
    const QDateTime started(QDate(2026, 3, 2), QTime(7, 30, 0, 250), QTimeZone(3 * 3600));
    const QDateTime ended = started.addSecs(61);
    struct Case {
        const char* name;
        hub::Outcome outcome;
        const char* outcomeName;
        std::string failure;
        int failureRow;
        int problems;
    };
    const Case cases[] = {
        {"done", hub::Outcome::Done, "done", "", 0, 0},
        {"no answer at a row", hub::Outcome::NoAnswer, "no_answer", "весы не отвечают", 3, 0},
        {"port", hub::Outcome::PortProblem, "port_problem", "устройства нет", 0, 0},
        {"refused", hub::Outcome::Refused, "refused", "весы не приняли номер PLU", 7, 0},
        {"stopped", hub::Outcome::Stopped, "stopped", "остановлено по сигналу", 0, 0},
        {"bad list", hub::Outcome::BadList, "bad_list", "В весы ничего не передано", 0, 70},
    };
    for (const Case& c : cases) {
        hub::Receipt r;
        r.store = "s1";
        r.port = "COM2";
        r.kind = "plu";
        r.listPath = "lists/s1/all.plu";
        r.etag = "\"5f-3a\"";
        r.sha256 = "ab12";
        r.outcome = c.outcome;
        r.holdsList = c.outcome == hub::Outcome::Done;
        r.rowsSent = 4;
        r.rowsSkipped = 996;
        r.failure = c.failure;
        r.failureRow = c.failureRow;
        for (int i = 1; i <= c.problems; ++i) r.problems.push_back("Строка " + std::to_string(i));
        r.started = started;
        r.ended = ended;
        const QJsonObject o = Parsed(hub::ReceiptJson(r));
        EXPECT_EQ(o["store"], "s1") << c.name;
        EXPECT_EQ(o["port"], "COM2") << c.name;
        EXPECT_EQ(o["kind"], "plu") << c.name;
        EXPECT_EQ(o["list"].toObject()["path"], "lists/s1/all.plu") << c.name;
        EXPECT_EQ(o["list"].toObject()["etag"], "\"5f-3a\"") << c.name;
        EXPECT_EQ(o["list"].toObject()["sha256"], "ab12") << c.name;
        EXPECT_EQ(o["outcome"], c.outcomeName) << c.name;
        EXPECT_EQ(o["holds_list"], c.outcome == hub::Outcome::Done) << c.name;
        EXPECT_EQ(o["rows_sent"], 4) << c.name;
        EXPECT_EQ(o["rows_skipped"], 996) << c.name;
        EXPECT_EQ(o["version"], QVSCALE_VERSION) << c.name;
        if (c.failure.empty()) {
            EXPECT_TRUE(o["failure"].isNull()) << c.name;
        } else {
            const QJsonObject f = o["failure"].toObject();
            EXPECT_EQ(f["reason"].toString().toStdString(), c.failure) << c.name;
            if (c.failureRow) {
                EXPECT_EQ(f["row"], c.failureRow) << c.name;
            } else {
                EXPECT_TRUE(f["row"].isNull()) << c.name;
            }
        }
        const QJsonArray problems = o["problems"].toArray();
        EXPECT_EQ(problems.size(), std::min(c.problems, 50)) << c.name;
        if (c.problems) {
            EXPECT_EQ(problems.first(), "Строка 1") << c.name;
        }
        EXPECT_TRUE(ZonedIso(o["started"].toString(), started))
            << o["started"].toString().toStdString();
        EXPECT_TRUE(ZonedIso(o["ended"].toString(), ended)) << o["ended"].toString().toStdString();
        EXPECT_TRUE(o["started"].toString().endsWith("+03:00")) << c.name;
        EXPECT_EQ(hub::OutcomeNamed(c.outcomeName), c.outcome) << c.name;
    }
    EXPECT_FALSE(hub::OutcomeNamed("ok"));
}

TEST(StatusJson, SaysForEachPortWhetherItOpenedWhyNotAndItsLastOutcome) {
    std::vector<hub::PortStatus> ports(3);
    ports[0] = {"COM2", "/dev/ttyUSB0", true, "", hub::Outcome::Done};
    ports[1] = {"COM3", "/dev/ttyUSB1", false, "устройства /dev/ttyUSB1 нет",
                hub::Outcome::PortProblem};
    ports[2] = {"COM4", "/dev/ttyS3", true, "", std::nullopt};
    const QDateTime time = QDateTime::currentDateTime();
    const QJsonObject o = Parsed(hub::StatusJson("s1", time, ports));
    EXPECT_EQ(o["store"], "s1");
    EXPECT_EQ(o["version"], QVSCALE_VERSION);
    EXPECT_TRUE(ZonedIso(o["time"].toString(), time)) << o["time"].toString().toStdString();
    const QJsonArray list = o["ports"].toArray();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].toObject()["port"], "COM2");
    EXPECT_EQ(list[0].toObject()["device"], "/dev/ttyUSB0");
    EXPECT_EQ(list[0].toObject()["opened"], true);
    EXPECT_FALSE(list[0].toObject().contains("reason"));
    EXPECT_EQ(list[0].toObject()["outcome"], "done");
    EXPECT_EQ(list[1].toObject()["opened"], false);
    EXPECT_EQ(list[1].toObject()["reason"], "устройства /dev/ttyUSB1 нет");
    EXPECT_EQ(list[1].toObject()["outcome"], "port_problem");
    EXPECT_TRUE(list[2].toObject()["outcome"].isNull());
}

}  // namespace
