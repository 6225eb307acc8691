#include "publish/MqttConnection.h"

#include "publish/PublishLog.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cerrno>
#include <mosquitto.h>
#include <mutex>
#include <thread>

namespace {

void InitLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

constexpr int kLoopTimeoutMs = 100;
const QByteArray kOnline = QByteArrayLiteral("online");
const QByteArray kOffline = QByteArrayLiteral("offline");

}  // namespace

MqttConnection::MqttConnection(Options options)
    : options_(std::move(options)), queue_(options_.documentSlots, options_.eventCapacity) {
    InitLibraryOnce();
}

MqttConnection::~MqttConnection() { Stop(0); }

void MqttConnection::Start() {
    if (thread_.joinable()) return;
    thread_ = std::thread([this] { Run(); });
}

void MqttConnection::Stop(int waitMs) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ && !thread_.joinable()) return;
        stopping_ = true;
        stopWaitMs_ = std::max(0, waitMs);
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void MqttConnection::PutDocument(int slot, OutMessage message) {
    std::lock_guard lock(mutex_);
    queue_.PutDocument(slot, std::move(message));
}

void MqttConnection::PutEvent(OutMessage message) {
    std::lock_guard lock(mutex_);
    queue_.PutEvent(std::move(message));
}

quint64 MqttConnection::FinishEvents(int waitMs) {
    QElapsedTimer clock;
    clock.start();
    while (connected_ && clock.elapsed() < waitMs) {
        {
            std::lock_guard lock(mutex_);
            if (queue_.WaitingEvents() == 0 && inFlightEvents_ == 0) break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::lock_guard lock(mutex_);
    return quint64(queue_.DiscardEvents()) + quint64(inFlightEvents_.load());
}

MqttConnection::Counters MqttConnection::counters() const {
    Counters c;
    {
        std::lock_guard lock(mutex_);
        c.droppedEvents = queue_.DroppedEvents();
        c.replacedDocuments = queue_.ReplacedDocuments();
        c.waiting = queue_.Waiting();
    }
    c.droppedEvents += lostEvents_.load();
    c.published = published_.load();
    c.inFlight = inFlightCount_.load();
    c.connected = connected_.load();
    return c;
}

bool MqttConnection::Configure() {
    mosq_ = mosquitto_new(options_.clientId.constData(), true, this);
    if (!mosq_) {
        // The library does not always set errno here; its text would mislead.
        qCWarning(lcMqtt) << "the MQTT client could not be made for client id" << options_.clientId;
        Report(Event::ClientRefused);
        return false;
    }
    mosquitto_log_callback_set(mosq_, &MqttConnection::OnLog);
    // Nothing but this thread calls the library: publish only queues, the loop writes.
    mosquitto_threaded_set(mosq_, true);
    mosquitto_int_option(mosq_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(mosq_, &MqttConnection::OnConnect);
    mosquitto_disconnect_callback_set(mosq_, &MqttConnection::OnDisconnect);
    mosquitto_publish_callback_set(mosq_, &MqttConnection::OnPublish);
    const auto refused = [this](const char* what, int rc) {
        qCWarning(lcMqtt) << what << "refused, mosquitto code" << rc << mosquitto_strerror(rc);
        Report(Event::ClientRefused);
        return false;
    };
    if (const int rc = mosquitto_will_set(mosq_, options_.statusTopic.constData(), int(kOffline.size()),
                                          kOffline.constData(), 1, true);
        rc != MOSQ_ERR_SUCCESS)
        return refused("the last will", rc);
    const PublishConfig& c = options_.config;
    if (!c.user.isEmpty()) {
        const QByteArray user = c.user.toUtf8();
        if (const int rc = mosquitto_username_pw_set(mosq_, user.constData(),
                                                     c.password.isEmpty() ? nullptr : c.password.constData());
            rc != MOSQ_ERR_SUCCESS)
            return refused("the user name and password", rc);
    }
    if (c.address.tls) {
        const QByteArray ca = c.caFile.toLocal8Bit();
        const QByteArray cert = c.certFile.toLocal8Bit(), key = c.keyFile.toLocal8Bit();
        auto orNull = [](const QByteArray& text) { return text.isEmpty() ? nullptr : text.constData(); };
        // Without a CA file of its own the broker's certificate is checked against the
        // system's authorities. The client's certificate goes only to a broker that asks.
        const int rc = mosquitto_tls_set(mosq_, orNull(ca), ca.isEmpty() ? "/etc/ssl/certs" : nullptr, orNull(cert),
                                         orNull(key), nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            qCWarning(lcMqtt) << "TLS set-up refused, mosquitto code" << rc << mosquitto_strerror(rc);
            Report(Event::CertificateFailed);
            return false;
        }
    }
    return true;
}

void MqttConnection::Run() {
    const bool usable = Configure();
    const QByteArray host = options_.config.address.host.toUtf8();
    retryMs_ = options_.retryMs;
    bool open = false;
    while (usable) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) break;
        }
        if (!open) {
            connackThisAttempt_ = 0;
            certificateThisAttempt_ = false;
            const int rc = mosquitto_connect_async(mosq_, host.constData(), options_.config.address.port,
                                                   options_.keepAliveSeconds);
            if (rc != MOSQ_ERR_SUCCESS) {
                ConnectionFailed(rc, errno);
                if (!Wait(retryWaitMs_)) break;
                continue;
            }
            open = true;
        }
        const int rc = mosquitto_loop(mosq_, kLoopTimeoutMs, 1);
        if (rc != MOSQ_ERR_SUCCESS) {
            const int error = errno;
            open = false;
            ConnectionFailed(rc, error);
            if (!Wait(retryWaitMs_)) break;
            continue;
        }
        Pump();
    }
    if (!mosq_) return;
    if (open) {
        SayOffline(stopWaitMs_);
        mosquitto_disconnect(mosq_);
        mosquitto_loop(mosq_, 10, 1);
    }
    mosquitto_destroy(mosq_);
    mosq_ = nullptr;
    connected_ = false;
}

void MqttConnection::Pump() {
    while (connected_ && int(inFlight_.size()) < options_.window) {
        std::optional<OutMessage> message;
        {
            std::lock_guard lock(mutex_);
            message = queue_.Take();
        }
        if (!message) return;
        if (!Send(*message)) {
            // The connection went away just now; an event taken for it is lost.
            if (!message->retain) ++lostEvents_;
            return;
        }
    }
}

bool MqttConnection::Send(const OutMessage& m) {
    int mid = 0;
    const int rc = mosquitto_publish(mosq_, &mid, m.topic.constData(), int(m.payload.size()), m.payload.constData(),
                                     m.qos, m.retain);
    if (rc != MOSQ_ERR_SUCCESS) {
        // Without a connection that is the usual way of things; anything else is a message
        // the library will not take, which someone must hear of.
        if (rc == MOSQ_ERR_NO_CONN || rc == MOSQ_ERR_CONN_LOST)
            qCInfo(lcMqtt) << "publish to" << m.topic << "refused, mosquitto code" << rc << mosquitto_strerror(rc);
        else
            qCWarning(lcMqtt) << "publish to" << m.topic << "refused, mosquitto code" << rc << mosquitto_strerror(rc);
        return false;
    }
    inFlight_[mid] = InFlight{m.qos, !m.retain};
    CountInFlight();
    return true;
}

void MqttConnection::CountInFlight() {
    inFlightCount_ = int(inFlight_.size());
    inFlightEvents_ = int(std::count_if(inFlight_.begin(), inFlight_.end(), [](const auto& m) { return m.second.event; }));
}

MqttConnection::Event MqttConnection::FailureEvent(int rc, int error) const {
    // 4: bad user name or password, 5: not authorised.
    if (connackThisAttempt_ == 4 || connackThisAttempt_ == 5 || rc == MOSQ_ERR_AUTH) return Event::LoginRefused;
    // 1: protocol version, 2: client id, 3: server unavailable.
    if (connackThisAttempt_ != 0) return Event::ClientRefused;
    if (certificateThisAttempt_) return Event::CertificateFailed;
    if (rc == MOSQ_ERR_INVAL || rc == MOSQ_ERR_NOMEM || rc == MOSQ_ERR_MALFORMED_UTF8 ||
        rc == MOSQ_ERR_NOT_SUPPORTED)
        return Event::ClientRefused;
    if (wasConnected_) return Event::Lost;
    // Taken, then closed or reset by the other end before any answer; a refused or
    // unanswered TCP connection is an errno of its own (ECONNREFUSED, ETIMEDOUT...).
    const bool closed = rc == MOSQ_ERR_CONN_LOST || rc == MOSQ_ERR_PROTOCOL ||
                        (rc == MOSQ_ERR_ERRNO && (error == ECONNRESET || error == EPIPE));
    if (options_.config.address.tls && (rc == MOSQ_ERR_TLS || closed)) return Event::NoTls;
    if (closed) return Event::ClosedUnanswered;
    return Event::Unreachable;
}

void MqttConnection::ConnectionFailed(int rc, int error) {
    // At every retry, so below warning: the operator is told of a failure once (Report).
    qCInfo(lcMqtt) << "connection to the broker failed, mosquitto code" << rc << mosquitto_strerror(rc) << "errno"
                   << error << "connack" << connackThisAttempt_;
    connected_ = false;
    const Event event = FailureEvent(rc, error);
    wasConnected_ = false;
    switch (event) {
    case Event::LoginRefused:
    case Event::CertificateFailed:
    case Event::NoTls:
    case Event::ClosedUnanswered:
    case Event::ClientRefused: retryWaitMs_ = options_.refusedRetryMs; break;
    case Event::Lost: retryMs_ = options_.retryMs; retryWaitMs_ = retryMs_; break;
    default:
        retryWaitMs_ = retryMs_;
        retryMs_ = std::min(retryMs_ * 2, options_.maxRetryMs);
        break;
    }
    Report(event);
}

void MqttConnection::Report(Event event) {
    if (event != Event::Connected && reported_ && lastReported_ == event) return;
    reported_ = true;
    lastReported_ = event;
    if (OnEvent) OnEvent(event);
}

bool MqttConnection::Wait(int ms) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_; });
    return !stopping_;
}

void MqttConnection::SayOffline(int waitMs) {
    if (!connected_) return;
    QElapsedTimer clock;
    clock.start();
    // What still waits goes first, as far as the time allows; then the status.
    while (clock.elapsed() < waitMs / 2) {
        Pump();
        {
            std::lock_guard lock(mutex_);
            if (queue_.Waiting() == 0 && inFlight_.empty()) break;
        }
        if (mosquitto_loop(mosq_, 20, 1) != MOSQ_ERR_SUCCESS) return;
    }
    if (!Send(OutMessage{options_.statusTopic, kOffline, 1, true})) return;
    while (clock.elapsed() < waitMs && !inFlight_.empty())
        if (mosquitto_loop(mosq_, 20, 1) != MOSQ_ERR_SUCCESS) return;
}

void MqttConnection::OnConnect(mosquitto*, void* self, int rc) {
    auto* c = static_cast<MqttConnection*>(self);
    if (rc != 0) {
        c->connackThisAttempt_ = rc;
        return;
    }
    c->connected_ = true;
    c->wasConnected_ = true;
    c->retryMs_ = c->options_.retryMs;
    c->Send(OutMessage{c->options_.statusTopic, kOnline, 1, true});
    c->Report(Event::Connected);
}

void MqttConnection::OnDisconnect(mosquitto*, void* self, int) {
    auto* c = static_cast<MqttConnection*>(self);
    c->connected_ = false;
    // Unwritten QoS 0 packets die with the socket and are never reported; QoS 1 messages
    // stay with the library and are sent again after the next connect.
    for (auto it = c->inFlight_.begin(); it != c->inFlight_.end();)
        it = it->second.qos == 0 ? c->inFlight_.erase(it) : std::next(it);
    c->CountInFlight();
}

void MqttConnection::OnPublish(mosquitto*, void* self, int mid) {
    auto* c = static_cast<MqttConnection*>(self);
    if (c->inFlight_.erase(mid) > 0) ++c->published_;
    c->CountInFlight();
}

void MqttConnection::OnLog(mosquitto*, void* self, int level, const char* text) {
    // The library says why a handshake failed only here (OpenSSL's reason text).
    if ((level & MOSQ_LOG_ERR) && std::strstr(text, "certificate verify failed"))
        static_cast<MqttConnection*>(self)->certificateThisAttempt_ = true;
    // The library repeats its errors at every retry; what the operator must know is told
    // once through Report, so its own lines stay below warning.
    if (level & MOSQ_LOG_DEBUG) qCDebug(lcMqtt) << "mosquitto:" << text;
    else qCInfo(lcMqtt) << "mosquitto:" << text;
}
