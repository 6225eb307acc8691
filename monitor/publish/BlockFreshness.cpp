#include "publish/BlockFreshness.h"

void BlockFreshness::AfterPoll(int block, const QDateTime& now) {
    if (block < 0 || block >= BlockCount) return;
    if (!inc_.CommErrorFlag && !inc_.BlockOutOfContact[block]) readAt_[size_t(block)] = now;
}

void BlockFreshness::StartupRead(const QDateTime& now) {
    for (int b = 0; b < BlockCount; ++b)
        if (inc_.BlockAbsent[b] == 0 && !inc_.BlockOutOfContact[b]) readAt_[size_t(b)] = now;
}
