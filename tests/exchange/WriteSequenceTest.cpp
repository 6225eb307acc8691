#include "EngineFixture.h"

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
    d.SelectedBlock = 1;
    d.PollState = 3;
    engine.Timer4_Timer();
    auto log = link.take();
    ASSERT_EQ(log.size(), 26u);
    EXPECT_EQ(log[0].item, "0013");
    EXPECT_EQ(log[1].item, "0014");
    EXPECT_EQ(log[2].item, "0001");
    for (const auto& r : log) EXPECT_EQ(r.cmd, "R");
    EXPECT_TRUE(engine.timer3(0).isActive());
    // Polling in between may overwrite the alarm tables; the saved copy is what goes out.
    d.ChAlarm1[20] = 99;
    for (int i = 0; i < 15; ++i) engine.Timer3_Timer(0);
    EXPECT_FALSE(engine.timer3(0).isActive());
    EXPECT_EQ(d.PollState, 5);
    engine.Timer4_Timer();
    log = link.take();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].item, "0005");
    EXPECT_EQ(log[0].data.left(4), "0021");
    EXPECT_EQ(log[1].item, "0006");
    EXPECT_EQ(view.bulkFinished, 1);
    EXPECT_EQ(d.PollState, 1);

    d.SelectedBlock = 0;
    d.PollState = 3;
    engine.Timer4_Timer();
    EXPECT_EQ(link.take().size(), 21u);
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
    d.PollState = 4;
    engine.Timer4_Timer();
    EXPECT_EQ(link.take().size(), 78u);  // a refusal does not stop the sequence
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].code, "NAK");
    for (int i = 0; i < 15; ++i) engine.Timer3_Timer(1);
    engine.Timer4_Timer();
    EXPECT_EQ(link.take().size(), 6u);
    EXPECT_EQ(view.bulkFinished, 1);
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
