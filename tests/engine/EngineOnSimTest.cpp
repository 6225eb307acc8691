#include "FakeView.h"
#include "SimLine.h"
#include "ToldMessages.h"

#include "exchange/PollEngine.h"
#include "history/AlarmHistory.h"
#include "TestClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QThread>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class EngineOnSim : public ::testing::Test {
protected:
    std::unique_ptr<SimLine> line;
    RDX_INC d;
    FakeView view;
    std::unique_ptr<PollEngine> engine;
    TestClock clock{QDateTime(QDate(2007, 3, 9), QTime(20, 5, 3))};
    std::unique_ptr<AlarmHistory> history;
    QTemporaryDir dir;

    void Start(const SimLineOptions& options) {
        line = std::make_unique<SimLine>(options);
        ASSERT_TRUE(line->ok()) << line->error().toStdString();
        d.FillItemCodes();
        history = std::make_unique<AlarmHistory>(d);
        history->HistoryFilePath = dir.path() + "/run.hys";
        history->Time = &clock;
        d.AlarmCheckHook = [this](int ch) { history->AlarmChk(ch); };
        engine = std::make_unique<PollEngine>(d, line->link(), view);
        engine->HystoryWrite = [this](const QString& c, int ch, int s) { history->Hystory_Write(c, ch, s); };
        line->link().setEventsCheck(true);
    }
    // The probe, as communicate() does it, then the start-up read.
    void OpenAndRead() {
        ASSERT_EQ(engine->ApplyPortSettings(), "ok");
        engine->RestartStartupRead();
        engine->Timer4_Timer();
        ASSERT_EQ(engine->state(), PollEngine::State::Polling);
    }
    QStringList HistoryLines() const {
        QFile f(history->HistoryFilePath);
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringDecoder cp932("Shift_JIS");
        return QString(cp932.decode(f.readAll())).split("\r\n", Qt::SkipEmptyParts);
    }
};

SimLineOptions Blocks(const QString& blockList) {
    SimLineOptions o;
    o.blocks = blockList;
    return o;
}

QString AllBlocksWithCooling() {
    QStringList blockList;
    for (int b = 0; b < 16; ++b) blockList << QString::number(b) + ":hc";
    return blockList.join(',');
}

}  // namespace

TEST_F(EngineOnSim, ProbeThenStartupReadOfSixteenCoolingBlocks) {
    Start(Blocks(AllBlocksWithCooling()));
    OpenAndRead();
    const auto log = line->link().take();
    ASSERT_EQ(log.size(), 1u + 656u);
    EXPECT_EQ(log[0].frame, QString("\x02  \"00A0") + "CD" + "\x03");
    for (const auto& e : log) EXPECT_EQ(e.reply[0], QChar(Framing::ACK)) << e.item.toStdString();
    EXPECT_EQ(line->stats.Get("requests"), 657u);
    // What the line holds is what the tables hold.
    const int ch = 20 * 7 + 3;
    EXPECT_EQ(d.ChSV[ch], line->Locked([&](rdxsim::LineModel& m) { return m.Param(ch, rdxsim::SV); }));
    EXPECT_TRUE(d.BlockHasCooling[15]);
    EXPECT_EQ(view.progress.back(), 16 * 38);
}

// One write and its read-back as bytes, written out by hand: the simulator builds its
// replies with the monitor's own framing and hex code, so a fault there would move both
// sides of the line together and go unseen by any round trip.
TEST_F(EngineOnSim, WriteAndReadBackAreTheseBytesOnTheLine) {
    Start(Blocks("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15"));  // no silent block to wait for
    OpenAndRead();
    line->link().take();
    QByteArrayList sent;
    line->service.OnTransmission = [&](const rdxsim::Response&, const rdxsim::Transmission& t) {
        sent << t.Bytes();
    };
    for (int k = 0; k < 20; ++k) d.ChPCycle[k] = qint16(k + 1);
    engine->RequestSettingWrite((0) * ChannelsPerBlock, QStringLiteral("0007"));
    engine->Timer4_Timer();
    line->service.OnTransmission = nullptr;

    const QString data = QStringLiteral(
        "000100020003000400050006000700080009000A000B000C000D000E000F0010001100120013" "0014");
    const auto log = line->link().take();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].frame, QString("\x02  R0007") + data + "F6\x03");
    EXPECT_EQ(log[0].reply, QString("\x06  R0007A7\x03"));
    EXPECT_EQ(log[1].frame, QString("\x02  \"0007D7\x03"));
    EXPECT_EQ(log[1].reply, QString("\x06  \"0007") + data + "26\x03");
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0], QByteArray("\x06  R0007A7\x03"));
    EXPECT_EQ(sent[1], "\x06  \"0007" + data.toLatin1() + "26\x03");
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(d.ChPCycle[k], k + 1) << k;
        EXPECT_EQ(line->Locked([&](rdxsim::LineModel& m) { return m.Param(k, rdxsim::PCycle); }), k + 1) << k;
    }
}

TEST_F(EngineOnSim, SilentBlockIsAskedOnceAndNeverAgain) {
    Start(Blocks("0,1,2,4"));
    OpenAndRead();
    auto log = line->link().take();
    int toBlock3 = 0;
    for (const auto& e : log) toBlock3 += e.block == 3;
    EXPECT_EQ(toBlock3, 1);
    ASSERT_GE(view.progress.size(), 4u);
    EXPECT_EQ(view.progress[3], 4);
    for (int i = 0; i < 60; ++i) engine->Timer4_Timer();
    log = line->link().take();
    ASSERT_EQ(log.size(), 60u);
    for (const auto& e : log) EXPECT_NE(e.block, 3);
    EXPECT_EQ(line->stats.Get("block.3"), 1u);
}

TEST_F(EngineOnSim, PollingOrderWithBlocksZeroAndFive) {
    Start(Blocks("0,5"));
    OpenAndRead();
    line->link().take();
    for (int i = 0; i < 12; ++i) engine->Timer4_Timer();
    QStringList seen;
    for (const auto& e : line->link().take()) seen << QString::number(e.block) + ":" + e.item;
    EXPECT_EQ(seen, (QStringList{"0:0080", "5:0080", "0:0083", "5:0083", "0:0082", "5:0082",
                                 "0:0080", "5:0080", "0:0083", "5:0083", "0:0081", "5:0081"}));
}

TEST_F(EngineOnSim, FrontPanelChangeOnBlockFiveIsReadBackWhole) {
    Start(Blocks("0,5"));
    OpenAndRead();
    const int ch = 5 * 20 + 4;
    line->Locked([&](rdxsim::LineModel& m) { m.ChangeAtPanel(ch, rdxsim::SV, 333); });
    for (int i = 0; i < 4 && engine->state() != PollEngine::State::BlockReread; ++i) engine->Timer4_Timer();
    ASSERT_EQ(engine->state(), PollEngine::State::BlockReread);
    EXPECT_EQ(d.RereadBlock, 5);
    line->link().take();
    view.readMessageDuringReread = false;
    engine->Timer4_Timer();
    const auto log = line->link().take();
    ASSERT_EQ(log.size(), 37u);
    for (const auto& e : log) EXPECT_EQ(e.block, 5);
    EXPECT_TRUE(view.readMessageDuringReread);
    EXPECT_EQ(d.ChSV[ch], 333);
    EXPECT_EQ(engine->state(), PollEngine::State::Polling);
}

TEST_F(EngineOnSim, RefusedAndCorruptedRepliesAreRecordedSilenceShowsTheError) {
    Start(Blocks("0"));
    OpenAndRead();
    line->link().take();
    // From now on the line refuses or corrupts what it answers.
    history->HistoryRow = 1;
    line->faults = rdxsim::FaultInjector(7, [] {
        rdxsim::FaultRates r;
        r[rdxsim::Fault::Nak] = 0.3;
        r[rdxsim::Fault::BadChecksum] = 0.3;
        return r;
    }());
    int naks = 0, bad = 0;
    for (int i = 0; i < 60; ++i) {
        engine->Timer4_Timer();
        const QString reply = line->link().take().back().reply;
        naks += reply.startsWith(QChar(Framing::NAK));
        bad += reply == QString(QChar(Framing::ESC));
    }
    ASSERT_GT(naks, 0);
    ASSERT_GT(bad, 0);
    const QStringList lines = HistoryLines();
    EXPECT_EQ(lines.filter("\"----\",\"MGU-500から否定応答(NAK応答)が返ってきました。\"").size(), naks);
    EXPECT_EQ(lines.filter("\"----\",\"ﾁｪｯｸｻﾑｴﾗｰが発生しました。\"").size(), bad);
    // A refusal whose checksum was corrupted on the way counts as a checksum error.
    EXPECT_LE(quint64(naks), line->faults.Count(rdxsim::Fault::Nak));
    EXPECT_EQ(quint64(bad), line->faults.Count(rdxsim::Fault::BadChecksum));

    line->Locked([](rdxsim::LineModel& m) { m.SetBlockSilent(0, true); });
    engine->Timer4_Timer();
    EXPECT_TRUE(view.commError);
    EXPECT_TRUE(d.CommErrorFlag);
    line->faults = rdxsim::FaultInjector(7, {});
    line->Locked([](rdxsim::LineModel& m) { m.SetBlockSilent(0, false); });
    engine->Timer4_Timer();
    EXPECT_FALSE(d.CommErrorFlag);
}

TEST_F(EngineOnSim, FailedProbeSendsNothingUntilThePortDialogIsConfirmed) {
    Start(Blocks("1"));  // block 0 absent: the probe gets no answer
    EXPECT_TRUE(engine->ApplyPortSettings().isEmpty());
    EXPECT_EQ(view.portDialogs, 1);
    line->link().take();
    ASSERT_EQ(engine->state(), PollEngine::State::PortDialog);
    for (int i = 0; i < 10; ++i) engine->Timer4_Timer();
    EXPECT_TRUE(line->link().take().empty());
    EXPECT_EQ(line->stats.Get("requests"), 1u);
    // Block 0 is connected now and the operator presses OK.
    line->Locked([](rdxsim::LineModel& m) {
        m.SetBlockPresent(0, true);
        for (int p = 0; p < 10; ++p) m.ConfigurePair(0, p, true, 0, 1);
    });
    d.LinkFailed = false;
    engine->Timer4_Timer();
    EXPECT_EQ(engine->state(), PollEngine::State::StartupRead);
    engine->Timer4_Timer();
    EXPECT_EQ(engine->state(), PollEngine::State::Polling);
    EXPECT_EQ(view.startupFinished, 1);
}

TEST_F(EngineOnSim, AlarmTransitionsReachTheHistoryOncePerChange) {
    Start(Blocks({}));  // the demo line: heaters on, burnout alarms armed on block 0
    OpenAndRead();
    const int ch = 4;
    auto poll = [&] {
        for (int i = 0; i < 24; ++i) {
            line->clock.Advance(1.0);
            engine->Timer4_Timer();
        }
    };
    poll();
    line->Locked([&](rdxsim::LineModel& m) { m.SetHeaterBroken(ch, true); });
    poll();
    line->Locked([&](rdxsim::LineModel& m) { m.SetHeaterBroken(ch, false); });
    poll();
    const QStringList lines = HistoryLines();
    const QStringList on = lines.filter("\"Ch005\",\"ﾋｰﾀ断線警報の状態がONになりました。\"");
    const QStringList off = lines.filter("\"Ch005\",\"ﾋｰﾀ断線警報の状態がOFFになりました。\"");
    EXPECT_EQ(on.size(), 1) << lines.join('\n').toStdString();
    EXPECT_EQ(off.size(), 1);
    EXPECT_TRUE(on.first().startsWith("\"8:5:3 PM\""));
}

TEST_F(EngineOnSim, VanishedLineIsOpenedAgainOnTheSamePathWithoutTheDialog) {
    SimLineOptions options = Blocks("0,1");
    options.linkPath = dir.path() + "/ttyRDX";
    Start(options);
    OpenAndRead();
    engine->Timer4_Timer();
    line->link().take();

    line->StopServing();  // the pseudo-terminal's master closes
    for (int i = 0; i < 3 && !engine->PortLost; ++i) engine->Timer4_Timer();
    ASSERT_TRUE(engine->PortLost);
    EXPECT_TRUE(view.commError);
    line->link().take();
    // While it is gone: attempts at most once a second, no port dialog, nothing sent.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 1500) {
        engine->Timer4_Timer();
        QThread::msleep(PollEngine::IdleIntervalMs);
    }
    EXPECT_EQ(view.portDialogs, 0);
    EXPECT_TRUE(line->link().take().empty());

    ASSERT_TRUE(line->ServeAgain()) << line->error().toStdString();
    t.restart();
    while (engine->PortLost && t.elapsed() < 3000) {
        engine->Timer4_Timer();
        QThread::msleep(PollEngine::IdleIntervalMs);
    }
    ASSERT_FALSE(engine->PortLost);
    EXPECT_EQ(engine->state(), PollEngine::State::StartupRead);
    engine->Timer4_Timer();  // the start-up read again
    EXPECT_EQ(engine->state(), PollEngine::State::Polling);
    engine->Timer4_Timer();
    EXPECT_FALSE(d.CommErrorFlag);
    EXPECT_EQ(line->link().take().back().reply[0], QChar(Framing::ACK));
}

// During the pause between an all-channel load and its alarm values, neither a factory
// reset nor a single setting reaches the line (the alarm values that follow would undo the
// reset); each is refused with a word, and the single setting's table is read back.
TEST_F(EngineOnSim, WritesAskedForDuringALoadsPauseAreRefusedAndNeverSent) {
    Start(Blocks("0:hc,1"));
    OpenAndRead();
    ToldMessages messages;
    const QStringList& told = messages.told;
    engine->Messages = &messages;
    engine->RequestAllBlocksWrite();
    engine->Timer4_Timer();
    ASSERT_TRUE(engine->pauseTimer().isActive());
    line->link().take();

    auto writesSent = [&] {
        int n = 0;
        for (const Exchanged& e : line->link().take()) n += e.cmd == u"R" ? 1 : 0;
        return n;
    };
    engine->RequestFactoryInit(0, QStringLiteral("0001") + QString(76, u'0'));
    engine->Timer4_Timer();
    EXPECT_EQ(writesSent(), 0);

    const qint16 held = d.ChSV[21];
    d.ChSV[21] = qint16(held + 5);
    engine->RequestSettingWrite(21, QStringLiteral("0001"));
    engine->Timer4_Timer();
    const auto readBack = line->link().take();
    ASSERT_EQ(readBack.size(), 1u);
    EXPECT_EQ(readBack[0].cmd, QStringLiteral("\""));
    EXPECT_EQ(d.ChSV[21], held);
    EXPECT_EQ(told, QStringList(2, QString::fromUtf8(EngineMsg::BulkWriteBusy)));
    EXPECT_EQ(engine->state(), PollEngine::State::Polling);

    // The load itself ends as it would have: its alarm values go out after the pause.
    engine->pauseTimer().setInterval(1);
    QElapsedTimer t;
    t.start();
    while (engine->pauseTimer().isActive() && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    engine->Timer4_Timer();
    EXPECT_EQ(writesSent(), 4);
    EXPECT_EQ(view.bulkFinished, 1);
}
