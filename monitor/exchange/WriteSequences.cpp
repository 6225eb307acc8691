// The write requests: queued by the rest of the program, run by the Polling steps.
#include "exchange/BulkWrite.h"
#include "exchange/EngineLog.h"
#include "exchange/EngineView.h"
#include "exchange/PollEngine.h"
#include "exchange/PortLossMessages.h"
#include "protocol/Framing.h"

#include <utility>

namespace {
const QString kWriteCmd = QStringLiteral("R");
const QString kReadCmd = QStringLiteral("\"");
}  // namespace

quint64 PollEngine::Enqueue(PendingWrite request) {
    request.id = nextId_++;
    queue_.push_back(request);
    return request.id;
}

quint64 PollEngine::RequestSettingWrite(int channel, const QString& item) {
    if (channel < 0 || channel >= ChannelCount || !d.TableOfItem(item)) {
        qCWarning(lcEngine) << "write request refused: channel" << channel << "item" << item;
        return 0;
    }
    return Enqueue({0, WriteKind::Setting, channel / ChannelsPerBlock, channel, item, QString()});
}

quint64 PollEngine::RequestBlockWrite(int block) {
    if (block < 0 || block >= BlockCount) {
        qCWarning(lcEngine) << "block write request refused: block" << block;
        return 0;
    }
    return Enqueue({0, WriteKind::BlockWrite, block, -1, QString(), QString()});
}

quint64 PollEngine::RequestAllBlocksWrite() {
    return Enqueue({0, WriteKind::AllBlocksWrite, -1, -1, QString(), QString()});
}

quint64 PollEngine::RequestFactoryInit(int block, const QString& mask) {
    if (block < 0 || block >= BlockCount || mask.size() != 4 * ChannelsPerBlock) {
        qCWarning(lcEngine) << "factory initialisation request refused: block" << block;
        return 0;
    }
    return Enqueue({0, WriteKind::FactoryInit, block, -1, QString::fromLatin1(FactoryInitItem), mask});
}

bool PollEngine::BulkWriteInProgress() const {
    if (bulk_) return true;
    for (const PendingWrite& r : queue_)
        if (r.kind == WriteKind::BlockWrite || r.kind == WriteKind::AllBlocksWrite) return true;
    return false;
}

bool PollEngine::AlarmValuesPending() const {
    return bulk_ && (bulk_->stage() == BulkWrite::Stage::Pause ||
                     bulk_->stage() == BulkWrite::Stage::AlarmsDue);
}

const BulkWrite* PollEngine::bulkWrite() const { return bulk_.get(); }

bool PollEngine::MayWrite(int block, const QString& item) const {
    if (block < 0 || block >= BlockCount || d.BlockAbsent[block] != 0) return false;
    return !RDX_INC::IsCoolingItem(item) || d.BlockHasCooling[block];
}

WriteOutcome PollEngine::WriteFrame(int block, const QString& item, const QString& data) {
    const QString reply = Exchange(block, kWriteCmd, item, data, Kind::Write);
    const char16_t first = reply.isEmpty() ? 0 : reply[0].unicode();
    if (first == Framing::ACK) return WriteOutcome::Accepted;
    if (first == Framing::NAK) return WriteOutcome::Refused;
    return WriteOutcome::Unanswered;
}

std::optional<WriteOutcome> PollEngine::SendBulkFrame(int block, const QString& item) {
    if (!MayWrite(block, item)) return std::nullopt;
    try {
        return WriteFrame(block, item, d.EncodeBlock(item, block));
    } catch (const std::exception& e) {
        // One item lost does not stop the rest; a lost port is found after the step.
        LogSkippedStep(qPrintable(QStringLiteral("bulk write of %1 to block %2").arg(item).arg(block + 1)), e);
        return WriteOutcome::Unanswered;
    }
}

void PollEngine::PollingStep() {
    if (bulk_ && bulk_->stage() == BulkWrite::Stage::AlarmsDue) {
        SendBulkAlarms();
        return;
    }
    if (!queue_.empty()) {
        running_ = queue_.front();
        queue_.pop_front();
        // A copy: the request's steps clear running_ before they report it.
        const PendingWrite request = *running_;
        RunRequest(request);
        return;
    }
    PollStep();
    view.RefreshView();
}

void PollEngine::RunRequest(const PendingWrite& request) {
    if (RefuseDuringBulkWrite(request)) {
        running_.reset();
        return;
    }
    switch (request.kind) {
    case WriteKind::Setting: RunSettingWrite(request); break;
    case WriteKind::FactoryInit: RunFactoryInit(request); break;
    case WriteKind::BlockWrite:
    case WriteKind::AllBlocksWrite: StartBulkWrite(request); break;
    }
}

void PollEngine::RunSettingWrite(const PendingWrite& request) {
    const int block = request.block;
    if (!MayWrite(block, request.item)) {
        running_.reset();
        Finish(ResultOf(request, WriteOutcome::Unanswered, false));
        return;
    }
    const WriteOutcome outcome = WriteFrame(block, request.item, d.EncodeBlock(request.item, block));
    // Read back so the tables hold what the controller now holds.
    const bool readBack = Exchange(block, kReadCmd, request.item, QString(), Kind::Read)
                              .startsWith(QChar(Framing::ACK));
    if (!LinkIsOpen()) return;  // the step's end reports the loss
    running_.reset();
    WriteResult result = ResultOf(request, outcome, true);
    Finish(result);
    if (readBack) readBack_[block].removeAll(request.item);
}

void PollEngine::RunFactoryInit(const PendingWrite& request) {
    if (d.BlockAbsent[request.block] != 0) {
        running_.reset();
        Finish(ResultOf(request, WriteOutcome::Unanswered, false));
        return;
    }
    const WriteOutcome outcome = WriteFrame(request.block, request.item, request.data);
    if (!LinkIsOpen()) return;
    running_.reset();
    Finish(ResultOf(request, outcome, true));
}

void PollEngine::StartBulkWrite(const PendingWrite& request) {
    // Owned from here by the bulk write: a loss is its own business.
    running_.reset();
    const int block = request.kind == WriteKind::AllBlocksWrite ? -1 : request.block;
    bulk_ = std::make_unique<BulkWrite>(request.id, block, d);
    bulk_->SendItems([this](int b, const QString& item) { return SendBulkFrame(b, item); },
                     [this] { return LinkIsOpen(); });
    if (bulk_->stage() == BulkWrite::Stage::Pause) {
        pauseTimer_.start();
        return;
    }
    // The items went out only in part: no alarm values after them. The operator loads
    // again once the line is back.
    Tell(QString::fromUtf8(PortLossMsg::WriteCut));
    EndBulkWriteIfDone();
}

void PollEngine::BulkWritePauseTick() {
    if (!bulk_) {
        pauseTimer_.stop();
        return;
    }
    const bool over = bulk_->Tick();
    view.SetWriteProgress(10 * bulk_->pauseTicks());
    // Without the port, the alarm values wait for the read that follows its return.
    if (over) pauseTimer_.stop();
}

void PollEngine::SendBulkAlarms() {
    bulk_->SendAlarms(d, [this](int b, const QString& item) { return SendBulkFrame(b, item); },
                      [this] { return LinkIsOpen(); });
    // Cut off by a port loss, the alarm values are sent again when the port is back
    // and the dialogs stay as they are until then.
    if (bulk_->stage() != BulkWrite::Stage::Done) Tell(QString::fromUtf8(PortLossMsg::AlarmValuesWait));
    EndBulkWriteIfDone();
}

void PollEngine::EndBulkWriteIfDone() {
    if (!bulk_) return;
    std::optional<WriteResult> result = bulk_->TakeResult();
    if (!result) return;
    pauseTimer_.stop();
    bulk_.reset();
    view.BulkWriteFinished();
    Finish(*result);
}

bool PollEngine::RefuseDuringBulkWrite(const PendingWrite& request) {
    if (!bulk_) return false;
    Tell(QString::fromUtf8(EngineMsg::BulkWriteBusy));
    if (request.kind == WriteKind::Setting) {
        // The requester changed the table already: put back what the controller holds.
        try {
            if (MayWrite(request.block, request.item))
                Exchange(request.block, kReadCmd, request.item, QString(), Kind::Read);
        } catch (const std::exception& e) {
            // A lost port is found by the step's end, which tells the operator.
            qCWarning(lcEngine) << "read-back of refused write" << request.item << "to block"
                                << request.block << "failed:" << e.what();
        }
    }
    Finish(ResultOf(request, WriteOutcome::Busy, false));
    return true;
}

void PollEngine::DropQueuedWrites() {
    if (queue_.empty()) return;
    Tell(QString::fromUtf8(PortLossMsg::WriteNotSent));
    while (!queue_.empty()) {
        const PendingWrite request = queue_.front();
        queue_.pop_front();
        if (request.kind == WriteKind::BlockWrite || request.kind == WriteKind::AllBlocksWrite)
            view.BulkWriteFinished();
        Finish(ResultOf(request, WriteOutcome::CutByPortLoss, false));
    }
}

void PollEngine::RunningCutByLoss() {
    if (running_) {
        Tell(QString::fromUtf8(PortLossMsg::WriteCut));
        Finish(ResultOf(*running_, WriteOutcome::CutByPortLoss, true));
        running_.reset();
    }
}

WriteResult PollEngine::ResultOf(const PendingWrite& request, WriteOutcome outcome, bool sent) const {
    WriteResult r;
    r.id = request.id;
    r.kind = request.kind;
    r.block = request.block;
    r.channel = request.channel;
    r.item = request.kind == WriteKind::Setting ? request.item : QString();
    r.outcome = outcome;
    r.anythingSent = sent;
    if (outcome != WriteOutcome::Accepted && request.block >= 0)
        r.unaccepted.append({request.block, request.item, outcome});
    return r;
}

void PollEngine::Finish(WriteResult result) {
    NoteNotTaken(result);
    emit WriteFinished(result);
}

void PollEngine::NoteNotTaken(const WriteResult& result) {
    // A loss is told by its own words; the read after the port's return reads everything.
    if (result.outcome == WriteOutcome::CutByPortLoss || result.outcome == WriteOutcome::Busy) return;
    if (result.unaccepted.isEmpty() || !result.anythingSent) return;
    for (const UnacceptedItem& u : result.unaccepted)
        if (d.TableOfItem(u.item) && !readBack_[u.block].contains(u.item)) readBack_[u.block] << u.item;
    if (!HystoryWrite) return;
    if (result.kind == WriteKind::Setting) {
        HystoryWrite(QString::fromLatin1(result.outcome == WriteOutcome::Refused ? WriteRefusedCode
                                                                                : WriteUnansweredCode),
                     result.channel, -1);
        return;
    }
    QList<int> blocks;
    for (const UnacceptedItem& u : result.unaccepted)
        if (!blocks.contains(u.block)) blocks << u.block;
    for (int b : blocks) HystoryWrite(QString::fromLatin1(BulkWriteIncompleteCode), b * ChannelsPerBlock, -1);
}

void PollEngine::ReadBack(int block) {
    QStringList still;
    for (const QString& item : std::exchange(readBack_[block], {})) {
        const QString reply = Exchange(block, kReadCmd, item, QString(), Kind::Read);
        if (!reply.startsWith(QChar(Framing::ACK))) still << item;
    }
    readBack_[block] = still;
}
