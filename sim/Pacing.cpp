#include "Pacing.h"

namespace rdxsim {

std::vector<TimedWrite> PaceSchedule(const Transmission& t, int baud, double turnaroundMs) {
    std::vector<TimedWrite> plan;
    const double charMs = CharTimeMs(baud);
    double clock = turnaroundMs;
    for (const Chunk& chunk : t.chunks) {
        clock += chunk.gapBeforeMs;
        if (charMs <= 0) {
            plan.push_back({clock, chunk.bytes});
            continue;
        }
        for (char c : chunk.bytes) {
            clock += charMs;
            plan.push_back({clock, QByteArray(1, c)});
        }
    }
    return plan;
}

}  // namespace rdxsim
