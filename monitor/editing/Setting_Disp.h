// The numeric setting dialog "設定値変更画面": ten-key pad and keyboard entry of one
// setting of one channel, checked against the settable range, then committed.
#pragma once

class WriteRequests;

#include "format/SettingRange.h"
#include "editing/Prompts.h"
#include "editing/SettingEntry.h"
#include "exchange/RDX_INC.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class Setting_Disp : public QDialog {
    Q_OBJECT
public:
    Setting_Disp(RDX_INC& data, WriteRequests& writes, QWidget* parent = nullptr);

    // A new entry for `setting` of channel range.EditChannel, whose range and captions
    // ShowSettingRange computed: the captions go to Now_data and Limit_data (a missing
    // range text leaves Limit_data as it is) and change_data is emptied. The dialog keeps
    // this channel and setting until the next Prepare, whatever else the window changes.
    void Prepare(int setting, const SettingRange& range, const SettingRangeTexts& texts);

    void Ten_key_Click(int digit);
    void Point_Click();     // "."
    void Command1_Click();  // "+/-"
    void Command2_Click();  // "CE"
    void Command3_Click();  // "OK"
    void Command4_Click();  // "Cancel"

    int Setting() const { return setting_; }
    int Channel() const { return channel_; }

    QLabel* change_data = nullptr;  // the entry in stored units; not shown
    // What the entry changes: the channel, its name and the setting.
    QLabel* Target_data = nullptr;
    QLineEdit* Disp_setdata = nullptr;
    QLabel* Now_data = nullptr;
    QLabel* Limit_data = nullptr;
    std::array<QPushButton*, 10> Ten_key{};
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;

    Prompts prompts = Prompts::Standard();

signals:
    // OK stored the value and handed the setting on.
    void committed(int setting, int channel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void After(SettingEntry::KeyResult result);
    void Show();
    void OutOfRange();

    RDX_INC& d;
    WriteRequests& writes_;
    SettingEntry entry_;
    int setting_ = 0;
    int channel_ = 0;
};
