// The exchange state machine: opens and probes the link, reads everything at start-up,
// polls block after block, re-reads changed blocks and runs the write sequences.
#pragma once

#include "exchange/RDX_INC.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <functional>

class ISTDComm;
class EngineView;

namespace EngineMsg {
// A write asked for while a bulk write or its pending alarm values run: sent in between,
// it would be overwritten by what follows (a factory reset undone by the loaded alarm values).
inline constexpr char BulkWriteBusy[] =
    "設定値変更中のため、送信できません。設定値変更が終わってから、もう一度操作してください。";
}  // namespace EngineMsg

class PollEngine : public QObject {
    Q_OBJECT
public:
    // Steps that sent nothing slow Timer4 to this interval so an idle line costs no CPU.
    static constexpr int IdleIntervalMs = 20;

    PollEngine(RDX_INC& data, ISTDComm& link, EngineView& view, QObject* parent = nullptr);

    // Records a protocol error or alarm transition (code, channel, state).
    std::function<void(const QString& code, int ch, int state)> HystoryWrite;
    // Called after each monitoring request with the block and item it asked for, once the
    // reply is stored: the cue for the publisher that a block's values are fresh.
    std::function<void(int block, const QString& item)> AfterPoll;

    // A program without a port dialog (the gateway) may fix the port ("COM1"/"COM2") and
    // the speed for its run; they are used instead of the stored ones and not stored.
    QString PortOverride;
    QString SpeedOverride;

    // Asked between the exchanges of the start-up read, during which no events are
    // processed: true ends the read and the loop (the gateway's SIGTERM). Must be cheap.
    std::function<bool()> EndPending;

    // Tells the operator what a write could not do; must not wait (runs inside a step).
    std::function<void(const QString& text)> ShowMessage;

    // From a bulk write's request until its alarm values went out, also while they wait
    // for a lost port to come back. A second bulk write meanwhile would overwrite the
    // first one's saved alarm values.
    bool BulkWriteInProgress() const;
    // The 15-s pause of a bulk write, or its alarm values waiting for a lost port.
    bool AlarmValuesPending() const;

    // The program's outer loop; returns when EndRequested is set.
    void communicate();
    // Validates the stored port settings and opens the link; "ok" or empty.
    QString ApplyPortSettings();
    QString OpenLink(const QString& port, const QString& speed);

    // One step of the state machine by PollState.
    void Timer4_Timer();
    void Timer3_Timer(int index);

    void PollStep();
    void statecomchk(int block);
    // The start-up read of every block; false when an end was asked for before it finished.
    bool Setdata_read();
    bool EndAsked();
    void ReadPara_setflg();
    void ReadDataSet(const QString& reply, int block);

    // Write sequences of states 2..7.
    void WriteSingleItem();
    void WriteBlockParameters();
    void WriteAllBlocks();
    void WriteBlockAlarms();
    void WriteAllAlarms();
    void WriteFactoryInit();

    // Data of the factory-initialisation command, prepared by its dialog.
    QString FactoryInitData;
    // Timer3's tick counter.
    int DelayTicks = 0;

    // The port's device went away (an adapter unplugged, the line's pseudo-terminal
    // closed): "通信異常" stays up and the same port is opened again at most once a
    // second, without the port dialog; once the probe answers, the start-up read runs.
    bool PortLost = false;
    static constexpr int ReopenIntervalMs = 1000;
    // Monotonic milliseconds; replaced by tests.
    std::function<qint64()> NowMs;

    QTimer& timer4() { return Timer4; }
    QTimer& timer3(int index) { return Timer3[index]; }

    // The 26 items a bulk write sends, in order.
    static const std::array<const char*, 26>& BulkItems();

private:
    enum class Kind { Read, Write };
    // Sends one request to block's address and classifies the reply.
    QString Exchange(int block, const QString& cmdType, const QString& item,
                     const QString& data, Kind kind);
    // Returns the reply's effective first character: ACK, NAK, ESC, or 0 for silence.
    char16_t Classify(const QString& reply, Kind kind);
    // Counts silences in a row per block and flips BlockOutOfContact.
    void NoteContact(int block, char16_t outcome);
    void SetOutOfContact(int block, bool out);
    // A read reply carries a field for each of the block's 20 channels.
    bool HoldsEveryChannel(const QString& reply) const;
    void WriteBlockItems(int block);
    void WriteAlarmValues(int block);
    // All 320 channels, or only those of `block` (0..15).
    void RestoreSavedAlarms(int block = -1);
    void SaveAlarms();
    // True when a write of this item may be sent to this block.
    bool MayWrite(int block, const QString& item) const;
    void UpdateLoopMessages();
    // Writes requested while the port is gone cannot go out: say so, drop them.
    void RefuseWritesWhileLost();
    // A single-item write or factory reset asked for while a bulk write runs is refused;
    // true when it was (the item is read back so the tables show the controller's value).
    bool RefuseWriteDuringBulkWrite();
    // The port went away during write step `state`.
    void WriteCutByLoss(int state);
    // Panel 4, progress and the dialogs' buttons, once the alarm values really went out.
    void FinishBulkWrite();
    void Tell(const QString& text);
    bool LinkIsOpen();
    void EnterPortLost();
    void TryReopen();
    void NoteIdleStep(bool idle);

    RDX_INC& d;
    ISTDComm& link;
    EngineView& view;
    QTimer Timer4;
    std::array<QTimer, 2> Timer3;
    int exchangesInStep = 0;
    std::array<int, BlockCount> silentInRow_{};
    qint64 lastReopenMs_ = 0;
    // The block of the last all-parameter write: its alarm values follow 15 s later,
    // even if a single-item write changed SelectedBlock in between.
    int bulkBlock_ = 0;
    // 5 or 6: the alarm-value write that waits for the port; it follows the start-up read
    // that runs when the port is back (the saved alarm values are not touched by reads).
    int pendingAlarmWrite_ = 0;
    // A start-up read has ended: BlockAbsent tells which blocks are there.
    bool lineRead_ = false;
};
