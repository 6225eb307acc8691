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

// Lets the engine's own pause timer run, at 1 ms a tick instead of a second.
void RunPauseTimer(PollEngine& engine) {
    engine.pauseTimer().setInterval(1);
    QElapsedTimer t;
    t.start();
    while (engine.pauseTimer().isActive() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

}  // namespace

TEST_F(EngineTest, ToggledOutputOfOneChannelWritesItsWholeBlockThenReadsBack) {
    Present({0, 1, 2});
    StartUp();
    d.ChOutputSwitch[45] = 1;
    d.ChOutputSwitch[40] = 1;
    engine.RequestSettingWrite(2 * ChannelsPerBlock, d.ItemCode[14]);
    engine.Timer4_Timer();
    const auto log = link.take();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].block, 2);
    EXPECT_EQ(log[0].cmd, "R");
    EXPECT_EQ(log[0].item, "0009");
    EXPECT_EQ(log[0].data, "0001000000000000000000010000" + QString(52, u'0'));
    EXPECT_EQ(log[1].cmd, "\"");
    EXPECT_EQ(log[1].item, "0009");
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    EXPECT_EQ(d.ChOutputSwitch[45], 1);
}

TEST_F(EngineTest, CoolingItemsAreNotSentToBlocksWithoutCooling) {
    Present({0});
    StartUp();
    engine.RequestSettingWrite(0 * ChannelsPerBlock, QStringLiteral("001E"));
    engine.Timer4_Timer();
    EXPECT_TRUE(link.take().empty());
    // An absent block is never addressed either.
    engine.RequestSettingWrite(4 * ChannelsPerBlock, QStringLiteral("0001"));
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
    engine.RequestSettingWrite(0 * ChannelsPerBlock, QStringLiteral("0001"));
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
    engine.RequestBlockWrite(1);
    engine.Timer4_Timer();
    auto log = link.take();
    EXPECT_EQ(Trace(log), BulkTrace(1, true));
    ASSERT_TRUE(engine.pauseTimer().isActive());
    EXPECT_EQ(engine.bulkWrite()->block(), 1);
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    // Polling in between may overwrite the alarm tables; the saved copy is what goes out.
    d.ChAlarm1[20] = 99;
    RunPauseTimer(engine);
    EXPECT_FALSE(engine.pauseTimer().isActive());
    EXPECT_TRUE(AlarmsDue(engine));
    EXPECT_EQ(view.writeProgress, 150);
    engine.Timer4_Timer();
    log = link.take();
    EXPECT_EQ(Trace(log), (QStringList{"1:R0005", "1:R0006"}));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].data, "0021" + QString(76, u'0'));
    EXPECT_EQ(log[1].data, QString(76, u'0') + "FFFC");
    EXPECT_EQ(d.ChAlarm1[20], 33);
    EXPECT_EQ(view.bulkFinished, 1);
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);

    engine.RequestBlockWrite(0);
    engine.Timer4_Timer();
    EXPECT_EQ(Trace(link.take()), BulkTrace(0, false));
}

TEST_F(EngineTest, BlockAlarmWriteRestoresOnlyItsOwnBlock) {
    Present({0, 1, 2});
    StartUp();
    for (int c = 0; c < 60; ++c) d.ChAlarm1[c] = d.ChAlarm2[c] = qint16(c);
    engine.RequestBlockWrite(1);
    engine.Timer4_Timer();
    link.take();
    // During the delay the neighbours' values change, and so do block 1's.
    for (int c = 0; c < 60; ++c) d.ChAlarm1[c] = d.ChAlarm2[c] = qint16(500 + c);
    for (int i = 0; i < 15; ++i) engine.BulkWritePauseTick();
    ASSERT_TRUE(AlarmsDue(engine));
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
    engine.RequestAllBlocksWrite();
    engine.Timer4_Timer();
    // A refusal does not stop the sequence: 3 x 26 in block order.
    EXPECT_EQ(Trace(link.take()), BulkTrace(0, true) + BulkTrace(3, true) + BulkTrace(9, true));
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].code, "NAK");
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    // Its own delay timer, the one that leads to the alarm write of all blocks.
    ASSERT_TRUE(engine.pauseTimer().isActive());
    EXPECT_EQ(engine.bulkWrite()->block(), -1);
    d.ChAlarm1[60] = -1;
    RunPauseTimer(engine);
    EXPECT_TRUE(AlarmsDue(engine));
    EXPECT_FALSE(engine.pauseTimer().isActive());
    engine.Timer4_Timer();
    const auto log = link.take();
    EXPECT_EQ(Trace(log), (QStringList{"0:R0005", "0:R0006", "3:R0005", "3:R0006", "9:R0005", "9:R0006"}));
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[2].data.left(4), "000C");
    EXPECT_EQ(log[5].data.right(4), "0007");
    EXPECT_EQ(view.bulkFinished, 1);
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
}

TEST_F(EngineTest, FactoryInitSendsThePreparedPairsOnce) {
    Present({2});
    StartUp();
    const QString mask = "0001000000000000" + QString(64, u'0');
    engine.RequestFactoryInit(2, mask);
    engine.Timer4_Timer();
    const auto log = link.take();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].item, "0040");
    EXPECT_EQ(log[0].cmd, "R");
    EXPECT_EQ(log[0].data, mask);
}

TEST_F(EngineTest, BlockZeroIsWrittenAndRestoredLikeAnyOther) {
    Present({0, 1});
    StartUp();
    for (int c = 0; c < 40; ++c) d.ChAlarm1[c] = d.ChAlarm2[c] = qint16(c);
    engine.RequestBlockWrite(0);
    engine.Timer4_Timer();
    EXPECT_EQ(Trace(link.take()), BulkTrace(0, false));
    for (int c = 0; c < 40; ++c) d.ChAlarm1[c] = d.ChAlarm2[c] = qint16(500 + c);
    for (int i = 0; i < 15; ++i) engine.BulkWritePauseTick();
    ASSERT_TRUE(AlarmsDue(engine));
    engine.Timer4_Timer();
    const auto log = link.take();
    EXPECT_EQ(Trace(log), (QStringList{"0:R0005", "0:R0006"}));
    ASSERT_EQ(log.size(), 2u);
    QString saved;
    for (int c = 0; c < 20; ++c) saved += ItemOracle::Hex4(qint16(c));
    EXPECT_EQ(log[0].data, saved);
    EXPECT_EQ(log[1].data, saved);
    for (int c = 0; c < 40; ++c) EXPECT_EQ(d.ChAlarm1[c], c < 20 ? c : 500 + c) << c;

    engine.RequestFactoryInit(0, "0001" + QString(76, u'0'));
    engine.Timer4_Timer();
    EXPECT_EQ(Trace(link.take()), QStringList{"0:R0040"});
}

// A request that can never go out is refused at once; one for an absent block ends
// unanswered without a frame.
TEST_F(EngineTest, RequestsForAnAbsentBlockOrNoBlockSendNothing) {
    Present({0, 1});
    StartUp();
    const QString mask = "0001" + QString(76, u'0');
    for (int block : {16, -1}) {
        EXPECT_EQ(engine.RequestSettingWrite(block * ChannelsPerBlock, QStringLiteral("0001")), 0u) << block;
        EXPECT_EQ(engine.RequestBlockWrite(block), 0u) << block;
        EXPECT_EQ(engine.RequestFactoryInit(block, mask), 0u) << block;
    }
    EXPECT_EQ(engine.RequestSettingWrite(0, QStringLiteral("00A1")), 0u);
    std::vector<WriteResult> results;
    QObject::connect(&engine, &PollEngine::WriteFinished, [&](const WriteResult& r) { results.push_back(r); });
    for (int block : {3, 15}) {
        engine.RequestSettingWrite(block * ChannelsPerBlock, QStringLiteral("0001"));
        engine.RequestFactoryInit(block, mask);
    }
    for (int i = 0; i < 4; ++i) engine.Timer4_Timer();
    EXPECT_TRUE(link.take().empty());
    ASSERT_EQ(results.size(), 4u);
    for (const WriteResult& r : results) {
        EXPECT_EQ(r.outcome, WriteOutcome::Unanswered);
        EXPECT_FALSE(r.anythingSent);
    }
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
}

// A bulk write is in progress from its request to its alarm values: the dialogs wait on
// exactly that, and a second one asked meanwhile is refused, not run over the first.
TEST_F(EngineTest, ABulkWriteIsInProgressFromItsRequestToItsAlarmValues) {
    Present({0});
    StartUp();
    EXPECT_FALSE(engine.BulkWriteInProgress());
    engine.RequestSettingWrite(0, QStringLiteral("0001"));
    EXPECT_FALSE(engine.BulkWriteInProgress());
    engine.Timer4_Timer();
    const quint64 first = engine.RequestBlockWrite(0);
    EXPECT_TRUE(engine.BulkWriteInProgress());
    engine.Timer4_Timer();
    EXPECT_TRUE(engine.BulkWriteInProgress());
    std::vector<WriteResult> results;
    QObject::connect(&engine, &PollEngine::WriteFinished, [&](const WriteResult& r) { results.push_back(r); });
    const quint64 second = engine.RequestAllBlocksWrite();
    engine.Timer4_Timer();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].id, second);
    EXPECT_EQ(results[0].outcome, WriteOutcome::Busy);
    for (int i = 0; i < 15; ++i) engine.BulkWritePauseTick();
    EXPECT_TRUE(engine.BulkWriteInProgress());
    link.take();
    engine.Timer4_Timer();
    EXPECT_EQ(Trace(link.take()), (QStringList{"0:R0005", "0:R0006"}));
    EXPECT_FALSE(engine.BulkWriteInProgress());
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[1].id, first);
    EXPECT_EQ(results[1].outcome, WriteOutcome::Accepted);
}
