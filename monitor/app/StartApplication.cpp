#include "app/StartApplication.h"

#include "app/OpuningDisp.h"
#include "app/ProgramFolder.h"
#include "display/MainDisp.h"
#include "history/HistoryFile.h"

#include <QDateTime>
#include <QDir>
#include <QMessageBox>
#include <exception>

namespace {

// Start-up steps are abandoned on error and the next one runs.
template <typename Step>
void Try(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

RDXApplication::RDXApplication() : history_(data_) {
    data_.AlarmCheckHook = [this](int ch) { history_.AlarmChk(ch); };
    history_.ShowMessage = [this](const QString& text) {
        QMessageBox::information(main_.get(), QStringLiteral("RDX-410 Monitor"), text);
    };
}

RDXApplication::~RDXApplication() = default;

void RDXApplication::StartApplication() {
    main_ = std::make_unique<MainDisp>(data_);
    main_->HystoryWrite = [this](const QString& code, int ch, int state) {
        history_.Hystory_Write(code, ch, state);
    };
    Try([&] { main_->Form_Load(); });
    data_.PageIndex = 0;
    data_.SelectedItem = 0;
    history_.HistoryRow = 1;
    data_.LinkFailed = false;
    folder_ = ProgramFolder();
    Try([&] {
        PrepareProgramFolders(folder_);
        QDir::setCurrent(folder_);
    });
    Try([&] { history_.HistoryFilePath = CreateHistoryFile(folder_, QDateTime::currentDateTime()); });
    splash_ = std::make_unique<OpuningDisp>();
    splash_->ShowNow();
    main_->OnSplashProgress = [this](int count) {
        if (splash_) splash_->SetProgress(count);
    };
    main_->OnStartupFinished = [this] { EndOfStartup(); };
    Try([&] { main_->regRead(); });
    main_->communicate();
}

void RDXApplication::EndOfStartup() {
    if (splash_) {
        splash_->hide();
        splash_.reset();
    }
    main_->show();
}
