#include "modbus/ModbusService.h"

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

ModbusService::ModbusService(SharedImage& image, const Clock* const& time, ModbusOptions options)
    : image_(image), time_(time), options_(std::move(options)), clients_(new ModbusClients(options_, this)) {
    setServerAddress(options_.unit);
    installConnectionObserver(new Observer(*clients_));
    setConnectionParameter(QModbusDevice::NetworkAddressParameter, options_.address.toString());
    setConnectionParameter(QModbusDevice::NetworkPortParameter, options_.port);
}

QString ModbusService::Listen() {
    if (connectDevice()) return {};
    return QStringLiteral("Modbus: %1 ﾎﾟｰﾄ %2 で待ち受けできません（%3）。ｱﾄﾞﾚｽとﾎﾟｰﾄを確認してください。")
        .arg(options_.address.toString())
        .arg(options_.port)
        .arg(errorString());
}

QModbusResponse ModbusService::processRequest(const QModbusPdu& request) {
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

bool ModbusService::readData(QModbusDataUnit* unit) const {
    QList<quint16> values;
    const int start = unit->startAddress(), count = int(unit->valueCount());
    const qint64 now = time_->EpochMs();
    const bool ok = image_.With([&](const RegisterImage& image) {
        switch (unit->registerType()) {
        case QModbusDataUnit::DiscreteInputs: return image.DiscreteInputs(start, count, &values);
        case QModbusDataUnit::InputRegisters: return image.InputRegisters(start, count, now, &values);
        case QModbusDataUnit::HoldingRegisters: return image.HoldingRegisters(start, count, &values);
        default: return false;
        }
    });
    if (ok) unit->setValues(values);
    return ok;
}

QModbusResponse ModbusService::Write(const QModbusPdu& request, quint8 function) {
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
    const std::optional<Exception> problem = image_.With([&](RegisterImage& image) -> std::optional<Exception> {
        for (int i = 0; i < values.size(); ++i) {
            switch (image.CheckSv(RegisterImage::SvChannelOf(start + i), qint16(values[i]))) {
            case RegisterImage::SvCheck::NoController: return Exception::IllegalDataAddress;
            case RegisterImage::SvCheck::OutOfRange: return Exception::IllegalDataValue;
            case RegisterImage::SvCheck::Ok: break;
            }
        }
        for (int i = 0; i < values.size(); ++i)
            image.SetWriteState(RegisterImage::SvChannelOf(start + i), WriteState::Pending);
        return std::nullopt;
    });
    if (problem) return Refuse(function, *problem);
    for (int i = 0; i < values.size(); ++i) emit SvWriteAsked(RegisterImage::SvChannelOf(start + i), values[i]);
    if (function == QModbusPdu::WriteSingleRegister) return QModbusResponse(QModbusPdu::WriteSingleRegister, data);
    return QModbusResponse(QModbusPdu::WriteMultipleRegisters, quint16(start), quint16(values.size()));
}
