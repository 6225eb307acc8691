// What the exchange engine tells the main window. The engine never includes a widget
// header; MainDisp implements this, tests use a fake. Every method paints at once when
// it must be seen during a blocking step (no event loop runs inside a step).
#pragma once

#include "OpenFailure.h"

#include <QString>

class EngineView {
public:
    virtual ~EngineView() = default;

    // Status-bar panels 1..4.
    virtual void SetPanelText(int panel, const QString& text) = 0;
    // Text_readmsg: the block re-read message.
    virtual void ShowReadMessage(bool visible) = 0;
    // Text_readmsg2: "通信異常".
    virtual void ShowCommError(bool visible) = 0;
    // The opening form's progress bar during the start-up read.
    virtual void SplashProgress(int count) = 0;
    // End of start-up (state 0 done): splash away, main window shown, chart/log resumed.
    virtual void StartupFinished() = 0;
    // The port went away during the start-up read: the loss must be seen (the main window
    // with "通信異常"); the read runs again once the port is back, then StartupFinished.
    virtual void StartupInterrupted() = 0;
    // The probe failed: show the port dialog without waiting, filled with these values,
    // with why the port could not be opened (kind None: block 0 did not answer).
    virtual void ShowPortDialog(const QString& port, const QString& speed, const OpenFailureInfo& failure) = 0;
    // Redraw the visible tab from the tables (SelectDispItem).
    virtual void RefreshView() = 0;
    // After a block re-read: the setting-change view starts over.
    virtual void ResetSettingView() = 0;
    // The main window's ProgressBar1 value during the delay before an alarm-value write.
    virtual void SetWriteProgress(int value) = 0;
    // A bulk write's alarm values went out: progress hidden, panel 4 emptied,
    // the save/load dialogs' buttons enabled again.
    virtual void BulkWriteFinished() = 0;
    // A block went out of contact (its values are frozen) or answered again.
    virtual void BlockContactChanged(int block, bool outOfContact) = 0;
};
