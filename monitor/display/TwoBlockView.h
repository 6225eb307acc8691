// Tab 1: two blocks side by side, each with PV, one chosen item, the output button,
// the unit and three alarm lamps per channel.
#pragma once

#include "display/TabView.h"
#include "exchange/RDX_INC.h"

#include <array>

class ContactMark;
class Lamp;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class TwoBlockView : public TabView {
    Q_OBJECT
public:
    static constexpr int Rows = 2 * ChannelsPerBlock;  // row k of half h is 20·h + k

    explicit TwoBlockView(RDX_INC& data, QWidget* parent = nullptr);

    std::array<QComboBox*, 2> tb1_BName{};
    std::array<QComboBox*, 2> tb1_Block_P{};
    // "通信異常" beside a half's block selector while that block is out of contact.
    std::array<ContactMark*, 2> tb1_Contact{};
    std::array<QLabel*, Rows> tb1_label{};
    std::array<QLabel*, Rows> tb1_PV{};
    std::array<QLabel*, Rows> tb1_Para{};
    std::array<QPushButton*, Rows> Comm_OUT{};
    std::array<QLabel*, ChannelsPerBlock> Tab1_Label_CF1{};
    std::array<QLabel*, ChannelsPerBlock> Tab1_Label_CF2{};
    std::array<Lamp*, Rows> tb1_staA1{};
    std::array<Lamp*, Rows> tb1_staA2{};
    std::array<Lamp*, Rows> tb1_staA3{};
    std::array<QGroupBox*, 2> A3select{};
    std::array<QRadioButton*, 2> Option1{};  // "HB"
    std::array<QRadioButton*, 2> Option2{};  // "LP"
    std::array<QRadioButton*, 2> Option3{};  // "SB"
    // The lamp headings "A1", "A2", "A3" of each half.
    std::array<std::array<QLabel*, 3>, 2> A3Heading{};

    // Unit label of row j (Tab1_Label_CF1 for the left half, Tab1_Label_CF2 for the right).
    QLabel* UnitLabel(int row) const;

    // PV, chosen item and the three lamps of both halves.
    void Refresh() override;

    // Stores "tab1name0"/"tab1name1"; names, output captions, units, greyed and hidden
    // rows of the half follow the chosen block.
    void tb1_BName_Click(int half);
    // Stores "tab1block0"/"tab1block1"; the item shows from the next refresh.
    void tb1_Block_P_Click(int half);
    // Set a selector's index and run its click handler (start-up load).
    void SetBNameIndex(int half, int index);
    void SetBlockPIndex(int half, int index);

signals:
    // The operator pressed the output button of this channel (Comm_OUT_Click); the
    // button only forwards the request.
    void outputSwitchRequested(int channel);

private:
    QGroupBox* BuildHalf(int half);
    int BlockOf(int half) const;
    RDX_INC& d;
};
