// Qt's Modbus TCP server for the line, on a thread of its own: it answers every request
// from the shared register image at once, whatever the serial line is doing, and hands an
// SV write (with --modbus-writable, from an allowed client) to the poll loop's thread as
// a signal. It never reads the engine's tables.
#pragma once

#include "modbus/ModbusClients.h"
#include "modbus/ModbusOptions.h"
#include "modbus/SharedImage.h"
#include "services/Clock.h"

#include <QModbusTcpServer>
#include <optional>

class ModbusService : public QModbusTcpServer {
    Q_OBJECT
public:
    // `time` is the owner's clock pointer, read for the ages of the blocks' values.
    ModbusService(SharedImage& image, const Clock* const& time, ModbusOptions options);

    // Listens; empty when it does, else the operator's message.
    QString Listen();

signals:
    // A client wrote `value` as `channel`'s SV; the result register already reads pending.
    void SvWriteAsked(int channel, quint16 value);

protected:
    QModbusResponse processRequest(const QModbusPdu& request) override;
    bool readData(QModbusDataUnit* unit) const override;

private:
    QModbusResponse Write(const QModbusPdu& request, quint8 function);

    SharedImage& image_;
    const Clock* const& time_;
    ModbusOptions options_;
    ModbusClients* clients_;
};
