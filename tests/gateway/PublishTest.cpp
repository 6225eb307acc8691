// The gateway on the simulated line and a real broker: what it publishes equals what the
// line holds; a broker that goes away changes neither the polling order nor its rate;
// nothing a reader sends reaches the line; TLS and a refused login.
#include "GatewayFixture.h"

#include "ProgramRun.h"
#include "publish/BrokerMessages.h"

#include <QFile>
#include <QJsonArray>
#include <QThread>
#include <algorithm>
#include <cmath>

namespace {

using rdxsim::LineModel;

rdxsim::Fields Read(SimLine& line, int block, const char* item) {
    return line.Locked([&](LineModel& m) { return m.Read(block, *rdxsim::FindItem(QString::fromLatin1(item))); });
}

// The engineering value the monitor shows for a controller value of a channel:
// temperatures as they come (tenths for input types 6..9), linear inputs scaled to the
// channel's limits (rounded half to even) and divided by its decimal-point setting.
double Shown(int type, qint16 raw, double high = 10000, double low = 0, double divisor = 100) {
    if (type <= 5) return raw;
    if (type <= 9) return raw / 10.0;
    return std::nearbyint((high - low) * raw / 10000.0 + low) / divisor;
}

const QJsonObject Channel(const QJsonObject& doc, int k) { return doc["channels"].toArray().at(k).toObject(); }

}  // namespace

TEST_F(GatewayFixture, PublishesForEveryBlockTheValuesTheSimulatorHolds) {
    StartLine(QString());  // the demo line: blocks 1, 2, 3 and 5, every kind of input
    // Let the zones run for two minutes of simulated time, then hold still.
    line->clock.Set(120);
    ASSERT_TRUE(broker.Start());
    StartProbe();
    // Channel 35 (block 2, a DC-voltage input) with limits of its own.
    gateway.Store("STLH035", "2000");
    gateway.Store("STLL035", "-500");
    gateway.Store("DP035", "10");
    gateway.Store("UNIT035", "kPa");
    gateway.Store("DvtoN02", QString::fromUtf8("炉2"));
    ASSERT_TRUE(gateway.Start(Arguments(broker.Url())));
    const std::vector<int> blocks{0, 1, 2, 4};
    ASSERT_TRUE(probe->WaitFor([&](auto&) {
        for (int b : blocks)
            if (probe->On(Topic("block/0") + QByteArray::number(b + 1)).empty()) return false;
        return true;
    }, 30000)) << gateway.Output().toStdString();

    int compared = 0;
    for (int b : blocks) {
        const QJsonObject doc = LastJson(Topic("block/0") + QByteArray::number(b + 1));
        EXPECT_EQ(doc["block"].toInt(), b + 1);
        EXPECT_EQ(doc["line"].toString(), QString::fromLatin1(kLine));
        EXPECT_FALSE(doc["outOfContact"].toBool(true));
        const rdxsim::Fields pv = Read(*line, b, "0080"), sv = Read(*line, b, "0001");
        const rdxsim::Fields mv = Read(*line, b, "0081"), current = Read(*line, b, "0082");
        const rdxsim::Fields status = Read(*line, b, "0083");
        for (int k = 0; k < 20; ++k) {
            const int c = 20 * b + k;
            const QJsonObject ch = Channel(doc, k);
            const bool present = line->Locked([&](LineModel& m) { return m.PairPresent(b, k / 2); });
            ASSERT_EQ(ch["present"].toBool(), present) << c + 1;
            if (!present) continue;
            const bool coolingHalf = k % 2 == 1 && line->Locked([&](LineModel& m) { return m.BlockHasCooling(b); });
            EXPECT_DOUBLE_EQ(ch["mv"].toDouble(), mv[size_t(k)] / 10.0) << c + 1;
            if (coolingHalf) {
                EXPECT_EQ(ch["coolingOf"].toInt(), c);
                continue;
            }
            const int type = line->Locked([&](LineModel& m) { return int(m.InputType(c)); });
            const bool own = c == 34;
            const double high = own ? 2000 : 10000, low = own ? -500 : 0, divisor = own ? 10 : 100;
            EXPECT_DOUBLE_EQ(ch["pv"].toDouble(), Shown(type, pv[size_t(k)], high, low, divisor)) << c + 1;
            EXPECT_DOUBLE_EQ(ch["sv"].toDouble(), Shown(type, sv[size_t(k)], high, low, divisor)) << c + 1;
            EXPECT_DOUBLE_EQ(ch["heaterCurrent"].toDouble(), current[size_t(k)] / 10.0) << c + 1;
            EXPECT_EQ(ch["status"].toInt(), quint16(status[size_t(k)])) << c + 1;
            EXPECT_EQ(ch["alarm1"].toBool(), (quint16(status[size_t(k)]) & StatusBit::Alarm1) != 0) << c + 1;
            ++compared;
        }
    }
    EXPECT_GT(compared, 40);
    EXPECT_EQ(Channel(LastJson(Topic("block/02")), 14)["unit"].toString(), "kPa");
    EXPECT_EQ(LastJson(Topic("block/02"))["name"].toString(), QString::fromUtf8("炉2"));
    // The demo line's alarms were on from the start: each is an event of the history.
    EXPECT_FALSE(probe->On(Topic("event")).empty());
    EXPECT_EQ(probe->Last(Topic("status")), "online");

    // The exchange counters of the start-up read, per present block: each block's own
    // requests, all answered (block 4, probed and silent, is not a present block).
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return !probe->On(Topic("diagnostics")).empty(); }, 10000));
    const QJsonArray counted = LastJson(Topic("diagnostics"))["blocks"].toArray();
    ASSERT_EQ(counted.size(), int(blocks.size()));
    const std::vector<LineRequest> served = Requests();
    for (size_t i = 0; i < blocks.size(); ++i) {
        const QJsonObject c = counted[int(i)].toObject();
        EXPECT_EQ(c["block"].toInt(), blocks[i] + 1);
        const auto toBlock = std::count_if(served.begin(), served.end(), [&](auto& r) { return r.block == blocks[i]; });
        EXPECT_GT(c["requests"].toInt(), 0) << blocks[i];
        EXPECT_LE(c["requests"].toInt(), toBlock) << blocks[i];
        EXPECT_EQ(c["replies"].toInt(), c["requests"].toInt()) << blocks[i];
        EXPECT_EQ(c["timeouts"].toInt(), 0) << blocks[i];
    }
}

namespace {

// The requests of the polling cycle (PV, status, MV/heater current) in a window of time.
std::vector<QString> PollsBetween(const std::vector<LineRequest>& all, double from, double to) {
    std::vector<QString> out;
    for (const LineRequest& r : all)
        if (r.ms >= from && r.ms < to &&
            (r.item == u"0080" || r.item == u"0083" || r.item == u"0081" || r.item == u"0082"))
            out.push_back(QString::number(r.block) + ':' + r.item);
    return out;
}

// The order polling repeats: one cycle of `period` requests, starting with block 0's PV of
// the first heater-current cycle; empty when the requests do not repeat with that period.
std::vector<QString> Cycle(const std::vector<QString>& polls, size_t period) {
    size_t start = 0;
    while (start + 1 < polls.size() &&
           !(polls[start] == u"0:0080" && start + 4 < polls.size() && polls[start + 4] == u"0:0082"))
        ++start;
    if (polls.size() < start + 2 * period) return {};
    for (size_t i = start + period; i < polls.size(); ++i)
        if (polls[i] != polls[i - period]) return {};
    return std::vector<QString>(polls.begin() + long(start), polls.begin() + long(start + period));
}

}  // namespace

TEST_F(GatewayFixture, ABrokerAwayForTenSecondsChangesNeitherPollingOrderNorRateAndPublishingResumes) {
    StartLine(QStringLiteral("0,1"), 19200);
    ASSERT_TRUE(broker.Start());
    StartProbe();
    ASSERT_TRUE(gateway.Start(Arguments(broker.Url()) + QStringList{"--speed", "19200"}));
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return probe->On(Topic("block/01")).size() >= 2; }, 30000))
        << gateway.Output().toStdString();
    QThread::msleep(2000);

    const double before = Ms();
    QThread::msleep(8000);
    const double away = Ms();
    broker.Stop();
    QThread::msleep(10000);
    const double back = Ms();
    ASSERT_TRUE(broker.Start());
    const std::vector<LineRequest> all = Requests();

    const std::vector<QString> pollsBefore = PollsBetween(all, before, away);
    const std::vector<QString> pollsAway = PollsBetween(all, away, back);
    const double rateBefore = pollsBefore.size() / ((away - before) / 1000);
    const double rateAway = pollsAway.size() / ((back - away) / 1000);
    EXPECT_GT(rateBefore, 10) << "the line should be busy";
    // Line-paced polling: the same rate, within what scheduling on a busy machine (or a
    // sanitizer build) allows; a publisher that waited on the network would cost far more.
    // The exact figure is the benchmark's (bench_gateway).
    EXPECT_GT(rateAway, 0.85 * rateBefore) << rateBefore << " before, " << rateAway << " while away";
    EXPECT_LT(rateAway, 1.15 * rateBefore) << rateBefore << " before, " << rateAway << " while away";
    const std::vector<QString> cycle = Cycle(pollsBefore, 12);
    ASSERT_EQ(cycle.size(), 12u);
    EXPECT_EQ(Cycle(pollsAway, 12), cycle) << "polling order changed while the broker was away";

    // It reconnects by itself and documents flow again.
    MqttProbe after(broker.Port());
    ASSERT_TRUE(after.Connect(Topic("#")));
    EXPECT_TRUE(after.WaitFor([&](auto&) { return after.On(Topic("block/01")).size() >= 2; }, 20000))
        << gateway.Output().toStdString();
    EXPECT_EQ(after.Last(Topic("status")), "online");
    EXPECT_EQ(gateway.Count(QString::fromUtf8(BrokerLostMessage)), 1) << gateway.Output().toStdString();
    EXPECT_EQ(gateway.Count(QString::fromUtf8(BrokerConnectedMessage)), 2) << gateway.Output().toStdString();
}

TEST_F(GatewayFixture, NothingAReaderPublishesReachesTheLine) {
    StartLine(QStringLiteral("0,1:hc"));
    ASSERT_TRUE(broker.Start());
    StartProbe();
    ASSERT_TRUE(gateway.Start(Arguments(broker.Url())));
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return !probe->On(Topic("block/02")).empty(); }, 30000))
        << gateway.Output().toStdString();
    auto params = [&] {
        return line->Locked([](LineModel& m) {
            std::vector<qint16> all;
            for (int c = 0; c < 40; ++c)
                for (int p = 0; p < rdxsim::ParamCount; ++p) all.push_back(m.Param(c, p));
            return all;
        });
    };
    const std::vector<qint16> paramsBefore = params();
    const size_t requestsBefore = RequestCount();

    // What a dashboard, a careless script or an attacker might send, retained or not.
    QByteArray changed = probe->Last(Topic("block/01"));
    changed.replace("\"sv\":", "\"sv\":9");
    const QList<QByteArray> topics{Topic("block/01"), Topic("block/01/set"), Topic("set"), Topic("command"),
                                   Topic("block/01/sv"), Topic("event"), Topic("publisher"),
                                   "rdx410/" + QByteArray(kLine) + "/0001", "rdx410/other/block/01", "a/b/c"};
    for (const QByteArray& t : topics) {
        for (const QByteArray& payload : {changed, QByteArray("{\"ch\":1,\"sv\":300}"), QByteArray("0001=012C"),
                                          QByteArray("\x02 \x20W0009\x03"), QByteArray()}) {
            ASSERT_TRUE(probe->Publish(t, payload, 1, false));
            ASSERT_TRUE(probe->Publish(t, payload, 0, true));
        }
    }
    QThread::msleep(3000);

    EXPECT_GT(RequestCount(), requestsBefore + 20) << "polling goes on";
    for (const LineRequest& r : Requests())
        ASSERT_EQ(r.command, '"') << "a request other than a read went to block " << r.block << ": "
                                  << r.item.toStdString();
    EXPECT_EQ(params(), paramsBefore);
    EXPECT_TRUE(gateway.Running());
    // Clean up what was left retained, so the broker holds only the gateway's own.
    for (const QByteArray& t : topics) probe->Publish(t, QByteArray(), 0, true);
}

TEST_F(GatewayFixture, PublishesOverTlsToABrokerWhoseCaTheTestMade) {
    TestCertificates certs;
    ASSERT_TRUE(MakeTestCertificates(dir.filePath("ca"), &certs));
    StartLine(QStringLiteral("0"));
    BrokerSetup setup;
    setup.certFile = certs.certFile;
    setup.keyFile = certs.keyFile;
    ASSERT_TRUE(broker.Start(setup));
    StartProbe(ProbeLogin{certs.caFile, {}, {}, {}, {}, {}});
    ASSERT_EQ(broker.Url().left(8), "mqtts://");
    ASSERT_TRUE(gateway.Start(Arguments(broker.Url()) + QStringList{"--ca-file", certs.caFile}));
    EXPECT_TRUE(probe->WaitFor([&](auto&) { return !probe->On(Topic("block/01")).empty(); }, 30000))
        << gateway.Output().toStdString();
    EXPECT_EQ(gateway.Count(QString::fromUtf8(BrokerCertificateMessage)), 0);
}

TEST_F(GatewayFixture, ABrokerThatRequiresAClientCertificateTakesTheOneGiven) {
    TestCertificates certs;
    ASSERT_TRUE(MakeTestCertificates(dir.filePath("ca"), &certs));
    StartLine(QStringLiteral("0"));
    BrokerSetup setup;
    setup.certFile = certs.certFile;
    setup.keyFile = certs.keyFile;
    setup.clientCaFile = certs.caFile;
    ASSERT_TRUE(broker.Start(setup));
    StartProbe(ProbeLogin{certs.caFile, {}, {}, {}, certs.clientCertFile, certs.clientKeyFile});

    // Without a certificate the broker closes the handshake: no connection, and a reason.
    GatewayRun bare(dir.filePath("gw-bare"));
    ASSERT_TRUE(bare.Start(Arguments(broker.Url()) + QStringList{"--ca-file", certs.caFile}));
    const QString connected = QString::fromUtf8(BrokerConnectedMessage);
    auto failed = [&] {
        for (const char* m : {BrokerNoTlsMessage, BrokerCertificateMessage, BrokerClosedMessage, BrokerLostMessage})
            if (bare.Count(QString::fromUtf8(m)) > 0) return true;
        return false;
    };
    EXPECT_TRUE(ProgramRun::WaitFor(failed, 15000)) << bare.Output().toStdString();
    EXPECT_EQ(bare.Count(connected), 0) << bare.Output().toStdString();
    EXPECT_TRUE(bare.Terminate());

    ASSERT_TRUE(gateway.Start(Arguments(broker.Url()) + QStringList{"--ca-file", certs.caFile, "--cert-file",
                                                                  certs.clientCertFile, "--key-file",
                                                                  certs.clientKeyFile}));
    EXPECT_TRUE(probe->WaitFor([&](auto&) { return !probe->On(Topic("block/01")).empty(); }, 30000))
        << gateway.Output().toStdString();
    EXPECT_EQ(gateway.Count(connected), 1) << gateway.Output().toStdString();
}

TEST_F(GatewayFixture, AWrongPasswordIsOneClearMessageAndPollingGoesOn) {
    StartLine(QStringLiteral("0"));
    BrokerSetup setup;
    setup.allowAnonymous = false;
    setup.users = {QStringLiteral("gw:right")};
    ASSERT_TRUE(broker.Start(setup));
    QFile pw(dir.filePath("password"));
    ASSERT_TRUE(pw.open(QIODevice::WriteOnly));
    pw.write("wrong\n");
    pw.close();
    pw.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(gateway.Start(Arguments(broker.Url()) + QStringList{"--user", "gw", "--password-file", pw.fileName()}));
    ASSERT_TRUE(ProgramRun::WaitFor([&] { return gateway.Count(QString::fromUtf8(BrokerLoginRefusedMessage)) > 0; }, 20000))
        << gateway.Output().toStdString();
    // The start-up read waits out the 15 absent blocks; polling proper starts after it.
    ASSERT_TRUE(ProgramRun::WaitFor([&] { return gateway.Count(QStringLiteral("起動時の読込みが終わりました")) > 0; }, 20000));
    const size_t requests = RequestCount();
    QThread::msleep(3000);
    EXPECT_GT(RequestCount(), requests + 20) << "polling goes on";
    EXPECT_EQ(gateway.Count(QString::fromUtf8(BrokerLoginRefusedMessage)), 1) << gateway.Output().toStdString();
    EXPECT_EQ(gateway.Count(QString::fromUtf8(BrokerConnectedMessage)), 0);
    EXPECT_EQ(gateway.HistoryFiles().size(), 1);
    EXPECT_TRUE(gateway.Terminate());
}
