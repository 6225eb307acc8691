// The publisher between the engine and a real broker: when a block's document goes out,
// the history's entries as events, alarms already on at start, stale documents removed, a
// block whose contact changes while nothing is polled, and events the end left unsent.
#include "MosquittoBroker.h"
#include "MqttProbe.h"
#include "publish/LinePublisher.h"
#include "TestClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Lets the publisher's own events (its timer, the broker's reports) run while waiting.
bool WaitWithEvents(const std::function<bool()>& pred, int ms) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

QJsonObject Json(const QByteArray& payload) { return QJsonDocument::fromJson(payload).object(); }
// The first channel's PV of a block document.
double FirstPv(const QByteArray& payload) {
    return Json(payload)["channels"].toArray().at(0).toObject().value("pv").toDouble();
}

class LinePublisherTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (MosquittoBroker::Executable().isEmpty()) GTEST_SKIP() << "mosquitto is not installed (scripts/setup)";
        ASSERT_TRUE(broker.Start());
        probe = std::make_unique<MqttProbe>(broker.Port());
        ASSERT_TRUE(probe->Connect("rdx410/line-a/#"));
        inc.BlockAbsent.fill(1);
        inc.BlockAbsent[0] = inc.BlockAbsent[1] = 0;
        inc.ChPresent[0] = inc.ChPresent[20] = 1;
        inc.ChPV[0] = 100;
        config.address = BrokerAddress{QStringLiteral("127.0.0.1"), broker.Port(), false};
        config.line = QStringLiteral("line-a");
    }

    std::unique_ptr<LinePublisher> StartPublisher() {
        auto p = std::make_unique<LinePublisher>(inc, config, QStringLiteral("test"));
        p->Time = &clock;
        bool connected = false;
        QObject::connect(p.get(), &LinePublisher::brokerEvent, [&](MqttConnection::Event e, const QString&) {
            if (e == MqttConnection::Event::Connected) connected = true;
        });
        p->Start();
        EXPECT_TRUE(WaitWithEvents([&] { return connected; }, 10000));
        return p;
    }

    size_t Count(const char* topic) const { return probe->On(QByteArray("rdx410/line-a/") + topic).size(); }

    QTemporaryDir dir;
    MosquittoBroker broker{dir.filePath("broker")};
    std::unique_ptr<MqttProbe> probe;
    RDX_INC inc;
    PublishConfig config;
    TestClock clock;
};

}  // namespace

TEST_F(LinePublisherTest, ABlocksDocumentFollowsTheEndOfItsPollCycleAtMostOnceASecond) {
    auto p = StartPublisher();
    // PV and status of block 1 are not the end of its cycle; its MV or heater current is.
    p->AfterPoll(0, QStringLiteral("0080"));
    p->AfterPoll(0, QStringLiteral("0083"));
    p->AfterPoll(1, QStringLiteral("0080"));
    QThread::msleep(300);
    EXPECT_EQ(Count("block/01"), 0u);
    p->AfterPoll(0, QStringLiteral("0082"));
    p->AfterPoll(1, QStringLiteral("0081"));
    ASSERT_TRUE(WaitWithEvents([&] { return Count("block/01") == 1 && Count("block/02") == 1; }, 5000));
    EXPECT_EQ(FirstPv(probe->Last("rdx410/line-a/block/01")), 100);

    inc.ChPV[0] = 101;
    for (qint64 t : {500, 999}) {
        clock.ms = t;
        p->AfterPoll(0, QStringLiteral("0081"));
    }
    QThread::msleep(300);
    EXPECT_EQ(Count("block/01"), 1u) << "a second document within the second";
    clock.ms = 1000;
    p->AfterPoll(0, QStringLiteral("0082"));
    ASSERT_TRUE(WaitWithEvents([&] { return Count("block/01") == 2; }, 5000));
    EXPECT_EQ(FirstPv(probe->Last("rdx410/line-a/block/01")), 101);
    EXPECT_EQ(Count("block/02"), 1u);
    for (const Received& r : probe->On("rdx410/line-a/block/01")) EXPECT_EQ(r.qos, 0);
}

TEST_F(LinePublisherTest, HistoryEntriesBecomeNumberedEventsNamingTheirBlock) {
    auto p = StartPublisher();
    p->StartupFinished();
    p->HistoryEntry(QStringLiteral("Alarm1"), 24, -1, QStringLiteral("Ch025"), QString::fromUtf8("警報１の状態がONになりました。"));
    inc.AddrChar = QString(QChar(0x20 + 4));
    p->HistoryEntry(QStringLiteral("NAK"), 0, 0, QStringLiteral("----"), QString::fromUtf8("MGU-500から否定応答(NAK応答)が返ってきました。"));
    p->HistoryEntry(QString::fromLatin1(OutOfContactCode), 60, -1, QStringLiteral("----"), QStringLiteral("x"));
    ASSERT_TRUE(WaitWithEvents([&] { return Count("event") == 3; }, 5000));
    const auto events = probe->On("rdx410/line-a/event");
    const QJsonObject a = Json(events[0].payload), n = Json(events[1].payload), c = Json(events[2].payload);
    EXPECT_EQ(a["seq"].toInt(), 1);
    EXPECT_EQ(a["block"].toInt(), 2);
    EXPECT_EQ(a["ch"].toInt(), 25);
    EXPECT_TRUE(a["on"].toBool());
    EXPECT_EQ(n["seq"].toInt(), 2);
    EXPECT_EQ(n["code"].toString(), "NAK");
    EXPECT_EQ(n["block"].toInt(), 5);
    EXPECT_EQ(c["seq"].toInt(), 3);
    EXPECT_EQ(c["block"].toInt(), 4);
    EXPECT_TRUE(c["on"].toBool());
    for (const Received& r : events) {
        EXPECT_EQ(r.qos, 1);
        EXPECT_FALSE(r.retained);
        EXPECT_EQ(Json(r.payload)["run"].toString(), p->Run());
    }
}

TEST_F(LinePublisherTest, AlarmsOnAtStartGoOutAsInitialAndTheAlarmsDocumentFollowsEveryChange) {
    inc.ChStatus[20] = qint16(StatusBit::Alarm1 | StatusBit::HeaterBreak);
    auto p = StartPublisher();
    // What the start-up read records: changes from nothing, which are no transitions.
    p->HistoryEntry(QStringLiteral("Alarm1"), 20, -1, QStringLiteral("Ch021"), QStringLiteral("on"));
    p->HistoryEntry(QStringLiteral("HB"), 20, -1, QStringLiteral("Ch021"), QStringLiteral("on"));
    p->StartupFinished();
    ASSERT_TRUE(WaitWithEvents([&] { return Count("event") == 2 && Count("alarms") == 1; }, 5000));
    auto events = probe->On("rdx410/line-a/event");
    QStringList codes;
    for (const Received& r : events) {
        const QJsonObject e = Json(r.payload);
        EXPECT_TRUE(e["initial"].toBool()) << r.payload.constData();
        EXPECT_TRUE(e["on"].toBool());
        EXPECT_EQ(e["ch"].toInt(), 21);
        codes << e["code"].toString();
    }
    EXPECT_EQ(codes.join(','), "Alarm1,HB");
    auto alarms = [&] {
        QStringList on;
        for (const QJsonValue a : Json(probe->Last("rdx410/line-a/alarms"))["alarms"].toArray())
            on << a["code"].toString() + '@' + QString::number(a["ch"].toInt());
        return on.join(',');
    };
    EXPECT_EQ(alarms(), "Alarm1@21,HB@21");

    // A change after the start is a transition, and the document follows it.
    inc.ChStatus[20] = qint16(StatusBit::HeaterBreak);
    p->HistoryEntry(QStringLiteral("Alarm1"), 20, 0, QStringLiteral("Ch021"), QStringLiteral("off"));
    ASSERT_TRUE(WaitWithEvents([&] { return Count("event") == 3 && Count("alarms") == 2; }, 5000));
    const QJsonObject off = Json(probe->Last("rdx410/line-a/event"));
    EXPECT_FALSE(off["initial"].toBool(true));
    EXPECT_FALSE(off["on"].toBool(true));
    EXPECT_EQ(alarms(), "HB@21");
}

TEST_F(LinePublisherTest, AtStartupAbsentBlocksLoseTheDocumentsAnEarlierRunLeft) {
    ASSERT_TRUE(probe->Publish("rdx410/line-a/block/05", "{\"old\":true}", 1, true));
    ASSERT_TRUE(WaitWithEvents([&] { return Count("block/05") == 1; }, 5000));
    auto p = StartPublisher();
    p->StartupFinished();
    ASSERT_TRUE(WaitWithEvents([&] { return Count("block/01") == 1 && Count("block/02") == 1; }, 5000));
    QThread::msleep(300);
    MqttProbe later(broker.Port());
    ASSERT_TRUE(later.Connect("rdx410/line-a/block/+"));
    ASSERT_TRUE(later.WaitFor([&](auto& m) { return m.size() >= 2; }, 5000));
    QThread::msleep(300);
    EXPECT_TRUE(later.On("rdx410/line-a/block/05").empty());
    EXPECT_EQ(later.On("rdx410/line-a/block/01").size(), 1u);
}

TEST_F(LinePublisherTest, ABlockOutOfContactIsStaleRepeatedOnceAMinuteAndGoodWhenItAnswers) {
    auto p = StartPublisher();
    p->AfterPoll(0, QStringLiteral("0082"));
    ASSERT_TRUE(WaitWithEvents([&] { return Count("block/01") == 1; }, 5000));
    auto first = [&] { return Json(probe->Last("rdx410/line-a/block/01"))["channels"].toArray().at(0).toObject(); };
    EXPECT_FALSE(Json(probe->Last("rdx410/line-a/block/01"))["outOfContact"].toBool(true));
    EXPECT_EQ(first()["quality"].toString(), "good");
    // The port went away: the engine marks every block, and polls nothing any more.
    inc.BlockOutOfContact[0] = true;
    ASSERT_TRUE(WaitWithEvents([&] { return Count("block/01") == 2; }, 5000));
    EXPECT_TRUE(Json(probe->Last("rdx410/line-a/block/01"))["outOfContact"].toBool());
    EXPECT_EQ(first()["quality"].toString(), "stale");
    EXPECT_TRUE(first()["pv"].isNull());
    EXPECT_DOUBLE_EQ(first()["lastPv"].toDouble(), 100);

    // A silent block is still asked: its frozen values go out again once a minute only.
    for (qint64 t : {1000, 30000, 59999}) {
        clock.ms = t;
        p->AfterPoll(0, QStringLiteral("0082"));
    }
    QThread::msleep(300);
    EXPECT_EQ(Count("block/01"), 2u);
    clock.ms = 60000;
    p->AfterPoll(0, QStringLiteral("0082"));
    ASSERT_TRUE(WaitWithEvents([&] { return Count("block/01") == 3; }, 5000));

    inc.BlockOutOfContact[0] = false;
    ASSERT_TRUE(WaitWithEvents([&] { return Count("block/01") == 4; }, 5000));
    EXPECT_EQ(first()["quality"].toString(), "good");
    EXPECT_DOUBLE_EQ(first()["pv"].toDouble(), 100);
}

TEST_F(LinePublisherTest, EachPresentBlocksExchangeCountersGoOutAtMostEveryTenSeconds) {
    LineDiagnostics diagnostics;
    auto note = [&](int block, ExchangeVerdict verdict, double ms) {
        diagnostics.Note(block, QStringLiteral("\""), QStringLiteral("0081"), {}, {}, verdict, ms, 0, 0);
    };
    note(0, ExchangeVerdict::Ack, 20);
    note(0, ExchangeVerdict::Ack, 40);
    note(1, ExchangeVerdict::Silent, 0);
    note(1, ExchangeVerdict::Nak, 10);
    note(5, ExchangeVerdict::Silent, 0);  // an absent block's probe
    auto p = StartPublisher();
    p->Diagnostics = &diagnostics;
    p->StartupFinished();
    ASSERT_TRUE(WaitWithEvents([&] { return Count("diagnostics") == 1; }, 5000));
    auto doc = [&] { return Json(probe->Last("rdx410/line-a/diagnostics")); };
    auto block = [&](int i) { return doc()["blocks"].toArray().at(i).toObject(); };
    EXPECT_EQ(doc()["line"].toString(), "line-a");
    ASSERT_EQ(doc()["blocks"].toArray().size(), 2) << "only the present blocks";
    EXPECT_EQ(block(0)["block"].toInt(), 1);
    EXPECT_EQ(block(0)["requests"].toInt(), 2);
    EXPECT_EQ(block(0)["replies"].toInt(), 2);
    EXPECT_EQ(block(0)["timeouts"].toInt(), 0);
    EXPECT_DOUBLE_EQ(block(0)["responseMsMean"].toDouble(), 30);
    EXPECT_DOUBLE_EQ(block(0)["responseMsMax"].toDouble(), 40);
    EXPECT_TRUE(block(0)["lastError"].isNull());
    EXPECT_EQ(block(1)["block"].toInt(), 2);
    EXPECT_EQ(block(1)["timeouts"].toInt(), 1);
    EXPECT_EQ(block(1)["naks"].toInt(), 1);
    EXPECT_FALSE(block(1)["lastErrorAt"].isNull());

    // The block goes silent; the counters move but wait for the ten seconds to pass.
    note(1, ExchangeVerdict::Silent, 0);
    clock.ms = 9999;
    WaitWithEvents([] { return false; }, 1500);  // the publisher's watch runs meanwhile
    EXPECT_EQ(Count("diagnostics"), 1u);
    clock.ms = 10000;
    ASSERT_TRUE(WaitWithEvents([&] { return Count("diagnostics") == 2; }, 5000));
    EXPECT_EQ(block(1)["timeouts"].toInt(), 2);
    EXPECT_EQ(block(0)["timeouts"].toInt(), 0);
}

TEST_F(LinePublisherTest, EventsStillWaitingAtTheEndAreCounted) {
    config.address.port = FreeLoopbackPort();  // nobody listens there
    LinePublisher p(inc, config, QStringLiteral("test"));
    p.Start();
    p.StartupFinished();
    for (int i = 0; i < 3; ++i)
        p.HistoryEntry(QStringLiteral("NAK"), 0, 0, QStringLiteral("----"), QStringLiteral("x"));
    p.Stop(200);
    EXPECT_EQ(p.UnsentAtEnd(), 3u);
}

TEST(LinePublisherClientId, ALongKanjiLineIsCutBetweenCharactersAndKeepsThePid) {
    for (const char* program : {"rdx410-gateway", "RDX410_Monitor"})
        for (int n : {35, 36, 40, 64}) {
            const QByteArray id = LinePublisher::ClientId(QString::fromLatin1(program), QString(n, QChar(0x7089)), 4194304);
            EXPECT_LE(id.size(), LinePublisher::ClientIdMaxBytes) << n;
            EXPECT_TRUE(id.endsWith("-4194304")) << n;
            // Decodes without a replacement character, back to the same bytes.
            const QString text = QString::fromUtf8(id);
            EXPECT_FALSE(text.contains(QChar::ReplacementCharacter)) << program << ' ' << n;
            EXPECT_TRUE(text.contains(QString(n < 30 ? n : 30, QChar(0x7089)))) << n;
        }
}
