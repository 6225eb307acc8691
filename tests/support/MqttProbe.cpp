#include "MqttProbe.h"

#include "ProgramRun.h"

#include <mosquitto.h>

MqttProbe::MqttProbe(int port, const ProbeLogin& login) : port_(port) {
    mosquitto_lib_init();
    mosq_ = login.clientId.isEmpty() ? mosquitto_new(nullptr, true, this)
                                     : mosquitto_new(login.clientId.constData(), false, this);
    mosquitto_connect_callback_set(mosq_, &MqttProbe::OnConnect);
    mosquitto_message_callback_set(mosq_, &MqttProbe::OnMessage);
    mosquitto_subscribe_callback_set(mosq_, &MqttProbe::OnSubscribe);
    if (!login.user.isEmpty())
        mosquitto_username_pw_set(mosq_, login.user.toUtf8().constData(), login.password.toUtf8().constData());
    if (!login.caFile.isEmpty())
        mosquitto_tls_set(mosq_, login.caFile.toLocal8Bit().constData(), nullptr,
                          login.certFile.isEmpty() ? nullptr : login.certFile.toLocal8Bit().constData(),
                          login.keyFile.isEmpty() ? nullptr : login.keyFile.toLocal8Bit().constData(), nullptr);
}

MqttProbe::~MqttProbe() {
    mosquitto_disconnect(mosq_);
    mosquitto_loop_stop(mosq_, false);
    mosquitto_destroy(mosq_);
}

bool MqttProbe::Connect(const QByteArray& topic) {
    if (mosquitto_connect(mosq_, "127.0.0.1", port_, 30) != MOSQ_ERR_SUCCESS) return false;
    if (mosquitto_loop_start(mosq_) != MOSQ_ERR_SUCCESS) return false;
    if (!ProgramRun::WaitFor([this] {
            std::lock_guard lock(mutex_);
            return connectResult_ >= 0;
        }, 5000))
        return false;
    {
        std::lock_guard lock(mutex_);
        if (connectResult_ != 0) return false;
    }
    if (topic.isEmpty()) return true;
    if (mosquitto_subscribe(mosq_, nullptr, topic.constData(), 1) != MOSQ_ERR_SUCCESS) return false;
    return ProgramRun::WaitFor([this] {
        std::lock_guard lock(mutex_);
        return subscribed_;
    }, 5000);
}

void MqttProbe::Disconnect() {
    mosquitto_disconnect(mosq_);
    mosquitto_loop_stop(mosq_, false);
    std::lock_guard lock(mutex_);
    connectResult_ = -1;
    subscribed_ = false;
}

bool MqttProbe::Publish(const QByteArray& topic, const QByteArray& payload, int qos, bool retain) {
    return mosquitto_publish(mosq_, nullptr, topic.constData(), int(payload.size()), payload.constData(), qos,
                             retain) == MOSQ_ERR_SUCCESS;
}

std::vector<Received> MqttProbe::Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<Received> MqttProbe::On(const QByteArray& topic) const {
    std::vector<Received> out;
    for (const Received& r : Messages())
        if (r.topic == topic) out.push_back(r);
    return out;
}

QByteArray MqttProbe::Last(const QByteArray& topic) const {
    const std::vector<Received> on = On(topic);
    return on.empty() ? QByteArray() : on.back().payload;
}

void MqttProbe::Clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
}

bool MqttProbe::WaitFor(const std::function<bool(const std::vector<Received>&)>& pred, int ms) const {
    return ProgramRun::WaitFor([&] { return pred(Messages()); }, ms);
}

void MqttProbe::OnMessage(mosquitto*, void* self, const mosquitto_message* m) {
    auto* p = static_cast<MqttProbe*>(self);
    std::lock_guard lock(p->mutex_);
    p->messages_.push_back(Received{QByteArray(m->topic),
                                    QByteArray(static_cast<const char*>(m->payload), m->payloadlen), m->retain,
                                    m->qos});
}

void MqttProbe::OnConnect(mosquitto*, void* self, int rc) {
    auto* p = static_cast<MqttProbe*>(self);
    std::lock_guard lock(p->mutex_);
    p->connectResult_ = rc;
}

void MqttProbe::OnSubscribe(mosquitto*, void* self, int, int, const int*) {
    auto* p = static_cast<MqttProbe*>(self);
    std::lock_guard lock(p->mutex_);
    p->subscribed_ = true;
}
