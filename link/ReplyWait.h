// How many characters the link lets the driver collect before it looks at the line again.
// The driver wakes the link only when that many are in (VMIN), so a reply costs a few
// returns to the program instead of one per character. The count stops where the reply
// being collected could end: a NAK reply or an accepted reply of the length this request
// had before is taken as soon as its ETX is in. Whatever is in when the time limit
// ends is read all the same.
#pragma once

#include "ReplyCollector.h"
#include "protocol/Framing.h"

#include <QHash>
#include <QString>
#include <algorithm>

namespace ReplyWait {

// ACK/NAK, address, sub-address, command type, four item characters, checksum, ETX: no
// reply in the line's form is shorter (a NAK reply, or the reply to a write, is this long).
inline constexpr int kShortestReply = 11;
// The most one wait asks for: one read here ends after 64 characters whatever VMIN says.
inline constexpr int kMostPerWait = 64;

// expectedAck: the length of the accepted reply this request had last time, 0 if unknown.
inline int CharsToWaitFor(const ReplyCollector& collector, int expectedAck) {
    if (!collector.Started()) return kShortestReply;
    const QString& reply = collector.Reply();
    const bool accepted = reply.front() == QChar(Framing::ACK);
    const int target = accepted && expectedAck > reply.size() ? expectedAck : kShortestReply;
    // Past the length it could have, the reply is read as it comes.
    return std::clamp(target - int(reply.size()), 1, kMostPerWait);
}

// The length of the last accepted reply per kind of request: sub-address, command type,
// item and the request's length (the address and written values do not change it).
class ReplyLengths {
public:
    int Expected(const QString& request) const { return lengths_.value(Key(request), 0); }
    void Learn(const QString& request, const QString& checkedReply) {
        if (checkedReply.size() >= kShortestReply && checkedReply.front() == QChar(Framing::ACK))
            lengths_.insert(Key(request), int(checkedReply.size()));
    }

private:
    // The six characters from the sub-address on, eight bits each, and the length above
    // them: a key made without building a text for every exchange.
    static quint64 Key(const QString& request) {
        quint64 key = quint64(request.size()) << 48;
        for (qsizetype i = 2; i < 8 && i < request.size(); ++i)
            key |= quint64(request[i].unicode() & 0xFF) << (8 * (i - 2));
        return key;
    }
    QHash<quint64, int> lengths_;
};

}  // namespace ReplyWait
