#include "publish/LinePublisher.h"

#include "history/AlarmHistory.h"
#include "services/Cp932File.h"
#include "services/SettingsStore.h"
#include "publish/BrokerMessages.h"
#include "publish/DiagnosticsDocument.h"
#include "publish/PublishLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <QUuid>
#include <unistd.h>

namespace {

// Document slots: 16 blocks, then the counters, the alarms, the link and the diagnostics.
constexpr int kCountersSlot = BlockCount;
constexpr int kAlarmsSlot = BlockCount + 1;
constexpr int kLinkSlot = BlockCount + 2;
constexpr int kDiagnosticsSlot = BlockCount + 3;
constexpr int kDocumentSlots = BlockCount + 4;

QString StoredBlockName(int block) {
    const QString suffix = BlockSuffix(block);
    return GetSetting(QStringLiteral("DvtoN") + suffix, QStringLiteral("Block") + suffix);
}

QString StoredChannelName(int channel) {
    const QString suffix = ChannelSuffix(channel);
    return GetSetting(QStringLiteral("Chname") + suffix, QStringLiteral("Ch") + suffix);
}

BlockFacts FactsOf(const QString& line, int block, const QDateTime& time) {
    BlockFacts facts;
    facts.line = line;
    facts.time = time;
    facts.blockName = StoredBlockName(block);
    for (int k = 0; k < ChannelsPerBlock; ++k)
        facts.channelNames[size_t(k)] = StoredChannelName(block * ChannelsPerBlock + k);
    return facts;
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
    : QObject(parent), inc_(inc), config_(std::move(config)), topics_(config_.line), program_(std::move(program)),
      run_(QUuid::createUuid().toString(QUuid::WithoutBraces)), freshness_(inc) {
    watch_.setInterval(WatchIntervalMs);
    connect(&watch_, &QTimer::timeout, this, &LinePublisher::Watch);
}

LinePublisher::~LinePublisher() { Stop(0); }

void LinePublisher::Start() {
    if (connection_) return;
    started_ = Time->Now();
    MqttConnection::Options o;
    o.config = config_;
    o.clientId = ClientId(program_, config_.line, ::getpid());
    o.statusTopic = topics_.Status();
    o.documentSlots = kDocumentSlots;
    o.eventCapacity = EventQueueLimit;
    connection_ = std::make_unique<MqttConnection>(o);
    // The connection's thread only posts the event to this object's thread.
    connection_->OnEvent = [this](MqttConnection::Event event) {
        QMetaObject::invokeMethod(this, [this, event] { OnConnectionEvent(event); }, Qt::QueuedConnection);
    };
    PublishStoredBlocks();
    connection_->Start();
    watch_.start();
}

void LinePublisher::Stop(int waitMs) {
    if (!connection_) return;
    watch_.stop();
    const int eventsMs = waitMs / 2;
    unsentAtEnd_ = connection_->FinishEvents(eventsMs);
    PublishCounters();
    connection_->Stop(waitMs - eventsMs);
    connection_.reset();
}

MqttConnection::Counters LinePublisher::Counters() const {
    return connection_ ? connection_->counters() : MqttConnection::Counters{};
}

void LinePublisher::AfterPoll(int block, const QString& item) {
    if (!connection_ || block < 0 || block >= BlockCount) return;
    freshness_.AfterPoll(block, Time->EpochMs());
    if (item != u"0081" && item != u"0082") return;
    const qint64 interval = Stale(block) && staleShown_[block] ? OutOfContactIntervalMs : DocumentIntervalMs;
    if (!documentSent_[block] || Time->SteadyMs() - lastDocumentMs_[block] >= interval) PublishBlock(block);
}

void LinePublisher::Watch() {
    if (!connection_) return;
    for (int b = 0; b < BlockCount; ++b)
        if (documentSent_[b] && (inc_.BlockOutOfContact[b] != contactShown_[b] || Stale(b) != staleShown_[b]))
            PublishBlock(b);
    if (Time->SteadyMs() - lastCountersMs_ >= CountersIntervalMs) {
        const MqttConnection::Counters c = connection_->counters();
        if (c.droppedEvents + c.replacedDocuments != countersShown_) PublishCounters();
    }
    if (startupDone_ && Time->SteadyMs() - lastDiagnosticsMs_ >= DiagnosticsIntervalMs) PublishDiagnostics();
}

void LinePublisher::StartupFinished() {
    if (!connection_) return;
    freshness_.StartupRead(Time->EpochMs());
    for (int b = 0; b < BlockCount; ++b) {
        if (inc_.BlockAbsent[b] == 0) {
            PublishBlock(b);
        } else {
            // An empty retained message removes what an earlier run left for a block now absent.
            connection_->PutDocument(b, OutMessage{topics_.Block(b), QByteArray(), 0, true});
        }
    }
    KeepStoredBlocks();
    if (!startupDone_) SendInitialAlarms();
    startupDone_ = true;
    PublishAlarms();
    PublishDiagnostics();
}

void LinePublisher::PublishBlock(int block) {
    BlockFacts facts = FactsOf(config_.line, block, Time->Now());
    facts.readAt = freshness_.ReadAt(block);
    facts.outOfContact = inc_.BlockOutOfContact[block];
    facts.stale = Stale(block);
    connection_->PutDocument(block, OutMessage{topics_.Block(block), BlockDocument(inc_, block, facts), 0, true});
    lastDocumentMs_[block] = Time->SteadyMs();
    documentSent_[block] = true;
    contactShown_[block] = facts.outOfContact;
    staleShown_[block] = facts.stale;
}

void LinePublisher::PublishStoredBlocks() {
    if (StoredBlocksFile.isEmpty() || !QFile::exists(StoredBlocksFile)) return;
    QFile file(StoredBlocksFile);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcMqtt) << "the stored blocks of the line cannot be read:" << StoredBlocksFile << file.errorString();
        return;
    }
    stored_ = StoredBlocks::Parse(file.readAll());
    if (!stored_) {
        qCWarning(lcMqtt) << "the stored blocks of the line are not a list of blocks, ignored:" << StoredBlocksFile;
        return;
    }
    const QDateTime now = Time->Now();
    for (int b = 0; b < BlockCount; ++b) {
        if (!stored_->present[size_t(b)]) continue;
        BlockFacts facts = FactsOf(config_.line, b, now);
        facts.outOfContact = facts.stale = true;
        connection_->PutDocument(b, OutMessage{topics_.Block(b), StoredBlockDocument(*stored_, b, facts), 0, true});
    }
}

void LinePublisher::KeepStoredBlocks() {
    if (StoredBlocksFile.isEmpty()) return;
    const StoredBlocks now = StoredBlocks::FromTables(inc_);
    if (stored_ == now) return;
    const FileWriteResult result = WriteNewFile(StoredBlocksFile, now.Text());
    if (result != FileWriteResult::Ok) {
        // The next start cannot mark what this run publishes; publishing itself goes on.
        qCWarning(lcMqtt) << "the line's blocks cannot be kept in" << StoredBlocksFile << "result" << int(result);
        return;
    }
    stored_ = now;
}

void LinePublisher::SetLink(const LinkFacts& facts) {
    link_ = facts;
    freshness_.SetLinkDown(facts.state != u"open");
    if (!connection_) return;
    PublishLink();
    Watch();
}

void LinePublisher::PublishLink() {
    if (link_) connection_->PutDocument(kLinkSlot, OutMessage{topics_.Link(), LinkDocument(config_.line, *link_), 1, true});
}

QList<AlarmOn> LinePublisher::AlarmsOn() const {
    // The history's latches follow the status words; a block out of contact keeps both.
    QList<AlarmOn> alarms;
    for (int b = 0; b < BlockCount; ++b) {
        if (inc_.BlockAbsent[b] != 0) continue;
        for (int c = b * ChannelsPerBlock; c < (b + 1) * ChannelsPerBlock; ++c)
            for (const QString& code : AlarmCodesOn(quint16(inc_.ChStatus[c])))
                alarms << AlarmOn{code, c, StoredChannelName(c)};
    }
    return alarms;
}

void LinePublisher::PublishAlarms() {
    connection_->PutDocument(kAlarmsSlot, OutMessage{topics_.Alarms(),
                                                     AlarmsDocument(config_.line, run_, Time->Now(), AlarmsOn()), 1, true});
}

void LinePublisher::SendInitialAlarms() {
    for (const AlarmOn& a : AlarmsOn()) {
        EventFacts f;
        f.code = a.code;
        f.state = -1;
        f.channel = a.channel;
        f.block = a.channel / ChannelsPerBlock;
        f.channelText = a.name;
        f.text = AlarmHistory::HistoryMessage(a.code, -1);
        f.initial = true;
        PutEvent(f);
    }
}

void LinePublisher::PutEvent(EventFacts f) {
    f.line = config_.line;
    f.run = run_;
    f.seq = ++eventSeq_;
    f.time = Time->Now();
    connection_->PutEvent(OutMessage{topics_.Event(), EventDocument(f), 1, false});
}

void LinePublisher::HistoryEntry(const QString& code, int channel, int state, const QString& channelText,
                                 const QString& text) {
    if (!connection_) return;
    const bool channelCode = IsChannelCode(code);
    // The start-up read finds every alarm already on as a change from nothing; those go
    // out at its end as initial, not as transitions.
    if (channelCode && state != 0 && !startupDone_) return;
    EventFacts f;
    f.code = code;
    f.state = state;
    const bool inRange = channel >= 0 && channel < ChannelCount;
    if (channelCode) {
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
    PutEvent(f);
    if (channelCode && startupDone_) PublishAlarms();
}

void LinePublisher::PublishCounters() {
    const MqttConnection::Counters c = connection_->counters();
    PublisherFacts f;
    f.program = program_;
    f.run = run_;
    f.version = QStringLiteral(RDX_VERSION);
    f.host = QSysInfo::machineHostName();
    f.started = started_;
    f.time = Time->Now();
    f.droppedEvents = c.droppedEvents;
    f.replacedDocuments = c.replacedDocuments;
    f.unsentAtEnd = unsentAtEnd_;
    f.eventQueueLimit = EventQueueLimit;
    connection_->PutDocument(kCountersSlot, OutMessage{topics_.Publisher(), PublisherDocument(f), 0, true});
    countersShown_ = c.droppedEvents + c.replacedDocuments;
    lastCountersMs_ = Time->SteadyMs();
}

void LinePublisher::PublishDiagnostics() {
    if (!Diagnostics || Diagnostics->Serial() == diagnosticsShown_) return;
    std::array<bool, BlockCount> present{};
    for (int b = 0; b < BlockCount; ++b) present[size_t(b)] = inc_.BlockAbsent[b] == 0;
    connection_->PutDocument(kDiagnosticsSlot, OutMessage{topics_.Diagnostics(),
                                                          DiagnosticsDocument(config_.line, Time->Now(), *Diagnostics, present),
                                                          0, true});
    diagnosticsShown_ = Diagnostics->Serial();
    lastDiagnosticsMs_ = Time->SteadyMs();
}

void LinePublisher::OnConnectionEvent(MqttConnection::Event event) {
    // The broker may have lost what was retained (a restart without persistence): the
    // documents that change rarely go again.
    if (event == MqttConnection::Event::Connected && connection_) {
        PublishCounters();
        PublishLink();
        if (startupDone_) PublishAlarms();
    }
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
