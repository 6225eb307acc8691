// The publishing choices in the settings store, and their check before a connection.
#pragma once

#include "publish/BrokerAddress.h"

#include <QByteArray>
#include <QString>

// Settings keys (all in the program's one section).
inline constexpr char KeyMqttPublish[] = "MqttPublish";      // "1": the monitor publishes
inline constexpr char KeyMqttBroker[] = "MqttBroker";        // mqtt://host:port or mqtts://...
inline constexpr char KeyMqttLine[] = "MqttLine";            // the line's name in the topics
inline constexpr char KeyMqttCaFile[] = "MqttCaFile";        // CA certificates (PEM) for mqtts
// A client certificate and its key (PEM) for a broker that requires mutual TLS.
inline constexpr char KeyMqttCertFile[] = "MqttCertFile";
inline constexpr char KeyMqttKeyFile[] = "MqttKeyFile";
inline constexpr char KeyMqttUser[] = "MqttUser";
inline constexpr char KeyMqttPasswordFile[] = "MqttPasswordFile";

inline constexpr char DefaultBrokerUrl[] = "mqtt://localhost:1883";

struct PublishSettings {
    bool enabled = false;
    QString broker;
    QString line;
    QString caFile;
    QString certFile;
    QString keyFile;
    QString user;
    QString passwordFile;

    // Missing keys give: off, DefaultBrokerUrl, this machine's host name as the line.
    static PublishSettings Load();
    void Save() const;
};

// The line name when none is stored: the machine's host name, so that lines on
// different PCs never share topics unless told to.
QString DefaultLineName();

// Everything a connection needs, checked.
struct PublishConfig {
    BrokerAddress address;
    QString line;
    QString caFile;
    QString certFile;  // both or neither
    QString keyFile;
    QString user;
    QByteArray password;
};

// Checks the address, the line name, the CA file, the client certificate and its key, and
// the password file; returns the
// operator message of the first problem, or empty with config filled.
QString ResolvePublishConfig(const PublishSettings& settings, PublishConfig* config);
