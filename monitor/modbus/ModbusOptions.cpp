#include "modbus/ModbusOptions.h"

#include <QStringList>

namespace {

bool ParsePort(const QString& text, quint16* port) {
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value < 1 || value > 65535) return false;
    *port = quint16(value);
    return true;
}

QHostAddress Plain(const QHostAddress& address) {
    bool ipv4 = false;
    const quint32 v4 = address.toIPv4Address(&ipv4);
    return ipv4 ? QHostAddress(v4) : address;
}

}  // namespace

QString ParseModbusListen(const QString& text, ModbusOptions* o) {
    const QString bad = QStringLiteral("--modbus には [ｱﾄﾞﾚｽ:]ﾎﾟｰﾄ（502、0.0.0.0:502 など）を指定してください。");
    QString host, port = text.trimmed();
    if (port.startsWith(u'[')) {
        const qsizetype close = port.indexOf(QStringLiteral("]:"));
        if (close < 0) return bad;
        host = port.mid(1, close - 1);
        port = port.mid(close + 2);
    } else if (port.count(u':') == 1) {
        host = port.section(u':', 0, 0);
        port = port.section(u':', 1);
    }
    ModbusOptions r = *o;
    if (!ParsePort(port, &r.port)) return bad;
    if (!host.isEmpty() && !r.address.setAddress(host)) return bad;
    if (host.isEmpty()) r.address = QHostAddress::Any;
    r.enabled = true;
    *o = r;
    return {};
}

QString ParseModbusAllow(const QString& text, ModbusOptions* o) {
    QList<std::pair<QHostAddress, int>> allow;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        const QString entry = part.trimmed();
        // A single address is the network of that address alone.
        const QString whole = entry.contains(u':') ? QStringLiteral("/128") : QStringLiteral("/32");
        const std::pair<QHostAddress, int> network = QHostAddress::parseSubnet(entry.contains(u'/') ? entry : entry + whole);
        if (network.first.isNull())
            return QStringLiteral("--modbus-allow のｱﾄﾞﾚｽが正しくありません: %1 （192.168.1.10、10.0.0.0/8 などをｶﾝﾏで区切ってください）").arg(entry);
        allow << network;
    }
    if (allow.isEmpty()) return QStringLiteral("--modbus-allow にｱﾄﾞﾚｽがありません。書き込みを許すｱﾄﾞﾚｽを指定してください。");
    o->allow = allow;
    return {};
}

bool ModbusWriteAllowed(const ModbusOptions& o, const QHostAddress& peer) {
    if (o.allow.isEmpty()) return true;
    const QHostAddress plain = Plain(peer);
    for (const auto& network : o.allow)
        if (plain.isInSubnet(network)) return true;
    return false;
}
