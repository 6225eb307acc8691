// Writes and a lost port: nothing waits for ever, nothing is dropped without a word, and
// the alarm values of a bulk write go out once the port is back.
#include "EngineFixture.h"
#include "ToldMessages.h"
#include "TestClock.h"

namespace {

class WriteAcrossLoss : public EngineTest {
protected:
    TestClock clock;
    ToldMessages messages;
    QStringList& told = messages.told;

    void SetUp() override {
        EngineTest::SetUp();
        engine.Time = &clock;
        engine.Messages = &messages;
        Present({0, 1});
        StartUp();
        for (int i = 0; i < ChannelsPerBlock; ++i) d.ChAlarm1[20 + i] = qint16(30 + i);
    }
    void PullThePort() {
        link.open = false;
        link.openable = false;
    }
    // The port comes back: the next attempt probes, the step after reads the line again.
    void PortBack() {
        link.openable = true;
        clock.ms += 1000;
        engine.Timer4_Timer();
        ASSERT_FALSE(engine.PortLost);
        engine.Timer4_Timer();
    }
    std::vector<Request> Writes(const char* item) {
        std::vector<Request> out;
        for (const Request& r : link.log)
            if (r.cmd == u"R" && r.item == QLatin1StringView(item)) out.push_back(r);
        return out;
    }
};

}  // namespace

TEST_F(WriteAcrossLoss, AlarmValuesOfABlockLoadGoOutWhenThePortIsBack) {
    engine.RequestBlockWrite(1);
    engine.Timer4_Timer();
    ASSERT_TRUE(engine.pauseTimer().isActive());
    link.take();
    // The pause runs; the polling meanwhile finds the port gone.
    PullThePort();
    engine.Timer4_Timer();
    ASSERT_TRUE(engine.PortLost);
    EXPECT_EQ(told, QStringList{"通信が切れました。警報設定値は通信が回復してから送信します。"});
    for (int tick = 0; tick < 15; ++tick) engine.BulkWritePauseTick();
    EXPECT_TRUE(engine.BulkWriteInProgress());
    EXPECT_EQ(view.bulkFinished, 0);
    // A block re-read while waiting changed nothing of what is to be sent.
    d.ChAlarm1[20] = 999;
    PortBack();
    ASSERT_TRUE(AlarmsDue(engine));
    engine.Timer4_Timer();
    const auto alarm1 = Writes("0005");
    ASSERT_EQ(alarm1.size(), 1u);
    EXPECT_EQ(alarm1[0].block, 1);
    EXPECT_EQ(link.values[1]["0005"][0], 30);
    EXPECT_EQ(link.values[1]["0005"][19], 49);
    EXPECT_EQ(Writes("0006").size(), 1u);
    EXPECT_EQ(view.bulkFinished, 1);
    EXPECT_FALSE(engine.BulkWriteInProgress());
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
}

// The pause ends after the port came back but before the line was read again: the read
// is not replaced, and the alarm values go out after it.
TEST_F(WriteAcrossLoss, APauseEndingBeforeTheReadAfterTheReturnWaitsForThatRead) {
    engine.RequestBlockWrite(1);
    engine.Timer4_Timer();
    link.take();
    PullThePort();
    engine.Timer4_Timer();
    ASSERT_TRUE(engine.PortLost);
    link.openable = true;
    clock.ms += 1000;
    engine.Timer4_Timer();  // the port answers again; the read of the line comes next
    ASSERT_FALSE(engine.PortLost);
    ASSERT_EQ(engine.state(), PollEngine::State::StartupRead);
    for (int tick = 0; tick < 15; ++tick) engine.BulkWritePauseTick();
    EXPECT_EQ(engine.state(), PollEngine::State::StartupRead);
    EXPECT_TRUE(Writes("0005").empty());
    engine.Timer4_Timer();  // the read
    EXPECT_TRUE(Writes("0005").empty());
    ASSERT_TRUE(AlarmsDue(engine));
    engine.Timer4_Timer();
    EXPECT_EQ(Writes("0005").size(), 1u);
    EXPECT_EQ(Writes("0006").size(), 1u);
    EXPECT_EQ(view.bulkFinished, 1);
}

TEST_F(WriteAcrossLoss, AlarmWriteCutByTheLossIsSentAgainAndOnlyThenFinishes) {
    engine.RequestBlockWrite(1);
    engine.Timer4_Timer();
    for (int tick = 0; tick < 15; ++tick) engine.BulkWritePauseTick();
    ASSERT_TRUE(AlarmsDue(engine));
    link.take();
    link.override = [&](const Request& r) -> QString {
        if (r.item == u"0006") {
            PullThePort();
            return {};
        }
        return QStringLiteral("\x01");
    };
    engine.Timer4_Timer();
    link.override = nullptr;
    EXPECT_TRUE(engine.PortLost);
    EXPECT_EQ(view.bulkFinished, 0);
    EXPECT_TRUE(engine.BulkWriteInProgress());
    EXPECT_EQ(told, QStringList{"通信が切れました。警報設定値は通信が回復してから送信します。"});
    link.take();
    PortBack();
    engine.Timer4_Timer();
    EXPECT_EQ(Writes("0005").size(), 1u);
    EXPECT_EQ(Writes("0006").size(), 1u);
    EXPECT_EQ(view.bulkFinished, 1);
}

TEST_F(WriteAcrossLoss, BulkWriteCutByTheLossIsNotFollowedByItsAlarmValuesAndFreesTheDialogs) {
    engine.RequestBlockWrite(1);
    link.override = [&](const Request& r) -> QString {
        if (r.item == u"0004") PullThePort();
        return link.open ? QStringLiteral("\x01") : QString();
    };
    engine.Timer4_Timer();
    link.override = nullptr;
    EXPECT_TRUE(engine.PortLost);
    EXPECT_FALSE(engine.pauseTimer().isActive());
    EXPECT_FALSE(engine.BulkWriteInProgress());
    EXPECT_EQ(view.bulkFinished, 1);
    EXPECT_EQ(told, QStringList{"通信が切れたため、設定値の送信を確認できませんでした。通信が回復したら設定値を確認してください。"});
    link.take();
    PortBack();
    for (int i = 0; i < 10; ++i) engine.Timer4_Timer();
    EXPECT_TRUE(Writes("0005").empty());
}

TEST_F(WriteAcrossLoss, WritesRequestedWithoutThePortAreRefusedWithAWord) {
    PullThePort();
    engine.Timer4_Timer();
    ASSERT_TRUE(engine.PortLost);
    told.clear();
    // A setting from a dialog ...
    engine.RequestSettingWrite((0) * ChannelsPerBlock, QStringLiteral("0001"));
    engine.Timer4_Timer();
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    // ... and a set-data load, whose dialog waits for the end of its write.
    engine.RequestAllBlocksWrite();
    engine.Timer4_Timer();
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    EXPECT_EQ(view.bulkFinished, 1);
    const QString notSent = "通信が切れているため、設定値を送信できませんでした。通信が回復してから、もう一度操作してください。";
    EXPECT_EQ(told, (QStringList{notSent, notSent}));
    link.take();
    PortBack();
    for (int i = 0; i < 10; ++i) engine.Timer4_Timer();
    EXPECT_TRUE(Writes("0001").empty());
}
