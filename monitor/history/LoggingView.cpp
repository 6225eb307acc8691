#include "history/LoggingView.h"

#include "editing/Prompts.h"
#include "format/ValueFormat.h"
#include "services/OperatorMessages.h"
#include "services/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

const char* const kIntervals[8] = {"１０秒間隔", "３０秒間隔", "１分間隔",  "５分間隔",
                                   "１０分間隔", "１５分間隔", "３０分間隔", "１時間間隔"};

}  // namespace

LoggingView::LoggingView(PvLogger::PvTextFn pvText, QString programFolder, QWidget* parent)
    : TabView(parent), Logger(std::move(pvText)), folder_(std::move(programFolder)) {
    Frame_logging = new QGroupBox(QStringLiteral("ﾛｷﾞﾝｸﾞ条件"), this);
    Logging_time = new QComboBox(Frame_logging);
    for (const char* text : kIntervals) Logging_time->addItem(QString::fromUtf8(text));
    auto* grid = new QGridLayout(Frame_logging);
    grid->addWidget(new QLabel(QStringLiteral("保存間隔"), Frame_logging), 0, 0);
    grid->addWidget(Logging_time, 0, 1);
    connect(Logging_time, &QComboBox::currentIndexChanged, this, &LoggingView::SaveInterval);
    for (int n = 0; n < BlockCount; ++n) {
        log_Check1[n] = new QCheckBox(Frame_logging);
        grid->addWidget(log_Check1[n], 1 + n / 4, n % 4);
        connect(log_Check1[n], &QCheckBox::toggled, this, [this, n] { SaveBlockTick(n); });
    }
    grid->addWidget(new QLabel(QStringLiteral("ﾁｪｯｸされたﾌﾞﾛｯｸ名のPV値ﾃﾞｰﾀが、ﾌｧｲﾙに保存されます。"),
                               Frame_logging),
                    5, 0, 1, 4);
    Check1 = new QCheckBox(QStringLiteral("継続してデータ保存"), this);
    Savename_text = new QLabel(QString::fromUtf8(LogNameNotRegistered), this);
    Savename_text->setFrameShape(QFrame::StyledPanel);
    Savename_text->setFrameShadow(QFrame::Sunken);
    const char* const captions[3] = {"開始", "停止", "参照"};
    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        Command1[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        buttons->addWidget(Command1[i]);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame_logging);
    layout->addWidget(Check1);
    layout->addWidget(Savename_text);
    layout->addLayout(buttons);
    layout->addStretch();
    connect(Check1, &QCheckBox::clicked, this, &LoggingView::Check1_Click);
    Timer1.setInterval(200);
    connect(&Timer1, &QTimer::timeout, this, &LoggingView::Timer1_Timer);

    ChooseFile = [this](const QString& folder) {
        QFileDialog dialog(this, QString(), folder, QStringLiteral("*.txt"));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QStringLiteral("txt"));
        const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
        QDir::setCurrent(folder_);
        return chosen ? dialog.selectedFiles().first() : QString();
    };
    AskYesNo = [this](const QString& text) {
        return AskYesNoDefaultNo(this, QStringLiteral("RDX-410 Monitor"), text, false);
    };
    ShowMessage = [this](const QString& text) {
        QMessageBox::information(this, QStringLiteral("RDX-410 Monitor"), text);
    };
    RefreshBlockNames();
}

void LoggingView::RefreshBlockNames() {
    for (int n = 0; n < BlockCount; ++n) {
        const QString suffix = BlockSuffix(n);
        log_Check1[n]->setText(GetSetting(QStringLiteral("DvtoN") + suffix, QStringLiteral("Block") + suffix));
    }
}

BlockSelection LoggingView::TickedBlocks() const {
    BlockSelection ticked{};
    for (int n = 0; n < BlockCount; ++n) ticked[n] = log_Check1[n]->isChecked();
    return ticked;
}

void LoggingView::LoadChoices() {
    // The records of a running log must keep the columns of its header.
    if (IsLogging()) return;
    // Showing what is stored is no change to store again.
    const QSignalBlocker quiet(Logging_time);
    const int index = GetSettingInt(QStringLiteral("Logtim"), 0);
    Logging_time->setCurrentIndex(ListIndexOrZero(index, Logging_time->count()));
    for (int n = 0; n < BlockCount; ++n) {
        const QSignalBlocker quietTick(log_Check1[n]);
        log_Check1[n]->setChecked(GetSettingInt(QStringLiteral("LogBlock") + QString::number(n), 0) == 1);
    }
}

void LoggingView::SaveChoices() const {
    SaveInterval();
    for (int n = 0; n < BlockCount; ++n) SaveBlockTick(n);
}

void LoggingView::SaveInterval() const {
    SaveSetting(QStringLiteral("Logtim"), QString::number(Logging_time->currentIndex()));
}

void LoggingView::SaveBlockTick(int block) const {
    SaveSetting(QStringLiteral("LogBlock") + QString::number(block),
                log_Check1[block]->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void LoggingView::showEvent(QShowEvent* event) {
    // Choosing the tab (or the window showing it again) shows the stored choices.
    LoadChoices();
    TabView::showEvent(event);
}

void LoggingView::LoadResumeChoice() { Check1->setChecked(GetSettingFlag(QStringLiteral("log_restart"))); }

void LoggingView::ResumeAtStartup() {
    const QString fresh = NewLogFileName(folder_, Logger.Time->Now());
    Savename_text->setText(GetSettingFlag(QStringLiteral("log_restart"))
                               ? GetSetting(QStringLiteral("log_name"), fresh)
                               : fresh);
    if (!GetSettingFlag(QStringLiteral("log_start"))) return;
    // This runs inside the polling step that ends start-up: messages must not wait.
    // When it does not start, 開始 stays enabled (and "log_start" set) so the operator can
    // start again once the file is usable, or the next start tries again.
    if (StartLogging([this](const QString& text) { TellWithoutWaiting(text); }) == StartOutcome::Silent)
        TellWithoutWaiting(QStringLiteral("ロギングを再開できませんでした。保存先 %1 を確認して「開始」を押してください。")
                            .arg(QDir::toNativeSeparators(Savename_text->text())));
}

void LoggingView::Command1_Click(int index) {
    switch (index) {
    case 0: StartLogging(ShowMessage); break;
    case 1: StopLogging(); break;
    case 2: ChooseLogFile(); break;
    default: break;
    }
}

LoggingView::StartOutcome LoggingView::StartLogging(const std::function<void(const QString&)>& tell) {
    const QString path = Savename_text->text();
    if (path == QString::fromUtf8(LogNameNotRegistered)) return StartOutcome::Silent;
    const bool exists = QFileInfo::exists(path);
    if (exists && !Check1->isChecked() &&
        !AskYesNo(QStringLiteral("同じﾌｧｲﾙ名のﾌｧｲﾙが存在します。上書きしてもいいですか。"))) {
        tell(QStringLiteral("新しいﾌｧｲﾙを指定してください。"));
        return StartOutcome::Told;
    }
    if (IsLogging()) return StartOutcome::Started;
    const FileWriteResult result =
        Logger.StartLog(path, Check1->isChecked() && exists, TickedBlocks(), Logging_time->currentIndex());
    QDir::setCurrent(folder_);
    if (result != FileWriteResult::Ok) {
        // Only a log that really runs is shown and remembered as running.
        if (!OperatorShouldBeTold(result)) return StartOutcome::Silent;
        tell(QString::fromUtf8(LogWriteFailedMessage));
        return StartOutcome::Told;
    }
    SaveSetting(QStringLiteral("log_start"), QStringLiteral("1"));
    SetRunning(true);
    return StartOutcome::Started;
}

void LoggingView::StopLogging() {
    if (!IsLogging()) return;
    SaveSetting(QStringLiteral("log_start"), QStringLiteral("0"));
    SetRunning(false);
}

void LoggingView::SetRunning(bool running) {
    if (running) Timer1.start();
    else Timer1.stop();
    Command1[0]->setEnabled(!running);
    // A file chosen while logging runs would get the next records without a header.
    Command1[2]->setEnabled(!running);
    Frame_logging->setEnabled(!running);
    if (SetPanel2) SetPanel2(running ? QStringLiteral("ﾛｷﾞﾝｸﾞ実行中") : QStringLiteral("ﾛｷﾞﾝｸﾞ待機中"));
}

void LoggingView::ChooseLogFile() {
    if (IsLogging()) return;
    const QString chosen = ChooseFile(folder_ + QStringLiteral("/logging"));
    // A cancelled dialog leaves the registered file as it was.
    if (!chosen.isEmpty()) Savename_text->setText(chosen);
}

void LoggingView::Check1_Click() {
    SaveSetting(QStringLiteral("log_restart"), Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    if (Check1->isChecked()) SaveSetting(QStringLiteral("log_name"), Savename_text->text());
}

void LoggingView::Timer1_Timer() {
    if (Logger.LogTick(Savename_text->text(), TickedBlocks()) == PvLogger::TickResult::Failed)
        TellWithoutWaiting(QString::fromUtf8(LogWriteFailedMessage));
}

void LoggingView::TellWithoutWaiting(const QString& text) {
    if (TickMessages) TickMessages->Tell(text);
}
