#include "publish/LinePublisher.h"

#include "services/SettingsStore.h"
#include "publish/BrokerMessages.h"
#include "publish/Documents.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSysInfo>
#include <unistd.h>

namespace {

constexpr int kCountersSlot = BlockCount;  // document slots: 16 blocks, then the counters

QString StoredBlockName(int block) {
    const QString suffix = BlockSuffix(block);
    return GetSetting(QStringLiteral("DvtoN") + suffix, QStringLiteral("Block") + suffix);
}

QString StoredChannelName(int channel) {
    const QString suffix = ChannelSuffix(channel);
    return GetSetting(QStringLiteral("Chname") + suffix, QStringLiteral("Ch") + suffix);
}

}  // namespace

QByteArray LinePublisher::ClientId(const QString& program, const QString& line, qint64 pid) {
    QByteArray id = "rdx410-" + program.toUtf8() + '-';
    const QByteArray tail = '-' + QByteArray::number(pid);
    // The line's name is cut whole characters at a time: a character cut in two makes the
    // id invalid UTF-8, which the client library refuses. The pid stays, so two programs
    // of one line never take each other's session.
    for (const char32_t c : line.toUcs4()) {
        const QByteArray utf8 = QString::fromUcs4(&c, 1).toUtf8();
        if (id.size() + utf8.size() + tail.size() > ClientIdMaxBytes) break;
        id += utf8;
    }
    return id + tail;
}

LinePublisher::LinePublisher(const RDX_INC& inc, PublishConfig config, QString program, QObject* parent)
    : QObject(parent), inc_(inc), config_(std::move(config)), topics_(config_.line), program_(std::move(program)) {
    NowMs = [] {
        static QElapsedTimer clock;
        if (!clock.isValid()) clock.start();
        return clock.elapsed();
    };
    Clock = [] { return QDateTime::currentDateTime(); };
    watch_.setInterval(WatchIntervalMs);
    connect(&watch_, &QTimer::timeout, this, &LinePublisher::Watch);
}

LinePublisher::~LinePublisher() { Stop(0); }

void LinePublisher::Start() {
    if (connection_) return;
    started_ = Clock();
    MqttConnection::Options o;
    o.config = config_;
    o.clientId = ClientId(program_, config_.line, ::getpid());
    o.statusTopic = topics_.Status();
    o.documentSlots = BlockCount + 1;
    o.eventCapacity = EventQueueLimit;
    connection_ = std::make_unique<MqttConnection>(o);
    // The connection's thread only posts the event to this object's thread.
    connection_->OnEvent = [this](MqttConnection::Event event) {
        QMetaObject::invokeMethod(this, [this, event] { OnConnectionEvent(event); }, Qt::QueuedConnection);
    };
    connection_->Start();
    watch_.start();
}

void LinePublisher::Stop(int waitMs) {
    if (!connection_) return;
    watch_.stop();
    connection_->Stop(waitMs);
    connection_.reset();
}

MqttConnection::Counters LinePublisher::Counters() const {
    return connection_ ? connection_->counters() : MqttConnection::Counters{};
}

void LinePublisher::AfterPoll(int block, const QString& item) {
    if (!connection_ || block < 0 || block >= BlockCount) return;
    if (item != u"0081" && item != u"0082") return;
    if (!documentSent_[block] || NowMs() - lastDocumentMs_[block] >= DocumentIntervalMs) PublishBlock(block);
}

void LinePublisher::Watch() {
    if (!connection_) return;
    for (int b = 0; b < BlockCount; ++b)
        if (documentSent_[b] && inc_.BlockOutOfContact[b] != contactShown_[b]) PublishBlock(b);
    if (NowMs() - lastCountersMs_ >= CountersIntervalMs) {
        const MqttConnection::Counters c = connection_->counters();
        if (c.droppedEvents + c.replacedDocuments != countersShown_) PublishCounters();
    }
}

void LinePublisher::StartupFinished() {
    if (!connection_) return;
    for (int b = 0; b < BlockCount; ++b) {
        if (inc_.BlockAbsent[b] == 0) PublishBlock(b);
        // An empty retained message removes what an earlier run left for a block now absent.
        else connection_->PutDocument(b, OutMessage{topics_.Block(b), QByteArray(), 0, true});
    }
}

void LinePublisher::PublishBlock(int block) {
    BlockFacts facts;
    facts.line = config_.line;
    facts.time = Clock();
    facts.outOfContact = inc_.BlockOutOfContact[block];
    facts.blockName = StoredBlockName(block);
    for (int k = 0; k < ChannelsPerBlock; ++k)
        facts.channelNames[size_t(k)] = StoredChannelName(block * ChannelsPerBlock + k);
    connection_->PutDocument(block, OutMessage{topics_.Block(block), BlockDocument(inc_, block, facts), 0, true});
    lastDocumentMs_[block] = NowMs();
    documentSent_[block] = true;
    contactShown_[block] = facts.outOfContact;
}

void LinePublisher::HistoryEntry(const QString& code, int channel, int state, const QString& channelText,
                                 const QString& text) {
    if (!connection_) return;
    EventFacts f;
    f.line = config_.line;
    f.seq = ++eventSeq_;
    f.time = Clock();
    f.code = code;
    f.state = state;
    const bool inRange = channel >= 0 && channel < ChannelCount;
    if (IsChannelCode(code)) {
        f.channel = channel;
        f.block = inRange ? channel / ChannelsPerBlock : -1;
    } else if (code == QLatin1String(OutOfContactCode)) {
        f.block = inRange ? channel / ChannelsPerBlock : -1;
    } else if (!inc_.AddrChar.isEmpty()) {
        // A refused or corrupted reply: the block of the exchange that got it.
        f.block = inc_.AddrChar[0].unicode() - 0x20;
    }
    f.channelText = channelText;
    f.text = text;
    connection_->PutEvent(OutMessage{topics_.Event(), EventDocument(f), 1, false});
}

void LinePublisher::PublishCounters() {
    const MqttConnection::Counters c = connection_->counters();
    PublisherFacts f;
    f.program = program_;
    f.version = QStringLiteral(RDX_VERSION);
    f.host = QSysInfo::machineHostName();
    f.started = started_;
    f.time = Clock();
    f.droppedEvents = c.droppedEvents;
    f.replacedDocuments = c.replacedDocuments;
    f.eventQueueLimit = EventQueueLimit;
    connection_->PutDocument(kCountersSlot, OutMessage{topics_.Publisher(), PublisherDocument(f), 0, true});
    countersShown_ = c.droppedEvents + c.replacedDocuments;
    lastCountersMs_ = NowMs();
}

void LinePublisher::OnConnectionEvent(MqttConnection::Event event) {
    if (event == MqttConnection::Event::Connected && connection_) PublishCounters();
    emit brokerEvent(event, EventMessage(event));
}

QString LinePublisher::EventMessage(MqttConnection::Event event) {
    switch (event) {
    case MqttConnection::Event::Connected: return QString::fromUtf8(BrokerConnectedMessage);
    case MqttConnection::Event::Lost: return QString::fromUtf8(BrokerLostMessage);
    case MqttConnection::Event::Unreachable: return QString::fromUtf8(BrokerUnreachableMessage);
    case MqttConnection::Event::LoginRefused: return QString::fromUtf8(BrokerLoginRefusedMessage);
    case MqttConnection::Event::CertificateFailed: return QString::fromUtf8(BrokerCertificateMessage);
    case MqttConnection::Event::NoTls: return QString::fromUtf8(BrokerNoTlsMessage);
    case MqttConnection::Event::ClosedUnanswered: return QString::fromUtf8(BrokerClosedMessage);
    case MqttConnection::Event::ClientRefused: return QString::fromUtf8(BrokerClientRefusedMessage);
    }
    return {};
}
