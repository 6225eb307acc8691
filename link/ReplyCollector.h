// Assembles one reply from the characters read off the line: ACK or NAK starts a reply
// (dropping anything before it, including an earlier partial reply), ETX after a start
// completes it. Characters before the first ACK/NAK are never part of a reply.
#pragma once

#include "protocol/Framing.h"

#include <QString>

class ReplyCollector {
public:
    // Takes one character; true when it completed the reply.
    bool Feed(QChar ch) {
        const char16_t c = ch.unicode();
        if (c == Framing::ACK || c == Framing::NAK) {
            // Keeps the storage: a reply is collected without growing it step by step.
            if (reply_.capacity() < kReplyRoom) reply_.reserve(kReplyRoom);
            reply_.truncate(0);
            reply_.append(ch);
            started_ = true;
            return false;
        }
        if (!started_) return false;
        reply_.append(ch);
        return c == Framing::ETX;
    }

    const QString& Reply() const { return reply_; }
    // An ACK or NAK has come: Reply() is the reply so far.
    bool Started() const { return started_; }

    // The reply when its checksum matches; otherwise the single character ESC
    // (also for a reply too short to carry a checksum).
    static QString Checked(const QString& reply) {
        return Framing::ChecksumMatches(reply) ? reply : QString(QChar(Framing::ESC));
    }

private:
    // Room for the longest reply the line has (a read of 20 items) and some to spare.
    static constexpr qsizetype kReplyRoom = 128;
    QString reply_;
    bool started_ = false;
};
