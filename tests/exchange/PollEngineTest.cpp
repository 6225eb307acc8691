#include "EngineFixture.h"

#include "services/SettingsStore.h"

TEST_F(EngineTest, StartupReadOfSixteenCoolingBlocksCosts656Exchanges) {
    for (int b = 0; b < 16; ++b) {
        link.present[b] = true;
        link.values[b][QStringLiteral("00A1")][1] = 0x0400;
    }
    d.PollState = 0;
    engine.Timer4_Timer();
    const auto log = link.take();
    EXPECT_EQ(log.size(), 656u);
    // Inquiry and presence per block first, then alarm types, then the 37 items.
    EXPECT_EQ(log[0].item, "00A1");
    EXPECT_EQ(log[1].item, "00A0");
    EXPECT_EQ(log[32].item, "0013");
    EXPECT_EQ(log[33].item, "0014");
    EXPECT_EQ(log[64].item, "00A1");
    EXPECT_EQ(log[65].item, "0080");
    EXPECT_EQ(log.back().item, "0020");
    EXPECT_EQ(log.back().block, 15);
    EXPECT_EQ(view.startupFinished, 1);
    EXPECT_EQ(d.PollState, 1);
    EXPECT_EQ(view.progress.back(), 16 * 38);
    EXPECT_TRUE(d.BlockHasCooling[15]);
}

TEST_F(EngineTest, SilentBlockGetsOneInquiryAndIsNeverAddressedAgain) {
    Present({0, 1, 2, 4});
    d.PollState = 0;
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
    d.PollState = 0;
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
    EXPECT_EQ(d.PollState, 8);
    EXPECT_EQ(d.RereadBlock, 5);
    link.take();
    link.values[5][QStringLiteral("0083")][7] = 0;
    view.readMessageDuringReread = false;
    engine.Timer4_Timer();
    const auto log = link.take();
    ASSERT_EQ(log.size(), 37u);
    for (const auto& r : log) EXPECT_EQ(r.block, 5);
    EXPECT_EQ(log.front().item, "00A1");
    EXPECT_EQ(log.back().item, "0020");
    EXPECT_TRUE(view.readMessageDuringReread);
    EXPECT_EQ(view.resets, 1);
    EXPECT_EQ(d.PollState, 1);
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
    EXPECT_TRUE(engine.ApplyPortSettings().isEmpty());
    EXPECT_EQ(GetSetting("Port", ""), "COM1");
    EXPECT_EQ(GetSetting("Speed", ""), "9600");
    EXPECT_EQ(link.port, "COM1");
    EXPECT_EQ(link.timeOut, 300);
    EXPECT_EQ(view.portDialogs, 1);
    EXPECT_EQ(view.dialogPort, "COM1");
    EXPECT_TRUE(d.LinkFailed);
    link.take();
    d.PollState = 9;
    for (int i = 0; i < 5; ++i) engine.Timer4_Timer();
    EXPECT_TRUE(link.take().empty());
    EXPECT_EQ(view.portDialogs, 1);
    EXPECT_EQ(d.PollState, 9);
    // The operator confirms COM2 at 19200 and the line answers now.
    SaveSetting("Port", "COM2");
    SaveSetting("Speed", "19200");
    d.LinkFailed = false;
    link.present[0] = true;
    engine.Timer4_Timer();
    EXPECT_EQ(d.PollState, 0);
    EXPECT_EQ(link.port, "COM2");
    EXPECT_EQ(link.baud, "19200");
    engine.Timer4_Timer();
    EXPECT_EQ(d.PollState, 1);
    EXPECT_EQ(view.startupFinished, 1);
    EXPECT_GT(link.take().size(), 30u);
}

TEST_F(EngineTest, DelayTimerLeadsToTheAlarmWriteOfItsIndex) {
    for (int index : {0, 1}) {
        d.PollState = 1;
        for (int tick = 1; tick <= 14; ++tick) engine.Timer3_Timer(index);
        EXPECT_EQ(d.PollState, 1);
        EXPECT_EQ(view.writeProgress, 140);
        engine.Timer3_Timer(index);
        EXPECT_EQ(d.PollState, index == 0 ? 5 : 6);
        EXPECT_EQ(view.writeProgress, 150);
        EXPECT_EQ(engine.DelayTicks, 0);
    }
}

TEST_F(EngineTest, LostPortIsReopenedOnceASecondThenReadAgain) {
    Present({0, 1});
    StartUp();
    qint64 now = 0;
    engine.NowMs = [&] { return now; };
    engine.Timer4_Timer();
    link.take();
    // The adapter is pulled out.
    link.open = false;
    link.openable = false;
    engine.Timer4_Timer();
    EXPECT_TRUE(engine.PortLost);
    EXPECT_TRUE(view.commError);
    EXPECT_EQ(engine.timer4().interval(), PollEngine::IdleIntervalMs);
    const int opensBefore = link.opens;
    for (int i = 0; i < 50; ++i) {
        now += 10;
        engine.Timer4_Timer();
    }
    EXPECT_EQ(link.opens, opensBefore);  // not before a second has passed
    now += 500;
    engine.Timer4_Timer();
    EXPECT_EQ(link.opens, opensBefore + 1);
    engine.Timer4_Timer();
    EXPECT_EQ(link.opens, opensBefore + 1);
    EXPECT_TRUE(link.take().empty());
    EXPECT_EQ(view.portDialogs, 0);
    // It is plugged in again: the next attempt probes, then the start-up read runs.
    link.openable = true;
    now += 1000;
    engine.Timer4_Timer();
    EXPECT_FALSE(engine.PortLost);
    EXPECT_EQ(d.PollState, 0);
    auto log = link.take();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].item, "00A0");
    EXPECT_EQ(log[0].block, 0);
    engine.Timer4_Timer();
    EXPECT_EQ(d.PollState, 1);
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
