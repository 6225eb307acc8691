#include "modbus/LineModbusServer.h"

#include "modbus/ModbusLog.h"
#include "modbus/ModbusService.h"

using namespace ModbusMap;

LineModbusServer::LineModbusServer(RDX_INC& inc, WriteRequests& writes, ModbusOptions options, QObject* parent)
    : QObject(parent), inc_(inc), writes_(writes), freshness_(inc),
      service_(new ModbusService(image_, Time, std::move(options))) {
    thread_.setObjectName(QStringLiteral("modbus"));
    service_->moveToThread(&thread_);
    // Deleted on its own thread, once that thread's loop has ended.
    connect(&thread_, &QThread::finished, service_, &QObject::deleteLater);
    connect(service_, &ModbusService::SvWriteAsked, this, &LineModbusServer::SendSv, Qt::QueuedConnection);
    thread_.start();
}

LineModbusServer::~LineModbusServer() {
    QMetaObject::invokeMethod(service_, [s = service_] { s->disconnectDevice(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

QString LineModbusServer::Start() {
    QString problem;
    QMetaObject::invokeMethod(service_, [&] { problem = service_->Listen(); }, Qt::BlockingQueuedConnection);
    return problem;
}

void LineModbusServer::TakeBlock(int block) {
    const qint64 readAt = freshness_.ReadAtMs(block);
    const bool out = inc_.BlockAbsent[block] == 0 && inc_.BlockOutOfContact[block];
    const bool stale = freshness_.Stale(block);
    image_.With([&](RegisterImage& image) {
        image.SetReadAt(block, readAt);
        image.SetOutOfContact(block, out);
        image.TakeBlock(inc_, block, stale);
    });
}

void LineModbusServer::AfterPoll(int block, const QString&) {
    if (block < 0 || block >= BlockCount) return;
    freshness_.AfterPoll(block, Time->EpochMs());
    // Polling goes round the present blocks in order: back at or before the last one, a
    // cycle of the line ended.
    if (block <= lastPolled_) image_.With([](RegisterImage& image) { image.CountCycle(); });
    lastPolled_ = block;
    TakeBlock(block);
}

void LineModbusServer::StartupFinished() {
    freshness_.StartupRead(Time->EpochMs());
    for (int b = 0; b < BlockCount; ++b) TakeBlock(b);
}

void LineModbusServer::SetPortState(PortState state) {
    image_.With([state](RegisterImage& image) { image.SetPortState(state); });
    freshness_.SetLinkDown(state != PortState::Open);
    for (int b = 0; b < BlockCount; ++b) TakeBlock(b);
}

void LineModbusServer::SendSv(int channel, quint16 value) {
    // The engine sends the block's SVs from the table, as a change made on the screen.
    inc_.ChSV[channel] = qint16(value);
    const quint64 id = writes_.RequestSettingWrite(channel, QString::fromLatin1(ItemCodes::SV));
    const WriteState state = id != 0 ? WriteState::Pending : WriteState::None;
    if (id == 0) qCWarning(lcModbus) << "the engine cannot send an SV write of channel" << channel + 1;
    else pending_.insert(id, channel);
    // An earlier write's outcome may have come in since the client's write was taken.
    image_.With([&](RegisterImage& image) { image.SetWriteState(channel, state); });
}

void LineModbusServer::WriteFinished(const WriteResult& result) {
    const auto found = pending_.find(result.id);
    if (found == pending_.end()) return;
    const int channel = found.value();
    pending_.erase(found);
    image_.With([&](RegisterImage& image) { image.SetWriteState(channel, StateOf(result.outcome)); });
}
