// The line as a Modbus TCP server. This side lives on the thread that polls: after each
// poll it takes the block into the register image, and it sends the SV writes clients ask
// for through the engine's write requests, whose outcome each channel's result register
// shows. Qt's server (ModbusService) runs on a thread of its own and answers from the
// image at once, so a request never waits for an exchange on the line and a client never
// slows polling.
#pragma once

#include "exchange/RDX_INC.h"
#include "exchange/WriteRequests.h"
#include "modbus/ModbusMap.h"
#include "modbus/ModbusOptions.h"
#include "modbus/SharedImage.h"
#include "publish/BlockFreshness.h"
#include "services/Clock.h"

#include <QHash>
#include <QObject>
#include <QThread>

class ModbusService;

class LineModbusServer : public QObject {
    Q_OBJECT
public:
    LineModbusServer(RDX_INC& inc, WriteRequests& writes, ModbusOptions options, QObject* parent = nullptr);
    // Stops the server's thread; its clients are disconnected.
    ~LineModbusServer() override;

    // Stamps the ages of the blocks' values; replaced by tests.
    const Clock* Time = &SystemClock();

    // Listens; empty when it does, else the operator's message.
    QString Start();

    // The engine asked `block` for `item`: the block's registers are taken again.
    void AfterPoll(int block, const QString& item);
    // The start-up read is done: every block is taken (an absent one reads as such).
    void StartupFinished();
    // The serial line's state; while it is not open every block is stale.
    void SetPortState(ModbusMap::PortState state);
    // The engine's outcome of a write; only the writes this server asked for count.
    void WriteFinished(const WriteResult& result);

private:
    void SendSv(int channel, quint16 value);
    void TakeBlock(int block);

    RDX_INC& inc_;
    WriteRequests& writes_;
    BlockFreshness freshness_;
    SharedImage image_;
    QHash<quint64, int> pending_;  // request id -> channel
    int lastPolled_ = BlockCount;
    QThread thread_;
    ModbusService* service_;
};
