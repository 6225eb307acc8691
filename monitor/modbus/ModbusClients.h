// The Modbus server's clients: at most the configured number, each disconnected when it
// sends nothing for the idle time, when its frames are not Modbus TCP, or when it stops
// reading its replies (they would pile up in memory; nothing ever waits for it).
// Each frame is looked at before Qt's server reads it: its function code as sent, and
// whether its client may write, are what the server asks for while it answers.
#pragma once

#include "modbus/FrameStream.h"
#include "modbus/ModbusOptions.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <optional>

class QTcpSocket;

class ModbusClients : public QObject {
    Q_OBJECT
public:
    // Replies a client has not read beyond this end its connection.
    static constexpr qint64 MaxUnreadBytes = 64 * 1024;

    ModbusClients(const ModbusOptions& options, QObject* parent = nullptr);

    // A client connected: false (refused) when as many are served already.
    bool Accept(QTcpSocket* socket);
    int Count() const { return int(clients_.size()); }

    // The function code, as its client sent it, of the next frame the server answers.
    std::optional<quint8> TakeFunction();
    // Whether the client whose frame is answered now may write.
    bool CurrentMayWrite() const;

private:
    struct Client {
        FrameStream frames;
        QList<FrameHead> heads;  // complete frames for this unit, not yet answered
        QTimer* idle = nullptr;
        bool mayWrite = false;
    };
    void OnReadyRead(QTcpSocket* socket);
    void Drop(QTcpSocket* socket, const char* why);

    ModbusOptions options_;
    QHash<QTcpSocket*, Client> clients_;
    QPointer<QTcpSocket> current_;
};
