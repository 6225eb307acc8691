// The choice dialog "設定項目動作選択画面": one of six frames with the options of a
// choice setting (or the unit text), preselected with the current value.
#pragma once

class WriteRequests;

#include "exchange/RDX_INC.h"

#include <QDialog>
#include <array>
#include <span>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Select_Disp : public QDialog {
    Q_OBJECT
public:
    Select_Disp(RDX_INC& data, WriteRequests& writes, QWidget* parent = nullptr);

    // Shows only the frame of `setting` with the option of the channel's current value
    // selected (none when the value has no option). The dialog keeps this channel and
    // setting until the next Prepare.
    void Prepare(int setting, int channel);

    void Command1_Click();  // OK: the selected option into the table, then committed
    void Command2_Click();  // "Cancel"

    int Setting() const { return setting_; }
    int Channel() const { return channel_; }

    QGroupBox *Select_alarm = nullptr, *Select_hc = nullptr, *Select_cf = nullptr;
    QGroupBox *Select_cool = nullptr, *Select_dp = nullptr, *Select_unit = nullptr;
    std::array<QRadioButton*, 13> Option_alarm{};
    std::array<QRadioButton*, 2> Option_hc{};
    std::array<QRadioButton*, 2> Option_cf{};
    std::array<QRadioButton*, 3> Option_cool{};
    std::array<QRadioButton*, 5> Option_dp{};
    QLineEdit* Text_unit = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

signals:
    void committed(int setting, int channel);

private:
    QGroupBox* Frame(const QString& caption, std::span<const char* const> texts,
                     std::span<QRadioButton*> options);
    QGroupBox* FrameOf(int setting) const;
    std::span<QRadioButton* const> OptionsOf(int setting) const;
    // Index of the checked option of the setting's frame, or -1.
    int Selected(int setting) const;

    RDX_INC& d;
    WriteRequests& writes_;
    int setting_ = 0;
    int channel_ = 0;
};
