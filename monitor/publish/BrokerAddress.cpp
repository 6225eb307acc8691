#include "publish/BrokerAddress.h"

#include <QUrl>

bool ParseBrokerUrl(const QString& text, BrokerAddress* address) {
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid()) return false;
    const QString scheme = url.scheme().toLower();
    if (scheme != u"mqtt" && scheme != u"mqtts") return false;
    if (!url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment()) return false;
    if (!url.path().isEmpty() && url.path() != u"/") return false;
    if (url.host().isEmpty()) return false;
    const bool tls = scheme == u"mqtts";
    const int port = url.port(tls ? MqttTlsDefaultPort : MqttDefaultPort);
    if (port < 1 || port > 65535) return false;
    if (address) *address = BrokerAddress{url.host(), port, tls};
    return true;
}

QString BrokerUrl(const BrokerAddress& address) {
    const QString host = address.host.contains(u':') ? u'[' + address.host + u']' : address.host;
    return (address.tls ? QStringLiteral("mqtts://") : QStringLiteral("mqtt://")) + host + u':' +
           QString::number(address.port);
}
