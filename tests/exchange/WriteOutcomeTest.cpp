// What a write request comes to, as the operator and the tables see it: one outcome per
// request, a history entry for a setting not taken, and the controller's value back in
// the table as soon as the block answers.
#include "EngineFixture.h"

namespace {

class WriteOutcomeTest : public EngineTest {
protected:
    std::vector<WriteResult> results;

    void SetUp() override {
        EngineTest::SetUp();
        QObject::connect(&engine, &PollEngine::WriteFinished, [this](const WriteResult& r) { results.push_back(r); });
        Present({0, 1});
        link.values[1][QStringLiteral("0001")][3] = 1500;  // the controller holds 150.0
        StartUp();
        history.clear();
    }
};

TEST_F(WriteOutcomeTest, ARefusedSettingIsToldRecordedAndShowsTheControllersValue) {
    link.override = [](const Request& r) -> QString {
        return r.cmd == u"R" ? FakeLink::Reply(QChar(Framing::NAK), r, {}) : QStringLiteral("\x01");
    };
    d.ChSV[23] = 155;
    const quint64 id = engine.RequestSettingWrite(23, QStringLiteral("0001"));
    engine.Timer4_Timer();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].id, id);
    EXPECT_EQ(results[0].outcome, WriteOutcome::Refused);
    EXPECT_EQ(results[0].channel, 23);
    EXPECT_EQ(d.ChSV[23], 1500);
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(history.back().code, WriteRefusedCode);
    EXPECT_EQ(history.back().ch, 23);
}

TEST_F(WriteOutcomeTest, AnUnansweredSettingIsReadBackOnceTheBlockAnswersAgain) {
    link.present[1] = false;
    d.ChSV[23] = 155;
    engine.RequestSettingWrite(23, QStringLiteral("0001"));
    engine.Timer4_Timer();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].outcome, WriteOutcome::Unanswered);
    EXPECT_TRUE(results[0].anythingSent);
    EXPECT_EQ(history.back().code, WriteUnansweredCode);
    // While the block stays silent the typed value cannot be corrected ...
    for (int i = 0; i < 6; ++i) engine.Timer4_Timer();
    EXPECT_EQ(d.ChSV[23], 155);
    // ... and the first poll it answers brings back what the controller holds.
    link.present[1] = true;
    link.take();
    for (int i = 0; i < 4 && d.ChSV[23] != 1500; ++i) engine.Timer4_Timer();
    EXPECT_EQ(d.ChSV[23], 1500);
    int readBacks = 0;
    for (const Request& r : link.take()) readBacks += r.block == 1 && r.item == u"0001";
    EXPECT_EQ(readBacks, 1);
    EXPECT_EQ(results.size(), 1u);
}

TEST_F(WriteOutcomeTest, ABulkWriteListsWhatWasNotTakenAndReadsItBack) {
    link.override = [](const Request& r) -> QString {
        if (r.cmd == u"R" && r.block == 1 && (r.item == u"0001" || r.item == u"0006"))
            return FakeLink::Reply(QChar(Framing::NAK), r, {});
        return QStringLiteral("\x01");
    };
    d.ChSV[23] = 155;
    const quint64 id = engine.RequestAllBlocksWrite();
    engine.Timer4_Timer();
    EXPECT_TRUE(results.empty());  // not before its alarm values
    for (int i = 0; i < 15; ++i) engine.BulkWritePauseTick();
    engine.Timer4_Timer();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].id, id);
    EXPECT_EQ(results[0].outcome, WriteOutcome::Refused);
    ASSERT_EQ(results[0].unaccepted.size(), 2);
    EXPECT_EQ(results[0].unaccepted[0].item, "0001");
    EXPECT_EQ(results[0].unaccepted[1].item, "0006");
    EXPECT_EQ(history.back().code, BulkWriteIncompleteCode);
    EXPECT_EQ(history.back().ch, 20);
    link.override = nullptr;
    for (int i = 0; i < 4 && d.ChSV[23] != 1500; ++i) engine.Timer4_Timer();
    EXPECT_EQ(d.ChSV[23], 1500);
}

}  // namespace
