// The main window: tab strip, status bar, the two message boxes, menus; it owns the
// link object and the exchange engine and shows what the engine reports.
#pragma once

#include "app/ModelessMessages.h"
#include "display/Shell.h"
#include "display/TabView.h"
#include "exchange/EngineView.h"
#include "exchange/RDX_INC.h"
#include "exchange/WriteRequests.h"

#include <QHash>
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QTabWidget;
class ISTDComm;
class PollEngine;
class LoggingView;
class FourBlockView;
class TwoBlockView;
class OneBlockView;
class NameLists;
class OneChannelView;
class SettingChangeView;
class SettingToolbars;
class MainMenus;

class MainDisp : public QMainWindow, public EngineView, public Shell, public WriteRequests {
    Q_OBJECT
public:
    explicit MainDisp(RDX_INC& data, QWidget* parent = nullptr);
    ~MainDisp() override;

    // The size the window opens with, where the screen has room for it.
    static constexpr int PreferredWidth = 1024;
    static constexpr int PreferredHeight = 740;
    // How long after the first showing the window manager's frame is known.
    static constexpr int WindowManagerSettleMs = 300;
    // The "通信異常" box's widest; a longer text is cut and whole in its tool tip.
    static constexpr int MaxTroubleWidth = 380;

    // Creates the link object (through the class identity), fills the item codes,
    // resets the poll position and sets the status-bar texts. False if no link object.
    bool Form_Load();
    void Form_Activate();
    // Saves the logging choices, asks, and on Yes ends the communicate loop.
    // Returns true when the program is ending.
    bool Form_Unload();
    void mnuEnd_Click();
    // Ends in order without asking (SIGTERM, SIGINT).
    void QuitWithoutAsking();

    void regRead();
    void communicate();
    void SelectDispItem();

    PollEngine& engine() { return *engine_; }
    // Messages told without waiting, over this window.
    OperatorMessages& messages() { return messages_; }
    // A bulk write (set-data load) still waits for its alarm values to go out.
    bool BulkWriteInProgress() const override;
    bool PortLost() const override;
    WriteRequests& writeRequests() override { return *this; }
    // WriteRequests, handed to the engine; 0 (nothing asked) without a link object.
    quint64 RequestSettingWrite(int channel, const QString& item) override;
    quint64 RequestBlockWrite(int block) override;
    quint64 RequestAllBlocksWrite() override;
    quint64 RequestFactoryInit(int block, const QString& mask) override;
    ISTDComm* RDXCom() { return link_.get(); }
    QTabWidget* SSTab1 = nullptr;
    std::array<QLabel*, 4> StatusPanel{};
    QLabel* Text_readmsg = nullptr;
    QLabel* Text_readmsg2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    // The read of the whole line after the port came back, in percent; hidden otherwise.
    QProgressBar* ReadProgress = nullptr;
    // Tab 6; its interval and block choices are saved when the window unloads.
    LoggingView* loggingView = nullptr;
    // Tabs 3 and 4, the tool bars that choose tab 4's setting, and the menu bar.
    OneChannelView* oneChannelView = nullptr;
    SettingChangeView* settingChangeView = nullptr;
    SettingToolbars* settingToolbars = nullptr;
    MainMenus* menus = nullptr;

    // Tabs 0..2 and the block and channel names they show.
    FourBlockView* fourBlockView() const { return tab0_; }
    TwoBlockView* twoBlockView() const { return tab1_; }
    OneBlockView* oneBlockView() const { return tab2_; }
    NameLists& nameLists() override { return *nameLists_; }

    // Replaces tab index's placeholder with its view (the views are added by their owners).
    void SetTabView(int index, TabView* view, const QString& caption);
    TabView* tabView(int index) const { return tabs_[index]; }

    // Start-up hooks: the opening form's progress, and what the end of start-up does.
    std::function<void(int)> OnSplashProgress;
    std::function<void()> OnStartupFinished;
    // The start-up read stopped with the port gone: the opening form goes.
    std::function<void()> OnStartupInterrupted;
    // Creates the link object from its class identity (the link library's factory).
    std::function<ISTDComm*(const char* classIdentity)> CreateLinkObject;
    // Records protocol errors and alarm transitions.
    std::function<void(const QString&, int, int)> HystoryWrite;

    // EngineView
    void SetPanelText(int panel, const QString& text) override;
    void ShowReadMessage(bool visible) override;
    void ShowCommError(bool visible) override;
    void SplashProgress(int count) override;
    void StartupFinished() override;
    void StartupInterrupted() override;
    void ShowPortDialog(const QString& port, const QString& speed, const OpenFailureInfo& failure) override;
    void RefreshView() override;
    void ResetSettingView() override;
    void SetWriteProgress(int value) override;
    void BulkWriteFinished() override;
    // Shell
    void StartWriteProgress() override;
    void OnBulkWriteFinished(QObject* receiver, std::function<void()> handler) override;
    void BlockContactChanged(int block, bool outOfContact) override;

signals:
    // The bulk write's alarm values went out; the save/load dialogs enable their buttons.
    void bulkWriteFinished();
    // regRead has begun: the dialogs that show stored values (port, block names) load them.
    void storedSettingsReading();
    // The engine asks for the port dialog (ShowPortDialog).
    void portDialogRequested(const QString& port, const QString& speed, const OpenFailureInfo& failure);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildMenus();
    void BuildBlockViews();
    void BuildDetailViews();
    // The stored list indexes by key (-1 when missing or not a number).
    void RestoreBlockViewSelections(const QHash<QString, int>& storedIndex);
    void BuildStatusBar();
    void BuildMessages();
    void PlaceMessages();
    // The status bar's "通信異常" box: a lost port, the silent blocks by name, or a poll
    // that went unanswered; the whole text as its tool tip when it is cut.
    void ShowContactTrouble();
    void SaveLoggingChoices();
    // Panel 1: the last poll's outcome followed by what is wrong on the whole line.
    void ShowPanel1();
    void EndProgram();

    RDX_INC& d;
    std::unique_ptr<ISTDComm> link_;
    std::unique_ptr<PollEngine> engine_;
    std::array<TabView*, 7> tabs_{};
    FourBlockView* tab0_ = nullptr;
    TwoBlockView* tab1_ = nullptr;
    OneBlockView* tab2_ = nullptr;
    NameLists* nameLists_ = nullptr;
    ModelessMessages messages_{this};
    bool ending_ = false;
    bool placed_ = false;
    bool panel1ClearPending_ = false;
    // The engine's last word on the "通信異常" message (a poll went unanswered).
    bool commErrorShown_ = false;
    // The contact-trouble text last fitted into its label.
    QString troubleText_;
    QString panel1Outcome_;
};
