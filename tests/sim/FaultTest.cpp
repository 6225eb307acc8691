// Fault injection: reproducible for a seed, and each fault shaped as a client would meet it.
#include "FaultInjector.h"
#include "Delivery.h"
#include "Pacing.h"
#include "Responder.h"

#include "protocol/Framing.h"

#include <gtest/gtest.h>

using namespace rdxsim;

namespace {

QByteArray SampleReply() {
    QString data;
    for (int k = 0; k < 20; ++k) data += QString::asprintf("%04X", 0x100 + k);
    return BuildReply(Framing::ACK, u"! \"0080", data);
}

FaultRates AllFaults(double p) {
    FaultRates r;
    for (double& x : r.rate) x = p;
    return r;
}

TEST(FaultInjector, SameSeedSameFaultsOtherSeedOtherFaults) {
    FaultInjector a(42, AllFaults(0.2)), b(42, AllFaults(0.2)), c(43, AllFaults(0.2));
    const QByteArray reply = SampleReply();
    int differ = 0;
    for (int i = 0; i < 300; ++i) {
        const Transmission ta = a.Apply(reply), tb = b.Apply(reply), tc = c.Apply(reply);
        ASSERT_EQ(ta.chunks.size(), tb.chunks.size());
        for (size_t k = 0; k < ta.chunks.size(); ++k) {
            EXPECT_EQ(ta.chunks[k].bytes, tb.chunks[k].bytes);
            EXPECT_EQ(ta.chunks[k].gapBeforeMs, tb.chunks[k].gapBeforeMs);
        }
        differ += ta.Bytes() != tc.Bytes();
    }
    EXPECT_GT(differ, 30);
    for (int f = 0; f < int(Fault::Count); ++f) EXPECT_EQ(a.Count(Fault(f)), b.Count(Fault(f)));
}

TEST(FaultInjector, RatesAreHonouredAndZeroMeansClean) {
    FaultRates rates;
    rates[Fault::Nak] = 0.25;
    FaultInjector f(7, rates);
    const QByteArray reply = SampleReply();
    int naks = 0;
    for (int i = 0; i < 2000; ++i) naks += f.Apply(reply).Bytes()[0] == '\x15';
    EXPECT_EQ(quint64(naks), f.Count(Fault::Nak));
    EXPECT_GT(naks, 400);
    EXPECT_LT(naks, 600);
    FaultInjector clean(7);
    for (int i = 0; i < 200; ++i) {
        const Transmission t = clean.Apply(reply);
        ASSERT_EQ(t.chunks.size(), 1u);
        EXPECT_EQ(t.chunks[0].bytes, reply);
    }
}

// One fault at a time, always on.
Transmission Only(Fault fault, quint64 seed) {
    FaultRates r;
    r[fault] = 1.0;
    FaultInjector f(seed, r);
    const Transmission t = f.Apply(SampleReply());
    EXPECT_EQ(f.Count(fault), 1u);
    return t;
}

TEST(FaultInjector, EachFaultLooksAsOnTheWire) {
    const QByteArray reply = SampleReply();
    for (quint64 seed = 1; seed <= 20; ++seed) {
        EXPECT_TRUE(Only(Fault::Silence, seed).Silent());

        const QByteArray bad = Only(Fault::BadChecksum, seed).Bytes();
        EXPECT_EQ(bad.size(), reply.size());
        EXPECT_EQ(bad.left(88), reply.left(88));
        EXPECT_FALSE(Framing::ChecksumMatches(QString::fromLatin1(bad)));

        const QByteArray nak = Only(Fault::Nak, seed).Bytes();
        EXPECT_EQ(nak, BuildReply(Framing::NAK, u"! \"0080", {}));

        const QByteArray noisy = Only(Fault::Garbage, seed).Bytes();
        ASSERT_GT(noisy.size(), reply.size());
        EXPECT_TRUE(noisy.endsWith(reply));
        const QByteArray prefix = noisy.left(noisy.size() - reply.size());
        EXPECT_LE(prefix.size(), 8);
        EXPECT_FALSE(prefix.contains('\x06') || prefix.contains('\x15'));

        const QByteArray cut = Only(Fault::Cut, seed).Bytes();
        EXPECT_LT(cut.size(), reply.size());
        EXPECT_GE(cut.size(), 1);
        EXPECT_TRUE(reply.startsWith(cut));

        const Transmission split = Only(Fault::Split, seed);
        EXPECT_GE(split.chunks.size(), 2u);
        EXPECT_EQ(split.Bytes(), reply);
        for (size_t k = 1; k < split.chunks.size(); ++k) {
            EXPECT_GE(split.chunks[k].gapBeforeMs, 5);
            EXPECT_LE(split.chunks[k].gapBeforeMs, 30);
        }
    }
}

TEST(Pacing, ReadReplyTakesItsWireTime) {
    Transmission t;
    t.chunks.push_back({SampleReply(), 0});
    ASSERT_EQ(t.Bytes().size(), 91);
    const std::vector<TimedWrite> at9600 = PaceSchedule(t, 9600, 3);
    ASSERT_EQ(at9600.size(), 91u);
    EXPECT_NEAR(at9600.front().atMs, 3 + 10000.0 / 9600, 1e-9);
    EXPECT_NEAR(at9600.back().atMs, 3 + 91 * 10000.0 / 9600, 1e-9);  // about 95 ms on the wire
    const std::vector<TimedWrite> at19200 = PaceSchedule(t, 19200, 3);
    EXPECT_NEAR(at19200.back().atMs - 3, (at9600.back().atMs - 3) / 2, 1e-9);
    QByteArray joined;
    for (const TimedWrite& w : at9600) joined += w.bytes;
    EXPECT_EQ(joined, SampleReply());

    const std::vector<TimedWrite> unpaced = PaceSchedule(t, 0, 3);
    ASSERT_EQ(unpaced.size(), 1u);
    EXPECT_EQ(unpaced[0].atMs, 3);

    Transmission split;
    split.chunks = {{"\x06! \"0080", 0}, {"rest\x03", 20}};
    const std::vector<TimedWrite> gapped = PaceSchedule(split, 9600, 3);
    EXPECT_NEAR(gapped.back().atMs, 3 + 20 + 13 * 10000.0 / 9600, 1e-9);
}

// The reader gets the same characters in order, never before they are on the wire, in
// the pieces the hardware makes: a FIFO at 14 or 4 character times after the last one
// (also in a pause within the reply), a USB adapter at 62 or 16 ms after the oldest.
TEST(Delivery, PiecesAndTimesAreTheHardwares) {
    Transmission t;
    t.chunks = {{SampleReply().left(50), 0}, {SampleReply().mid(50), 20}};
    const std::vector<TimedWrite> wire = PaceSchedule(t, 9600, 3);
    const double charMs = CharTimeMs(9600);
    std::vector<double> onWire;  // per character
    for (const TimedWrite& w : wire) onWire.push_back(w.atMs);

    const auto check = [&](Delivery mode, int most) {
        const std::vector<TimedWrite> got = Deliver(wire, mode, 9600);
        QByteArray joined;
        std::vector<int> sizes;
        for (const TimedWrite& piece : got) {
            const size_t first = size_t(joined.size());
            joined += piece.bytes;
            sizes.push_back(int(piece.bytes.size()));
            EXPECT_LE(piece.bytes.size(), most);
            EXPECT_GE(piece.atMs, onWire[size_t(joined.size()) - 1]) << "handed over before it was in";
            if (mode == Delivery::Usb) {
                EXPECT_LE(piece.atMs, onWire[first] + kUsbLatencyMs + 1e-9);
            }
        }
        EXPECT_EQ(joined, SampleReply());
        return std::make_pair(sizes, got);
    };
    const auto [fifoSizes, fifo] = check(Delivery::Fifo, kFifoTrigger);
    EXPECT_EQ(fifoSizes, (std::vector<int>{14, 14, 14, 8, 14, 14, 13}));
    EXPECT_NEAR(fifo[3].atMs, onWire[49] + 4 * charMs, 1e-9) << "the FIFO's time-out in the pause";
    EXPECT_NEAR(fifo.back().atMs, onWire.back() + 4 * charMs, 1e-9);
    EXPECT_NEAR(fifo[0].atMs, onWire[13], 1e-9);

    const auto [usbSizes, usb] = check(Delivery::Usb, kUsbPacket);
    EXPECT_GE(usbSizes.size(), 5u);
    EXPECT_NEAR(usb.back().atMs, onWire[size_t(91 - usbSizes.back())] + kUsbLatencyMs, 1e-9);
    Transmission unpaced;
    unpaced.chunks = {{SampleReply(), 0}};
    const std::vector<TimedWrite> whole = Deliver(PaceSchedule(unpaced, 0, 0), Delivery::Usb, 0);
    ASSERT_EQ(whole.size(), 2u);
    EXPECT_EQ(whole[0].bytes.size(), kUsbPacket) << "a full packet goes at once";
    EXPECT_EQ(Deliver(wire, Delivery::Char, 9600).size(), wire.size());
}

}  // namespace
