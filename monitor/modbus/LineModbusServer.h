// The line as a Modbus TCP server (Qt's QModbusTcpServer): answers from a register image
// taken from the tables after each poll, and with --modbus-writable hands SV writes to
// the engine's write requests, whose outcome each channel's result register shows.
// Lives on the thread that polls; a request costs a copy out of the image, never a wait.
#pragma once

#include "exchange/RDX_INC.h"
#include "exchange/WriteRequests.h"
#include "modbus/ModbusClients.h"
#include "modbus/ModbusOptions.h"
#include "modbus/RegisterImage.h"
#include "publish/BlockFreshness.h"
#include "services/Clock.h"

#include <QHash>
#include <QModbusTcpServer>

class LineModbusServer : public QModbusTcpServer {
    Q_OBJECT
public:
    LineModbusServer(RDX_INC& inc, WriteRequests& writes, ModbusOptions options, QObject* parent = nullptr);

    // Stamps the ages of the blocks' values; replaced by tests.
    const Clock* Time = &SystemClock();

    // Listens; empty when it does, else the operator's message.
    QString Start();
    int Clients() const { return clients_->Count(); }

    // The engine asked `block` for `item`: the block's registers are taken again.
    void AfterPoll(int block, const QString& item);
    // The start-up read is done: every block is taken (an absent one reads as such).
    void StartupFinished();
    // The serial line's state; while it is not open every block is stale.
    void SetPortState(ModbusMap::PortState state);
    // The engine's outcome of a write; only the writes this server asked for count.
    void WriteFinished(const WriteResult& result);

    const RegisterImage& Image() const { return image_; }

protected:
    QModbusResponse processRequest(const QModbusPdu& request) override;
    bool readData(QModbusDataUnit* unit) const override;

private:
    QModbusResponse Write(const QModbusPdu& request, quint8 function);
    // Why a write of `value` to `channel`'s SV cannot be sent, or none.
    std::optional<QModbusExceptionResponse::ExceptionCode> WriteProblem(int channel, quint16 value) const;
    void TakeBlock(int block);

    RDX_INC& inc_;
    WriteRequests& writes_;
    ModbusOptions options_;
    ModbusClients* clients_;
    BlockFreshness freshness_;
    RegisterImage image_;
    QHash<quint64, int> pending_;  // request id -> channel
    int lastPolled_ = BlockCount;
};
