// Tab 2: one block in full: PV, SV, three chosen items, the output button, the unit and
// seven lamps per channel.
#pragma once

#include "display/TabView.h"
#include "exchange/RDX_INC.h"

#include <array>

class ContactMark;
class Lamp;
class QComboBox;
class QLabel;
class QPushButton;

class OneBlockView : public TabView {
    Q_OBJECT
public:
    static constexpr int Rows = ChannelsPerBlock;
    using Labels = std::array<QLabel*, Rows>;
    using Lamps = std::array<Lamp*, Rows>;

    explicit OneBlockView(RDX_INC& data, QWidget* parent = nullptr);

    QComboBox* tb2_BName = nullptr;
    std::array<QComboBox*, 3> tb2_Block_P{};
    // "通信異常" beside the block selector while the block is out of contact.
    ContactMark* tb2_Contact = nullptr;
    Labels tb2_label{}, tb2_PV{}, tb2_SV{}, tb2_Para1{}, tb2_Para2{}, tb2_Para3{};
    std::array<QPushButton*, Rows> tb2_OUT{};
    Labels Tab2_Label_CF{};
    // Column headings: PV, SV, Data1..Data3 over the values, CON..AT over the lamps.
    std::array<QLabel*, 5> ValueHeading{};
    std::array<QLabel*, 7> LampHeading{};
    Lamps tb2_staCONT{}, tb2_staA1{}, tb2_staA2{}, tb2_staHB{}, tb2_staLP{}, tb2_staSB{}, tb2_staAT{};

    // PV, SV, the three chosen items and the seven lamps of the block.
    void Refresh() override;

    // Stores "tab2name"; names, output captions, units, greyed and hidden rows follow.
    void tb2_BName_Click();
    // Stores "tab2block0".."tab2block2"; the item shows from the next refresh.
    void tb2_Block_P_Click(int column);
    // Set a selector's index and run its click handler (start-up load).
    void SetBNameIndex(int index);
    void SetBlockPIndex(int column, int index);

signals:
    // The operator pressed the output button of this channel (tb2_OUT_Click); the
    // button only forwards the request.
    void outputSwitchRequested(int channel);

private:
    int Block() const;
    RDX_INC& d;
};
