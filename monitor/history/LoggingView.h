// Tab 6: the PV data-logging controls. The file work is PvLogger's; this view holds the
// operator's choices, the 200 ms tick and the messages.
#pragma once

#include "display/TabView.h"
#include "history/PvLogger.h"

#include <QTimer>
#include <array>
#include <functional>

class OperatorMessages;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

inline constexpr char LogNameNotRegistered[] = "未登録（登録してください）";

class LoggingView : public TabView {
    Q_OBJECT
public:
    LoggingView(PvLogger::PvTextFn pvText, QString programFolder, QWidget* parent = nullptr);

    QGroupBox* Frame_logging = nullptr;
    QComboBox* Logging_time = nullptr;
    std::array<QCheckBox*, BlockCount> log_Check1{};
    QCheckBox* Check1 = nullptr;
    QLabel* Savename_text = nullptr;
    std::array<QPushButton*, 3> Command1{};
    QTimer Timer1;
    PvLogger Logger;

    // Shows the logging state in status-bar panel 2.
    std::function<void(const QString&)> SetPanel2;
    // Chooses a log file; returns empty when cancelled. Replaced by tests.
    std::function<QString(const QString& folder)> ChooseFile;
    // Asks Yes/No and shows OK-only messages; replaced by tests.
    std::function<bool(const QString&)> AskYesNo;
    std::function<void(const QString&)> ShowMessage;
    // The tick's and the start-up resume's messages do not wait (a box per tick would
    // stack); the shell hands its non-waiting messages.
    OperatorMessages* TickMessages = nullptr;

    void Command1_Click(int index);
    void Check1_Click();
    void Timer1_Timer();

    bool IsLogging() const { return Timer1.isActive(); }
    BlockSelection TickedBlocks() const;
    // "Logtim" and "LogBlock0".."LogBlock15": each stored as the operator changes it (so a
    // re-read never loses a tick), all saved again at unload, and read at start-up and each
    // time the tab is shown. A running log keeps the choices its header was written for.
    void LoadChoices();
    void SaveChoices() const;
    // Check1 from "log_restart" (the chart settings load does this at start-up).
    void LoadResumeChoice();
    // The end of start-up: the file name to continue, and logging resumed when it ran.
    void ResumeAtStartup();
    // Captions of log_Check1 from the stored block names.
    void RefreshBlockNames();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Started (or already running), refused with a message through `tell`, or not
    // started without a word (no usable file name, a missing folder).
    enum class StartOutcome { Started, Told, Silent };
    StartOutcome StartLogging(const std::function<void(const QString&)>& tell);
    void TellWithoutWaiting(const QString& text);
    void StopLogging();
    void ChooseLogFile();
    void SetRunning(bool running);
    void SaveInterval() const;
    void SaveBlockTick(int block) const;

    QString folder_;
};
