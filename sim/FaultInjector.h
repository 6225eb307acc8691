// Seeded, reproducible disturbance of replies: the same seed and request sequence always
// gives the same faults, so a test can compare what it saw with the counters.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>
#include <random>
#include <vector>

namespace rdxsim {

enum class Fault { Silence, BadChecksum, Nak, Garbage, Cut, Split, Count };

const char* FaultName(Fault f);

// Probabilities per reply, 0..1.
struct FaultRates {
    std::array<double, int(Fault::Count)> rate{};
    double& operator[](Fault f) { return rate[int(f)]; }
    double operator[](Fault f) const { return rate[int(f)]; }
};

// One piece of a reply and the extra pause before it (beyond the line's own pacing).
struct Chunk {
    QByteArray bytes;
    int gapBeforeMs = 0;
};

// What goes on the wire for one reply; no chunks = silence.
struct Transmission {
    std::vector<Chunk> chunks;
    bool Silent() const { return chunks.empty(); }
    QByteArray Bytes() const;
};

class FaultInjector {
public:
    explicit FaultInjector(quint64 seed = 1, FaultRates rates = {});

    // reply: a complete ACK/NAK frame. Every call consumes the same amount of randomness,
    // whatever it decides, so one fault does not shift the ones after it.
    Transmission Apply(const QByteArray& reply);

    quint64 Count(Fault f) const { return counts_[int(f)]; }
    const FaultRates& Rates() const { return rates_; }

private:
    double Uniform();

    std::mt19937_64 rng_;
    FaultRates rates_;
    std::array<quint64, int(Fault::Count)> counts_{};
};

}  // namespace rdxsim
