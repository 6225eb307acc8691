#include "publish/BlockFreshness.h"

void BlockFreshness::AfterPoll(int block, qint64 nowEpochMs) {
    if (block < 0 || block >= BlockCount) return;
    if (!inc_.CommErrorFlag && !inc_.BlockOutOfContact[block]) readAtMs_[size_t(block)] = nowEpochMs;
}

void BlockFreshness::StartupRead(qint64 nowEpochMs) {
    for (int b = 0; b < BlockCount; ++b)
        if (inc_.BlockAbsent[b] == 0 && !inc_.BlockOutOfContact[b]) readAtMs_[size_t(b)] = nowEpochMs;
}

QDateTime BlockFreshness::ReadAt(int block) const {
    const qint64 ms = readAtMs_[size_t(block)];
    return ms != 0 ? QDateTime::fromMSecsSinceEpoch(ms) : QDateTime();
}
