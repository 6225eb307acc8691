#include "editing/SettingEditor.h"

#include "display/OneBlockView.h"
#include "display/OneChannelView.h"
#include "display/SettingChangeView.h"
#include "display/TwoBlockView.h"
#include "editing/DirectOperations.h"
#include "editing/Select_Disp.h"
#include "editing/Setting_Disp.h"

#include <QLabel>

SettingEditor::SettingEditor(RDX_INC& data, WriteRequests& writes, QWidget* dialogParent)
    : QObject(dialogParent), d(data), writes_(writes), parent_(dialogParent) {}

Setting_Disp* SettingEditor::settingDialog() const {
    return setting_ && setting_->isVisible() ? setting_.data() : nullptr;
}
Select_Disp* SettingEditor::selectDialog() const {
    return select_ && select_->isVisible() ? select_.data() : nullptr;
}

void SettingEditor::OpenSettingDialog(int setting, int channel, const QString& currentText) {
    range.EditChannel = channel;
    // The range is computed for `setting`; SelectedItem stays what the tool bars chose,
    // so tab 4 keeps showing the setting its caption names.
    const int chosen = d.SelectedItem;
    d.SelectedItem = setting;
    const SettingRangeTexts texts = ShowSettingRange(d, range, currentText);
    d.SelectedItem = chosen;
    // A closed dialog is on its way to deletion: a new opening gets a new one.
    if (!setting_ || !setting_->isVisible()) setting_ = new Setting_Disp(d, writes_, parent_);
    setting_->prompts = prompts;
    setting_->Prepare(setting, range, texts);
    setting_->show();
    setting_->raise();
    setting_->activateWindow();
}

void SettingEditor::Command_change_Click(int channel, const QString& currentText) {
    range.EditChannel = channel;
    if (!NumericEntryApplicable(d, d.SelectedItem, channel)) return;
    OpenSettingDialog(d.SelectedItem, channel, currentText);
}

void SettingEditor::Command_change2_Click(int channel) {
    range.EditChannel = channel;
    if (!ChoiceEntryApplicable(d, d.SelectedItem, channel)) return;
    if (!select_ || !select_->isVisible()) select_ = new Select_Disp(d, writes_, parent_);
    select_->Prepare(d.SelectedItem, channel);
    select_->show();
    select_->raise();
    select_->activateWindow();
}

void SettingEditor::Command_1channe_sv_Click(int channel, const QString& currentText) {
    range.EditChannel = channel;
    if (!MainSettingEntryAllowed(d, channel)) return;
    OpenSettingDialog(1, channel, currentText);
}

void SettingEditor::Command_OUT_Click(int channel) {
    range.EditChannel = channel;
    SwitchOutputOnSettingView(d, writes_, channel);
}

void SettingEditor::Command_AT_Click(int channel) {
    range.EditChannel = channel;
    SwitchAutoTuning(d, writes_, channel);
}

void SettingEditor::tb3_OUTOFF_Click(int channel) { SwitchOutput(d, writes_, channel); }
bool SettingEditor::Comm_OUT_Click(int channel) { return SwitchOutput(d, writes_, channel); }
bool SettingEditor::tb2_OUT_Click(int channel) { return SwitchOutput(d, writes_, channel); }

// Each view's requests come from the view itself, and a connection ends with its sender:
// the view is there whenever one of its requests arrives.
void SettingEditor::Attach(SettingChangeView& view) {
    connect(&view, &SettingChangeView::settingChangeRequested, this, [this, &view](int row, int channel, int) {
        Command_change_Click(channel, view.Setdata_Para[row]->text());
    });
    connect(&view, &SettingChangeView::choiceChangeRequested, this,
            [this](int, int channel, int) { Command_change2_Click(channel); });
    connect(&view, &SettingChangeView::outputSwitchRequested, this,
            [this](int, int channel) { Command_OUT_Click(channel); });
    connect(&view, &SettingChangeView::autoTuningSwitchRequested, this,
            [this](int, int channel) { Command_AT_Click(channel); });
}

void SettingEditor::Attach(OneChannelView& view) {
    connect(&view, &OneChannelView::svChangeRequested, this, [this, &view](int channel) {
        Command_1channe_sv_Click(channel, view.Text_SV->text());
    });
    connect(&view, &OneChannelView::outputSwitchRequested, this, &SettingEditor::tb3_OUTOFF_Click);
}

void SettingEditor::Attach(TwoBlockView& view) {
    connect(&view, &TwoBlockView::outputSwitchRequested, this, [this, &view](int channel) {
        // Both halves may show the block: both redraw their output captions.
        if (Comm_OUT_Click(channel)) {
            view.tb1_BName_Click(0);
            view.tb1_BName_Click(1);
        }
    });
}

void SettingEditor::Attach(OneBlockView& view) {
    connect(&view, &OneBlockView::outputSwitchRequested, this, [this, &view](int channel) {
        if (tb2_OUT_Click(channel)) view.tb2_BName_Click();
    });
}
