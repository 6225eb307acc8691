// Nothing that is not a measurement looks like one: a silent block's channels are stale
// until it answers, and a gateway restarted where the port is missing marks what the run
// before it left as stale, under a run of its own.
#include "GatewayFixture.h"

#include <QDateTime>
#include <QJsonArray>

namespace {

QJsonObject Json(const QByteArray& payload) { return QJsonDocument::fromJson(payload).object(); }
QJsonObject Channel(const QJsonObject& doc, int k) { return doc["channels"].toArray().at(k).toObject(); }
QDateTime Time(const QJsonValue& v) { return QDateTime::fromString(v.toString(), Qt::ISODateWithMs); }

}  // namespace

TEST_F(GatewayFixture, ASilentBlockIsStaleUntilItAnswers) {
    StartLine(QStringLiteral("0"));
    ASSERT_TRUE(broker.Start());
    StartProbe();
    ASSERT_TRUE(gateway.Start(Arguments(broker.Url())));
    const QByteArray block = Topic("block/01");
    auto last = [&] { return LastJson(block); };
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return !probe->On(block).empty(); }, 30000)) << gateway.Output().toStdString();
    EXPECT_EQ(Channel(last(), 0)["quality"].toString(), "good");
    const double pv = Channel(last(), 0)["pv"].toDouble();

    line->Locked([](rdxsim::LineModel& m) { m.SetBlockSilent(0, true); });
    const QDateTime silenced = QDateTime::currentDateTime();
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return last()["outOfContact"].toBool(); }, 10000));
    const QJsonObject silent = last();
    for (int k = 0; k < 20; ++k) {
        if (!Channel(silent, k)["present"].toBool()) continue;
        EXPECT_EQ(Channel(silent, k)["quality"].toString(), "stale") << k;
        EXPECT_TRUE(Channel(silent, k)["pv"].isNull()) << k;
    }
    EXPECT_DOUBLE_EQ(Channel(silent, 0)["lastPv"].toDouble(), pv);
    // Read last before the silence (a reply on its way may land just after), not since.
    EXPECT_LT(Time(silent["readAt"]), silenced.addMSecs(250)) << silent["readAt"].toString().toStdString();

    line->Locked([](rdxsim::LineModel& m) { m.SetBlockSilent(0, false); });
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return !last()["outOfContact"].toBool(true); }, 10000));
    EXPECT_EQ(Channel(last(), 0)["quality"].toString(), "good");
    EXPECT_DOUBLE_EQ(Channel(last(), 0)["pv"].toDouble(), pv);
    EXPECT_GT(Time(last()["readAt"]), Time(silent["time"]));
}

TEST_F(GatewayFixture, RestartedWhereThePortIsMissingItMarksTheLastRunsBlocksStaleUnderANewRun) {
    StartLine(QStringLiteral("0"));
    // On before the gateway starts: an alarm already on, not a transition.
    line->Locked([](rdxsim::LineModel& m) { m.SetSensorFault(2, rdxsim::SensorFault::Open); });
    ASSERT_TRUE(broker.Start());
    StartProbe();
    ASSERT_TRUE(gateway.Start(Arguments(broker.Url())));
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return !probe->On(Topic("alarms")).empty(); }, 30000))
        << gateway.Output().toStdString();
    std::vector<QJsonObject> events;
    for (const Received& r : probe->On(Topic("event"))) events.push_back(Json(r.payload));
    ASSERT_EQ(events.size(), 1u) << probe->Last(Topic("event")).constData();
    EXPECT_EQ(events[0]["code"].toString(), "UPS");
    EXPECT_EQ(events[0]["ch"].toInt(), 3);
    EXPECT_TRUE(events[0]["initial"].toBool());
    EXPECT_EQ(LastJson(Topic("alarms"))["alarms"].toArray().size(), 1);
    EXPECT_EQ(LastJson(Topic("link"))["state"].toString(), "open");
    const QString firstRun = events[0]["run"].toString();
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return LastJson(Topic("publisher"))["run"] == firstRun; }, 5000));

    // A power cut: the gateway dies, and the adapter is gone when it comes back.
    gateway.Kill();
    line->StopServing();
    probe->Clear();
    ASSERT_TRUE(gateway.Start(Arguments(broker.Url())));
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return !probe->On(Topic("link")).empty(); }, 10000))
        << gateway.Output().toStdString();
    const QJsonObject link = LastJson(Topic("link"));
    EXPECT_EQ(link["state"].toString(), "missing");
    EXPECT_EQ(link["device"].toString(), LinkPath());
    ASSERT_FALSE(probe->On(Topic("block/01")).empty());
    const QJsonObject doc = LastJson(Topic("block/01"));
    EXPECT_TRUE(doc["outOfContact"].toBool());
    EXPECT_EQ(Channel(doc, 0)["quality"].toString(), "stale");
    EXPECT_TRUE(Channel(doc, 0)["pv"].isNull());
    EXPECT_TRUE(probe->On(Topic("block/02")).empty());
    // Connected to the broker all the same: status is the publisher's, not the line's.
    EXPECT_EQ(probe->Last(Topic("status")), "online");
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return !probe->On(Topic("publisher")).empty(); }, 5000));
    EXPECT_NE(LastJson(Topic("publisher"))["run"].toString(), firstRun);
}
