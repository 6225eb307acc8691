// How the link waits for a reply: it lets the driver gather several characters before the
// program runs, yet takes every reply no later than a reader of single characters would.
// Each test first lets the link see one long accepted reply to the request, so that it
// waits for that length afterwards.
#include "protocol/Framing.h"
#include "LineSettingsProbe.h"
#include "LinkFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <termios.h>

namespace {

QByteArray ValidRead() { return MakeReply('\x06', ' ', '"', "0080", TwentyFields()); }
QByteArray Nak() { return MakeReply('\x15', ' ', '"', "0080", QByteArray()); }
PtyPeer::Reply At(int delayMs, const QByteArray& bytes) { return {{delayMs, bytes}}; }

// Read system calls of this process so far.
qint64 ReadCalls() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("syscr:")) return line.mid(6).trimmed().toLongLong();
    return -1;
}

// The reply as a line delivers it, one character after another.
PtyPeer::Reply OneByOne(const QByteArray& bytes) {
    PtyPeer::Reply parts;
    for (char c : bytes) parts.push_back({1, QByteArray(1, c)});
    return parts;
}

QStringList* gWarnings = nullptr;
void CollectWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (gWarnings && type == QtWarningMsg && QByteArray(context.category) == "rdx.link") *gWarnings << text;
}

}  // namespace

// Short replies and replies that end where the link did not expect them: each is taken as
// soon as its ETX is in, whether or not the link lets events run while it waits.
TEST_F(LinkOnPty, ShortRepliesAreTakenAtOnceAfterALongOne) {
    const QByteArray stalePartial("\x06 \"00", 5);
    for (bool eventsCheck : {true, false}) {
        PtyPeer line;
        qputenv("TESMARCOMM_COM1", line.SlavePath().toLocal8Bit());
        link->PortClose();
        link->setEventsCheck(eventsCheck);
        link->setTimeOut(2000);
        // The first wait ends with the partial reply and half the NAK in.
        line.Answer({At(0, ValidRead()), At(0, Nak()), {{0, stalePartial + Nak().left(6)}, {40, Nak().mid(6)}},
                     {{0, QByteArray("xy\x03z")}, {40, ValidRead().left(5)}, {40, ValidRead().mid(5)}}});
        ASSERT_TRUE(link->PortOpen());
        ASSERT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));

        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(ReadBlock0("0080"), Latin1(Nak())) << "EventsCheck " << eventsCheck;
        EXPECT_EQ(ReadBlock0("0080"), Latin1(Nak())) << "a NAK cutting off a partial reply";
        EXPECT_EQ(ReadBlock0("0080"), Latin1(ValidRead())) << "noise, then the reply in parts";
        EXPECT_LT(clock.elapsed(), 1000) << "a reply waited out the time limit";
    }
}

// What is in when the time limit ends counts, even below the count the link waited for;
// a reply cut short ends in silence at the limit as before.
TEST_F(LinkOnPty, RepliesShorterThanExpectedAreJudgedByTheTimeLimit) {
    link->setTimeOut(200);
    QByteArray dropped = ValidRead();
    dropped.remove(40, 1);
    const QByteArray tenFields = MakeReply('\x06', ' ', '"', "0080", TwentyFields().left(40));
    // The first wait ends with 30 characters in; the rest falls short of what is waited for.
    peer.Answer({At(0, ValidRead()), {{0, dropped.left(30)}, {30, dropped.mid(30)}},
                 {{0, tenFields.left(30)}, {30, tenFields.mid(30)}}, At(0, ValidRead().left(60))});
    ASSERT_TRUE(link->PortOpen());
    ASSERT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));

    EXPECT_EQ(ReadBlock0("0080"), QString(QChar(Framing::ESC))) << "a character lost on the way";
    EXPECT_EQ(ReadBlock0("0080"), Latin1(tenFields)) << "an accepted reply shorter than before";
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ReadBlock0("0080"), QString());
    EXPECT_GE(clock.elapsed(), 195);

    // Between exchanges a host still sees every waiting character.
    peer.Send("abc");
    QString got;
    clock.restart();
    while (got.size() < 3 && clock.elapsed() < 2000) got += link->InputBuffer();
    EXPECT_EQ(got, QStringLiteral("abc"));
}

// The length learnt is that of one kind of request: a short accepted reply to a request
// that differs from the long one in any place of its kind is taken at once, not at the
// time limit.
TEST_F(LinkOnPty, EachKindOfRequestWaitsForItsOwnReplyLength) {
    link->setTimeOut(1000);
    const QByteArray oneField = MakeReply('\x06', ' ', '"', "0080", "0123");
    // Sub-address, command type, each place of the item, and the same item with data written.
    const char* kinds[][4] = {{"!", "\"", "0080", ""}, {" ", "!", "0080", ""}, {" ", "\"", "1080", ""},
                              {" ", "\"", "0180", ""}, {" ", "\"", "0090", ""}, {" ", "\"", "0081", ""},
                              {" ", "\"", "0080", "0123"}};
    std::vector<PtyPeer::Reply> script {At(0, ValidRead())};
    // In two parts: the second wait is the one that asks for the length learnt.
    for (std::size_t k = 0; k < std::size(kinds); ++k)
        script.push_back({{0, oneField.left(11)}, {30, oneField.mid(11)}});
    peer.Answer(script);
    ASSERT_TRUE(link->PortOpen());
    ASSERT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));
    for (const auto& kind : kinds) {
        QElapsedTimer clock;
        clock.start();
        const QString reply = link->RWcomm(QStringLiteral(" "), QString::fromLatin1(kind[0]), QString::fromLatin1(kind[1]),
                                           QString::fromLatin1(kind[2]), QString::fromLatin1(kind[3]), 1);
        EXPECT_EQ(reply, Latin1(oneField)) << kind[0] << kind[1] << kind[2] << kind[3];
        EXPECT_LT(clock.elapsed(), 500) << kind[0] << kind[1] << kind[2] << kind[3];
    }
}

// The point of it all: a reply that trickles in wakes the program a few times, not once
// per character.
TEST_F(LinkOnPty, AReplyArrivingCharacterByCharacterTakesFewReads) {
    peer.Answer({At(0, ValidRead()), OneByOne(ValidRead())});
    ASSERT_TRUE(link->PortOpen());
    ASSERT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));
    const qint64 before = ReadCalls();
    ASSERT_GE(before, 0) << "no /proc/self/io";
    EXPECT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));
    // Three waits (11, 64 and 16 characters), the scripted line's and this count's own reads;
    // one a character would be over 90.
    EXPECT_LE(ReadCalls() - before, 12);
}

// A driver that keeps no minimum: the link reads as it always did and says so once.
TEST_F(LinkOnPty, ADriverRefusingTheMinimumIsReadCharacterByCharacter) {
    QStringList warnings;
    gWarnings = &warnings;
    const QtMessageHandler previous = qInstallMessageHandler(CollectWarnings);
    LineSettingsProbe::RefuseRequests([](const termios& t) { return t.c_cc[VMIN] > 1; });
    peer.Answer({At(0, ValidRead()), At(0, Nak()), At(0, ValidRead())});
    ASSERT_TRUE(link->PortOpen());
    EXPECT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));
    EXPECT_EQ(ReadBlock0("0080"), Latin1(Nak()));
    EXPECT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));
    LineSettingsProbe::RefuseRequests(nullptr);
    qInstallMessageHandler(previous);
    gWarnings = nullptr;

    ASSERT_EQ(warnings.size(), 1) << warnings.join('\n').toStdString();
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("keeps no read minimum"))) << warnings[0].toStdString();
}
