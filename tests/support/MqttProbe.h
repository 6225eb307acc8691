// A plain MQTT client for tests: subscribes and records what arrives, or publishes what a
// test wants some reader of the broker to send.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <mutex>
#include <vector>

struct mosquitto;

struct Received {
    QByteArray topic;
    QByteArray payload;
    bool retained = false;
    int qos = 0;
};

struct ProbeLogin {
    QString caFile;  // set: TLS
    QString user;
    QString password;
    // Set: a session the broker keeps while the probe is away (QoS 1 messages wait for it).
    QByteArray clientId;
    QString certFile;  // a client certificate and its key (with TLS), for a broker that asks
    QString keyFile;
};

class MqttProbe {
public:
    MqttProbe(int port, const ProbeLogin& login = {});
    ~MqttProbe();

    // Connects (waiting for the broker's answer) and, when topic is not empty, subscribes.
    bool Connect(const QByteArray& topic = {});
    void Disconnect();
    bool Publish(const QByteArray& topic, const QByteArray& payload, int qos = 0, bool retain = false);

    std::vector<Received> Messages() const;
    std::vector<Received> On(const QByteArray& topic) const;
    // The payload of the last message on the topic, empty when none.
    QByteArray Last(const QByteArray& topic) const;
    void Clear();
    // Waits (up to ms) until pred holds for the messages received so far.
    bool WaitFor(const std::function<bool(const std::vector<Received>&)>& pred, int ms) const;

private:
    static void OnMessage(mosquitto*, void*, const struct mosquitto_message*);
    static void OnConnect(mosquitto*, void*, int);
    static void OnSubscribe(mosquitto*, void*, int, int, const int*);

    int port_;
    mosquitto* mosq_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<Received> messages_;
    int connectResult_ = -1;
    bool subscribed_ = false;
};
