// Publishes one line to a broker: after each poll cycle of a block (at most once a second
// per block) the block's document, every alarm-history entry as an event, and the
// publisher's own counters. Lives on the thread that polls; it only reads the tables and
// hands finished messages to the connection's thread, so it costs the poll loop the
// building of the text and never a wait on the network. Nothing is ever received.
#pragma once

#include "exchange/RDX_INC.h"
#include "publish/MqttConnection.h"
#include "publish/PublishSettings.h"
#include "publish/TopicTree.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class LinePublisher : public QObject {
    Q_OBJECT
public:
    static constexpr int DocumentIntervalMs = 1000;
    static constexpr int CountersIntervalMs = 10000;
    // How often the publisher looks for a block whose contact changed while nothing was
    // polled (the port lost), and for new counters.
    static constexpr int WatchIntervalMs = 1000;
    static constexpr int EventQueueLimit = 256;
    static constexpr int ClientIdMaxBytes = 128;

    // "rdx410-<program>-<line>-<pid>" in UTF-8, at most ClientIdMaxBytes, the line's name
    // shortened by whole characters when it is long.
    static QByteArray ClientId(const QString& program, const QString& line, qint64 pid);

    LinePublisher(const RDX_INC& inc, PublishConfig config, QString program, QObject* parent = nullptr);
    ~LinePublisher() override;

    // Monotonic milliseconds and the wall clock; replaced by tests.
    std::function<qint64()> NowMs;
    std::function<QDateTime()> Clock;

    void Start();
    // Says "offline" (waiting at most waitMs for the broker) and ends the connection.
    void Stop(int waitMs = 2000);

    // The engine asked `block` for `item`; the last item of a cycle makes the block's
    // document due.
    void AfterPoll(int block, const QString& item);
    // The start-up read is done: every present block's document goes out now, and the
    // retained documents of absent blocks are removed from the broker.
    void StartupFinished();
    // One entry of the alarm history: code, channel and state as recorded, and the
    // channel and content texts the history wrote.
    void HistoryEntry(const QString& code, int channel, int state, const QString& channelText,
                      const QString& text);

    const TopicTree& Topics() const { return topics_; }
    MqttConnection::Counters Counters() const;

    // The operator message of a broker event.
    static QString EventMessage(MqttConnection::Event event);

signals:
    // On the publisher's thread, once per change of the broker's state.
    void brokerEvent(MqttConnection::Event event, const QString& message);

private:
    void PublishBlock(int block);
    void PublishCounters();
    void Watch();
    void OnConnectionEvent(MqttConnection::Event event);

    const RDX_INC& inc_;
    PublishConfig config_;
    TopicTree topics_;
    QString program_;
    QDateTime started_;
    std::unique_ptr<MqttConnection> connection_;
    std::array<qint64, BlockCount> lastDocumentMs_{};
    std::array<bool, BlockCount> documentSent_{};
    std::array<bool, BlockCount> contactShown_{};  // outOfContact of the last document
    QTimer watch_;
    qint64 lastCountersMs_ = 0;
    quint64 countersShown_ = ~quint64(0);
    quint64 eventSeq_ = 0;
};
