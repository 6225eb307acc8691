#include "EngineFixture.h"

#include "ItemOracle.h"
#include "services/SettingsStore.h"
#include "TestClock.h"

#include <QTimer>

namespace {

// The start-up read in full, request by request: "block:item" in the order sent.
QStringList StartupOrder(const std::array<int, 16>& kind) {  // 0 absent, 1 plain, 2 cooling
    QStringList out;
    auto at = [](int b, const QString& item) { return QString::number(b) + ":" + item; };
    for (int b = 0; b < 16; ++b) {
        out << at(b, "00A1");
        if (kind[b]) out << at(b, "00A0");
    }
    for (int b = 0; b < 16; ++b)
        if (kind[b]) out << at(b, "0013") << at(b, "0014");
    for (int b = 0; b < 16; ++b)
        for (const QString& item : ItemOracle::Codes(1, 37))
            if (kind[b] == 2 || (kind[b] == 1 && !ItemOracle::CoolingItems().contains(item))) out << at(b, item);
    return out;
}

QStringList Trace(const std::vector<Request>& log) {
    QStringList out;
    for (const auto& r : log) out << QString::number(r.block) + ":" + r.item;
    return out;
}

}  // namespace

TEST_F(EngineTest, StartupReadOfSixteenCoolingBlocksCosts656Exchanges) {
    for (int b = 0; b < 16; ++b) {
        link.present[b] = true;
        link.values[b][QStringLiteral("00A1")][1] = 0x0400;
    }
    engine.RestartStartupRead();
    engine.Timer4_Timer();
    const auto log = link.take();
    ASSERT_EQ(log.size(), 656u);
    std::array<int, 16> kind;
    kind.fill(2);
    EXPECT_EQ(Trace(log), StartupOrder(kind));
    for (const auto& r : log) EXPECT_EQ(r.cmd, "\"");
    for (const auto& r : log) EXPECT_EQ(r.data, QString());
    EXPECT_EQ(view.startupFinished, 1);
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    EXPECT_EQ(view.progress.back(), 16 * 38);
    for (int b = 0; b < 16; ++b) EXPECT_TRUE(d.BlockHasCooling[b]) << b;
}

// A stop asked for in the middle of a long start-up read (SIGTERM to the gateway, a quit
// during the re-read after a lost port) ends it at the next exchange, not after a minute.
TEST_F(EngineTest, AnEndAskedForDuringTheStartupReadStopsItAtTheNextExchange) {
    for (int b = 0; b < 16; ++b) link.present[b] = true;
    // After a block's inquiry, after its first read, in the unit reads and in the item reads.
    for (const int stopAfter : {3, 4, 32 + 8, 64 + 24}) {
        link.take();
        d.EndRequested = false;
        int seen = 0;
        link.override = [&](const Request&) -> QString {
            if (++seen == stopAfter) d.EndRequested = true;
            return QStringLiteral("\x01");
        };
        engine.RestartStartupRead();
        engine.Timer4_Timer();
        EXPECT_EQ(int(link.take().size()), stopAfter);
        EXPECT_EQ(view.startupFinished, 0);
        EXPECT_EQ(engine.state(), PollEngine::State::StartupRead);
    }
    // The same stop from outside the tables (a signal), asked for between exchanges.
    link.take();
    d.EndRequested = false;
    int seen = 0;
    link.override = [&](const Request&) { return ++seen, QStringLiteral("\x01"); };
    engine.EndPending = [&] { return seen >= 100; };
    engine.Timer4_Timer();
    EXPECT_EQ(link.take().size(), 100u);
    EXPECT_TRUE(d.EndRequested);
    EXPECT_EQ(view.startupFinished, 0);

    engine.EndPending = nullptr;
    link.override = nullptr;
    d.EndRequested = false;
    engine.Timer4_Timer();
    EXPECT_EQ(link.take().size(), 16u * 36u);
    EXPECT_EQ(view.startupFinished, 1);
}

TEST_F(EngineTest, StartupReadOfAMixedLineInFull) {
    // Block 0 with cooling on its last pair only, 5 without, 9 with; the rest silent.
    Present({0, 5, 9});
    link.values[0][QStringLiteral("00A1")][19] = 0x0400;
    link.values[5][QStringLiteral("00A1")][19] = 0x0001;
    link.values[9][QStringLiteral("00A1")][1] = 0x0401;
    engine.RestartStartupRead();
    engine.Timer4_Timer();
    std::array<int, 16> kind{};
    kind[0] = 2;
    kind[5] = 1;
    kind[9] = 2;
    EXPECT_EQ(Trace(link.take()), StartupOrder(kind));
    EXPECT_TRUE(d.BlockHasCooling[0]);
    EXPECT_FALSE(d.BlockHasCooling[5]);
    EXPECT_TRUE(d.BlockHasCooling[9]);
    std::vector<int> progress;
    for (int i = 1; i <= 16; ++i) progress.push_back(i);
    for (int b = 1; b <= 16; ++b) progress.push_back(16 + 37 * b);
    EXPECT_EQ(view.progress, progress);
    std::array<qint16, 16> absent;
    absent.fill(1);
    absent[0] = absent[5] = absent[9] = 0;
    EXPECT_EQ(d.BlockAbsent, absent);
}

TEST_F(EngineTest, SilentBlockGetsOneInquiryAndIsNeverAddressedAgain) {
    Present({0, 1, 2, 4});
    engine.RestartStartupRead();
    engine.Timer4_Timer();
    auto log = link.take();
    int toBlock3 = 0;
    for (const auto& r : log) toBlock3 += r.block == 3;
    EXPECT_EQ(toBlock3, 1);
    EXPECT_EQ(d.BlockAbsent[3], 1);
    EXPECT_EQ(d.BlockAbsent[4], 0);
    // Progress: 1 for each inquiry, then 37 per block in the item pass, absent or not.
    ASSERT_EQ(view.progress.size(), 32u);
    EXPECT_EQ(view.progress[3], 4);
    EXPECT_EQ(view.progress[16 + 3] - view.progress[16 + 2], 37);
    EXPECT_EQ(view.progress.back(), 16 + 16 * 37);
    for (int i = 0; i < 200; ++i) engine.Timer4_Timer();
    for (const auto& r : link.take()) EXPECT_NE(r.block, 3);
}

TEST_F(EngineTest, NoCoolingBlockSkipsTheFiveCoolingItems) {
    Present({0});
    engine.RestartStartupRead();
    engine.Timer4_Timer();
    const auto items = Items(link.take());
    EXPECT_EQ(items.size(), 1 + 15 + 1 + 2 + 32);
    EXPECT_FALSE(items.contains("001C"));
    EXPECT_FALSE(items.contains("0020"));
}

TEST_F(EngineTest, PollingGoesBlockByBlockAndAlternatesCurrentAndMV) {
    Present({0, 5});
    StartUp();
    for (int i = 0; i < 12; ++i) engine.Timer4_Timer();
    const auto log = link.take();
    QStringList seen;
    for (const auto& r : log) seen << QString::number(r.block) + ":" + r.item;
    EXPECT_EQ(seen, (QStringList{"0:0080", "5:0080", "0:0083", "5:0083", "0:0082", "5:0082",
                                 "0:0080", "5:0080", "0:0083", "5:0083", "0:0081", "5:0081"}));
    EXPECT_EQ(view.refreshes, 12);
}

// A whole, well-formed reply that carries an address outside the line stores nothing.
TEST_F(EngineTest, AReplyAddressedOutsideTheLineStoresNothing) {
    Present({0});
    StartUp();
    for (int address : {BlockCount, -1}) {
        link.override = [address](const Request& r) -> QString {
            Request elsewhere = r;
            elsewhere.block = address;
            return FakeLink::Reply(QChar(Framing::ACK), elsewhere, QString(4 * ChannelsPerBlock, u'1'));
        };
        const RDX_INC before = d;
        for (int i = 0; i < 3; ++i) engine.Timer4_Timer();  // PV, status, output
        EXPECT_EQ(link.take().size(), 3u);
        EXPECT_EQ(d.ChPV, before.ChPV) << address;
        EXPECT_EQ(d.ChStatus, before.ChStatus) << address;
        EXPECT_EQ(d.ChHeatMV, before.ChHeatMV) << address;
        EXPECT_EQ(d.ChHeaterCurrent, before.ChHeaterCurrent) << address;
    }
}

TEST_F(EngineTest, EmptyLineSendsNothingAndIdlesTheTimer) {
    StartUp();
    EXPECT_EQ(d.BlockAbsent, (std::array<qint16, 16>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    for (int i = 0; i < 10; ++i) engine.Timer4_Timer();
    EXPECT_TRUE(link.take().empty());
    EXPECT_EQ(engine.timer4().interval(), PollEngine::IdleIntervalMs);
    // As soon as a step exchanges again the timer runs at full speed.
    link.present[0] = true;
    StartUp();
    engine.Timer4_Timer();
    EXPECT_EQ(engine.timer4().interval(), 1);
}

TEST_F(EngineTest, ChangeBitLeadsToA37ItemRereadWithTheMessageShown) {
    Present({0, 5});
    StartUp();
    link.values[5][QStringLiteral("0083")][7] = 0x1000;
    engine.Timer4_Timer();  // 0:0080
    engine.Timer4_Timer();  // 5:0080
    engine.Timer4_Timer();  // 0:0083
    engine.Timer4_Timer();  // 5:0083 -> change bit
    EXPECT_EQ(engine.state(), PollEngine::State::BlockReread);
    EXPECT_EQ(d.RereadBlock, 5);
    link.take();
    link.values[5][QStringLiteral("0083")][7] = 0;
    view.readMessageDuringReread = false;
    engine.Timer4_Timer();
    const auto log = link.take();
    ASSERT_EQ(log.size(), 37u);
    for (const auto& r : log) EXPECT_EQ(r.block, 5);
    // Every item from "00A1" on, the cooling ones included although block 5 has none.
    EXPECT_EQ(Items(log), ItemOracle::Codes(1, 37));
    EXPECT_TRUE(view.readMessageDuringReread);
    EXPECT_EQ(view.resets, 1);
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
}

TEST_F(EngineTest, ChangeBitOnBlockZeroRereadsBlockZero) {
    Present({0, 1});
    StartUp();
    d.SelectedItem = 5;
    link.values[0][QStringLiteral("0001")][0] = 123;  // changed at the front panel
    link.values[0][QStringLiteral("0083")][19] = 0x1000 | 0x0001;
    for (int i = 0; i < 3; ++i) engine.Timer4_Timer();  // 0:0080, 1:0080, 0:0083
    EXPECT_EQ(engine.state(), PollEngine::State::BlockReread);
    EXPECT_EQ(d.RereadBlock, 0);
    link.take();
    link.values[0][QStringLiteral("0083")][19] = 0;
    engine.Timer4_Timer();
    const auto log = link.take();
    ASSERT_EQ(log.size(), 37u);
    for (const auto& r : log) EXPECT_EQ(r.block, 0);
    EXPECT_EQ(d.ChSV[0], 123);
    EXPECT_EQ(d.SelectedItem, 0);
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    // A status word without the bit schedules nothing.
    for (int i = 0; i < 6; ++i) engine.Timer4_Timer();
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    EXPECT_EQ(view.resets, 1);
}

TEST_F(EngineTest, ChangeBitOnTheLastBlockAndOnlyThatBit) {
    Present({15});
    StartUp();
    // Every other status bit, on every channel, schedules nothing.
    link.values[15][QStringLiteral("0083")].fill(qint16(0xEFFF));
    for (int i = 0; i < 6; ++i) engine.Timer4_Timer();
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    link.values[15][QStringLiteral("0083")][0] = 0x1000;
    for (int i = 0; i < 3 && engine.state() != PollEngine::State::BlockReread; ++i) engine.Timer4_Timer();
    EXPECT_EQ(engine.state(), PollEngine::State::BlockReread);
    EXPECT_EQ(d.RereadBlock, 15);
}

TEST_F(EngineTest, ProtocolErrorsAreRecordedAndSilenceRaisesTheCommError) {
    Present({0});
    StartUp();
    int n = 0;
    link.override = [&](const Request& r) -> QString {
        ++n;
        if (n == 1) return FakeLink::Reply(QChar(Framing::NAK), r, QString());
        if (n == 2) return QString(QChar(Framing::ESC));
        if (n == 3) return QString();
        return QStringLiteral("\x01");
    };
    engine.Timer4_Timer();
    EXPECT_EQ(view.panel[1], "NG");
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].code, "NAK");
    EXPECT_EQ(history[0].ch, 0);
    engine.Timer4_Timer();
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[1].code, "CHKSUM");
    engine.Timer4_Timer();
    EXPECT_TRUE(view.commError);
    EXPECT_TRUE(d.CommErrorFlag);
    engine.Timer4_Timer();
    EXPECT_FALSE(d.CommErrorFlag);
    EXPECT_EQ(view.panel[1], "OK");
    EXPECT_EQ(history.size(), 2u);
}

TEST_F(EngineTest, FailedProbeWaitsForThePortDialogThenReadsAgain) {
    SaveSetting("Port", "COM7");
    SaveSetting("Speed", "38400");
    // The dialog says why: the port itself could not be opened.
    link.openable = false;
    link.openFailure = {OpenFailure::Busy, "/dev/ttyUSB0", "minicom", {}};
    EXPECT_TRUE(engine.ApplyPortSettings().isEmpty());
    EXPECT_EQ(view.dialogFailure, link.openFailure);
    EXPECT_EQ(GetSetting("Port", ""), "COM1");
    EXPECT_EQ(GetSetting("Speed", ""), "9600");
    EXPECT_EQ(link.port, "COM1");
    EXPECT_EQ(link.timeOut, 300);
    EXPECT_EQ(view.portDialogs, 1);
    EXPECT_EQ(view.dialogPort, "COM1");
    EXPECT_TRUE(d.LinkFailed);
    link.take();
    ASSERT_EQ(engine.state(), PollEngine::State::PortDialog);
    for (int i = 0; i < 5; ++i) engine.Timer4_Timer();
    EXPECT_TRUE(link.take().empty());
    EXPECT_EQ(view.portDialogs, 1);
    EXPECT_EQ(engine.state(), PollEngine::State::PortDialog);
    // The operator confirms COM2 at 19200 and the line answers now.
    SaveSetting("Port", "COM2");
    SaveSetting("Speed", "19200");
    d.LinkFailed = false;
    link.openable = true;
    link.present[0] = true;
    engine.Timer4_Timer();
    EXPECT_EQ(engine.state(), PollEngine::State::StartupRead);
    EXPECT_EQ(link.port, "COM2");
    EXPECT_EQ(link.baud, "19200");
    engine.Timer4_Timer();
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    EXPECT_EQ(view.startupFinished, 1);
    EXPECT_GT(link.take().size(), 30u);
}

TEST_F(EngineTest, APortWhoseHandleCannotBeAskedForCountsAsLost) {
    Present({0});
    StartUp();
    link.commIdFails = true;
    engine.Timer4_Timer();
    EXPECT_TRUE(engine.PortLost);
    EXPECT_TRUE(view.commError);
}

TEST_F(EngineTest, LostPortIsReopenedOnceASecondThenReadAgain) {
    Present({0, 1});
    StartUp();
    TestClock clock;
    engine.Time = &clock;
    engine.Timer4_Timer();
    link.take();
    // The adapter is pulled out.
    link.open = false;
    link.openable = false;
    engine.Timer4_Timer();
    EXPECT_TRUE(engine.PortLost);
    EXPECT_TRUE(view.commError);
    EXPECT_EQ(view.startupInterrupted, 0);  // lost while polling, not while starting up
    EXPECT_EQ(engine.timer4().interval(), PollEngine::IdleIntervalMs);
    const int opensBefore = link.opens;
    for (int i = 0; i < 50; ++i) {
        clock.ms += 10;
        engine.Timer4_Timer();
    }
    EXPECT_EQ(link.opens, opensBefore);  // not before a second has passed
    clock.ms += 500;
    engine.Timer4_Timer();
    EXPECT_EQ(link.opens, opensBefore + 1);
    engine.Timer4_Timer();
    EXPECT_EQ(link.opens, opensBefore + 1);
    EXPECT_TRUE(link.take().empty());
    EXPECT_EQ(view.portDialogs, 0);
    // It is plugged in again: the next attempt probes, then the start-up read runs.
    link.openable = true;
    clock.ms += 1000;
    engine.Timer4_Timer();
    EXPECT_FALSE(engine.PortLost);
    EXPECT_EQ(engine.state(), PollEngine::State::StartupRead);
    auto log = link.take();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].item, "00A0");
    EXPECT_EQ(log[0].block, 0);
    engine.Timer4_Timer();
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    EXPECT_GT(link.take().size(), 60u);
    engine.Timer4_Timer();
    EXPECT_FALSE(d.CommErrorFlag);
}

TEST_F(EngineTest, ReadReplyMissingFieldsIsCorruptedAndStoresNothing) {
    Present({0});
    StartUp();
    d.ChPV.fill(0);
    d.ChPV[7] = 77;
    link.override = [](const Request& r) -> QString {
        // A valid checksum over a reply that lost its last 16 fields.
        return FakeLink::Reply(QChar(Framing::ACK), r, "0001000200030004");
    };
    engine.Timer4_Timer();  // 0:0080
    EXPECT_EQ(d.ChPV[0], 0);
    EXPECT_EQ(d.ChPV[7], 77);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].code, "CHKSUM");
    EXPECT_NE(view.panel[1], "OK");
}

TEST_F(EngineTest, CommunicateOpensProbesReadsPollsAndClosesWhenEndIsRequested) {
    Present({0, 2});
    d.LinkFailed = false;
    SaveSetting("Port", "COM2");
    SaveSetting("Speed", "19200");
    d.EndRequested = true;  // left from an earlier run: the loop starts afresh
    link.events = false;
    bool eventsCheckAtProbe = false;
    int polls = 0;
    link.override = [&](const Request& r) -> QString {
        if (link.log.size() == 1) eventsCheckAtProbe = link.events;
        if (!view.startupFinished) return QStringLiteral("\x01");
        ++polls;
        if (polls == 2) return QString();  // one silent block: the error box goes up
        if (polls == 4 && r.item == u"0083") link.values[2][QStringLiteral("0083")][0] = 0x1000;
        if (polls == 5) link.values[2][QStringLiteral("0083")][0] = 0;
        if (polls == 60) d.EndRequested = true;
        return QStringLiteral("\x01");
    };
    // Never hang the suite, whatever the loop does.
    QTimer::singleShot(10000, [&] { d.EndRequested = true; });
    const int closesBefore = link.closes;
    engine.communicate();

    const auto log = link.take();
    ASSERT_GE(log.size(), 1u);
    EXPECT_EQ(log[0].block, 0);
    EXPECT_EQ(log[0].item, "00A0");
    EXPECT_TRUE(eventsCheckAtProbe) << "the link must not yield while it waits";
    EXPECT_EQ(link.port, "COM2");
    EXPECT_EQ(link.baud, "19200");
    EXPECT_EQ(link.timeOut, 300);
    EXPECT_EQ(view.startupFinished, 1);
    EXPECT_EQ(view.portDialogs, 0);
    EXPECT_GE(polls, 60);
    EXPECT_EQ(view.resets, 1) << "the change bit led to one re-read";
    // Between steps the loop hides what no longer holds.
    EXPECT_FALSE(view.readMessage);
    EXPECT_FALSE(view.commError);
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    EXPECT_TRUE(d.EndRequested);
    EXPECT_FALSE(engine.timer4().isActive());
    EXPECT_GT(link.closes, closesBefore);
    EXPECT_FALSE(link.open) << "the port is closed when the loop ends";
}

TEST_F(EngineTest, CommunicateWithAFailedProbeWaitsSilentlyForThePortDialog) {
    SaveSetting("Port", "COM1");
    SaveSetting("Speed", "9600");
    QTimer::singleShot(150, [&] { d.EndRequested = true; });
    engine.communicate();
    const auto log = link.take();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].item, "00A0");
    EXPECT_EQ(view.portDialogs, 1);
    EXPECT_EQ(view.dialogPort, "COM1");
    EXPECT_EQ(view.dialogSpeed, "9600");
    EXPECT_EQ(engine.state(), PollEngine::State::PortDialog);
    EXPECT_TRUE(d.LinkFailed);
    EXPECT_EQ(view.startupFinished, 0);
    EXPECT_FALSE(link.open);
}

TEST_F(EngineTest, ChangeBitsAreLookedForInTheBlockJustReadOnly) {
    Present({0, 1});
    StartUp();
    // Block 1's first channel still holds a change bit from its last read.
    d.ChStatus[20] = 0x1000;
    d.ChStatus[19] = 0x0EFF;
    engine.statecomchk(0);
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    for (int block : {-1, 16}) engine.statecomchk(block);
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    engine.statecomchk(1);
    EXPECT_EQ(engine.state(), PollEngine::State::BlockReread);
    EXPECT_EQ(d.RereadBlock, 1);
    // The last block's last channel counts.
    engine.Timer4_Timer();
    d.ChStatus.fill(0);
    d.ChStatus[319] = 0x1000;
    engine.statecomchk(15);
    EXPECT_EQ(engine.state(), PollEngine::State::BlockReread);
    EXPECT_EQ(d.RereadBlock, 15);
}

TEST_F(EngineTest, ARepliedTextTooShortForTwentyFieldsStoresNothing) {
    d.ChPV.fill(5);
    const RDX_INC before = d;
    Request r{0, QStringLiteral("\""), QStringLiteral("0080"), QString()};
    for (const QString& reply : {FakeLink::Reply(QChar(Framing::ACK), r, QString()),
                                 FakeLink::Reply(QChar(Framing::ACK), r, QStringLiteral("0001")),
                                 QStringLiteral("\x06 "), QString()})
        engine.ReadDataSet(reply, 0);
    EXPECT_EQ(d.ChPV, before.ChPV);
    // A full reply from a block outside the line stores nothing either.
    Request outside{16, QStringLiteral("\""), QStringLiteral("0080"), QString()};
    engine.ReadDataSet(FakeLink::Reply(QChar(Framing::ACK), outside, QString(80, u'1')), 0);
    EXPECT_EQ(d.ChPV, before.ChPV);
}

TEST_F(EngineTest, ThePauseIsFifteenTicksOfOneSecond) {
    Present({0});
    StartUp();
    engine.RequestBlockWrite(0);
    engine.Timer4_Timer();
    EXPECT_EQ(engine.pauseTimer().interval(), 1000);
    ASSERT_TRUE(engine.pauseTimer().isActive());
    for (int tick = 1; tick <= 14; ++tick) engine.BulkWritePauseTick();
    EXPECT_EQ(view.writeProgress, 140);
    EXPECT_TRUE(engine.pauseTimer().isActive());
    engine.BulkWritePauseTick();
    EXPECT_EQ(view.writeProgress, 150);
    EXPECT_FALSE(engine.pauseTimer().isActive());
}

TEST_F(EngineTest, WhileThePortIsGoneTheLoopKeepsTheErrorUpAndIdles) {
    Present({0});
    d.LinkFailed = false;
    SaveSetting("Port", "COM1");
    SaveSetting("Speed", "9600");
    TestClock clock;
    engine.Time = &clock;
    int polls = 0;
    bool errorWhileGone = true;
    link.override = [&](const Request&) -> QString {
        if (view.startupFinished && ++polls == 3) {
            link.open = false;  // pulled out
            link.openable = false;
            // Let the loop run a while without the port, then end it.
            QTimer::singleShot(150, [&] {
                errorWhileGone = view.commError && engine.timer4().interval() == PollEngine::IdleIntervalMs;
                d.EndRequested = true;
            });
        }
        return QStringLiteral("\x01");
    };
    QTimer::singleShot(10000, [&] { d.EndRequested = true; });
    engine.communicate();
    EXPECT_TRUE(engine.PortLost);
    EXPECT_TRUE(errorWhileGone) << "the error stays up and the timer idles while the port is gone";
    EXPECT_TRUE(view.commError);
    EXPECT_TRUE(d.CommErrorFlag);
}

// A step whose exchange raises an error while the port stays open is given up; the next
// tick polls again instead of retrying that step for ever.
TEST_F(EngineTest, AStepThatRaisesAnErrorFallsBackToPolling) {
    Present({0});
    StartUp();
    std::vector<WriteResult> results;
    QObject::connect(&engine, &PollEngine::WriteFinished, [&](const WriteResult& r) { results.push_back(r); });
    link.override = [](const Request&) -> QString { throw STDCommError(8020, QStringLiteral("line error")); };
    engine.RequestSettingWrite(3, QStringLiteral("0001"));
    engine.RequestFactoryInit(0, "0001" + QString(76, u'0'));
    engine.RequestBlockWrite(0);
    for (int step = 0; step < 5; ++step) {
        engine.Timer4_Timer();
        EXPECT_EQ(engine.state(), PollEngine::State::Polling) << step;
        EXPECT_FALSE(engine.PortLost) << step;
    }
    link.override = nullptr;
    // Each request ends once, none as taken by the controller.
    ASSERT_EQ(results.size(), 2u);
    for (const WriteResult& r : results) EXPECT_EQ(r.outcome, WriteOutcome::Unanswered);
    ASSERT_NE(engine.bulkWrite(), nullptr);
    EXPECT_EQ(engine.bulkWrite()->stage(), BulkWrite::Stage::Pause);
}
