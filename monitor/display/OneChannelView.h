// Tab 3 of the main window: every value of one channel, in eight frames, with the
// heating output bar and, for a heating/cooling pair, the cooling output of the pair.
#pragma once

#include "display/TabView.h"
#include "exchange/RDX_INC.h"

#include <array>

class ContactMark;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class Lamp;
class MV_BerGraph;
class ValueLabel;
class NameLists;

class OneChannelView : public TabView {
    Q_OBJECT
public:
    explicit OneChannelView(RDX_INC& data, QWidget* parent = nullptr);

    // The one-channel refresh: visibility by presence and option, then every field.
    void Refresh() override;

    // Selector event: stores the list index as "tab3name"; the view follows at the next
    // refresh.
    void tb3_CHName_Click();
    // The selector is one of the channel-name lists that RefreshNameLists refills.
    void RegisterNames(NameLists& lists);
    // The channel shown: the selector's position, "no selection" counted as channel 0.
    int Channel() const;

    QComboBox* tb3_CHName = nullptr;
    // "通信異常" beside the channel selector while the channel's block is out of contact.
    ContactMark* tb3_Contact = nullptr;
    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr, *Frame4 = nullptr;
    QGroupBox *Frame5 = nullptr, *Frame6 = nullptr, *Frame7 = nullptr, *Frame8 = nullptr;
    // 0: no RDX-410 at this channel; 1: second channel of a heating/cooling pair.
    std::array<QLabel*, 2> Label14{};
    std::array<QLabel*, 11> Label_CF{};

    // Frame1
    QLabel *Text_PV = nullptr, *Text_SV = nullptr, *Label11 = nullptr;
    Lamp *Lamp_up = nullptr, *Lamp_down = nullptr;
    QPushButton* Command_1channe_sv = nullptr;
    // Frame2: index 0 heating output, index 1 the pair's cooling output.
    std::array<QLabel*, 2> Text_MV{};
    MV_BerGraph *MV_BerGraph1 = nullptr, *MV_BerGraph2 = nullptr;
    std::array<Lamp*, 2> Lamp_CONT{};
    QLabel *Label58 = nullptr, *Label59 = nullptr;
    QLabel *Text_HLIM = nullptr, *Text_LLIM = nullptr;
    Lamp* Lamp_AT = nullptr;
    QLabel *Label_HEETCOOL = nullptr, *Label_OUTOFF = nullptr;
    QPushButton* tb3_OUTOFF = nullptr;
    // Frame3, Frame4
    QLabel *Text_A1 = nullptr, *Text_A1HYS = nullptr, *Text_A1ACT = nullptr;
    Lamp* Lamp_A1 = nullptr;
    QLabel *Text_A2 = nullptr, *Text_A2HYS = nullptr, *Text_A2ACT = nullptr;
    Lamp* Lamp_A2 = nullptr;
    // Frame5
    QLabel *Text_MHB = nullptr, *Text_SHB = nullptr;
    Lamp* Lamp_HB = nullptr;
    // Frame6
    QLabel *Text_LPTIM = nullptr, *Text_LPHYS = nullptr;
    Lamp* Lamp_LP = nullptr;
    // Frame7
    QLabel *Text_P = nullptr, *Text_I = nullptr, *Text_D = nullptr;
    QLabel *Text_ARW = nullptr, *Text_CYC = nullptr, *Text_PD = nullptr;
    QLabel *Text_HYS = nullptr, *Text_FILT = nullptr, *Text_SO = nullptr;
    // Frame8
    std::array<QLabel*, 5> Cool{};

signals:
    // Command_1channe_sv: the operator asks to change the main setting of `channel`.
    void svChangeRequested(int channel);
    // tb3_OUTOFF: the operator asks to switch the control output of `channel`.
    void outputSwitchRequested(int channel);

private:
    void BuildFrames();
    void BuildFrame1();
    void BuildFrame2();
    void BuildAlarmFrames();
    void BuildLowerFrames();
    void SetVisibility(int c, bool shown);
    void FillControlFields(int c);
    void FillCoolingOutput(int c);
    void FillAlarmFields(int c);
    void FillLowerFields(int c, bool shown);
    // Every value field and lamp greyed, or live again.
    void ShowContact(int c);

    RDX_INC& d;
    // Every value box and lamp of the frames, greyed together while out of contact.
    QList<ValueLabel*> valueBoxes_;
    QList<Lamp*> lamps_;
};
