// A block that stops answering is out of contact from its third unanswered request in a
// row until its next valid reply; the history hears of both changes once.
#include "EngineFixture.h"
#include "TestClock.h"

namespace {

const QString kContact = QString::fromLatin1(OutOfContactCode);

// Polls until block `b` has been asked `n` more times.
void PollUntilAsked(FakeLink& link, PollEngine& engine, int b, int n) {
    for (int guard = 0; n > 0 && guard < 1000; ++guard) {
        engine.Timer4_Timer();
        for (const auto& r : link.take()) n -= r.block == b;
    }
    ASSERT_LE(n, 0);
}

}  // namespace

TEST_F(EngineTest, BlockIsOutOfContactFromItsThirdSilenceUntilItsFirstValidReply) {
    Present({0, 1});
    StartUp();
    history.clear();
    link.present[1] = false;
    PollUntilAsked(link, engine, 1, 2);
    EXPECT_FALSE(d.BlockOutOfContact[1]);
    EXPECT_TRUE(view.contactChanges.empty());
    PollUntilAsked(link, engine, 1, 1);
    EXPECT_TRUE(d.BlockOutOfContact[1]);
    EXPECT_FALSE(d.BlockOutOfContact[0]);
    ASSERT_EQ(view.contactChanges.size(), 1u);
    EXPECT_EQ(view.contactChanges[0], std::make_pair(1, true));
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].code, kContact);
    EXPECT_EQ(history[0].ch, 20);
    EXPECT_NE(history[0].state, 0);
    // Staying silent changes nothing more.
    PollUntilAsked(link, engine, 1, 5);
    EXPECT_EQ(view.contactChanges.size(), 1u);
    EXPECT_EQ(history.size(), 1u);
    // The first valid reply brings it back.
    link.present[1] = true;
    PollUntilAsked(link, engine, 1, 1);
    EXPECT_FALSE(d.BlockOutOfContact[1]);
    ASSERT_EQ(view.contactChanges.size(), 2u);
    EXPECT_EQ(view.contactChanges[1], std::make_pair(1, false));
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[1].code, kContact);
    EXPECT_EQ(history[1].ch, 20);
    EXPECT_EQ(history[1].state, 0);
}

TEST_F(EngineTest, OnlySilencesInARowCountAndOnlyAValidReplyRestoresContact) {
    Present({0});
    StartUp();
    // Silences broken by corrupted replies never make three in a row.
    const QString script = QStringLiteral("SSESSESSSEN");  // S silent, E corrupted, N refused
    int asked = 0;
    link.override = [&](const Request& r) -> QString {
        const QChar step = asked < script.size() ? script[asked] : QChar(u'A');
        ++asked;
        if (step == u'S') return {};
        if (step == u'E') return QString(QChar(Framing::ESC));
        if (step == u'N') return FakeLink::Reply(QChar(Framing::NAK), r, QString());
        return QStringLiteral("\x01");
    };
    PollUntilAsked(link, engine, 0, 8);
    EXPECT_FALSE(d.BlockOutOfContact[0]);
    PollUntilAsked(link, engine, 0, 1);
    EXPECT_TRUE(d.BlockOutOfContact[0]);
    PollUntilAsked(link, engine, 0, 1);
    EXPECT_TRUE(d.BlockOutOfContact[0]) << "a corrupted reply proves nothing about the values";
    PollUntilAsked(link, engine, 0, 1);
    EXPECT_FALSE(d.BlockOutOfContact[0]) << "a refusal is a valid reply from the block";
}

TEST_F(EngineTest, LostPortPutsEveryPresentBlockOutOfContactUntilItAnswersAgain) {
    Present({0, 2});
    StartUp();
    TestClock clock;
    engine.Time = &clock;
    history.clear();
    link.open = false;
    link.openable = false;
    engine.Timer4_Timer();
    ASSERT_TRUE(engine.PortLost);
    EXPECT_TRUE(d.BlockOutOfContact[0]);
    EXPECT_FALSE(d.BlockOutOfContact[1]) << "an absent block is not polled, so it cannot be lost";
    EXPECT_TRUE(d.BlockOutOfContact[2]);
    EXPECT_EQ(history.size(), 2u);
    link.openable = true;
    clock.ms += 1000;
    engine.Timer4_Timer();  // probe
    engine.Timer4_Timer();  // start-up read
    EXPECT_FALSE(d.BlockOutOfContact[0]);
    EXPECT_FALSE(d.BlockOutOfContact[2]);
    ASSERT_EQ(history.size(), 4u);
    EXPECT_EQ(history[2].state, 0);
    EXPECT_EQ(history[3].state, 0);
}
