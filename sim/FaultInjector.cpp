#include "FaultInjector.h"

#include "protocol/Framing.h"
#include "Responder.h"

#include <algorithm>

namespace rdxsim {

namespace {

// A small generator for the details of one fault, seeded from the main stream.
struct SplitMix {
    quint64 state;
    quint64 Next() {
        quint64 z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return n <= 0 ? 0 : int(Next() % quint64(n)); }
};

char OtherHexDigit(char c) {
    static const char digits[] = "0123456789ABCDEF";
    const char* at = std::find(digits, digits + 16, c);
    const int i = at == digits + 16 ? 0 : int(at - digits);
    return digits[(i + 1) % 16];
}

}  // namespace

const char* FaultName(Fault f) {
    switch (f) {
    case Fault::Silence: return "silence";
    case Fault::BadChecksum: return "bad-checksum";
    case Fault::Nak: return "nak";
    case Fault::Garbage: return "garbage";
    case Fault::Cut: return "cut";
    case Fault::Split: return "split";
    case Fault::Count: break;
    }
    return "";
}

QByteArray Transmission::Bytes() const {
    QByteArray all;
    for (const Chunk& c : chunks) all += c.bytes;
    return all;
}

FaultInjector::FaultInjector(quint64 seed, FaultRates rates) : rng_(seed), rates_(rates) {}

double FaultInjector::Uniform() { return double(rng_() >> 11) * (1.0 / 9007199254740992.0); }

Transmission FaultInjector::Apply(const QByteArray& reply) {
    std::array<double, int(Fault::Count)> u{};
    for (double& x : u) x = Uniform();
    SplitMix detail{rng_()};
    const auto hit = [&](Fault f) { return u[int(f)] < rates_[f]; };

    Transmission t;
    if (reply.size() < 4) return t;
    if (hit(Fault::Silence)) {
        ++counts_[int(Fault::Silence)];
        return t;
    }
    QByteArray bytes = reply;
    if (hit(Fault::Nak) && bytes[0] == char(Framing::ACK)) {
        ++counts_[int(Fault::Nak)];
        bytes = BuildReply(Framing::NAK, QString::fromLatin1(reply.mid(1, 7)), {});
    }
    if (hit(Fault::BadChecksum)) {
        ++counts_[int(Fault::BadChecksum)];
        const qsizetype at = bytes.size() - 3 + detail.Below(2);
        bytes[at] = OtherHexDigit(bytes[at]);
    }
    if (hit(Fault::Cut)) {
        ++counts_[int(Fault::Cut)];
        bytes.truncate(1 + detail.Below(int(bytes.size()) - 1));  // never reaches the ETX
    }
    if (hit(Fault::Garbage)) {
        ++counts_[int(Fault::Garbage)];
        QByteArray noise;
        const int n = 1 + detail.Below(8);
        for (int i = 0; i < n; ++i) {
            // Printable noise and the odd stray ETX, never ACK or NAK.
            const int pick = detail.Below(96);
            noise += pick == 95 ? char(Framing::ETX) : char(0x20 + pick);
        }
        bytes.prepend(noise);
    }
    if (hit(Fault::Split) && bytes.size() >= 2) {
        ++counts_[int(Fault::Split)];
        const int pieces = std::min<int>(2 + detail.Below(3), int(bytes.size()));
        std::vector<int> cuts;
        for (int i = 1; i < pieces; ++i) cuts.push_back(1 + detail.Below(int(bytes.size()) - 1));
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
        int from = 0;
        for (int at : cuts) {
            t.chunks.push_back({bytes.mid(from, at - from), from == 0 ? 0 : 5 + detail.Below(26)});
            from = at;
        }
        t.chunks.push_back({bytes.mid(from), from == 0 ? 0 : 5 + detail.Below(26)});
        return t;
    }
    t.chunks.push_back({bytes, 0});
    return t;
}

}  // namespace rdxsim
