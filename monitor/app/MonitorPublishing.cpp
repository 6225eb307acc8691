#include "app/MonitorPublishing.h"

#include "app/SubDisp_Mqtt.h"
#include "exchange/PollEngine.h"
#include "publish/LinePublisher.h"
#include "services/OperatorMessages.h"
#include "services/ProgramFolder.h"

#include <QWidget>

namespace {
constexpr int kStopWaitMs = 1000;
}  // namespace

MonitorPublishing::MonitorPublishing(const RDX_INC& data, QWidget* window, OperatorMessages& messages)
    : d_(data), messages_(messages), dialog_(new SubDisp_Mqtt(window)) {
    connect(dialog_, &SubDisp_Mqtt::settingsSaved, this, &MonitorPublishing::Apply);
    dialog_->ShowState(QStringLiteral("公開していません"));
}

MonitorPublishing::~MonitorPublishing() { Stop(); }

void MonitorPublishing::Attach(PollEngine& engine, AlarmHistory& history) {
    diagnostics_ = &engine.diagnostics();
    if (publisher_) publisher_->Diagnostics = diagnostics_;
    connect(&engine, &PollEngine::Polled, this, [this](int block, const QString& item) {
        if (publisher_) publisher_->AfterPoll(block, item);
    });
    history.OnRecorded = [this](const QString& code, int ch, int state, const AlarmHistory::Entry& entry) {
        if (publisher_) publisher_->HistoryEntry(code, ch, state, entry[2], entry[3]);
    };
}

void MonitorPublishing::Apply() {
    Stop();
    const PublishSettings settings = PublishSettings::Load();
    if (!settings.enabled) return;
    PublishConfig config;
    if (const QString problem = ResolvePublishConfig(settings, &config); !problem.isEmpty()) {
        dialog_->ShowState(problem);
        messages_.Tell(problem);
        return;
    }
    publisher_ = std::make_unique<LinePublisher>(d_, config, QStringLiteral("RDX410_Monitor"));
    publisher_->StoredBlocksFile = StoredBlocksPath(ProgramFolder(), config.line);
    publisher_->Diagnostics = diagnostics_;
    connectedOnce_ = false;
    connect(publisher_.get(), &LinePublisher::brokerEvent, this,
            [this](MqttConnection::Event event, const QString& message) {
                using E = MqttConnection::Event;
                dialog_->ShowState(event == E::Connected ? QStringLiteral("接続しています") : message);
                if (event == E::Connected) connectedOnce_ = true;
                // The operator is told what needs doing: a refused login or client, a
                // certificate, a port of the other kind (TLS or not), or a broker never
                // reached; a broker that went away comes back by itself.
                const bool tell = (event != E::Connected && event != E::Lost && event != E::Unreachable) ||
                                  (event == E::Unreachable && !connectedOnce_);
                if (tell) messages_.Tell(message);
            });
    dialog_->ShowState(QStringLiteral("接続を試みています"));
    publisher_->Start();
    if (startedUp_) publisher_->StartupFinished();
}

void MonitorPublishing::StartupFinished() {
    startedUp_ = true;
    if (publisher_) publisher_->StartupFinished();
}

void MonitorPublishing::Stop() {
    if (!publisher_) return;
    publisher_->Stop(kStopWaitMs);
    publisher_.reset();
    dialog_->ShowState(QStringLiteral("公開していません"));
}
