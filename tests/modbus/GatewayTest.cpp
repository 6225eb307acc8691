// rdx410-gateway serving the simulated line (served in this process, its clock standing
// still) to Debian's mbpoll: the registers hold what the controllers hold, a silent block
// reads no value and out of contact until it answers again, and an SV written over Modbus
// reaches the controller, or is reported refused or unanswered.
#include "GatewayRun.h"
#include "SimLine.h"

#include "modbus/ModbusMap.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace {

using rdxsim::LineModel;
using namespace ModbusMap;

class GatewayModbusTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("mbpoll")).isEmpty())
            GTEST_SKIP() << "mbpoll is not installed (scripts/setup)";
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port_ = probe.serverPort();
    }

    // mbpoll, once: `count` values of `type` (1 discrete inputs, 3 input registers, 4
    // holding registers) from protocol address `address`; nothing when it failed.
    std::optional<std::vector<int>> Poll(int type, int address, int count) {
        const QString output = Mbpoll({type == 1 ? QStringLiteral("-t1") : QStringLiteral("-t%1:hex").arg(type),
                                       QStringLiteral("-r%1").arg(address + 1), QStringLiteral("-c%1").arg(count)});
        std::vector<int> values;
        static const QRegularExpression line(QStringLiteral(R"(^\[\d+\]:\s+(0x[0-9A-Fa-f]+|\d+)\s*$)"),
                                             QRegularExpression::MultilineOption);
        for (auto m = line.globalMatch(output); m.hasNext();) values.push_back(m.next().captured(1).toInt(nullptr, 0));
        if (int(values.size()) != count) return std::nullopt;
        return values;
    }
    // Writes one holding register; mbpoll's output.
    QString Write(int address, int value) {
        return Mbpoll({QStringLiteral("-t4"), QStringLiteral("-r%1").arg(address + 1)}, {QString::number(value)});
    }
    QString Mbpoll(const QStringList& options, const QStringList& values = {}) {
        QProcess p;
        const QStringList common{QStringLiteral("-mtcp"), QStringLiteral("-p%1").arg(port_), QStringLiteral("-a1"),
                                 QStringLiteral("-1"), QStringLiteral("-o2")};
        p.start(QStringLiteral("mbpoll"), common + options + QStringList{QStringLiteral("127.0.0.1")} + values);
        p.waitForFinished(10000);
        return QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
    }
    static bool WaitFor(const std::function<bool()>& done, int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            if (done()) return true;
            QThread::msleep(100);
        }
        return done();
    }
    void Start(const QStringList& extra) {
        SimLineOptions o;
        o.blocks = QStringLiteral("0,1:hc,2:lin");
        o.linkPath = dir.filePath(QStringLiteral("ttyRDX"));
        line = std::make_unique<SimLine>(o);
        ASSERT_TRUE(line->ok()) << line->error().toStdString();
        line->Locked([](LineModel& m) {
            m.SetParam(0, 0, 250);  // SV of channel 1, a thermocouple
            m.SetProcessValue(0, 231);
            m.SetParam(40, 0, 1234);  // channel 41, DC voltage: 12.34 with two decimals
            m.SetProcessValue(40, 987);
            m.SetProcessValue(20, 80);  // the heating/cooling pair 21/22
        });
        line->clock.Set(60);
        ASSERT_TRUE(gateway.Start(QStringList{QStringLiteral("--port"), o.linkPath, QStringLiteral("--no-publish"),
                                              QStringLiteral("--modbus"), QStringLiteral("127.0.0.1:%1").arg(port_)} +
                                  extra));
        ASSERT_TRUE(WaitFor([&] { return gateway.Output().contains(QStringLiteral("監視を始めます")); }, 20000))
            << gateway.Output().toStdString();
    }
    rdxsim::Fields Read(int block, const char* item) {
        return line->Locked([&](LineModel& m) { return m.Read(block, *rdxsim::FindItem(QString::fromLatin1(item))); });
    }

    QTemporaryDir dir;
    std::unique_ptr<SimLine> line;
    GatewayRun gateway{dir.filePath(QStringLiteral("gw"))};
    quint16 port_ = 0;
};

}  // namespace

TEST_F(GatewayModbusTest, RegistersHoldTheLineAndASilentBlockReadsNoValueUntilItAnswers) {
    Start({});
    // Channel 1 (whole degrees), channel 41 (two decimals) and the pair 21/22.
    const auto pv = Poll(3, PvBase, 41), sv = Poll(3, SvBase, 41), decimals = Poll(3, DecimalsBase, 41);
    ASSERT_TRUE(pv && sv && decimals) << Mbpoll({QStringLiteral("-t3"), QStringLiteral("-r1")}).toStdString();
    const rdxsim::Fields pv0 = Read(0, "0080"), sv0 = Read(0, "0001"), pv2 = Read(2, "0080"), sv2 = Read(2, "0001");
    EXPECT_EQ((*decimals)[0], 0);
    EXPECT_EQ(qint16((*pv)[0]), pv0[0]);
    EXPECT_EQ(qint16((*sv)[0]), sv0[0]);
    EXPECT_EQ(sv0[0], 250);
    EXPECT_EQ((*decimals)[40], 2);
    // The line's default scaling of a linear input (0..100.00) shows its value as it comes.
    EXPECT_EQ(qint16((*pv)[40]), pv2[0]);
    EXPECT_EQ(qint16((*sv)[40]), sv2[0]);
    EXPECT_EQ(sv2[0], 1234);
    const rdxsim::Fields mv1 = Read(1, "0081");
    const auto heating = Poll(3, HeatingMvBase + 20, 2), cooling = Poll(3, CoolingMvBase + 20, 2);
    ASSERT_TRUE(heating && cooling);
    EXPECT_EQ(*heating, (std::vector<int>{quint16(mv1[0]), NoValue}));
    EXPECT_EQ(*cooling, (std::vector<int>{quint16(mv1[1]), quint16(mv1[1])}));
    EXPECT_EQ(Poll(1, PresentBase, 1), std::vector<int>{1});
    EXPECT_EQ(Poll(3, PortStateAddress, 1), std::vector<int>{int(PortState::Open)});
    // Not written: the gateway is read-only unless told.
    EXPECT_TRUE(Write(SvHoldingBase, 260).contains(QStringLiteral("Illegal function"), Qt::CaseInsensitive))
        << Write(SvHoldingBase, 260).toStdString();
    EXPECT_EQ(line->Locked([](LineModel& m) { return m.Param(0, 0); }), 250);

    const auto heartbeat = Poll(3, HeartbeatAddress, 1);
    ASSERT_TRUE(heartbeat);
    EXPECT_TRUE(WaitFor([&] { return Poll(3, HeartbeatAddress, 1) != heartbeat; }, 3000));

    line->Locked([](LineModel& m) { m.SetBlockSilent(0, true); });
    ASSERT_TRUE(WaitFor([&] { return Poll(1, OutOfContactBase, 1) == std::vector<int>{1}; }, 15000));
    EXPECT_EQ(Poll(3, PvBase, 2), (std::vector<int>{NoValue, NoValue}));
    EXPECT_EQ(Poll(3, SvBase, 1), std::vector<int>{NoValue});
    EXPECT_EQ(Poll(3, PvBase + 40, 1), std::vector<int>{quint16(pv2[0])});  // another block lives on
    line->Locked([](LineModel& m) { m.SetBlockSilent(0, false); });
    ASSERT_TRUE(WaitFor([&] { return Poll(1, OutOfContactBase, 1) == std::vector<int>{0}; }, 15000));
    EXPECT_EQ(Poll(3, SvBase, 1), std::vector<int>{250});
}

TEST_F(GatewayModbusTest, AnSvWrittenOverModbusReachesTheControllerOrIsReportedRefusedOrUnanswered) {
    Start({QStringLiteral("--modbus-writable")});
    Write(SvHoldingBase, 260);
    ASSERT_TRUE(WaitFor([&] { return Poll(3, WriteResultBase, 1) == std::vector<int>{int(WriteState::Accepted)}; }, 10000))
        << gateway.Output().toStdString();
    EXPECT_EQ(line->Locked([](LineModel& m) { return m.Param(0, 0); }), 260);
    EXPECT_EQ(Poll(4, SvHoldingBase, 1), std::vector<int>{260});

    // Locked at its front panel, the controller refuses: the register keeps its value.
    line->Locked([](LineModel& m) { m.SetWritesRefused(0, true); });
    Write(SvHoldingBase, 280);
    ASSERT_TRUE(WaitFor([&] { return Poll(3, WriteResultBase, 1) == std::vector<int>{int(WriteState::Refused)}; }, 10000))
        << gateway.Output().toStdString();
    EXPECT_EQ(line->Locked([](LineModel& m) { return m.Param(0, 0); }), 260);
    EXPECT_TRUE(WaitFor([&] { return Poll(4, SvHoldingBase, 1) == std::vector<int>{260}; }, 5000));

    line->Locked([](LineModel& m) { m.SetBlockSilent(0, true); });
    Write(SvHoldingBase + 1, 270);
    EXPECT_TRUE(WaitFor([&] { return Poll(3, WriteResultBase + 1, 1) == std::vector<int>{int(WriteState::Unanswered)}; }, 15000));
    EXPECT_EQ(line->Locked([](LineModel& m) { return m.Param(1, 0); }), 0);
}
