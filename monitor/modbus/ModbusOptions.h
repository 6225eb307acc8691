// How the gateway serves Modbus TCP: where it listens, the unit identifier it answers,
// whether and from where the SV may be written, and how many clients it serves.
#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>
#include <utility>

struct ModbusOptions {
    bool enabled = false;
    QHostAddress address{QHostAddress::Any};
    quint16 port = 502;
    int unit = 1;
    bool writable = false;
    // Addresses or networks whose clients may write; empty: every client.
    QList<std::pair<QHostAddress, int>> allow;
    int maxClients = 8;
    // A client that sends nothing for this long is disconnected.
    int idleMs = 60000;
};

// "[ADDRESS:]PORT" ("502", "0.0.0.0:502", "[::1]:1502"); empty when it was taken, else
// the message to show.
QString ParseModbusListen(const QString& text, ModbusOptions* options);
// Comma-separated addresses or networks ("192.168.1.10,10.0.0.0/8").
QString ParseModbusAllow(const QString& text, ModbusOptions* options);
// Whether a client at `peer` may write (IPv4 clients of a dual-stack listener arrive as
// ::ffff:a.b.c.d and count as their IPv4 address).
bool ModbusWriteAllowed(const ModbusOptions& options, const QHostAddress& peer);
