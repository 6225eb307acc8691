// SubDisp_SaveLoad: the 32 settings of one channel as texts, copied between the channel,
// a work area and channel files; a copy into a channel is written to its whole block.
#pragma once

#include "setdata/ChannelText.h"
#include "setdata/SetDataPrompts.h"

#include <QDialog>
#include <array>

class Shell;
class NameLists;
class RDX_INC;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class SubDisp_SaveLoad : public QDialog {
    Q_OBJECT
public:
    // Pages of Option1: standard items, heating/cooling items, DC-input items.
    enum Page { StandardPage = 0, CoolingPage = 1, DcInputPage = 2 };
    enum Button { MoveToWorkButton = 0, MoveToChannelButton, SaveButton, LoadButton, ReturnButton };

    SubDisp_SaveLoad(RDX_INC& inc, Shell& shell, QWidget* parent = nullptr);

    QComboBox* SaveLoad_CHname = nullptr;
    std::array<QRadioButton*, 3> Option1{};
    // [0] the channel's current texts, [1] the work area, one pair per page.
    std::array<QGroupBox*, 2> Frame1{}, Frame2{}, Frame3{};
    std::array<QLabel*, ChannelFieldCount> Labeldata{};
    std::array<QLabel*, ChannelFieldCount> Labeldata_work{};
    std::array<QPushButton*, 5> Command1{};
    QLabel* Msg_Label = nullptr;

    // File dialogs and message boxes; tests replace them.
    SetDataPrompts Prompts;

    const ChannelTexts& WorkTexts() const { return workTexts_; }
    bool HasWorkData() const { return workFilled_; }
    // The page shown (the Option1 selected).
    int CurrentPage() const { return page_; }

    // mnuSave_CH: channel names refreshed, first channel selected, dialog shown.
    void Open();
    void Form_Activate();
    void Option1_Click(int index);
    void SaveLoad_CHname_Click();
    void Command1_Click(int index);

    // "Move-->", "<---Move", "Save-->", "<--Load", "Return".
    void MoveToWork();
    void MoveToChannel();
    void SaveWork();
    void LoadWork();
    void ReturnClick();

    // The bulk write ended: the buttons can be used again.
    void BulkWriteFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int SelectedChannel() const;
    void ShowPage(int index);
    void ShowWorkTexts();
    void EnableButtons(bool enabled);
    // Unloading forgets the work area: the next opening starts empty.
    void Unload();

    RDX_INC& d;
    Shell& shell_;
    NameLists& lists_;
    ChannelTexts workTexts_{};
    ChannelTexts shown_{};
    bool workFilled_ = false;
    int page_ = StandardPage;
};
