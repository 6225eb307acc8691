// When each block's values were last read and whether they are live: the facts every
// outlet of the tables (the MQTT documents, the Modbus registers) states the same way.
#pragma once

#include "exchange/RDX_INC.h"

#include <QDateTime>
#include <array>

class BlockFreshness {
public:
    explicit BlockFreshness(const RDX_INC& inc) : inc_(inc) {}

    // The engine asked `block`: its values are new when the request was answered (a
    // silence sets the flag) and the block is in contact.
    void AfterPoll(int block, qint64 nowEpochMs);
    // The start-up read ended: every present block in contact was read now.
    void StartupRead(qint64 nowEpochMs);
    void SetLinkDown(bool down) { linkDown_ = down; }
    bool LinkDown() const { return linkDown_; }

    // The values are the last ones read, not live: the block is out of contact or the
    // port is not open.
    bool Stale(int block) const { return inc_.BlockOutOfContact[block] || linkDown_; }
    // Invalid: not read by this run.
    QDateTime ReadAt(int block) const;
    // Milliseconds since 1970; 0: not read by this run.
    qint64 ReadAtMs(int block) const { return readAtMs_[size_t(block)]; }

private:
    const RDX_INC& inc_;
    std::array<qint64, BlockCount> readAtMs_{};
    bool linkDown_ = false;
};
