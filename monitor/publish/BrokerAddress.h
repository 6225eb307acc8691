// Where the broker is: "mqtt://host:port" (plain TCP, port 1883 when left out) or
// "mqtts://host:port" (TLS, port 8883 when left out). IPv6 hosts go in brackets.
#pragma once

#include <QString>

struct BrokerAddress {
    QString host;
    int port = 1883;
    bool tls = false;
};

inline constexpr int MqttDefaultPort = 1883;
inline constexpr int MqttTlsDefaultPort = 8883;

// False for anything else: other schemes, a user or password in the address (the
// password comes from a file), a path, a query, an empty host or a port outside 1..65535.
bool ParseBrokerUrl(const QString& url, BrokerAddress* address);
QString BrokerUrl(const BrokerAddress& address);
