#include "gateway/Gateway.h"

#include "ISTDComm.h"
#include "services/ProgramFolder.h"
#include "services/SettingsStore.h"
#include "exchange/PollEngine.h"
#include "gateway/GatewayLogging.h"
#include "gateway/Report.h"
#include "history/HistoryFile.h"
#include "modbus/LineModbusServer.h"
#include "publish/LinePublisher.h"

#include <QDateTime>
#include <QDir>

Gateway::Gateway(GatewayOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)), history_(d_), view_(d_) {
    d_.AlarmCheckHook = [this](int ch) { history_.AlarmChk(ch); };
    history_.Messages = &messages_;
    history_.OnRecorded = [this](const QString& code, int ch, int state, const AlarmHistory::Entry& entry) {
        OnHistoryEntry(code, ch, state, entry);
    };
    view_.Port = options_.port;
    view_.Device = options_.device;
    view_.Speed = options_.speed;
    view_.OnStartupFinished = [this] { OnStartupFinished(); };
    view_.OnLineChanged = [this] { CheckLink(); };
    linkTimer_.setInterval(1000);
    connect(&linkTimer_, &QTimer::timeout, this, &Gateway::CheckLink);
}

Gateway::~Gateway() = default;

int Gateway::Run() {
    if (const QString problem = ResolvePublishing(); !problem.isEmpty()) {
        Report(problem);
        return ExitConfigError;
    }
    // A device given on the command line is COM1 for this run; the link looks there first.
    if (!options_.device.isEmpty()) qputenv("TESMARCOMM_COM1", QFile::encodeName(options_.device));
    link_.reset(TesmarCreateObject(TesmarIds::Class));
    if (!link_) {
        Report(QStringLiteral("通信ﾗｲﾌﾞﾗﾘ TesmarComm2 を使えません。ｲﾝｽﾄｰﾙを確認してください。"));
        return 1;
    }
    const QString folder = ProgramFolder();
    PrepareProgramFolders(folder);
    QDir::setCurrent(folder);
    history_.HistoryRow = 1;
    history_.HistoryFilePath = CreateHistoryFile(folder, QDateTime::currentDateTime());
    logging_ = std::make_unique<GatewayLogging>(d_, folder);

    d_.FillItemCodes();
    d_.PollBlock = 0;
    d_.PollPhase = 0;
    d_.PageIndex = 0;
    d_.SelectedItem = 0;
    d_.LinkFailed = false;
    engine_ = std::make_unique<PollEngine>(d_, *link_, view_);
    engine_->HystoryWrite = [this](const QString& code, int ch, int state) { history_.Hystory_Write(code, ch, state); };
    engine_->Messages = &messages_;
    engine_->PortOverride = options_.port;
    engine_->SpeedOverride = options_.speed;
    engine_->EndPending = EndPending;
    StartPublishing(folder);
    if (!StartModbus()) return ExitConfigError;
    Report(QStringLiteral("起動しました。ﾌﾟﾛｸﾞﾗﾑﾌｫﾙﾀﾞ: %1 ｱﾗｰﾑﾋｽﾄﾘ: %2").arg(folder, history_.HistoryFilePath));

    engine_->communicate();

    linkTimer_.stop();
    quint64 dropped = 0, unsent = 0;
    if (publisher_) {
        dropped = publisher_->Counters().droppedEvents;
        publisher_->Stop();
        unsent = publisher_->UnsentAtEnd();
    }
    FlushSettings();
    // The last line says what the broker never got, whoever reads only the end of the log.
    if (dropped + unsent > 0)
        Report(QStringLiteral("終了しました。ﾌﾞﾛｰｶｰに送れなかったｲﾍﾞﾝﾄ: %1 件（終了時に未送信 %2 件を含む）")
                   .arg(dropped + unsent)
                   .arg(unsent));
    else
        Report(QStringLiteral("終了しました。"));
    return 0;
}

QString Gateway::ResolvePublishing() {
    const PublishSettings settings =
        GatewayPublishSettings(options_, qEnvironmentVariable(BrokerUrlVariable));
    if (!settings.enabled) return {};
    PublishConfig config;
    const QString problem = ResolvePublishConfig(settings, &config);
    if (problem.isEmpty()) publishConfig_ = config;
    return problem;
}

void Gateway::StartPublishing(const QString& folder) {
    if (!publishConfig_) return;
    const PublishConfig& config = *publishConfig_;
    publisher_ = std::make_unique<LinePublisher>(d_, config, QString::fromLatin1(GatewayProgramName));
    publisher_->StoredBlocksFile = StoredBlocksPath(folder, config.line);
    publisher_->Diagnostics = &engine_->diagnostics();
    linkWatch_.DefaultDevice = options_.device;
    connect(publisher_.get(), &LinePublisher::brokerEvent, this,
            [](MqttConnection::Event, const QString& message) { Report(message); });
    connect(engine_.get(), &PollEngine::Polled, publisher_.get(), &LinePublisher::AfterPoll);
    publisher_->Start();
    linkTimer_.start();
    Report(QStringLiteral("MQTT: %1 のﾄﾋﾟｯｸ %2 に公開します。")
               .arg(BrokerUrl(config.address), QString::fromUtf8(publisher_->Topics().All())));
}

bool Gateway::StartModbus() {
    if (!options_.modbus.enabled) return true;
    modbus_ = std::make_unique<LineModbusServer>(d_, *engine_, options_.modbus);
    if (const QString problem = modbus_->Start(); !problem.isEmpty()) {
        Report(problem);
        return false;
    }
    connect(engine_.get(), &PollEngine::Polled, modbus_.get(), &LineModbusServer::AfterPoll);
    connect(engine_.get(), &PollEngine::WriteFinished, modbus_.get(), &LineModbusServer::WriteFinished);
    linkWatch_.DefaultDevice = options_.device;
    linkTimer_.start();
    Report(QStringLiteral("Modbus: %1 ﾎﾟｰﾄ %2 ﾕﾆｯﾄ %3 で待ち受けます（%4）。")
               .arg(options_.modbus.address.toString())
               .arg(options_.modbus.port)
               .arg(options_.modbus.unit)
               .arg(options_.modbus.writable ? QStringLiteral("SV 書き込み可") : QStringLiteral("読み出し専用")));
    return true;
}

void Gateway::OnStartupFinished() {
    if (publisher_) publisher_->StartupFinished();
    if (modbus_) modbus_->StartupFinished();
    // After the port came back the log is still running; it is resumed once only.
    if (started_) return;
    started_ = true;
    logging_->ResumeAtStartup();
}

void Gateway::CheckLink() {
    if ((!publisher_ && !modbus_) || !engine_) return;
    bool portOpen = false;
    OpenFailureInfo failure;
    try {
        portOpen = link_->CommID() != -1;
        failure = link_->LastOpenFailure();
    } catch (const std::exception& e) {
        Report(QStringLiteral("通信ﾎﾟｰﾄの状態を読めません: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    const bool open = portOpen && !engine_->PortLost && !d_.LinkFailed;
    if (!linkWatch_.Update(open, failure, QDateTime::currentDateTime())) return;
    if (publisher_) publisher_->SetLink(linkWatch_.Facts());
    if (modbus_) modbus_->SetPortState(ModbusMap::PortStateOf(linkWatch_.Facts().state));
}

void Gateway::OnHistoryEntry(const QString& code, int ch, int state, const AlarmHistory::Entry& entry) {
    Report(entry[1] + u' ' + entry[2] + u' ' + entry[3]);
    if (publisher_) publisher_->HistoryEntry(code, ch, state, entry[2], entry[3]);
}
