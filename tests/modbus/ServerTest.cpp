// The Modbus server read and written by clients not written here: the registers are the
// values the views show, nothing stale looks live, every exception code a client can
// provoke, the clients it refuses or disconnects, and the writes it hands to the engine.
#include "ServerFixture.h"
#include "TestClock.h"

#include "format/ValueFormat.h"

#include <QThread>
#include <cmath>

namespace {

using namespace ModbusMap;

constexpr int kNoValue = 0x8000;

// Block 1: a thermocouple in whole degrees with alarm 1 on, a linear input with two
// decimals, a heating/cooling pair in tenths, an input over its scale, no controller.
void FillLine(RDX_INC& inc) {
    for (int b = 1; b < BlockCount; ++b) inc.BlockAbsent[b] = 1;
    for (int c = 0; c < 5; ++c) inc.ChPresent[c] = 1;
    inc.ChInputType[0] = 0, inc.ChPV[0] = 123, inc.ChSV[0] = 150, inc.ChHeatMV[0] = 455, inc.ChHeaterCurrent[0] = 12;
    inc.ChStatus[0] = qint16(StatusBit::Alarm1 | StatusBit::Control);
    inc.ChInputType[1] = 12, inc.ChDecimal[1] = 100, inc.ChPV[1] = 1250, inc.ChSV[1] = -75;
    inc.ChScaleLow[1] = -1000, inc.ChScaleHigh[1] = 5000, inc.ChUnitText[1] = QStringLiteral("kPa");
    inc.ChInputType[2] = 6, inc.ChPV[2] = -57, inc.ChSV[2] = 2000, inc.ChHeatMV[2] = 300;
    inc.ChInputType[3] = 6, inc.ChOption[3] = qint16(OptionBit::Cooling), inc.ChHeatMV[3] = 420;
    inc.ChInputType[4] = 0, inc.ChPV[4] = 9999, inc.ChStatus[4] = qint16(StatusBit::OverScale);
}

WriteResult Outcome(quint64 id, WriteOutcome outcome) {
    WriteResult r;
    r.id = id;
    r.outcome = outcome;
    return r;
}

double Shown(const RDX_INC& inc, int item, int c) { return FormatItemValue(inc, item, c).toDouble(); }
double Scaled(int word, int decimals) { return qint16(word) / std::pow(10.0, decimals); }

}  // namespace

TEST_F(ModbusServerTest, RegistersHoldWhatTheViewsShowAndNothingStaleLooksLive) {
    FillLine(inc);
    TestClock clock;
    Serve();
    server->Time = &clock;
    server->SetPortState(PortState::Open);
    server->StartupFinished();

    const std::vector<int> pv = Values("input", PvBase, 6), sv = Values("input", SvBase, 6);
    const std::vector<int> decimals = Values("input", DecimalsBase, 6), heating = Values("input", HeatingMvBase, 6);
    ASSERT_EQ(decimals, (std::vector<int>{0, 2, 1, kNoValue, 0, kNoValue}));
    for (int c : {0, 1, 2}) {
        EXPECT_DOUBLE_EQ(Scaled(pv[size_t(c)], decimals[size_t(c)]), Shown(inc, 0, c)) << c;
        EXPECT_DOUBLE_EQ(Scaled(sv[size_t(c)], decimals[size_t(c)]), Shown(inc, 3, c)) << c;
        EXPECT_DOUBLE_EQ(Scaled(heating[size_t(c)], 1), Shown(inc, 1, c)) << c;
    }
    // A PV beyond the scale is no measurement; the cooling output and the empty slot have none.
    EXPECT_EQ(pv[4], kNoValue);
    EXPECT_EQ(pv[3], kNoValue);
    EXPECT_EQ(pv[5], kNoValue);
    EXPECT_EQ(heating[3], kNoValue);
    // The pair's cooling MV is read on both its channels.
    const std::vector<int> cooling = Values("input", CoolingMvBase, 4);
    EXPECT_EQ(cooling, (std::vector<int>{kNoValue, kNoValue, 420, 420}));
    EXPECT_DOUBLE_EQ(Scaled(Values("input", HeaterCurrentBase, 1)[0], 1), Shown(inc, 2, 0));
    EXPECT_EQ(Values("input", UnitBase, 2), (std::vector<int>{int(UnitCode::Celsius), int(UnitCode::Other)}));
    EXPECT_EQ(Values("discrete", PresentBase, 6), (std::vector<int>{1, 1, 1, 1, 1, 0}));
    EXPECT_EQ(Values("discrete", 1000, 2), (std::vector<int>{1, 0}));  // alarm 1
    EXPECT_EQ(Values("discrete", 5000, 5), (std::vector<int>{0, 0, 0, 0, 1}));  // over scale

    // Out of contact: no value, the flag, and the age of what was read goes on rising.
    inc.BlockOutOfContact[0] = true;
    clock.now = clock.now.addSecs(42);
    server->AfterPoll(0, QStringLiteral("0080"));
    EXPECT_EQ(Values("input", PvBase, 3), (std::vector<int>{kNoValue, kNoValue, kNoValue}));
    EXPECT_EQ(Values("input", SvBase, 1)[0], kNoValue);
    EXPECT_EQ(Values("discrete", OutOfContactBase, 2), (std::vector<int>{1, 0}));
    EXPECT_EQ(Values("input", BlockAgeBase, 2), (std::vector<int>{42, 0xFFFF}));

    inc.BlockOutOfContact[0] = false;
    server->AfterPoll(0, QStringLiteral("0083"));
    EXPECT_EQ(Values("input", PvBase, 1)[0], 123);
    EXPECT_EQ(Values("discrete", OutOfContactBase, 1)[0], 0);
    EXPECT_EQ(Values("input", BlockAgeBase, 1)[0], 0);
    // Each poll of the only block is a cycle of the line.
    EXPECT_EQ(Values("input", PortStateAddress, 2), (std::vector<int>{int(PortState::Open), 2}));

    server->SetPortState(PortState::Lost);
    EXPECT_EQ(Values("input", PvBase, 1)[0], kNoValue);
    EXPECT_EQ(Values("input", PortStateAddress, 1)[0], int(PortState::Lost));
}

TEST_F(ModbusServerTest, RequestsAreAnsweredWhileThePollLoopIsHeldByAnExchange) {
    FillLine(inc);
    Serve();
    server->StartupFinished();
    QProcess client;
    StartClient(client, {QStringLiteral("busy"), QStringLiteral("1.5"), QStringLiteral("0.1")});
    ASSERT_TRUE(client.waitForStarted());
    // An exchange holds the poll loop's thread for its whole wait; this holds it for longer
    // than the client asks (it starts, then asks every 0.1 s for 1.5 s).
    QThread::msleep(4000);
    ASSERT_TRUE(client.waitForFinished(10000));
    const QJsonObject r = QJsonDocument::fromJson(client.readAllStandardOutput()).object();
    EXPECT_FALSE(r["closed"].toBool());
    EXPECT_GE(r["answered"].toInt(), 8) << QJsonDocument(r).toJson().constData();
}

TEST_F(ModbusServerTest, EveryBadRequestGetsItsExceptionAndABrokenFrameClosesOnlyItsConnection) {
    FillLine(inc);
    Serve();
    server->StartupFinished();
    // MBAP header for unit 7, then the PDU.
    const auto frame = [](int id, const char* pdu) {
        const QByteArray body = QByteArray::fromHex(pdu);
        return QStringLiteral("%1 0000 %2 07 %3")
            .arg(id, 4, 16, QLatin1Char('0'))
            .arg(body.size() + 1, 4, 16, QLatin1Char('0'))
            .arg(QString::fromLatin1(body.toHex()))
            .remove(u' ');
    };
    const QStringList requests{
        frame(1, "4100"),          // a function nobody serves
        frame(2, "0100000001"),    // coils: there are none
        frame(3, "040000007e"),    // 126 registers
        frame(4, "0201f40001"),    // discrete input 500
        frame(5, "02000007d1"),    // 2001 inputs
        frame(6, "0300000001"),    // holding register 0
        frame(7, "0603e800a0"),    // an SV write without --modbus-writable
        frame(8, "2b0e0100"),      // device identification
        QStringLiteral("00090000ffff0704000000010000"),  // a length no frame has
    };
    const QJsonArray replies = Client(QStringList{QStringLiteral("raw")} + requests)["replies"].toArray();
    const char* expected[] = {"c101", "8101", "8403", "8202", "8203", "8302", "8601", "ab01"};
    ASSERT_EQ(replies.size(), requests.size());
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(replies[i].toString(), QStringLiteral("%1").arg(i + 1, 4, 16, QLatin1Char('0')) + "00000003" + "07" + expected[i])
            << requests[i].toStdString();
    EXPECT_EQ(replies[8].toString(), "closed");
    EXPECT_TRUE(writes.settings.empty());

    // A protocol other than Modbus closes that connection; the next one is served.
    EXPECT_EQ(Client({QStringLiteral("raw"), QStringLiteral("000100010006070400000001")})["replies"].toArray().at(0).toString(),
              "closed");
    EXPECT_EQ(Values("input", PvBase, 1), std::vector<int>{123});
}

TEST_F(ModbusServerTest, ClientsBeyondTheLimitAreRefusedAndOnlyASilentOneIsDisconnected) {
    ModbusOptions o;
    o.maxClients = 2;
    o.idleMs = 1500;
    Serve(o);
    const QJsonObject served = Client({QStringLiteral("clients"), QStringLiteral("3")});
    EXPECT_EQ(served["answered"].toInt(), 2);
    EXPECT_EQ(served["closed"].toInt(), 1);
    EXPECT_TRUE(Client({QStringLiteral("silent"), QStringLiteral("3")})["closed"].toBool());
    // Each request starts the idle time again: a client that keeps asking stays.
    const QJsonObject busy = Client({QStringLiteral("busy"), QStringLiteral("3.5"), QStringLiteral("0.5")});
    EXPECT_FALSE(busy["closed"].toBool());
    EXPECT_GE(busy["answered"].toInt(), 6);
}

TEST_F(ModbusServerTest, AnSvWriteGoesThroughTheEngineAndItsOutcomeIsReadInTheResultRegister) {
    FillLine(inc);
    ModbusOptions o;
    o.writable = true;
    o.allow = {QHostAddress::parseSubnet(QStringLiteral("127.0.0.0/8"))};
    Serve(o);
    server->SetPortState(PortState::Open);
    server->StartupFinished();

    EXPECT_TRUE(Write(SvHoldingBase, {160})["ok"].toBool());
    ASSERT_EQ(writes.settings.size(), 1u);
    EXPECT_EQ(writes.settings[0], std::make_pair(0, QStringLiteral("0001")));
    EXPECT_EQ(inc.ChSV[0], 160);
    EXPECT_EQ(Values("input", WriteResultBase, 1)[0], int(WriteState::Pending));
    EXPECT_TRUE(Write(SvHoldingBase + 1, {-50})["ok"].toBool());
    server->WriteFinished(Outcome(1, WriteOutcome::Accepted));
    server->WriteFinished(Outcome(2, WriteOutcome::Refused));
    EXPECT_EQ(Values("input", WriteResultBase, 2), (std::vector<int>{int(WriteState::Accepted), int(WriteState::Refused)}));
    EXPECT_TRUE(Write(SvHoldingBase, {170})["ok"].toBool());
    server->WriteFinished(Outcome(3, WriteOutcome::Unanswered));
    EXPECT_EQ(Values("input", WriteResultBase, 1)[0], int(WriteState::Unanswered));

    // Nothing is asked for when any register of the request cannot be written: a value
    // outside the input's range, the cooling output, a channel without a controller.
    EXPECT_EQ(Write(SvHoldingBase, {30000})["exception"].toInt(), 3);
    EXPECT_EQ(Write(SvHoldingBase + 3, {100})["exception"].toInt(), 2);
    EXPECT_EQ(Write(SvHoldingBase + 4, {100, 100})["exception"].toInt(), 2);
    EXPECT_EQ(Write(PvBase, {100})["exception"].toInt(), 2);
    EXPECT_EQ(writes.settings.size(), 3u);
}

TEST_F(ModbusServerTest, AClientOutsideTheAllowedNetworksCannotWrite) {
    FillLine(inc);
    ModbusOptions o;
    o.writable = true;
    o.allow = {QHostAddress::parseSubnet(QStringLiteral("10.0.0.0/8"))};
    Serve(o);
    server->StartupFinished();
    const QJsonObject refused = Write(SvHoldingBase, {160});
    EXPECT_EQ(refused["exception"].toInt(), 1);
    EXPECT_EQ(refused["function"].toInt(), 0x86);
    EXPECT_TRUE(writes.settings.empty());
    EXPECT_EQ(inc.ChSV[0], 150);
}
