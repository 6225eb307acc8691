#include "EngineFixture.h"
#include "ItemOracle.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

QStringList Trace(const std::vector<Request>& log) {
    QStringList out;
    for (const auto& r : log) out << QString::number(r.block) + ":" + r.cmd + r.item;
    return out;
}

QStringList BulkTrace(int block, bool cooling) {
    QStringList out;
    for (const QString& item : ItemOracle::BulkOrder())
        if (cooling || !ItemOracle::CoolingItems().contains(item)) out << QString::number(block) + ":R" + item;
    return out;
}

// Lets the engine's own delay timer run, at 1 ms a tick instead of a second.
void RunDelayTimer(PollEngine& engine, RDX_INC& d, int index) {
    engine.timer3(index).setInterval(1);
    QElapsedTimer t;
    t.start();
    while (d.PollState == 1 && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

}  // namespace

TEST_F(EngineTest, ToggledOutputOfOneChannelWritesItsWholeBlockThenReadsBack) {
    Present({0, 1, 2});
    StartUp();
    d.ChOutputSwitch[45] = 1;
    d.ChOutputSwitch[40] = 1;
    d.SelectedBlock = 2;
    d.WriteItemCode = d.ItemCode[14];
    d.PollState = 2;
    engine.Timer4_Timer();
    const auto log = link.take();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].block, 2);
    EXPECT_EQ(log[0].cmd, "R");
    EXPECT_EQ(log[0].item, "0009");
    EXPECT_EQ(log[0].data, "0001000000000000000000010000" + QString(52, u'0'));
    EXPECT_EQ(log[1].cmd, "\"");
    EXPECT_EQ(log[1].item, "0009");
    EXPECT_EQ(d.PollState, 1);
    EXPECT_EQ(d.ChOutputSwitch[45], 1);
}

TEST_F(EngineTest, CoolingItemsAreNotSentToBlocksWithoutCooling) {
    Present({0});
    StartUp();
    d.SelectedBlock = 0;
    d.WriteItemCode = QStringLiteral("001E");
    d.PollState = 2;
    engine.Timer4_Timer();
    EXPECT_TRUE(link.take().empty());
    // An absent block is never addressed either.
    d.SelectedBlock = 4;
    d.WriteItemCode = QStringLiteral("0001");
    d.PollState = 2;
    engine.Timer4_Timer();
    EXPECT_TRUE(link.take().empty());
}

TEST_F(EngineTest, SetValueOfALinearChannelIsWrittenInControllerUnits) {
    Present({0});
    link.values[0][QStringLiteral("00A1")][0] = 12;
    StartUp();
    d.ChScaleLow[3] = 0;
    d.ChScaleHigh[3] = 500;
    d.ChInputType[3] = 12;
    d.ChSV[3] = 250;
    d.SelectedBlock = 0;
    d.WriteItemCode = QStringLiteral("0001");
    d.PollState = 2;
    engine.Timer4_Timer();
    const auto log = link.take();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].data.mid(12, 4), "1388");
    EXPECT_EQ(d.ChSV[3], 250);  // read back and scaled again
}

TEST_F(EngineTest, BlockLoadSends26ItemsThenAlarmsAfterTheDelay) {
    Present({0, 1});
    link.values[1][QStringLiteral("00A1")][1] = 0x0400;
    StartUp();
    d.ChAlarm1[20] = 33;
    d.ChAlarm2[39] = -4;
    d.SelectedBlock = 1;
    d.PollState = 3;
    engine.Timer4_Timer();
    auto log = link.take();
    EXPECT_EQ(Trace(log), BulkTrace(1, true));
    EXPECT_TRUE(engine.timer3(0).isActive());
    EXPECT_FALSE(engine.timer3(1).isActive());
    EXPECT_EQ(d.PollState, 1);
    // Polling in between may overwrite the alarm tables; the saved copy is what goes out.
    d.ChAlarm1[20] = 99;
    RunDelayTimer(engine, d, 0);
    EXPECT_FALSE(engine.timer3(0).isActive());
    EXPECT_EQ(d.PollState, 5);
    EXPECT_EQ(view.writeProgress, 150);
    engine.Timer4_Timer();
    log = link.take();
    EXPECT_EQ(Trace(log), (QStringList{"1:R0005", "1:R0006"}));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].data, "0021" + QString(76, u'0'));
    EXPECT_EQ(log[1].data, QString(76, u'0') + "FFFC");
    EXPECT_EQ(d.ChAlarm1[20], 33);
    EXPECT_EQ(view.bulkFinished, 1);
    EXPECT_EQ(d.PollState, 1);

    d.SelectedBlock = 0;
    d.PollState = 3;
    engine.Timer4_Timer();
    EXPECT_EQ(Trace(link.take()), BulkTrace(0, false));
}

TEST_F(EngineTest, BlockAlarmWriteRestoresOnlyItsOwnBlock) {
    Present({0, 1, 2});
    StartUp();
    for (int c = 0; c < 60; ++c) d.ChAlarm1[c] = d.ChAlarm2[c] = qint16(c);
    d.SelectedBlock = 1;
    d.PollState = 3;
    engine.Timer4_Timer();
    link.take();
    // During the delay the neighbours' values change, and so do block 1's.
    for (int c = 0; c < 60; ++c) d.ChAlarm1[c] = d.ChAlarm2[c] = qint16(500 + c);
    for (int i = 0; i < 15; ++i) engine.Timer3_Timer(0);
    ASSERT_EQ(d.PollState, 5);
    engine.Timer4_Timer();
    for (int c = 0; c < 60; ++c) {
        const qint16 want = c >= 20 && c < 40 ? qint16(c) : qint16(500 + c);
        EXPECT_EQ(d.ChAlarm1[c], want) << c;
        EXPECT_EQ(d.ChAlarm2[c], want) << c;
    }
    const auto log = link.take();
    ASSERT_EQ(log.size(), 2u);
    QString sent;
    for (int c = 20; c < 40; ++c) sent += ItemOracle::Hex4(qint16(c));
    EXPECT_EQ(log[0].data, sent);
}

TEST_F(EngineTest, AllChannelLoadWritesEveryPresentBlock) {
    Present({0, 3, 9});
    for (int b : {0, 3, 9}) link.values[b][QStringLiteral("00A1")][1] = 0x0400;
    StartUp();
    int refused = 0;
    link.override = [&](const Request& r) -> QString {
        if (r.block == 3 && r.item == u"0002" && !refused++) return FakeLink::Reply(QChar(Framing::NAK), r, {});
        return QStringLiteral("\x01");
    };
    d.ChAlarm1[60] = 12;
    d.ChAlarm2[199] = 7;
    d.PollState = 4;
    engine.Timer4_Timer();
    // A refusal does not stop the sequence: 3 x 26 in block order.
    EXPECT_EQ(Trace(link.take()), BulkTrace(0, true) + BulkTrace(3, true) + BulkTrace(9, true));
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].code, "NAK");
    EXPECT_EQ(d.PollState, 1);
    // Its own delay timer, the one that leads to the alarm write of all blocks.
    EXPECT_TRUE(engine.timer3(1).isActive());
    EXPECT_FALSE(engine.timer3(0).isActive());
    d.ChAlarm1[60] = -1;
    RunDelayTimer(engine, d, 1);
    EXPECT_EQ(d.PollState, 6);
    EXPECT_FALSE(engine.timer3(1).isActive());
    engine.Timer4_Timer();
    const auto log = link.take();
    EXPECT_EQ(Trace(log), (QStringList{"0:R0005", "0:R0006", "3:R0005", "3:R0006", "9:R0005", "9:R0006"}));
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[2].data.left(4), "000C");
    EXPECT_EQ(log[5].data.right(4), "0007");
    EXPECT_EQ(view.bulkFinished, 1);
    EXPECT_EQ(d.PollState, 1);
}

TEST_F(EngineTest, FactoryInitSendsThePreparedPairsOnce) {
    Present({2});
    StartUp();
    d.SelectedBlock = 2;
    engine.FactoryInitData = "0001000000000000" + QString(64, u'0');
    d.PollState = 7;
    engine.Timer4_Timer();
    const auto log = link.take();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].item, "0040");
    EXPECT_EQ(log[0].cmd, "R");
    EXPECT_EQ(log[0].data, engine.FactoryInitData);
}

TEST_F(EngineTest, BlockZeroIsWrittenAndRestoredLikeAnyOther) {
    Present({0, 1});
    StartUp();
    for (int c = 0; c < 40; ++c) d.ChAlarm1[c] = d.ChAlarm2[c] = qint16(c);
    d.SelectedBlock = 0;
    d.PollState = 3;
    engine.Timer4_Timer();
    EXPECT_EQ(Trace(link.take()), BulkTrace(0, false));
    for (int c = 0; c < 40; ++c) d.ChAlarm1[c] = d.ChAlarm2[c] = qint16(500 + c);
    for (int i = 0; i < 15; ++i) engine.Timer3_Timer(0);
    ASSERT_EQ(d.PollState, 5);
    engine.Timer4_Timer();
    const auto log = link.take();
    EXPECT_EQ(Trace(log), (QStringList{"0:R0005", "0:R0006"}));
    ASSERT_EQ(log.size(), 2u);
    QString saved;
    for (int c = 0; c < 20; ++c) saved += ItemOracle::Hex4(qint16(c));
    EXPECT_EQ(log[0].data, saved);
    EXPECT_EQ(log[1].data, saved);
    for (int c = 0; c < 40; ++c) EXPECT_EQ(d.ChAlarm1[c], c < 20 ? c : 500 + c) << c;

    engine.FactoryInitData = "0001" + QString(76, u'0');
    d.PollState = 7;
    engine.Timer4_Timer();
    EXPECT_EQ(Trace(link.take()), QStringList{"0:R0040"});
}

TEST_F(EngineTest, RequestsForAnAbsentBlockOrNoBlockSendNothing) {
    Present({0, 1});
    StartUp();
    engine.FactoryInitData = "0001" + QString(76, u'0');
    for (int block : {3, 15, 16, -1}) {
        for (int state : {2, 3, 7}) {
            d.SelectedBlock = block;
            d.WriteItemCode = QStringLiteral("0001");
            d.PollState = state;
            engine.Timer4_Timer();
            EXPECT_TRUE(link.take().empty()) << "block " << block << " state " << state;
            EXPECT_EQ(d.PollState, 1);
        }
    }
}

// A block load asked for no block of the line writes nothing, and after its delay it puts
// back no alarm value: values that changed meanwhile stay as they are.
TEST_F(EngineTest, ABlockLoadForNoBlockPutsBackNoAlarmValueAfterItsDelay) {
    Present({0, 1});
    StartUp();
    for (int block : {-1, BlockCount}) {
        for (int c = 0; c < 40; ++c) d.ChAlarm1[c] = d.ChAlarm2[c] = qint16(c);
        d.SelectedBlock = block;
        d.PollState = 3;
        engine.Timer4_Timer();
        for (int c = 0; c < 40; ++c) d.ChAlarm1[c] = d.ChAlarm2[c] = qint16(500 + c);
        for (int i = 0; i < 15; ++i) engine.Timer3_Timer(0);
        ASSERT_EQ(d.PollState, 5) << block;
        engine.Timer4_Timer();
        EXPECT_TRUE(link.take().empty()) << block;
        for (int c = 0; c < 40; ++c) {
            EXPECT_EQ(d.ChAlarm1[c], 500 + c) << block << " " << c;
            EXPECT_EQ(d.ChAlarm2[c], 500 + c) << block << " " << c;
        }
    }
}

// A bulk write is in progress from its request to its alarm values: the dialogs wait on
// exactly these states.
TEST_F(EngineTest, ABulkWriteIsInProgressFromItsRequestToItsAlarmValues) {
    Present({0});
    StartUp();
    for (int state : {3, 4, 5, 6}) {
        d.PollState = state;
        EXPECT_TRUE(engine.BulkWriteInProgress()) << state;
    }
    for (int state : {0, 1, 2, 7, 8}) {
        d.PollState = state;
        EXPECT_FALSE(engine.BulkWriteInProgress()) << state;
    }
    d.PollState = 1;
}
