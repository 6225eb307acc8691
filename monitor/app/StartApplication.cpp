#include "app/StartApplication.h"

#include "app/MonitorPublishing.h"
#include "app/SubDisp_Mqtt.h"
#include "app/OpuningDisp.h"
#include "app/StartupProgress.h"
#include "services/ProgramFolder.h"
#include "display/LineDiagnosticsWindow.h"
#include "display/ChartView.h"
#include "app/QtCatalogue.h"
#include "display/MainMenus.h"
#include "display/ScreenFit.h"
#include "app/MainDisp.h"
#include "exchange/EngineLog.h"
#include "exchange/PollEngine.h"
#include "format/ValueFormat.h"
#include "app/DialogWiring.h"
#include "app/EditingWiring.h"
#include "history/HistoryFile.h"
#include "history/LoggingView.h"
#include "history/SubDisp_History.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QTranslator>
#include <exception>

namespace {

// Start-up steps are abandoned on error and the next one runs.
template <typename Step>
void Try(Step&& step) {
    try {
        step();
    } catch (const std::exception& e) {
        LogSkippedStep("start-up step", e);
    }
}

}  // namespace

RDXApplication::RDXApplication(LinkFactory createLink) : history_(data_), createLink_(createLink) {
    // Qt's buttons and file dialogs speak Japanese like the rest of the program; a missing
    // catalogue leaves them in English.
    qtCatalogue_.reset(InstallQtJapanese());
    // Windows of the program open whole on small screens.
    if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(&windowKeeper_);
    data_.AlarmCheckHook = [this](int ch) { history_.AlarmChk(ch); };
}

// The window's messages go with the window, which goes before the history.
RDXApplication::~RDXApplication() { history_.Messages = nullptr; }

void RDXApplication::StartApplication() {
    main_ = std::make_unique<MainDisp>(data_);
    // The port, name and set-data dialogs with their menu entries.
    ConnectDialogs(data_, *main_);
    history_.Messages = &main_->messages();
    main_->CreateLinkObject = createLink_;
    main_->HystoryWrite = [this](const QString& code, int ch, int state) {
        history_.Hystory_Write(code, ch, state);
    };
    Try([&] { main_->Form_Load(); });
    // The setting buttons of tabs 1 to 4 and the factory-initialisation menu entry.
    ConnectEditing(data_, *main_);
    folder_ = ProgramFolder();
    auto* logging = new LoggingView([this](int ch) { return FormatItemValue(data_, 0, ch); }, folder_);
    logging->SetPanel2 = [this](const QString& text) { main_->SetPanelText(2, text); };
    logging->TickMessages = &main_->messages();
    logging->Logger.BlockOutOfContact = [this](int block) {
        return block >= 0 && block < BlockCount && data_.BlockOutOfContact[block];
    };
    logging->LoadResumeChoice();
    main_->SetTabView(6, logging, QString());
    main_->loggingView = logging;
    // Tab 5, the chart: its settings load here, its pen names follow the channel names.
    auto* chart = new ChartView(data_);
    chart->SetPanel3 = [this](const QString& text) { main_->SetPanelText(3, text); };
    chart->Messages = &main_->messages();
    chart->RegisterNames(main_->nameLists());
    chart->LoadChartSettings();
    main_->SetTabView(5, chart, QString());
    // The alarm history viewer exists (hidden) from now on, so every entry lands in it.
    auto* historyView = new SubDisp_History(history_, main_.get());
    QObject::connect(main_->menus, &MainMenus::numhyst_Click, historyView, &SubDisp_History::numhyst_Click);
    // Publishing to MQTT, off unless switched on under 設定.
    publishing_ = std::make_unique<MonitorPublishing>(data_, main_.get(), main_->messages());
    if (main_->RDXCom()) publishing_->Attach(main_->engine(), history_);  // no link, no engine
    QObject::connect(main_->menus, &MainMenus::mnuMqtt_Click, &publishing_->dialog(), &SubDisp_Mqtt::Open);
    if (main_->RDXCom()) {
        // 回線診断: the engine's counters and frames, for a technician on a real line.
        auto* diagnostics = new LineDiagnosticsWindow(main_->engine().diagnostics(), [this](int block) {
            return data_.BlockAbsent[block] == 0;
        }, main_.get());
        QObject::connect(main_->menus, &MainMenus::mnuLineDiag_Click, diagnostics, &LineDiagnosticsWindow::Open);
    }
    data_.PageIndex = 0;
    data_.SelectedItem = 0;
    history_.HistoryRow = 1;
    data_.LinkFailed = false;
    Try([&] {
        PrepareProgramFolders(folder_);
        QDir::setCurrent(folder_);
    });
    Try([&] { history_.HistoryFilePath = CreateHistoryFile(folder_, QDateTime::currentDateTime()); });
    splash_ = std::make_unique<OpuningDisp>();
    splash_->ShowNow();
    main_->OnSplashProgress = [this](int count) {
        if (splash_) splash_->SetProgress(StartupReadPercent(count, data_.BlockAbsent));
        if (OnStartupProgress) OnStartupProgress(count);
    };
    main_->OnStartupFinished = [this] { EndOfStartup(); };
    main_->OnStartupInterrupted = [this] {
        if (splash_) {
            splash_->hide();
            splash_.reset();
        }
    };
    Try([&] { main_->regRead(); });
    publishing_->Apply();
    main_->communicate();
}

void RDXApplication::EndOfStartup() {
    if (splash_) {
        splash_->hide();
        splash_.reset();
    }
    main_->show();
    publishing_->StartupFinished();
    // A start-up read after the port came back must not start chart or log a second time.
    if (started_) return;
    started_ = true;
    if (auto* chart = qobject_cast<ChartView*>(main_->tabView(5))) chart->ResumeAtStartup();
    if (main_->loggingView) main_->loggingView->ResumeAtStartup();
}
