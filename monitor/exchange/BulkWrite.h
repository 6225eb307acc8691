// One bulk write of loaded settings, for one block or every block: the 26 items, a pause
// of 15 one-second ticks that lets the controllers settle, then the alarm values saved when
// the write began (the items change the alarm types, which clears the alarm values).
//
// Outcome: a port loss while the items go out wins (CutByPortLoss: the rest is not sent,
// no alarm values follow); otherwise the first frame not accepted decides (Refused or
// Unanswered); otherwise Accepted. A port loss during the pause or the alarm values does
// not end the write: the alarm values go out once the line has been read again.
// Result() is taken once; Finished() tells whether it was.
#pragma once

#include "exchange/RDX_INC.h"
#include "exchange/WriteRequests.h"

#include <functional>
#include <optional>

class BulkWrite {
public:
    enum class Stage { Items, Pause, AlarmsDue, Done };
    // Ticks of the pause; the progress bar shows 10 per tick.
    static constexpr int PauseTicks = 15;

    // Sends one write frame and tells how the controller took it, or nothing when the
    // item may not go to that block (absent, or a cooling item without cooling).
    using SendFrame = std::function<std::optional<WriteOutcome>(int block, const QString& item)>;

    // Saves the alarm values of the tables as they are now. block -1: every block.
    BulkWrite(quint64 id, int block, const RDX_INC& d);

    quint64 id() const { return id_; }
    int block() const { return block_; }
    Stage stage() const { return stage_; }
    int pauseTicks() const { return ticks_; }

    // The 26 items in the order they go out.
    static const std::array<const char*, 26>& Items();

    // Items -> Pause; -> Done, cut, when the port was found gone after them (the rest of
    // the write is not sent, no alarm values follow).
    void SendItems(const SendFrame& send, const std::function<bool()>& linkOpen);
    // One tick of the pause; true when this tick ended it (Pause -> AlarmsDue).
    bool Tick();
    // Puts the saved alarm values back into the tables of the write's blocks and sends
    // them; AlarmsDue -> Done, or still AlarmsDue when the port was found gone after them
    // (they go out again once the line has been read again).
    void SendAlarms(RDX_INC& d, const SendFrame& send, const std::function<bool()>& linkOpen);

    bool Finished() const { return finished_; }
    // The outcome, once: later calls return nothing.
    std::optional<WriteResult> TakeResult();

private:
    void Note(int block, const QString& item, std::optional<WriteOutcome> outcome);
    bool Covers(int block) const { return block_ < 0 || block_ == block; }

    quint64 id_;
    int block_;
    Stage stage_ = Stage::Items;
    int ticks_ = 0;
    bool cut_ = false;
    bool anythingSent_ = false;
    bool finished_ = false;
    ChannelTable savedAlarm1_{}, savedAlarm2_{};
    QList<UnacceptedItem> unaccepted_;
};
