// The simulator served over a real pseudo-terminal, driven by raw reads and writes.
#include "LineSetup.h"
#include "PtyServer.h"
#include "PtyClient.h"
#include "SimTestUtil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace rdxsim;
using namespace simtest;

namespace {

// A pseudo-terminal made by the test: the server gets the master, the test the slave.
struct PtyPair {
    int master = -1;
    int slave = -1;
    PtyPair() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            slave = PtyClient::OpenRaw(QString::fromLocal8Bit(ptsname(master)));
    }
    ~PtyPair() {
        if (slave >= 0) ::close(slave);
        if (master >= 0) ::close(master);
    }
};

struct Rig {
    LineModel model;
    ScaledSteadyClock clock;
    FaultInjector faults;
    SimStats stats;
    LineService line;
    PtyPair pty;
    PtyServer server;
    PtyClient client;

    Rig(ServerOptions options, quint64 seed = 1, FaultRates rates = {})
        : faults(seed, rates), line(model, clock, faults, stats), server(line, options), client(pty.slave) {
        BuildLineFromList(model, QStringLiteral("0,2:hc"), nullptr);
        server.AdoptMaster(pty.master);
        server.Start();
    }
    ~Rig() { server.Stop(); }
};

TEST(PtyServer, AnswersFramesOverThePseudoTerminal) {
    Rig rig({0, 0});
    ASSERT_GE(rig.pty.slave, 0);
    const ClientReply types = rig.client.Exchange(ReadRequest(2, "00A1"), 500);
    ASSERT_EQ(types.reply.size(), 91);
    EXPECT_TRUE(types.prefix.isEmpty());
    EXPECT_EQ(types.reply.mid(1, 7), QByteArray("\" \"00A1"));
    EXPECT_EQ(Field(types.reply, 2), OptionBit::HeatCool | OptionBit::HeaterBreak);

    Fields sv{};
    for (int k = 0; k < 20; ++k) sv[k] = qint16(300 + k);
    EXPECT_EQ(rig.client.Exchange(WriteRequest(0, "0001", sv), 500).reply,
              QByteArray("\x06  R0001AD\x03"));
    const ClientReply back = rig.client.Exchange(ReadRequest(0, "0001"), 500);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(Field(back.reply, k + 1), 300 + k);

    // Line noise before a frame is skipped; an absent block stays silent and the line
    // serves the next request as usual.
    EXPECT_EQ(rig.client.Exchange("zz\x03q" + ReadRequest(0, "0080"), 500).reply.size(), 91);
    EXPECT_TRUE(rig.client.Exchange(ReadRequest(1, "0080"), 150).reply.isEmpty());
    EXPECT_EQ(rig.client.Exchange(ReadRequest(0, "0083"), 500).reply.size(), 91);
    EXPECT_EQ(rig.stats.Get("silent.absent"), 1u);
    EXPECT_EQ(rig.stats.Get("bytes.discarded"), 4u);
}

TEST(PtyServer, PacesAReadReplyAtTheBaudRate) {
    // 91 characters at 9600 baud are about 95 ms on the wire, plus 3 ms turnaround.
    Rig rig({9600, 3});
    const ClientReply r = rig.client.Exchange(ReadRequest(0, "0080"), 1000);
    ASSERT_EQ(r.reply.size(), 91);
    EXPECT_GE(r.lastByteMs, 85.0);
    EXPECT_LT(r.lastByteMs, 400.0);
}

TEST(PtyServer, FifoAndUsbDeliveryKeepTheReplyAndItsWireTime) {
    for (Delivery mode : {Delivery::Fifo, Delivery::Usb}) {
        Rig rig({9600, 3, mode});
        const ClientReply r = rig.client.Exchange(ReadRequest(0, "0080"), 1000);
        ASSERT_EQ(r.reply.size(), 91) << int(mode);
        EXPECT_TRUE(Framing::ChecksumMatches(QString::fromLatin1(r.reply)));
        EXPECT_GE(r.lastByteMs, 85.0) << "no sooner than the wire carries it";
    }
}

struct Seen {
    int timeouts = 0, badChecksum = 0, naks = 0, noisy = 0, clean = 0;
    std::vector<int> trace;  // per request: bits 1 time-out, 2 bad checksum, 4 NAK, 8 noise first
};

Seen Drive(quint64 seed, SimStats* statsOut) {
    FaultRates rates;
    rates[Fault::Silence] = 0.05;
    rates[Fault::BadChecksum] = 0.15;
    rates[Fault::Nak] = 0.15;
    rates[Fault::Garbage] = 0.15;
    rates[Fault::Split] = 0.15;
    Rig rig({0, 0}, seed, rates);
    Seen seen;
    for (int i = 0; i < 120; ++i) {
        // Long enough that a busy machine never turns a late reply into a silence.
        const ClientReply r = rig.client.Exchange(ReadRequest(i % 2 ? 2 : 0, "0080"), 600);
        int kind = 0;
        if (r.reply.isEmpty()) {
            kind |= 1;
            ++seen.timeouts;
        } else {
            if (!Framing::ChecksumMatches(QString::fromLatin1(r.reply))) kind |= 2, ++seen.badChecksum;
            if (r.reply[0] == '\x15') kind |= 4, ++seen.naks;
            if (!r.prefix.isEmpty()) kind |= 8, ++seen.noisy;
            if (kind == 0) ++seen.clean;
        }
        seen.trace.push_back(kind);
    }
    rig.server.Stop();
    rig.line.SyncStats();
    for (const auto& [key, value] : rig.stats.Snapshot()) statsOut->Add(key, value);
    return seen;
}

TEST(PtyServer, InjectedFaultsAreReproducibleAndCountedAsTheClientSawThem) {
    SimStats first, second;
    const Seen a = Drive(99, &first);
    const Seen b = Drive(99, &second);
    EXPECT_EQ(a.trace, b.trace);
    EXPECT_EQ(first.Snapshot(), second.Snapshot());

    EXPECT_EQ(first.Get("requests"), 120u);
    EXPECT_EQ(first.Get("read.0080"), 120u);
    EXPECT_EQ(first.Get("reply.ack-read"), 120u);
    EXPECT_EQ(first.Get("replies.sent"), 120u - first.Get("fault.silence"));
    EXPECT_EQ(quint64(a.timeouts), first.Get("fault.silence"));
    EXPECT_EQ(quint64(a.badChecksum), first.Get("fault.bad-checksum"));
    EXPECT_EQ(quint64(a.naks), first.Get("fault.nak"));
    EXPECT_EQ(quint64(a.noisy), first.Get("fault.garbage"));
    EXPECT_GT(a.clean, 0);
    EXPECT_GT(first.Get("fault.split"), 0u);  // split replies still arrived whole
}

TEST(PtyServer, PublishesAndRemovesItsLink) {
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyRDX");
    LineModel model;
    ScaledSteadyClock clock;
    FaultInjector faults;
    SimStats stats;
    LineService line(model, clock, faults, stats);
    BuildLineFromList(model, QStringLiteral("0"), nullptr);
    {
        PtyServer server(line, {0, 0});
        ASSERT_TRUE(server.Open());
        ASSERT_TRUE(server.PublishLink(link));
        EXPECT_EQ(QFile::symLinkTarget(link), server.SlavePath());
        server.Start();
        const int fd = PtyClient::OpenRaw(link);
        ASSERT_GE(fd, 0);
        PtyClient client(fd);
        EXPECT_EQ(client.Exchange(ReadRequest(0, "00A0"), 500).reply.size(), 91);
        ::close(fd);
        // The client went away; the next one is served all the same.
        const int again = PtyClient::OpenRaw(link);
        PtyClient client2(again);
        EXPECT_EQ(client2.Exchange(ReadRequest(0, "00A0"), 500).reply.size(), 91);
        ::close(again);
    }
    EXPECT_FALSE(QFileInfo(link).isSymLink());

    // Something that is not a symlink is never replaced.
    QFile plain(link);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("keep");
    plain.close();
    PtyServer other(line, {0, 0});
    ASSERT_TRUE(other.Open());
    QString error;
    EXPECT_FALSE(other.PublishLink(link, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile check(link);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("keep"));
}

}  // namespace
