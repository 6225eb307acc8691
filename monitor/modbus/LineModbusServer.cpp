#include "modbus/LineModbusServer.h"

#include "format/SettingRange.h"
#include "modbus/ModbusLog.h"
#include "publish/StoredBlocks.h"

#include <QModbusTcpConnectionObserver>

using namespace ModbusMap;

namespace {

using Exception = QModbusExceptionResponse::ExceptionCode;

class Observer final : public QModbusTcpConnectionObserver {
public:
    explicit Observer(ModbusClients& clients) : clients_(clients) {}
    bool acceptNewConnection(QTcpSocket* socket) override { return clients_.Accept(socket); }

private:
    ModbusClients& clients_;
};

QModbusExceptionResponse Refuse(quint8 function, Exception code) {
    return QModbusExceptionResponse(QModbusPdu::FunctionCode(function), code);
}

quint16 WordAt(const QByteArray& data, int at) { return quint16(quint8(data[at]) << 8 | quint8(data[at + 1])); }

}  // namespace

LineModbusServer::LineModbusServer(RDX_INC& inc, WriteRequests& writes, ModbusOptions options, QObject* parent)
    : QModbusTcpServer(parent), inc_(inc), writes_(writes), options_(std::move(options)),
      clients_(new ModbusClients(options_, this)), freshness_(inc) {
    setServerAddress(options_.unit);
    installConnectionObserver(new Observer(*clients_));
    setConnectionParameter(QModbusDevice::NetworkAddressParameter, options_.address.toString());
    setConnectionParameter(QModbusDevice::NetworkPortParameter, options_.port);
}

QString LineModbusServer::Start() {
    if (connectDevice()) return {};
    return QStringLiteral("Modbus: %1 ﾎﾟｰﾄ %2 で待ち受けできません（%3）。ｱﾄﾞﾚｽとﾎﾟｰﾄを確認してください。")
        .arg(options_.address.toString())
        .arg(options_.port)
        .arg(errorString());
}

void LineModbusServer::TakeBlock(int block) {
    image_.SetReadAt(block, freshness_.ReadAtMs(block));
    image_.SetOutOfContact(block, inc_.BlockAbsent[block] == 0 && inc_.BlockOutOfContact[block]);
    image_.TakeBlock(inc_, block, freshness_.Stale(block));
}

void LineModbusServer::AfterPoll(int block, const QString&) {
    if (block < 0 || block >= BlockCount) return;
    freshness_.AfterPoll(block, Time->EpochMs());
    // Polling goes round the present blocks in order: back at or before the last one, a
    // cycle of the line ended.
    if (block <= lastPolled_) image_.CountCycle();
    lastPolled_ = block;
    TakeBlock(block);
}

void LineModbusServer::StartupFinished() {
    freshness_.StartupRead(Time->EpochMs());
    for (int b = 0; b < BlockCount; ++b) TakeBlock(b);
}

void LineModbusServer::SetPortState(PortState state) {
    image_.SetPortState(state);
    freshness_.SetLinkDown(state != PortState::Open);
    for (int b = 0; b < BlockCount; ++b) TakeBlock(b);
}

void LineModbusServer::WriteFinished(const WriteResult& result) {
    const auto found = pending_.find(result.id);
    if (found == pending_.end()) return;
    image_.SetWriteState(found.value(), StateOf(result.outcome));
    pending_.erase(found);
}

QModbusResponse LineModbusServer::processRequest(const QModbusPdu& request) {
    // Qt turns a function code it does not know into 0 before this is called.
    const quint8 function = clients_->TakeFunction().value_or(quint8(request.functionCode()));
    switch (function) {
    case QModbusPdu::ReadDiscreteInputs:
    case QModbusPdu::ReadHoldingRegisters:
    case QModbusPdu::ReadInputRegisters:
        return QModbusTcpServer::processRequest(request);
    case QModbusPdu::WriteSingleRegister:
    case QModbusPdu::WriteMultipleRegisters:
        return Write(request, function);
    default:
        return Refuse(function, Exception::IllegalFunction);
    }
}

bool LineModbusServer::readData(QModbusDataUnit* unit) const {
    QList<quint16> values;
    const int start = unit->startAddress(), count = int(unit->valueCount());
    bool ok = false;
    switch (unit->registerType()) {
    case QModbusDataUnit::DiscreteInputs: ok = image_.DiscreteInputs(start, count, &values); break;
    case QModbusDataUnit::InputRegisters: ok = image_.InputRegisters(start, count, Time->EpochMs(), &values); break;
    case QModbusDataUnit::HoldingRegisters: ok = image_.HoldingRegisters(start, count, &values); break;
    default: break;
    }
    if (ok) unit->setValues(values);
    return ok;
}

std::optional<Exception> LineModbusServer::WriteProblem(int channel, quint16 value) const {
    const int block = channel / ChannelsPerBlock;
    if (channel < 0 || inc_.BlockAbsent[block] != 0 || inc_.ChPresent[channel] == 0 || IsCoolingOutput(inc_, channel))
        return Exception::IllegalDataAddress;
    SettingRange range;
    range.EditChannel = channel;
    InputRangeLimits(inc_, range);
    const qint16 v = qint16(value);
    if (v < range.RangeLow || v > range.RangeHigh) return Exception::IllegalDataValue;
    return std::nullopt;
}

QModbusResponse LineModbusServer::Write(const QModbusPdu& request, quint8 function) {
    // Read-only unless the gateway was started writable, and then only for allowed clients.
    if (!options_.writable || !clients_->CurrentMayWrite()) return Refuse(function, Exception::IllegalFunction);
    const QByteArray data = request.data();
    QList<quint16> values;
    int start = 0;
    if (function == QModbusPdu::WriteSingleRegister) {
        if (data.size() != 4) return Refuse(function, Exception::IllegalDataValue);
        start = WordAt(data, 0);
        values << WordAt(data, 2);
    } else {
        const int count = data.size() >= 5 ? WordAt(data, 2) : 0;
        if (count < 1 || count > 123 || quint8(data[4]) != 2 * count || data.size() != 5 + 2 * count)
            return Refuse(function, Exception::IllegalDataValue);
        start = WordAt(data, 0);
        for (int i = 0; i < count; ++i) values << WordAt(data, 5 + 2 * i);
    }
    // All or nothing: every register is checked before any write is asked for.
    for (int i = 0; i < values.size(); ++i) {
        const int channel = RegisterImage::SvChannelOf(start + i);
        if (channel < 0) return Refuse(function, Exception::IllegalDataAddress);
        if (const auto problem = WriteProblem(channel, values[i])) return Refuse(function, *problem);
    }
    for (int i = 0; i < values.size(); ++i) {
        const int channel = RegisterImage::SvChannelOf(start + i);
        // The engine sends the block's SVs from the table, as a change made on the screen.
        inc_.ChSV[channel] = qint16(values[i]);
        const quint64 id = writes_.RequestSettingWrite(channel, QString::fromLatin1(ItemCodes::SV));
        if (id == 0) {
            qCWarning(lcModbus) << "the engine cannot send an SV write of channel" << channel + 1;
            continue;
        }
        pending_.insert(id, channel);
        image_.SetWriteState(channel, WriteState::Pending);
    }
    if (function == QModbusPdu::WriteSingleRegister) return QModbusResponse(QModbusPdu::WriteSingleRegister, data);
    return QModbusResponse(QModbusPdu::WriteMultipleRegisters, quint16(start), quint16(values.size()));
}
