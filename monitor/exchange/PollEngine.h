// The exchange state machine: opens and probes the link, reads everything at start-up,
// polls block after block, re-reads changed blocks and runs the write requests.
#pragma once

#include "services/Clock.h"
#include "exchange/LineDiagnostics.h"
#include "exchange/RDX_INC.h"
#include "exchange/WriteRequests.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class ISTDComm;
class EngineView;
class BulkWrite;
class OperatorMessages;

namespace EngineMsg {
// A write asked for while a bulk write or its pending alarm values run: sent in between,
// it would be overwritten by what follows (a factory reset undone by the loaded alarm values).
inline constexpr char BulkWriteBusy[] =
    "設定値変更中のため、送信できません。設定値変更が終わってから、もう一度操作してください。";
}  // namespace EngineMsg

class PollEngine : public QObject, public WriteRequests {
    Q_OBJECT
public:
    // The engine's own work between ticks. A write request never replaces one of these:
    // it waits in the queue for Polling.
    enum class State {
        StartupRead,  // every block read from the start (also after the port came back)
        Polling,      // block after block; queued writes and due alarm values go first
        BlockReread,  // a block reported changed settings: all its items are read again
        PortDialog,   // the probe failed; the port dialog decides
    };

    // Steps that sent nothing slow Timer4 to this interval so an idle line costs no CPU.
    static constexpr int IdleIntervalMs = 20;

    PollEngine(RDX_INC& data, ISTDComm& link, EngineView& view, QObject* parent = nullptr);
    ~PollEngine() override;

    // WriteRequests: queued, run by a Polling step, finished through WriteFinished.
    quint64 RequestSettingWrite(int channel, const QString& item) override;
    quint64 RequestBlockWrite(int block) override;
    quint64 RequestAllBlocksWrite() override;
    quint64 RequestFactoryInit(int block, const QString& mask) override;

    State state() const { return state_; }
    // Starts the start-up read at the next tick (tests and benchmarks drive it so).
    void RestartStartupRead() { state_ = State::StartupRead; }
    // Polls from the next tick, the tables taken as read (tests that fill them by hand).
    void StartPolling() { state_ = State::Polling; }

    // Records a protocol error or alarm transition (code, channel, state).
    std::function<void(const QString& code, int ch, int state)> HystoryWrite;

    // A program without a port dialog (the gateway) may fix the port ("COM1"/"COM2") and
    // the speed for its run; they are used instead of the stored ones and not stored.
    QString PortOverride;
    QString SpeedOverride;

    // Asked between the exchanges of the start-up read, during which no events are
    // processed: true ends the read and the loop (the gateway's SIGTERM). Must be cheap.
    std::function<bool()> EndPending;

    // Where the operator is told what a write could not do (runs inside a step, so the
    // messages must not wait); none: not told.
    OperatorMessages* Messages = nullptr;

    // From a bulk write's request until its alarm values went out, also while they wait
    // for a lost port to come back. A second bulk write meanwhile would overwrite the
    // first one's saved alarm values.
    bool BulkWriteInProgress() const;
    // The 15-s pause of a bulk write, or its alarm values waiting for a lost port.
    bool AlarmValuesPending() const;
    // The running bulk write, if any (its stage and pause ticks).
    const BulkWrite* bulkWrite() const;

    // The program's outer loop; returns when EndRequested is set.
    void communicate();
    // Validates the stored port settings and opens the link; "ok" or empty.
    QString ApplyPortSettings();
    QString OpenLink(const QString& port, const QString& speed);

    // One step of the state machine.
    void Timer4_Timer();
    // One second of a bulk write's pause (its timer's tick).
    void BulkWritePauseTick();

    void PollStep();
    void statecomchk(int block);
    // The start-up read of every block; false when an end was asked for before it finished.
    bool Setdata_read();
    bool EndAsked();
    void ReadPara_setflg();
    void ReadDataSet(const QString& reply, int block);

    // The port's device went away (an adapter unplugged, the line's pseudo-terminal
    // closed): "通信異常" stays up and the same port is opened again at most once a
    // second, without the port dialog; once the probe answers, the start-up read runs.
    bool PortLost = false;
    static constexpr int ReopenIntervalMs = 1000;
    // Paces the reopening of a lost port; replaced by tests.
    const Clock* Time = &SystemClock();

    // Counters per block and the recent frames, for the line diagnostics.
    LineDiagnostics& diagnostics() { return diagnostics_; }
    const LineDiagnostics& diagnostics() const { return diagnostics_; }

    QTimer& timer4() { return Timer4; }
    QTimer& pauseTimer() { return pauseTimer_; }

    // A request waiting for its Polling step.
    struct PendingWrite {
        quint64 id = 0;
        WriteKind kind = WriteKind::Setting;
        int block = -1;
        int channel = -1;
        QString item;
        QString data;
    };
    const std::deque<PendingWrite>& queuedWrites() const { return queue_; }

signals:
    // Once per accepted request id, when it ended, was refused or could not be sent.
    void WriteFinished(const WriteResult& result);
    // After each monitoring request to a present block, once its reply (or its silence) is
    // stored: the cue for the outlets that the block's values may be fresh.
    void Polled(int block, const QString& item);

private:
    enum class Kind { Read, Write };

    quint64 Enqueue(PendingWrite request);
    // Sends one request to block's address, counts it for the diagnostics; the reply as is.
    QString Send(int block, const QString& cmdType, const QString& item, const QString& data);
    // Sends one request to block's address and classifies the reply.
    QString Exchange(int block, const QString& cmdType, const QString& item,
                     const QString& data, Kind kind);
    // One frame of a bulk write; nothing when the item may not go to that block.
    std::optional<WriteOutcome> SendBulkFrame(int block, const QString& item);
    // One write frame; how the controller took it.
    WriteOutcome WriteFrame(int block, const QString& item, const QString& data);
    // Returns the reply's effective first character: ACK, NAK, ESC, or 0 for silence.
    char16_t Classify(const QString& reply, Kind kind);
    // Counts silences in a row per block and flips BlockOutOfContact.
    void NoteContact(int block, char16_t outcome);
    void SetOutOfContact(int block, bool out);
    // A read reply carries a field for each of the block's 20 channels.
    bool HoldsEveryChannel(const QString& reply) const;
    // True when a write of this item may be sent to this block.
    bool MayWrite(int block, const QString& item) const;
    void UpdateLoopMessages();

    // A Polling step: due alarm values, else the queue's head, else the next poll.
    void PollingStep();
    void RunRequest(const PendingWrite& request);
    void RunSettingWrite(const PendingWrite& request);
    void RunFactoryInit(const PendingWrite& request);
    void StartBulkWrite(const PendingWrite& request);
    void SendBulkAlarms();
    // Ends the bulk write when it is done: dialogs, progress and its outcome.
    void EndBulkWriteIfDone();
    // A single-item write or factory reset asked for while a bulk write runs is refused
    // (the item is read back so the tables show the controller's value); true when it was.
    bool RefuseDuringBulkWrite(const PendingWrite& request);
    // Ends every queued request unsent: the port is lost or waits for its dialog.
    void DropQueuedWrites();
    void Finish(WriteResult result);
    // Items not taken are read back once their block answers, so the tables (and every
    // view) show what the controller holds; the operator's history records them.
    void NoteNotTaken(const WriteResult& result);
    void ReadBack(int block);
    WriteResult ResultOf(const PendingWrite& request, WriteOutcome outcome, bool sent) const;
    // The running request's step ended with the port gone.
    void RunningCutByLoss();

    void Tell(const QString& text);
    bool LinkIsOpen();
    void EnterPortLost();
    void TryReopen();
    void NoteIdleStep(bool idle);

    RDX_INC& d;
    ISTDComm& link;
    EngineView& view;
    State state_ = State::StartupRead;
    QTimer Timer4;
    QTimer pauseTimer_;
    int exchangesInStep = 0;
    std::array<int, BlockCount> silentInRow_{};
    qint64 lastReopenMs_ = 0;
    std::deque<PendingWrite> queue_;
    quint64 nextId_ = 1;
    // The request of the step that runs now, for a loss found at its end.
    std::optional<PendingWrite> running_;
    std::unique_ptr<BulkWrite> bulk_;
    LineDiagnostics diagnostics_;
    // Per block, the items to read back at its next answer.
    std::array<QStringList, BlockCount> readBack_;
    // A start-up read has ended: BlockAbsent tells which blocks are there.
    bool lineRead_ = false;
};
