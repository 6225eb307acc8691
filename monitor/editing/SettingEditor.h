// The main window's per-channel buttons: finds the channel, asks DirectOperations whether
// the button acts, opens the entry dialogs or requests the write, and redraws the view
// whose output captions changed. One object for the main window; the views only signal.
#pragma once

#include "format/SettingRange.h"
#include "editing/Prompts.h"
#include "exchange/RDX_INC.h"

#include <QObject>
#include <QPointer>

class OneBlockView;
class OneChannelView;
class Select_Disp;
class SettingChangeView;
class Setting_Disp;
class TwoBlockView;
class QWidget;
class WriteRequests;

class SettingEditor : public QObject {
    Q_OBJECT
public:
    // Dialogs open as windows of dialogParent (the main window); changed settings are
    // requested from writes.
    SettingEditor(RDX_INC& data, WriteRequests& writes, QWidget* dialogParent);

    // Setting-change view (tab 4): row buttons; currentText is the row's value caption.
    void Command_change_Click(int channel, const QString& currentText);
    void Command_change2_Click(int channel);
    void Command_OUT_Click(int channel);
    void Command_AT_Click(int channel);
    // One-channel view (tab 3); currentText is the caption of its SV field.
    void Command_1channe_sv_Click(int channel, const QString& currentText);
    void tb3_OUTOFF_Click(int channel);
    // Two-block and one-block views: output buttons (the views redraw their captions).
    bool Comm_OUT_Click(int channel);
    bool tb2_OUT_Click(int channel);

    // Connects the views' button signals to the handlers above.
    void Attach(SettingChangeView& view);
    void Attach(OneChannelView& view);
    void Attach(TwoBlockView& view);
    void Attach(OneBlockView& view);

    // The dialogs while they are open, else nullptr.
    Setting_Disp* settingDialog() const;
    Select_Disp* selectDialog() const;

    // EditChannel and the settable range of the setting being opened.
    SettingRange range;
    // Message boxes and beep of the dialogs this object opens.
    Prompts prompts = Prompts::Standard();

private:
    void OpenSettingDialog(int setting, int channel, const QString& currentText);

    RDX_INC& d;
    WriteRequests& writes_;
    QWidget* parent_;
    QPointer<Setting_Disp> setting_;
    QPointer<Select_Disp> select_;
};
