#include "exchange/LineDiagnostics.h"

#include <algorithm>

LineDiagnostics::LineDiagnostics() {
    since_ = Time->Now();
}

void LineDiagnostics::Reset() {
    blocks_ = {};
    since_ = Time->Now();
}

QString LineDiagnostics::VerdictText(ExchangeVerdict verdict) {
    switch (verdict) {
    case ExchangeVerdict::Ack: return QStringLiteral("ACK");
    case ExchangeVerdict::Nak: return QStringLiteral("NAK");
    case ExchangeVerdict::Corrupted: return QString::fromUtf8("ﾁｪｯｸｻﾑ/形式異常");
    case ExchangeVerdict::Silent: return QString::fromUtf8("応答なし");
    }
    return {};
}

void LineDiagnostics::Note(int block, const QString& command, const QString& item, const QString& data,
                           const QString& reply, ExchangeVerdict verdict, double elapsedMs,
                           int requestChars, int baud) {
    if (block < 0 || block >= BlockCount) return;
    ++serial_;
    BlockCounters& c = blocks_[block];
    ++c.requests;
    if (verdict == ExchangeVerdict::Silent) {
        ++c.timeouts;
    } else {
        ++c.replies;
        // The request's own characters on the wire are not the block's answer time.
        const double requestMs = baud > 0 ? requestChars * 10000.0 / baud : 0.0;
        c.lastMs = std::max(0.0, elapsedMs - requestMs);
        c.sumMs += c.lastMs;
        c.maxMs = std::max(c.maxMs, c.lastMs);
    }
    if (verdict == ExchangeVerdict::Nak) ++c.naks;
    if (verdict == ExchangeVerdict::Corrupted) ++c.corrupted;
    // The local time is read only when it is kept: it costs more than the rest of a note.
    if (verdict == ExchangeVerdict::Ack && !recording_) return;
    const QDateTime now = Time->Now();
    if (verdict != ExchangeVerdict::Ack) {
        c.lastError = VerdictText(verdict) + QStringLiteral(" (%1%2)").arg(command, item);
        c.lastErrorAt = now;
    }
    if (!recording_) return;
    const QDateTime sentAt = now.addMSecs(-qint64(elapsedMs));
    traffic_.push_back({sentAt, now, block, command, item, data, reply, verdict});
    ++appended_;
    while (traffic_.size() > TrafficCapacity) traffic_.pop_front();
}
