// One bulk write alone, through each order of events: it ends once, with the outcome its
// rule gives, and its alarm values are the ones saved when it began.
#include "exchange/BulkWrite.h"

#include <QMap>
#include <gtest/gtest.h>

namespace {

struct Line {
    bool open = true;
    QStringList sent;
    // Outcome per "block:item"; Accepted when not listed.
    QMap<QString, WriteOutcome> answers;
    BulkWrite::SendFrame Send() {
        return [this](int b, const QString& item) -> std::optional<WriteOutcome> {
            if (b > 1) return std::nullopt;  // only blocks 0 and 1 are on the line
            const QString key = QString::number(b) + ":" + item;
            sent << key;
            return answers.value(key, WriteOutcome::Accepted);
        };
    }
    std::function<bool()> Open() {
        return [this] { return open; };
    }
};

void Pause(BulkWrite& w) {
    for (int i = 1; i < BulkWrite::PauseTicks; ++i) ASSERT_FALSE(w.Tick());
    ASSERT_TRUE(w.Tick());
}

TEST(BulkWriteTest, EndsOnceAfterItsAlarmValuesWithTheFirstFrameNotTakenDeciding) {
    RDX_INC d;
    d.ChAlarm1[21] = 7;
    Line line;
    line.answers["1:0002"] = WriteOutcome::Unanswered;
    line.answers["0:0007"] = WriteOutcome::Refused;
    BulkWrite w(5, -1, d);
    w.SendItems(line.Send(), line.Open());
    EXPECT_EQ(line.sent.size(), 52);
    EXPECT_FALSE(w.TakeResult());  // the pause and the alarm values are still to come
    Pause(w);
    d.ChAlarm1[21] = 99;  // polled meanwhile
    w.SendAlarms(d, line.Send(), line.Open());
    EXPECT_EQ(d.ChAlarm1[21], 7);
    std::optional<WriteResult> r = w.TakeResult();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->id, 5u);
    EXPECT_EQ(r->kind, WriteKind::AllBlocksWrite);
    EXPECT_EQ(r->outcome, WriteOutcome::Refused);  // block 0's refusal went out first
    ASSERT_EQ(r->unaccepted.size(), 2);
    EXPECT_FALSE(w.TakeResult());
}

TEST(BulkWriteTest, ALossDuringTheItemsCutsItWithoutAlarmValues) {
    RDX_INC d;
    Line line;
    BulkWrite w(1, 1, d);
    line.open = false;
    w.SendItems(line.Send(), line.Open());
    EXPECT_FALSE(w.Tick());
    std::optional<WriteResult> r = w.TakeResult();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->outcome, WriteOutcome::CutByPortLoss);
    EXPECT_TRUE(r->anythingSent);
    line.sent.clear();
    w.SendAlarms(d, line.Send(), line.Open());
    EXPECT_TRUE(line.sent.isEmpty());
}

TEST(BulkWriteTest, ALossDuringTheAlarmValuesSendsThemAgainAndOnlyTheLastAttemptCounts) {
    RDX_INC d;
    Line line;
    BulkWrite w(1, 1, d);
    w.SendItems(line.Send(), line.Open());
    Pause(w);
    line.open = false;
    line.answers["1:0006"] = WriteOutcome::Unanswered;
    w.SendAlarms(d, line.Send(), line.Open());
    EXPECT_EQ(w.stage(), BulkWrite::Stage::AlarmsDue);
    EXPECT_FALSE(w.TakeResult());
    line.open = true;
    line.answers.clear();
    line.sent.clear();
    w.SendAlarms(d, line.Send(), line.Open());
    EXPECT_EQ(line.sent, (QStringList{"1:0005", "1:0006"}));
    std::optional<WriteResult> r = w.TakeResult();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->outcome, WriteOutcome::Accepted);
}

}  // namespace
