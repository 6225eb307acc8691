// Tab 0: one chosen data item for the 80 channels of a page of four blocks.
#pragma once

#include "display/TabView.h"
#include "exchange/RDX_INC.h"

#include <array>

class ContactMark;
class LineOverview;
class QStackedWidget;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QToolBar;

class FourBlockView : public TabView {
    Q_OBJECT
public:
    static constexpr int Channels = 80;

    explicit FourBlockView(RDX_INC& data, QWidget* parent = nullptr);

    QToolBar* Toolbar1 = nullptr;
    // Toolbar1 button 1..4 is Toolbar1Button[0..3].
    std::array<QAction*, 4> Toolbar1Button{};
    // Button 5, "全体": the whole line at once (LineOverview) instead of a page.
    QAction* OverviewButton = nullptr;
    LineOverview* overview = nullptr;
    bool OverviewShown() const;
    std::array<QGroupBox*, 4> Frame_Block{};
    // "通信異常" on the title line of a frame whose block is out of contact.
    std::array<ContactMark*, 4> Frame_Contact{};
    std::array<QLabel*, Channels> Label1{};
    std::array<QLabel*, Channels> Para_Text{};
    QLabel* Label2 = nullptr;
    QComboBox* Combo1 = nullptr;

    // Values of the chosen item for the page's 80 channels, and the page marks.
    void Refresh() override;
    // Button p carries "警報" (and a red lamp) while a channel of page p is in alarm and
    // "通信異常" (and a grey lamp) while one of its blocks is out of contact.
    void ShowPageMarks();

    // Stores "tab0block" and greys absent pairs, hides the cooling channel of pairs.
    void Combo1_Click();
    // Button 1..4 chooses page 0..3; then captions, channel labels and Combo1_Click.
    // Button 5 shows the whole line; the page stays chosen for when a page is shown again.
    void Toolbar1_ButtonClick(int button);
    // Sets Combo1's index and runs its click handler (start-up load).
    void SetCombo1Index(int index);

    // Frame_Block(n) := name of block 4·PageIndex + n.
    void ShowFrameCaptions();
    // Label1(i) := name of channel 80·PageIndex + i.
    void ShowChannelLabels();

private:
    int FirstChannel() const;
    QStackedWidget* shown_ = nullptr;
    RDX_INC& d;
};
