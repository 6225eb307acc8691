// Tab 4 of the main window: one setting (SelectedItem) for the 20 channels of a block,
// each row with its change buttons and the reason when the setting cannot be changed.
#pragma once

#include "display/TabView.h"
#include "exchange/RDX_INC.h"

#include <array>

class ContactMark;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;
class Lamp;
class NameLists;

class SettingChangeView : public TabView {
    Q_OBJECT
public:
    static constexpr int RowCount = ChannelsPerBlock;
    // Panels of each column: 0 numeric value, 1 choice, 2 output and AT switches.
    static constexpr int PanelCount = 3;

    explicit SettingChangeView(RDX_INC& data, QWidget* parent = nullptr);

    // The setting-change refresh: the shown value of SelectedItem and the notes.
    void Refresh() override;
    // Block selector event, also run after every setting choice: names, enabled and
    // visible state of the 20 rows for the block and SelectedItem. Stores nothing.
    void tb4_BName_Click();
    // After a block re-read: numeric panel only, no setting, captions emptied.
    void ResetView();
    // Shows panel `panel` (0..2) in both columns and hides the other two.
    void ShowPanel(int panel);
    void SetFrameCaption(const QString& caption);
    // The selector is one of the block-name lists that RefreshNameLists refills, and the
    // row names follow its block.
    void RegisterNames(NameLists& lists);
    // Block of the selector, "no selection" counted as block 0.
    int Block() const;

    // The note of a row for setting s: by setting, then auto-tuning, then absence,
    // the later overriding the earlier.
    static QString SettingNote(const RDX_INC& d, int s, int channel, int row);

    QComboBox* tb4_BName = nullptr;
    // "通信異常" beside the block selector while the block is out of contact.
    ContactMark* tb4_Contact = nullptr;
    QGroupBox* Frame_main = nullptr;
    // Panel k of the left column (rows 0..9) and of the right column (rows 10..19).
    std::array<QWidget*, PanelCount> Frame_sub1{};
    std::array<QWidget*, PanelCount> Frame_sub2{};
    std::array<QLabel*, RowCount> label_setdata{};
    std::array<QLabel*, RowCount> Setdata_Para{};
    std::array<QPushButton*, RowCount> Command_change{};
    std::array<QLabel*, RowCount> Select_comand{};
    std::array<QPushButton*, RowCount> Command_change2{};
    std::array<QPushButton*, RowCount> Command_OUT{};
    std::array<QPushButton*, RowCount> Command_AT{};
    std::array<Lamp*, RowCount> Shape_OUT{};
    std::array<Lamp*, RowCount> Shape_AT{};
    std::array<QLabel*, RowCount> settin_inf{};

signals:
    // Command_change(row): open the numeric entry for `selectedItem` of `channel`.
    void settingChangeRequested(int row, int channel, int selectedItem);
    // Command_change2(row): open the choice entry for `selectedItem` of `channel`.
    void choiceChangeRequested(int row, int channel, int selectedItem);
    // Command_OUT(row): switch the control output of `channel`.
    void outputSwitchRequested(int row, int channel);
    // Command_AT(row): switch auto-tuning of `channel`.
    void autoTuningSwitchRequested(int row, int channel);

private:
    QWidget* BuildColumn(int column);
    void BuildRowPanels(int row, const std::array<QWidget*, PanelCount>& panels);
    QString ShownValue(int s, int c) const;
    std::array<QWidget*, 9> RowControls(int row) const;

    RDX_INC& d;
};
