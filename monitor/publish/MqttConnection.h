// One connection to a broker, run on a thread of its own. Connecting, reconnecting, TLS
// and every socket operation happen on that thread, and libmosquitto is called from
// nowhere else; whoever puts messages only touches the bounded queue under a mutex, so a
// slow, absent or refusing broker can never hold up the caller.
//
// At most Window messages are handed to the library and not yet written (QoS 0) or
// acknowledged (QoS 1); everything else waits in the PublishQueue. Together that bounds
// the memory publishing can take while the broker is away.
#pragma once

#include "publish/PublishQueue.h"
#include "publish/PublishSettings.h"

#include <QByteArray>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

struct mosquitto;

class MqttConnection {
public:
    // Unreachable: nothing took the TCP connection. NoTls: a TLS handshake failed for
    // another reason than the broker's certificate (a port without TLS, most often).
    // ClosedUnanswered: a plain connection was taken and closed before the broker's answer
    // (a TLS port, most often). ClientRefused: the client library refused the settings or
    // the broker refused the client other than for its login (its id, its protocol).
    enum class Event { Connected, Lost, Unreachable, LoginRefused, CertificateFailed, NoTls, ClosedUnanswered,
                       ClientRefused };

    struct Options {
        PublishConfig config;
        QByteArray clientId;
        QByteArray statusTopic;  // "online" on connect, "offline" as last will and at the end
        int documentSlots = 17;
        int eventCapacity = 256;
        int window = 32;
        int keepAliveSeconds = 10;
        // Waits between attempts: RetryMs doubling up to MaxRetryMs after a lost or failed
        // connection; RefusedRetryMs after a refused login or a certificate failure.
        int retryMs = 1000;
        int maxRetryMs = 5000;
        int refusedRetryMs = 15000;
    };

    struct Counters {
        quint64 droppedEvents = 0;
        quint64 replacedDocuments = 0;
        quint64 published = 0;
        int waiting = 0;
        int inFlight = 0;
        bool connected = false;
    };

    explicit MqttConnection(Options options);
    ~MqttConnection();
    MqttConnection(const MqttConnection&) = delete;
    MqttConnection& operator=(const MqttConnection&) = delete;

    // Called on the connection's thread when the state changes; a failure of the same kind
    // as the last one reported is not reported again until a connection succeeds. Set it
    // before Start; it must only hand the event on.
    std::function<void(Event)> OnEvent;

    void Start();
    // Says "offline" when connected (waiting at most waitMs for the broker to take it),
    // disconnects and ends the thread.
    void Stop(int waitMs = 2000);

    // Never wait on the network.
    void PutDocument(int slot, OutMessage message);
    void PutEvent(OutMessage message);
    // At an orderly end, before Stop: waits at most waitMs, while connected, for the events
    // that wait to be sent and acknowledged, then discards those still waiting. Returns how
    // many events were not delivered (discarded, or handed over and not acknowledged).
    quint64 FinishEvents(int waitMs);
    Counters counters() const;

private:
    void Run();
    bool Configure();
    void Pump();
    bool Send(const OutMessage& message);
    void CountInFlight();
    // rc: what the library returned; error: errno right after.
    void ConnectionFailed(int rc, int error);
    Event FailureEvent(int rc, int error) const;
    void Report(Event event);
    // Sleeps until ms have passed or Stop is called; false when stopping.
    bool Wait(int ms);
    void SayOffline(int waitMs);

    static void OnConnect(mosquitto*, void* self, int rc);
    static void OnDisconnect(mosquitto*, void* self, int rc);
    static void OnPublish(mosquitto*, void* self, int mid);
    static void OnLog(mosquitto*, void* self, int level, const char* text);

    Options options_;
    mosquitto* mosq_ = nullptr;
    std::thread thread_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    PublishQueue queue_;
    bool stopping_ = false;

    struct InFlight {
        int qos = 0;
        bool event = false;
    };
    // Owned by the connection's thread.
    std::map<int, InFlight> inFlight_;  // by mid
    int connackThisAttempt_ = 0;          // the broker's refusal code, 0: none
    bool certificateThisAttempt_ = false;  // the library logged a failed certificate check
    bool wasConnected_ = false;
    int retryMs_ = 0;
    int retryWaitMs_ = 0;
    int stopWaitMs_ = 0;
    bool reported_ = false;
    Event lastReported_ = Event::Connected;

    // Read by counters() from any thread.
    std::atomic<bool> connected_{false};
    std::atomic<quint64> published_{0};
    std::atomic<int> inFlightCount_{0};
    std::atomic<int> inFlightEvents_{0};
    std::atomic<quint64> lostEvents_{0};
};
