// What a technician commissioning a line needs to see why a block does not answer: per
// block counters kept from the start, and (while someone looks) the last frames.
#pragma once

#include "services/Clock.h"
#include "exchange/RDX_INC.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <deque>

// How one exchange ended.
enum class ExchangeVerdict {
    Ack,        // a valid reply with ACK
    Nak,        // the controller refused the request
    Corrupted,  // a reply with a bad checksum or form (ESC from the link, or a short read)
    Silent,     // no reply after the link's tries
};

struct BlockCounters {
    quint64 requests = 0;
    quint64 replies = 0;  // every reply, valid or not
    quint64 timeouts = 0;
    quint64 naks = 0;
    quint64 corrupted = 0;
    // From the end of the request to the end of the reply, answered exchanges only.
    double lastMs = 0;
    double sumMs = 0;
    double maxMs = 0;
    QString lastError;  // empty while none
    QDateTime lastErrorAt;

    double MeanMs() const { return replies ? sumMs / double(replies) : 0.0; }
};

// One exchange as the traffic view lists it: the request's row and the reply's row.
struct TrafficEntry {
    QDateTime sentAt;
    QDateTime answeredAt;
    int block = 0;
    QString command;  // the command character: "\"" read, "R" write
    QString item;
    QString data;
    QString reply;  // as received, control characters included; empty for silence
    ExchangeVerdict verdict = ExchangeVerdict::Silent;
};

class LineDiagnostics {
public:
    static constexpr int TrafficCapacity = 1000;

    LineDiagnostics();

    // One exchange with `block` (0..15); elapsedMs from the start of the request to the
    // end of the reply, requestChars the frame's length at `baud`.
    void Note(int block, const QString& command, const QString& item, const QString& data,
              const QString& reply, ExchangeVerdict verdict, double elapsedMs, int requestChars,
              int baud);

    const BlockCounters& Block(int block) const { return blocks_.at(block); }
    QDateTime Since() const { return since_; }
    void Reset();

    // Frames are kept only while recording (a window shows them): the polling then pays
    // nothing for a view nobody opened.
    void SetRecording(bool on) { recording_ = on; }
    bool Recording() const { return recording_; }
    const std::deque<TrafficEntry>& Traffic() const { return traffic_; }
    void ClearTraffic() { traffic_.clear(); }
    // Rises with every frame kept: a view appends what came since it last looked.
    quint64 TrafficAppended() const { return appended_; }
    // Rises with every exchange noted (a view redraws only when it moved).
    quint64 Serial() const { return serial_; }

    // Stamps errors and traffic; replaced by tests.
    const Clock* Time = &SystemClock();

    static QString VerdictText(ExchangeVerdict verdict);

private:
    std::array<BlockCounters, BlockCount> blocks_{};
    QDateTime since_;
    std::deque<TrafficEntry> traffic_;
    bool recording_ = false;
    quint64 serial_ = 0;
    quint64 appended_ = 0;
};
