// Publishes one line to a broker: after each poll cycle of a block (at most once a second
// per block, once a minute while it is out of contact) the block's document, every
// alarm-history entry as an event, the alarms on now, the serial line's state when its
// owner tells it, and the publisher's own counters. Lives on the thread that polls; it
// only reads the tables and hands finished messages to the connection's thread, so it
// costs the poll loop the building of the text and never a wait on the network. Nothing
// is ever received.
#pragma once

#include "services/Clock.h"
#include "exchange/RDX_INC.h"
#include "exchange/LineDiagnostics.h"
#include "publish/BlockFreshness.h"
#include "publish/Documents.h"
#include "publish/MqttConnection.h"
#include "publish/PublishSettings.h"
#include "publish/TopicTree.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <memory>
#include <optional>

class LinePublisher : public QObject {
    Q_OBJECT
public:
    static constexpr int DocumentIntervalMs = 1000;
    // A block out of contact holds still: its document goes out again (with a new "time")
    // no more often than this.
    static constexpr int OutOfContactIntervalMs = 60000;
    static constexpr int CountersIntervalMs = 10000;
    // The exchange counters go out at most this often, and only when they moved.
    static constexpr int DiagnosticsIntervalMs = 10000;
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

    // Stamps the documents and paces them; replaced by tests.
    const Clock* Time = &SystemClock();
    // The file that keeps the line's blocks between runs (StoredBlocksPath); empty: none.
    // Set before Start.
    QString StoredBlocksFile;
    // The engine's exchange counters; none: no diagnostics document. Set before Start.
    const LineDiagnostics* Diagnostics = nullptr;

    // Every block the file names goes out at once as out of contact, its channels
    // "stale", before anything is read: what an earlier run left must not look live.
    void Start();
    // Sends what waits (events first, at most half of waitMs), counts the events that
    // could not go ("unsentAtEnd" of the last publisher document, UnsentAtEnd), says
    // "offline" and ends the connection.
    void Stop(int waitMs = 2000);
    quint64 UnsentAtEnd() const { return unsentAtEnd_; }
    // A UUID new with each publisher, in every event: a reader tells a new run (whose seq
    // starts at 1 again) from a repeated message.
    const QString& Run() const { return run_; }

    // The engine asked `block` for `item`; the last item of a cycle makes the block's
    // document due.
    void AfterPoll(int block, const QString& item);
    // The start-up read is done: every present block's document goes out now, and the
    // retained documents of absent blocks are removed from the broker; the blocks are
    // kept in StoredBlocksFile. The first time, every alarm already on goes out as an
    // event with "initial": true (during the read the history takes them for changes,
    // which are not sent), and the alarms document follows.
    void StartupFinished();
    // The serial line's state, told by the owner of the engine: the link topic, and while
    // it is not "open" every channel is "stale".
    void SetLink(const LinkFacts& facts);
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
    void PublishStoredBlocks();
    void KeepStoredBlocks();
    void PublishCounters();
    void PublishDiagnostics();
    void PublishAlarms();
    void PublishLink();
    void SendInitialAlarms();
    void PutEvent(EventFacts facts);
    QList<AlarmOn> AlarmsOn() const;
    bool Stale(int block) const { return freshness_.Stale(block); }
    void Watch();
    void OnConnectionEvent(MqttConnection::Event event);

    const RDX_INC& inc_;
    PublishConfig config_;
    TopicTree topics_;
    QString program_;
    QString run_;
    QDateTime started_;
    std::unique_ptr<MqttConnection> connection_;
    std::array<qint64, BlockCount> lastDocumentMs_{};
    std::array<bool, BlockCount> documentSent_{};
    std::array<bool, BlockCount> contactShown_{};  // outOfContact of the last document
    std::array<bool, BlockCount> staleShown_{};    // and whether its channels were stale
    BlockFreshness freshness_;
    std::optional<StoredBlocks> stored_;  // what StoredBlocksFile holds
    std::optional<LinkFacts> link_;
    bool startupDone_ = false;
    quint64 unsentAtEnd_ = 0;
    QTimer watch_;
    qint64 lastCountersMs_ = 0;
    quint64 countersShown_ = ~quint64(0);
    quint64 eventSeq_ = 0;
    qint64 lastDiagnosticsMs_ = 0;
    quint64 diagnosticsShown_ = ~quint64(0);  // the counters' serial last published
};
