#include "exchange/BulkWrite.h"

BulkWrite::BulkWrite(quint64 id, int block, const RDX_INC& d)
    : id_(id), block_(block), savedAlarm1_(d.ChAlarm1), savedAlarm2_(d.ChAlarm2) {}

const std::array<const char*, 26>& BulkWrite::Items() {
    static const std::array<const char*, 26> items = {
        "0013", "0014", "0001", "0002", "0003", "0004", "0007", "0008", "000B",
        "000C", "000D", "000E", "000F", "0010", "0011", "0012", "0015", "0016",
        "0017", "0018", "0019", "001C", "001D", "001E", "001F", "0020"};
    return items;
}

void BulkWrite::Note(int block, const QString& item, std::optional<WriteOutcome> outcome) {
    if (!outcome) return;
    anythingSent_ = true;
    if (*outcome != WriteOutcome::Accepted) unaccepted_.append({block, item, *outcome});
}

void BulkWrite::SendItems(const SendFrame& send, const std::function<bool()>& linkOpen) {
    if (stage_ != Stage::Items) return;
    for (int b = 0; b < BlockCount; ++b) {
        if (!Covers(b)) continue;
        for (const char* code : Items()) {
            const QString item = QString::fromLatin1(code);
            Note(b, item, send(b, item));
        }
    }
    cut_ = !linkOpen();
    stage_ = cut_ ? Stage::Done : Stage::Pause;
}

bool BulkWrite::Tick() {
    if (stage_ != Stage::Pause) return false;
    if (++ticks_ < PauseTicks) return false;
    stage_ = Stage::AlarmsDue;
    return true;
}

void BulkWrite::SendAlarms(RDX_INC& d, const SendFrame& send, const std::function<bool()>& linkOpen) {
    if (stage_ != Stage::AlarmsDue) return;
    // Other blocks keep what they hold now: an alarm value changed there during the pause
    // must not be put back to its old value (a later write of that block would send it).
    for (int c = 0; c < ChannelCount; ++c) {
        if (!Covers(c / ChannelsPerBlock)) continue;
        d.ChAlarm1[c] = savedAlarm1_[c];
        d.ChAlarm2[c] = savedAlarm2_[c];
    }
    const auto before = unaccepted_.size();
    const bool sentBefore = anythingSent_;
    for (int b = 0; b < BlockCount; ++b) {
        if (!Covers(b)) continue;
        for (const char* code : {"0005", "0006"}) {
            const QString item = QString::fromLatin1(code);
            Note(b, item, send(b, item));
        }
    }
    if (linkOpen()) {
        stage_ = Stage::Done;
        return;
    }
    // Sent again in full later: this attempt's outcomes do not count.
    unaccepted_.resize(before);
    anythingSent_ = sentBefore;
}

std::optional<WriteResult> BulkWrite::TakeResult() {
    if (finished_ || stage_ != Stage::Done) return std::nullopt;
    finished_ = true;
    WriteResult r;
    r.id = id_;
    r.kind = block_ < 0 ? WriteKind::AllBlocksWrite : WriteKind::BlockWrite;
    r.block = block_;
    r.anythingSent = anythingSent_;
    r.unaccepted = unaccepted_;
    r.outcome = cut_                  ? WriteOutcome::CutByPortLoss
                : unaccepted_.isEmpty() ? WriteOutcome::Accepted
                                        : unaccepted_.first().outcome;
    return r;
}
