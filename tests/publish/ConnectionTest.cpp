// The connection against a real mosquitto broker: status and last will, delivery, a broker
// that is away or hangs, a refused login, and TLS with a certificate authority of the test.
#include "MosquittoBroker.h"
#include "MqttProbe.h"
#include "ProgramRun.h"
#include "publish/MqttConnection.h"

#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <mutex>

namespace {

using Event = MqttConnection::Event;

// Records what the connection reports (on its own thread).
struct EventLog {
    std::mutex mutex;
    std::vector<Event> events;
    void Attach(MqttConnection& c) {
        c.OnEvent = [this](Event e) {
            std::lock_guard lock(mutex);
            events.push_back(e);
        };
    }
    int Count(Event e) {
        std::lock_guard lock(mutex);
        return int(std::count(events.begin(), events.end(), e));
    }
    bool WaitFor(Event e, int ms = 10000) {
        return ProgramRun::WaitFor([&] { return Count(e) > 0; }, ms);
    }
};

MqttConnection::Options Options(int port, const QString& line = QStringLiteral("t")) {
    MqttConnection::Options o;
    o.config.address = BrokerAddress{QStringLiteral("127.0.0.1"), port, false};
    o.config.line = line;
    o.clientId = "rdx410-test-" + line.toUtf8();
    o.statusTopic = "rdx410/" + line.toUtf8() + "/status";
    return o;
}

OutMessage Event_(int n) { return OutMessage{"rdx410/t/event", QByteArray::number(n), 1, false}; }

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (MosquittoBroker::Executable().isEmpty()) GTEST_SKIP() << "mosquitto is not installed (scripts/setup)";
    }
    QTemporaryDir dir;
    MosquittoBroker broker{dir.filePath("broker")};
};

}  // namespace

TEST_F(ConnectionTest, SaysOnlineDeliversInOrderAndSaysOfflineAtTheEnd) {
    ASSERT_TRUE(broker.Start());
    MqttProbe probe(broker.Port());
    ASSERT_TRUE(probe.Connect("rdx410/t/#"));
    EventLog log;
    MqttConnection c(Options(broker.Port()));
    log.Attach(c);
    c.Start();
    ASSERT_TRUE(log.WaitFor(Event::Connected));
    EXPECT_TRUE(probe.WaitFor([&](auto&) { return probe.Last("rdx410/t/status") == "online"; }, 5000));

    c.PutDocument(3, OutMessage{"rdx410/t/block/04", "{\"v\":1}", 0, true});
    for (int n = 1; n <= 50; ++n) c.PutEvent(Event_(n));
    ASSERT_TRUE(probe.WaitFor([&](auto&) { return probe.On("rdx410/t/event").size() == 50; }, 10000));
    const auto events = probe.On("rdx410/t/event");
    for (int n = 1; n <= 50; ++n) {
        EXPECT_EQ(events[size_t(n - 1)].payload, QByteArray::number(n));
        EXPECT_FALSE(events[size_t(n - 1)].retained);
        EXPECT_EQ(events[size_t(n - 1)].qos, 1);
    }
    EXPECT_TRUE(probe.WaitFor([&](auto&) { return !probe.On("rdx410/t/block/04").empty(); }, 5000));

    c.Stop();
    EXPECT_TRUE(probe.WaitFor([&](auto&) { return probe.Last("rdx410/t/status") == "offline"; }, 5000));
    // A reader that comes later finds the retained status and document.
    MqttProbe later(broker.Port());
    ASSERT_TRUE(later.Connect("rdx410/t/#"));
    EXPECT_TRUE(later.WaitFor([&](auto&) { return later.Last("rdx410/t/status") == "offline"; }, 5000));
    EXPECT_TRUE(later.WaitFor([&](auto&) { return later.Last("rdx410/t/block/04") == "{\"v\":1}"; }, 5000));
    EXPECT_EQ(later.On("rdx410/t/status").front().retained, true);
}

// Stopped right after a burst, with far more put than the window holds: what was put still
// reaches the broker, in order, and only then does the status say "offline".
TEST_F(ConnectionTest, AnOrderlyEndDeliversWhatIsInFlightBeforeSayingOffline) {
    ASSERT_TRUE(broker.Start());
    MqttProbe probe(broker.Port());
    ASSERT_TRUE(probe.Connect("rdx410/t/#"));
    EventLog log;
    MqttConnection c(Options(broker.Port()));
    log.Attach(c);
    c.Start();
    ASSERT_TRUE(log.WaitFor(Event::Connected));
    ASSERT_TRUE(probe.WaitFor([&](auto&) { return probe.Last("rdx410/t/status") == "online"; }, 5000));

    for (int n = 1; n <= 200; ++n) c.PutEvent(Event_(n));
    c.Stop(10000);
    ASSERT_TRUE(probe.WaitFor([&](auto&) { return probe.Last("rdx410/t/status") == "offline"; }, 5000));
    std::vector<QByteArray> after;  // what arrived after "online", in arrival order
    for (const Received& m : probe.Messages())
        if (m.topic == "rdx410/t/event") after.push_back(m.payload);
        else if (m.payload == "offline") after.push_back("offline");
    ASSERT_EQ(after.size(), 201u);
    for (int n = 1; n <= 200; ++n) EXPECT_EQ(after[size_t(n - 1)], QByteArray::number(n));
    EXPECT_EQ(after.back(), "offline");
}

TEST_F(ConnectionTest, WhileTheBrokerIsAwayWhatWaitsIsBoundedAndItReconnectsByItself) {
    // A reader whose session the broker keeps across its restart, so it sees every event
    // that reaches the broker whenever the connection comes back.
    BrokerSetup setup;
    setup.persistence = true;
    ASSERT_TRUE(broker.Start(setup));
    {
        MqttProbe reader(broker.Port(), ProbeLogin{{}, {}, {}, "reader", {}, {}});
        ASSERT_TRUE(reader.Connect("rdx410/t/event"));
        reader.Disconnect();
    }
    broker.Stop();

    EventLog log;
    MqttConnection::Options o = Options(broker.Port());
    o.retryMs = 200;
    o.maxRetryMs = 400;
    MqttConnection c(o);
    log.Attach(c);
    c.Start();
    ASSERT_TRUE(log.WaitFor(Event::Unreachable));
    for (int n = 1; n <= 1000; ++n) {
        c.PutEvent(Event_(n));
        c.PutDocument(n % 16, OutMessage{"rdx410/t/block/" + QByteArray::number(n % 16), QByteArray::number(n), 0, true});
    }
    QThread::msleep(1500);  // several attempts while away
    MqttConnection::Counters k = c.counters();
    EXPECT_FALSE(k.connected);
    EXPECT_EQ(k.waiting, 16 + 256);
    EXPECT_EQ(k.droppedEvents, 1000u - 256u);
    EXPECT_EQ(log.Count(Event::Unreachable), 1) << "one message, however many attempts";

    ASSERT_TRUE(broker.Start(setup));
    ASSERT_TRUE(log.WaitFor(Event::Connected));
    ASSERT_TRUE(ProgramRun::WaitFor([&] { return c.counters().waiting == 0 && c.counters().inFlight == 0; }, 10000));
    MqttProbe reader(broker.Port(), ProbeLogin{{}, {}, {}, "reader", {}, {}});
    ASSERT_TRUE(reader.Connect());
    ASSERT_TRUE(reader.WaitFor([&](auto&) { return reader.On("rdx410/t/event").size() >= 256; }, 10000))
        << reader.On("rdx410/t/event").size();
    // The newest 256 events, in order; the older ones were the ones dropped.
    const auto events = reader.On("rdx410/t/event");
    ASSERT_EQ(events.size(), 256u);
    for (size_t i = 0; i < events.size(); ++i) EXPECT_EQ(events[i].payload, QByteArray::number(int(745 + i)));
}

TEST_F(ConnectionTest, AHungBrokerHoldsUpNobodyAndWhatWaitsStaysBounded) {
    ASSERT_TRUE(broker.Start());
    EventLog log;
    MqttConnection::Options o = Options(broker.Port());
    o.keepAliveSeconds = 60;
    MqttConnection c(o);
    log.Attach(c);
    c.Start();
    ASSERT_TRUE(log.WaitFor(Event::Connected));
    broker.Freeze();
    // Large documents fill the socket's buffers while the broker reads nothing.
    const QByteArray big(64 * 1024, 'x');
    for (int n = 0; n < 400; ++n) {
        c.PutDocument(n % 16, OutMessage{"rdx410/t/block/" + QByteArray::number(n % 16), big, 0, true});
        c.PutEvent(OutMessage{"rdx410/t/event", big, 1, false});
        if (n % 50 == 0) QThread::msleep(50);
        const MqttConnection::Counters k = c.counters();
        ASSERT_LE(k.inFlight, o.window);
        ASSERT_LE(k.waiting, 17 + 256);
    }
    EXPECT_EQ(c.counters().inFlight, o.window) << "the socket should have filled";
    broker.Thaw();
    EXPECT_TRUE(ProgramRun::WaitFor([&] { return c.counters().waiting == 0 && c.counters().inFlight == 0; }, 20000));
    EXPECT_TRUE(c.counters().connected);
}

TEST_F(ConnectionTest, ARefusedLoginIsReportedOnceAndTheRightOneConnects) {
    BrokerSetup setup;
    setup.allowAnonymous = false;
    setup.users = {QStringLiteral("gw:right")};
    ASSERT_TRUE(broker.Start(setup));

    EventLog wrongLog;
    MqttConnection::Options o = Options(broker.Port());
    o.config.user = QStringLiteral("gw");
    o.config.password = "wrong";
    o.refusedRetryMs = 200;
    MqttConnection wrong(o);
    wrongLog.Attach(wrong);
    wrong.Start();
    ASSERT_TRUE(wrongLog.WaitFor(Event::LoginRefused));
    QThread::msleep(1200);  // refused again several times meanwhile
    EXPECT_EQ(wrongLog.Count(Event::LoginRefused), 1);
    EXPECT_EQ(wrongLog.Count(Event::Connected), 0);
    EXPECT_GE(broker.Log().count(QStringLiteral("not authorised")), 3) << broker.Log().toStdString();
    wrong.Stop();

    EventLog rightLog;
    o.config.password = "right";
    o.clientId += "-2";
    MqttConnection right(o);
    rightLog.Attach(right);
    right.Start();
    EXPECT_TRUE(rightLog.WaitFor(Event::Connected));
    EXPECT_EQ(rightLog.Count(Event::LoginRefused), 0);
}

TEST_F(ConnectionTest, TlsWithTheTestsOwnCaConnectsAndAnyOtherCaIsOneCertificateFailure) {
    TestCertificates mine, other;
    ASSERT_TRUE(MakeTestCertificates(dir.filePath("ca"), &mine));
    ASSERT_TRUE(MakeTestCertificates(dir.filePath("other"), &other));
    BrokerSetup setup;
    setup.certFile = mine.certFile;
    setup.keyFile = mine.keyFile;
    ASSERT_TRUE(broker.Start(setup));
    MqttProbe probe(broker.Port(), ProbeLogin{mine.caFile, {}, {}, {}, {}, {}});
    ASSERT_TRUE(probe.Connect("rdx410/#"));

    EventLog good;
    MqttConnection::Options o = Options(broker.Port());
    o.config.address.tls = true;
    o.config.caFile = mine.caFile;
    MqttConnection c(o);
    good.Attach(c);
    c.Start();
    ASSERT_TRUE(good.WaitFor(Event::Connected));
    c.PutEvent(Event_(7));
    EXPECT_TRUE(probe.WaitFor([&](auto&) { return probe.Last("rdx410/t/event") == "7"; }, 5000));
    c.Stop();

    EventLog bad;
    o.config.caFile = other.caFile;
    o.clientId += "-bad";
    o.refusedRetryMs = 200;
    MqttConnection wrongCa(o);
    bad.Attach(wrongCa);
    wrongCa.Start();
    ASSERT_TRUE(bad.WaitFor(Event::CertificateFailed));
    QThread::msleep(1000);
    EXPECT_EQ(bad.Count(Event::CertificateFailed), 1);
    EXPECT_EQ(bad.Count(Event::Connected), 0);
}

TEST_F(ConnectionTest, APortOfTheOtherKindIsNamedNeitherACertificateNorUnreachable) {
    // mqtts:// to a plain listener.
    ASSERT_TRUE(broker.Start());
    EventLog toPlain;
    MqttConnection::Options o = Options(broker.Port());
    o.config.address.tls = true;
    o.refusedRetryMs = 200;
    MqttConnection tls(o);
    toPlain.Attach(tls);
    tls.Start();
    EXPECT_TRUE(toPlain.WaitFor(Event::NoTls));
    QThread::msleep(600);
    EXPECT_EQ(toPlain.Count(Event::CertificateFailed), 0);
    EXPECT_EQ(toPlain.Count(Event::Unreachable), 0);
    tls.Stop();
    broker.Stop();

    // mqtt:// to a TLS listener.
    TestCertificates certs;
    ASSERT_TRUE(MakeTestCertificates(dir.filePath("ca"), &certs));
    MosquittoBroker tlsBroker(dir.filePath("tls-broker"));
    ASSERT_TRUE(tlsBroker.Start(BrokerSetup{true, {}, certs.certFile, certs.keyFile, false, {}}));
    EventLog toTls;
    o = Options(tlsBroker.Port());
    o.refusedRetryMs = 200;
    MqttConnection plain(o);
    toTls.Attach(plain);
    plain.Start();
    EXPECT_TRUE(toTls.WaitFor(Event::ClosedUnanswered));
    QThread::msleep(600);
    EXPECT_EQ(toTls.Count(Event::Unreachable), 0);
    EXPECT_EQ(toTls.Count(Event::ClosedUnanswered), 1);
}

TEST_F(ConnectionTest, AClientIdTheLibraryRefusesIsReported) {
    ASSERT_TRUE(broker.Start());
    EventLog log;
    MqttConnection::Options o = Options(broker.Port());
    o.clientId = QByteArray("rdx410-") + char(0xE7) + char(0x82);  // a character cut in two
    MqttConnection c(o);
    log.Attach(c);
    c.Start();
    EXPECT_TRUE(log.WaitFor(Event::ClientRefused, 5000));
}
