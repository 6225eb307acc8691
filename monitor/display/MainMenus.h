// The main window's menu bar: every command with its caption, the window-size commands,
// help and the version dialog. Commands whose dialogs belong elsewhere are announced by
// signals and are enabled only while something is connected to them.
#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QToolBar>

class QAction;
class QMainWindow;
class QMenu;
class HelpWindow;
class SubDisp_About;

class MainMenus : public QObject {
    Q_OBJECT
public:
    explicit MainMenus(QMainWindow& window);

    // Window size: normal, minimised, maximised; then the progress bar is placed again.
    void mnunom_Click();
    void mnuMin_Click();
    void mnuMax_Click();
    // Opens the help file "RDX_MONITOR_JP" on its topics list.
    void numhelp2_Click();
    // Shows the version dialog without waiting for it.
    void numabout_Click();
    // Enables each signalled command while a receiver is connected to its signal (run on
    // every connection and disconnection).
    void UpdateCommandStates();

    // The open help window and version dialog, or nullptr.
    HelpWindow* helpWindow() const;
    SubDisp_About* aboutDialog() const;

    // What the commands act on, set by the main window after it built them.
    QPointer<QProgressBar> ProgressBar1;
    QPointer<QToolBar> Toolbar3;

    QAction *mnuEnd = nullptr;
    QAction *mnuDevno = nullptr, *mnuCHname = nullptr, *mnuMqtt = nullptr;
    QAction *mnunom = nullptr, *mnuMin = nullptr, *mnuMax = nullptr;
    QAction *mnuSave_CH = nullptr, *mnuSave_BLK = nullptr, *mnuSave_ALL = nullptr, *mnuCompare = nullptr;
    QAction *mnuFactory = nullptr, *numhyst = nullptr, *mnuLineDiag = nullptr;
    QAction *numhelp2 = nullptr, *numabout = nullptr;

signals:
    void mnuDevno_Click();     // block name registration
    void mnuCHname_Click();    // channel name registration
    void mnuMqtt_Click();      // MQTT publishing
    void mnuSave_CH_Click();   // set-data save and load, one channel
    void mnuSave_BLK_Click();  // per block
    void mnuSave_ALL_Click();  // all channels
    void mnuCompare_Click();   // a set-data file compared with the line
    void mnuFactory_Click();   // factory initialisation
    void numhyst_Click();      // alarm history
    void mnuLineDiag_Click();  // line diagnostics

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void connectNotify(const QMetaMethod& signal) override;
    void disconnectNotify(const QMetaMethod& signal) override;

private:
    void SetWindowState(Qt::WindowStates state);
    void PlaceProgressBar();
    int ProgressBarTop() const;
    QAction* Signalled(QMenu* menu, const QString& caption, void (MainMenus::*signal)());

    QMainWindow& window_;
    QPointer<HelpWindow> help_;
    QPointer<SubDisp_About> about_;
    QList<QPair<QAction*, void (MainMenus::*)()>> signalled_;
};
