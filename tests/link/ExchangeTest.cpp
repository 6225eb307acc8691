// Request/reply exchanges over a real pseudo-terminal against a scripted controller.
#include "protocol/Framing.h"
#include "LinkFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTimer>
#include <ctime>
#include <thread>

namespace {

const QByteArray kRead0080 = QByteArray("\x02  \"0080D6\x03");

QByteArray ValidRead() { return MakeReply('\x06', ' ', '"', "0080", TwentyFields()); }

PtyPeer::Reply At(int delayMs, const QByteArray& bytes) { return {{delayMs, bytes}}; }

double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

}  // namespace

TEST_F(LinkOnPty, ReadExchangeSendsExactFrameAndReturnsReply) {
    peer.Answer({At(0, ValidRead())});
    ASSERT_TRUE(link->PortOpen());

    const QString reply = ReadBlock0("0080");
    EXPECT_EQ(reply, Latin1(ValidRead()));
    EXPECT_EQ(reply.size(), 91);
    EXPECT_EQ(link->isDataNum(reply), 20);
    EXPECT_EQ(link->GetNData(reply, 20), QStringLiteral("0014"));
    EXPECT_EQ(peer.Received(), kRead0080);
    EXPECT_EQ(link->OutputBuffer(), Latin1(kRead0080));
}

TEST_F(LinkOnPty, CharactersBeforeTheReplyAreDropped) {
    // Garbage holding an ETX, then a stale partial reply cut off by a fresh ACK.
    const QByteArray noise = QByteArray("xy\x03z") + QByteArray("\x06 \"00", 5);
    peer.Answer({At(0, noise + ValidRead())});
    ASSERT_TRUE(link->PortOpen());
    EXPECT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));
}

TEST_F(LinkOnPty, EtxBeforeAnyAckDoesNotEndReception) {
    peer.Answer({{{0, QByteArray("\x03\x03", 2)}, {60, ValidRead().left(30)}, {60, ValidRead().mid(30)}}});
    ASSERT_TRUE(link->PortOpen());
    EXPECT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));
}

TEST_F(LinkOnPty, ChecksumFailuresGiveEscAndAreRetried) {
    QByteArray altered = ValidRead();
    altered[altered.size() - 2] = altered[altered.size() - 2] == '0' ? '1' : '0';
    const QByteArray tooShort("\x06\x03", 2);
    peer.Answer({At(0, altered), At(0, tooShort), At(0, altered), At(0, ValidRead())});
    ASSERT_TRUE(link->PortOpen());

    EXPECT_EQ(ReadBlock0("0080"), QString(QChar(Framing::ESC)));
    EXPECT_EQ(ReadBlock0("0080"), QString(QChar(Framing::ESC)));
    // With two attempts the request goes out again and the good answer counts.
    EXPECT_EQ(ReadBlock0("0080", 2), Latin1(ValidRead()));
    EXPECT_EQ(peer.Received(), kRead0080.repeated(4));
}

TEST_F(LinkOnPty, NakReplyIsReturnedAndChecked) {
    const QByteArray nak = MakeReply('\x15', ' ', '"', "0080", QByteArray());
    QByteArray badNak = nak;
    badNak[badNak.size() - 3] = badNak[badNak.size() - 3] == 'F' ? 'E' : 'F';
    peer.Answer({At(0, nak), At(0, badNak)});
    ASSERT_TRUE(link->PortOpen());
    EXPECT_EQ(ReadBlock0("0080"), Latin1(nak));
    EXPECT_EQ(ReadBlock0("0080"), QString(QChar(Framing::ESC)));
}

TEST_F(LinkOnPty, SilenceGivesEmptyAfterTimeOutPerAttempt) {
    link->setTimeOut(200);
    ASSERT_TRUE(link->PortOpen());
    peer.Answer({});

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ReadBlock0("0080"), QString());
    const qint64 once = clock.restart();
    EXPECT_EQ(ReadBlock0("0080", 3), QString());
    const qint64 thrice = clock.restart();
    EXPECT_EQ(ReadBlock0("0080", 0), QString());

    EXPECT_GE(once, 195);
    EXPECT_LT(once, 200 + 300);
    EXPECT_GE(thrice, 3 * 195);
    EXPECT_LT(thrice, 3 * 200 + 500);
    ASSERT_TRUE(peer.WaitForRequests(4, 1000));
    EXPECT_EQ(peer.Received(), kRead0080.repeated(4)) << "no attempts means nothing is sent";
}

TEST_F(LinkOnPty, ReplyCompletedAfterTheDeadlineIsLost) {
    link->setTimeOut(150);
    peer.Answer({At(300, ValidRead())});
    ASSERT_TRUE(link->PortOpen());
    EXPECT_EQ(ReadBlock0("0080"), QString());
}

TEST_F(LinkOnPty, WaitingDoesNotSpinTheProcessor) {
    link->setTimeOut(300);
    ASSERT_TRUE(link->PortOpen());
    for (bool eventsCheck : {true, false}) {
        link->setEventsCheck(eventsCheck);
        const double before = ThreadCpuMs();
        EXPECT_EQ(ReadBlock0("0080"), QString());
        EXPECT_LT(ThreadCpuMs() - before, 100.0) << "EventsCheck " << eventsCheck;
    }
}

TEST_F(LinkOnPty, EventsRunDuringTheWaitOnlyWithoutEventsCheck) {
    peer.Answer({At(100, ValidRead()), At(100, ValidRead())});
    ASSERT_TRUE(link->PortOpen());

    bool fired = false;
    link->setEventsCheck(true);
    QTimer::singleShot(0, [&] { fired = true; });
    EXPECT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));
    EXPECT_FALSE(fired) << "the user interface is held while EventsCheck is True";
    QCoreApplication::processEvents();
    ASSERT_TRUE(fired);

    fired = false;
    link->setEventsCheck(false);
    QTimer::singleShot(0, [&] { fired = true; });
    EXPECT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));
    EXPECT_TRUE(fired) << "events run while the link waits";
}

TEST_F(LinkOnPty, ClosingFromAnEventDuringTheWaitEndsTheExchange) {
    link->setEventsCheck(false);
    ASSERT_TRUE(link->PortOpen());
    peer.Answer({});
    QTimer::singleShot(20, [&] { link->PortClose(); });
    EXPECT_EQ(ReadBlock0("0080"), QString());
    EXPECT_EQ(link->CommID(), -1);
}

TEST_F(LinkOnPty, ExchangeOnAClosedPortRaises) {
    EXPECT_THROW(ReadBlock0("0080"), STDCommError);
    EXPECT_TRUE(peer.ReceivedWithin(100).isEmpty());
}

TEST_F(LinkOnPty, StaleReplyStaysUntilTheReceiveBufferIsCleared) {
    link->setTimeOut(150);
    ASSERT_TRUE(link->PortOpen());
    const QByteArray stale = MakeReply('\x06', ' ', '"', "0083", TwentyFields());

    peer.Send(stale);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(ReadBlock0("0080"), Latin1(stale)) << "nothing is cleared before sending";

    peer.Send(stale);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    link->RecvBufClear();
    EXPECT_EQ(ReadBlock0("0080"), QString());
}

TEST_F(LinkOnPty, InputBufferReturnsEverythingWaiting) {
    ASSERT_TRUE(link->PortOpen());
    peer.Send("hello\x06\x03");
    QString got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < 7 && clock.elapsed() < 2000) got += link->InputBuffer();
    EXPECT_EQ(got, QStringLiteral("hello\x06\x03"));
    EXPECT_EQ(link->InputBuffer(), QString());
}

TEST_F(LinkOnPty, PortCloseSendsNothingMore) {
    peer.Answer({At(0, ValidRead())});
    ASSERT_TRUE(link->PortOpen());
    ASSERT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));
    // With nothing held the close does not wait for output (it may wait up to a second).
    const auto start = std::chrono::steady_clock::now();
    link->PortClose();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(peer.Received(), kRead0080);
    EXPECT_EQ(link->CommID(), -1);
}

TEST_F(LinkOnPty, PortCloseLetsHeldOutputDrainOnceWithoutResending) {
    // The peer holds the line with XOFF, so the request stays pending in the link.
    link->setFlow(QStringLiteral("XON/XOFF"));
    link->setTimeOut(100);
    ASSERT_TRUE(link->PortOpen());
    peer.Send("\x13");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ReadBlock0("0080"), QString());

    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        peer.Send("\x11");
    });
    link->PortClose();
    release.join();
    EXPECT_EQ(peer.ReceivedWithin(300), kRead0080);
}

TEST_F(LinkOnPty, PortCloseGivesUpOnOutputHeldTooLong) {
    link->setFlow(QStringLiteral("XON/XOFF"));
    link->setTimeOut(100);
    ASSERT_TRUE(link->PortOpen());
    peer.Send("\x13");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ReadBlock0("0080"), QString());

    QElapsedTimer clock;
    clock.start();
    link->PortClose();
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_EQ(link->CommID(), -1);
    EXPECT_TRUE(peer.ReceivedWithin(300).isEmpty());
}

TEST(LinkOnVanishingPty, ADeviceThatGoesAwayEndsTheExchangeAndClosesThePort) {
    auto peer = std::make_unique<PtyPeer>();
    qputenv("TESMARCOMM_COM1", peer->SlavePath().toLocal8Bit());
    std::unique_ptr<ISTDComm> link(TesmarCreateObject(TesmarIds::Class));
    link->setTimeOut(2000);
    link->setEventsCheck(true);
    ASSERT_TRUE(link->PortOpen());
    peer.reset();  // the adapter is pulled out
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(link->RWcomm(QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("\""),
                           QStringLiteral("0080"), QString(), 1),
              QString());
    EXPECT_LT(clock.elapsed(), 1500) << "no need to wait the whole time limit";
    EXPECT_EQ(link->CommID(), -1) << "the port closes itself";
    qunsetenv("TESMARCOMM_COM1");
}

namespace {
QStringList* gLogged = nullptr;
void Collect(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (gLogged && QByteArray(context.category) == "rdx.link")
        *gLogged << QString::fromLatin1(type == QtWarningMsg ? "W " : "D ") + text;
}
}  // namespace

// A technician turns rdx.link on and sees every frame both ways, its block and the line's
// control characters by name; a corrupted reply is a warning even with debug off.
TEST_F(LinkOnPty, FramesAreLoggedReadablyOnRequestAndCorruptionAlways) {
    QStringList logged;
    gLogged = &logged;
    const QtMessageHandler previous = qInstallMessageHandler(Collect);
    QByteArray altered = ValidRead();
    altered[altered.size() - 2] = altered[altered.size() - 2] == '0' ? '1' : '0';
    peer.Answer({At(0, ValidRead()), At(0, altered)});
    ASSERT_TRUE(link->PortOpen());

    QLoggingCategory::setFilterRules(QStringLiteral("rdx.link.debug=true"));
    ReadBlock0("0080");
    QLoggingCategory::setFilterRules(QString());
    ReadBlock0("0080");
    qInstallMessageHandler(previous);
    gLogged = nullptr;

    ASSERT_EQ(logged.size(), 3) << logged.join('\n').toStdString();
    EXPECT_EQ(logged[0], QStringLiteral("D block 1 sent <STX>  \"0080D6<ETX>"));
    EXPECT_TRUE(logged[1].startsWith(QStringLiteral("D block 1 received after "))) << logged[1].toStdString();
    EXPECT_TRUE(logged[1].contains(QStringLiteral("ms: <ACK>  \"0080"))) << logged[1].toStdString();
    EXPECT_TRUE(logged[2].startsWith(QStringLiteral("W block 1 corrupted reply after "))) << logged[2].toStdString();
    EXPECT_TRUE(logged[2].endsWith(QStringLiteral("<ETX>")));
}
