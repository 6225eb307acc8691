// The line diagnostics as a technician reads them: each kind of trouble counted for the
// block it came from and no other, and the frames kept only while they are watched.
#include "EngineFixture.h"

namespace {

TEST_F(EngineTest, EachBlocksTroubleIsCountedForThatBlockOnly) {
    Present({0, 1, 2, 3});
    StartUp();
    LineDiagnostics& diag = engine.diagnostics();
    diag.Reset();
    diag.SetRecording(true);
    link.override = [](const Request& r) -> QString {
        if (r.block == 1) return {};                                    // silent
        if (r.block == 2) return FakeLink::Reply(QChar(Framing::NAK), r, {});
        if (r.block == 3) return QStringLiteral("\x1b");                 // checksum failed
        return QStringLiteral("\x01");
    };
    for (int i = 0; i < 4 * 3; ++i) engine.Timer4_Timer();  // three rounds of the four blocks
    for (int b = 0; b < 4; ++b) {
        SCOPED_TRACE(b);
        const BlockCounters& c = diag.Block(b);
        EXPECT_EQ(c.requests, 3u);
        EXPECT_EQ(c.timeouts, b == 1 ? 3u : 0u);
        EXPECT_EQ(c.naks, b == 2 ? 3u : 0u);
        EXPECT_EQ(c.corrupted, b == 3 ? 3u : 0u);
        EXPECT_EQ(c.replies, b == 1 ? 0u : 3u);
        EXPECT_EQ(c.lastError.isEmpty(), b == 0);
    }
    EXPECT_EQ(diag.Block(4).requests, 0u);
    ASSERT_EQ(diag.Traffic().size(), 12u);
    EXPECT_EQ(diag.Traffic().back().verdict, ExchangeVerdict::Corrupted);
    EXPECT_EQ(diag.Traffic().back().block, 3);

    // Not watched: counted, not kept; a reset starts the counters afresh.
    diag.SetRecording(false);
    diag.ClearTraffic();
    engine.Timer4_Timer();
    EXPECT_TRUE(diag.Traffic().empty());
    diag.Reset();
    EXPECT_EQ(diag.Block(1).timeouts, 0u);
}

}  // namespace
