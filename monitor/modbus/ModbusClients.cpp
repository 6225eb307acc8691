#include "modbus/ModbusClients.h"

#include "modbus/ModbusLog.h"

#include <QTcpSocket>

ModbusClients::ModbusClients(const ModbusOptions& options, QObject* parent) : QObject(parent), options_(options) {}

bool ModbusClients::Accept(QTcpSocket* socket) {
    if (clients_.size() >= options_.maxClients) {
        qCWarning(lcModbus) << "client refused, already serving" << clients_.size() << "clients:" << socket->peerAddress();
        return false;
    }
    Client& client = clients_[socket];
    client.mayWrite = ModbusWriteAllowed(options_, socket->peerAddress());
    client.idle = new QTimer(socket);
    client.idle->setSingleShot(true);
    client.idle->setInterval(options_.idleMs);
    connect(client.idle, &QTimer::timeout, this, [this, socket] { Drop(socket, "idle"); });
    client.idle->start();
    // Connected before Qt's server connects its own reader, so this runs first.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    connect(socket, &QObject::destroyed, this, [this, socket] { clients_.remove(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { clients_.remove(socket); });
    return true;
}

void ModbusClients::OnReadyRead(QTcpSocket* socket) {
    const auto found = clients_.find(socket);
    if (found == clients_.end()) return;
    Client& client = found.value();
    client.idle->start();
    current_ = socket;
    if (socket->bytesToWrite() > MaxUnreadBytes) return Drop(socket, "not reading its replies");
    QList<FrameHead> heads;
    if (!client.frames.Append(socket->peek(socket->bytesAvailable()), &heads)) return Drop(socket, "malformed frame");
    // Qt's server answers only frames for its unit identifier and skips the others.
    for (const FrameHead& h : heads)
        if (h.unit == options_.unit) client.heads.append(h);
}

void ModbusClients::Drop(QTcpSocket* socket, const char* why) {
    qCInfo(lcModbus) << "client disconnected:" << why << socket->peerAddress();
    clients_.remove(socket);
    // What arrived is taken away from Qt's server, which reads after this, so nothing
    // of it is answered; the connection ends once the signal has been handled.
    socket->readAll();
    QMetaObject::invokeMethod(socket, &QAbstractSocket::abort, Qt::QueuedConnection);
}

std::optional<quint8> ModbusClients::TakeFunction() {
    const auto found = clients_.find(current_.data());
    if (!current_ || found == clients_.end() || found->heads.isEmpty()) return std::nullopt;
    return found->heads.takeFirst().function;
}

bool ModbusClients::CurrentMayWrite() const {
    const auto found = clients_.constFind(current_.data());
    return current_ && found != clients_.constEnd() && found->mayWrite;
}
