#include "ViewTestSupport.h"
#include "display/NameLists.h"
#include "display/Lamp.h"
#include "display/TwoBlockView.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class TwoBlockViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        AllPresent(d);
        for (QComboBox* box : view.tb1_BName) box->addItems(BlockNames());
        view.SetBNameIndex(0, 0);
        view.SetBNameIndex(1, 4);  // right half: channels 80..99
    }
    RDX_INC d;
    TwoBlockView view{d};
};

TEST_F(TwoBlockViewTest, BlockSelectorsStoreTheirKeysAndNameTheRows) {
    StoreChannelName(40, QStringLiteral("炉A"));
    StoreChannelName(59, QStringLiteral("炉Z"));
    view.tb1_BName[1]->setCurrentIndex(2);
    EXPECT_EQ(GetSetting(QStringLiteral("tab1name1"), QString()), QStringLiteral("2"));
    EXPECT_EQ(view.tb1_label[20]->text(), QStringLiteral("炉A"));
    EXPECT_EQ(view.tb1_label[39]->text(), QStringLiteral("炉Z"));
    view.tb1_BName[0]->setCurrentIndex(15);
    EXPECT_EQ(GetSetting(QStringLiteral("tab1name0"), QString()), QStringLiteral("15"));
    EXPECT_EQ(view.tb1_label[0]->text(), QStringLiteral("Ch301"));
    view.tb1_Block_P[0]->setCurrentIndex(6);
    view.tb1_Block_P[1]->setCurrentIndex(29);
    EXPECT_EQ(GetSetting(QStringLiteral("tab1block0"), QString()), QStringLiteral("6"));
    EXPECT_EQ(GetSetting(QStringLiteral("tab1block1"), QString()), QStringLiteral("29"));
    // A restored index for a half that does not exist changes neither half.
    for (int none : {2, -1}) {
        view.SetBNameIndex(none, 7);
        view.SetBlockPIndex(none, 7);
        view.tb1_BName_Click(none);
        view.tb1_Block_P_Click(none);
    }
    EXPECT_EQ(view.tb1_BName[0]->currentIndex(), 15);
    EXPECT_EQ(view.tb1_BName[1]->currentIndex(), 2);
    EXPECT_EQ(view.tb1_Block_P[0]->currentIndex(), 6);
    EXPECT_EQ(view.tb1_Block_P[1]->currentIndex(), 29);
    EXPECT_EQ(view.tb1_label[0]->text(), QStringLiteral("Ch301"));
    // Forty rows, each with its unit label; none past them.
    EXPECT_NE(view.UnitLabel(0), nullptr);
    EXPECT_NE(view.UnitLabel(39), nullptr);
    EXPECT_NE(view.UnitLabel(19), view.UnitLabel(20));
    for (int none : {40, -1}) EXPECT_EQ(view.UnitLabel(none), nullptr) << none;
}

TEST_F(TwoBlockViewTest, RefreshShowsPvAndTheHalfsItem) {
    d.ChPV[83] = 245;
    d.ChHeatMV[83] = 505;
    d.ChSV[3] = 300;
    view.SetBlockPIndex(0, 3);
    view.SetBlockPIndex(1, 1);
    view.Refresh();
    EXPECT_EQ(view.tb1_PV[23]->text(), QStringLiteral("245"));
    EXPECT_EQ(view.tb1_Para[23]->text(), QStringLiteral("50.5"));
    EXPECT_EQ(view.tb1_Para[3]->text(), QStringLiteral("300"));
}

TEST_F(TwoBlockViewTest, AlarmLampsFollowTheStatusWord) {
    d.ChStatus[0] = StatusBit::Alarm1;
    d.ChStatus[81] = StatusBit::Alarm2;
    view.Refresh();
    EXPECT_EQ(view.tb1_staA1[0]->color(), Lamp::Red());
    EXPECT_EQ(view.tb1_staA2[0]->color(), Lamp::White());
    EXPECT_EQ(view.tb1_staA1[21]->color(), Lamp::White());
    EXPECT_EQ(view.tb1_staA2[21]->color(), Lamp::Red());
    d.ChStatus[0] = 0;
    view.Refresh();
    EXPECT_EQ(view.tb1_staA1[0]->color(), Lamp::White());
}

TEST_F(TwoBlockViewTest, ThirdLampFollowsTheChosenOptionFromTheNextRefresh) {
    view.Option1[0]->setChecked(true);
    d.ChStatus[3] = StatusBit::HeaterBreak;
    view.Refresh();
    EXPECT_EQ(view.tb1_staA3[3]->color(), Lamp::Red());
    view.Option2[0]->setChecked(true);
    EXPECT_EQ(view.tb1_staA3[3]->color(), Lamp::Red());  // unchanged until the refresh
    view.Refresh();
    EXPECT_EQ(view.tb1_staA3[3]->color(), Lamp::White());
    d.ChStatus[3] = StatusBit::LoopBreak;
    view.Refresh();
    EXPECT_EQ(view.tb1_staA3[3]->color(), Lamp::Red());
    view.Option3[0]->setChecked(true);
    d.ChStatus[3] = StatusBit::UnderScale;
    view.Refresh();
    EXPECT_EQ(view.tb1_staA3[3]->color(), Lamp::Red());
    // The right half keeps its own choice (HB).
    d.ChStatus[83] = StatusBit::UnderScale;
    view.Refresh();
    EXPECT_EQ(view.tb1_staA3[23]->color(), Lamp::White());
}

TEST_F(TwoBlockViewTest, WithNoOptionChosenTheThirdLampKeepsItsColour) {
    d.ChStatus[5] = StatusBit::HeaterBreak;
    view.Refresh();
    ASSERT_EQ(view.tb1_staA3[5]->color(), Lamp::Red());
    for (QRadioButton* o : {view.Option1[0], view.Option2[0], view.Option3[0]}) {
        o->setAutoExclusive(false);
        o->setChecked(false);
    }
    d.ChStatus[5] = 0;
    view.Refresh();
    EXPECT_EQ(view.tb1_staA3[5]->color(), Lamp::Red());
}

TEST_F(TwoBlockViewTest, OutputCaptionsAndUnitsAreSetByTheBlockSelector) {
    d.ChOutputSwitch[0] = 1;
    d.ChOutputSwitch[1] = 0;
    d.ChOutputSwitch[2] = 2;
    d.ChUnitShown[0] = 1;
    d.ChInputType[82] = 12;
    d.ChUnitShown[82] = 1;
    d.ChUnitText[82] = QStringLiteral("kPa");
    view.tb1_BName_Click(0);
    view.tb1_BName_Click(1);
    EXPECT_EQ(view.Comm_OUT[0]->text(), QStringLiteral("ON "));
    EXPECT_EQ(view.Comm_OUT[1]->text(), QStringLiteral("OFF"));
    EXPECT_EQ(view.Comm_OUT[2]->text(), QStringLiteral("OFF"));
    EXPECT_EQ(view.Tab1_Label_CF1[0]->text(), QStringLiteral("ﾟF"));
    EXPECT_EQ(view.Tab1_Label_CF1[1]->text(), QStringLiteral("ﾟC"));
    EXPECT_EQ(view.Tab1_Label_CF2[2]->text(), QStringLiteral("kPa"));
    // The refresh does not touch captions: a switch shows after the next selector event.
    d.ChOutputSwitch[1] = 1;
    view.Refresh();
    EXPECT_EQ(view.Comm_OUT[1]->text(), QStringLiteral("OFF"));
    view.tb1_BName_Click(0);
    EXPECT_EQ(view.Comm_OUT[1]->text(), QStringLiteral("ON "));
}

TEST_F(TwoBlockViewTest, CoolingPairHidesTheSecondRowAndAbsentPairIsGreyed) {
    d.ChOption[86] = d.ChOption[87] = OptionBit::Cooling;
    d.ChPresent[88] = d.ChPresent[89] = 0;
    view.tb1_BName_Click(1);
    for (QWidget* w : std::initializer_list<QWidget*>{view.tb1_PV[27], view.tb1_Para[27], view.Comm_OUT[27],
                                                      view.Tab1_Label_CF2[7], view.tb1_staA1[27],
                                                      view.tb1_staA2[27], view.tb1_staA3[27]})
        EXPECT_TRUE(w->isHidden());
    EXPECT_FALSE(view.tb1_label[27]->isHidden());
    EXPECT_FALSE(view.tb1_PV[26]->isHidden());
    for (int j : {28, 29}) {
        EXPECT_FALSE(view.tb1_PV[j]->isEnabled());
        EXPECT_FALSE(view.tb1_Para[j]->isEnabled());
        EXPECT_FALSE(view.Comm_OUT[j]->isEnabled());
        EXPECT_FALSE(view.Tab1_Label_CF2[j - 20]->isEnabled());
    }
    EXPECT_TRUE(view.tb1_PV[27]->isEnabled());
    // Greyed rows still get their values.
    d.ChPV[88] = 42;
    view.Refresh();
    EXPECT_EQ(view.tb1_PV[28]->text(), QStringLiteral("42"));
    // The left half (block 0) has neither.
    EXPECT_FALSE(view.tb1_PV[7]->isHidden());
    EXPECT_TRUE(view.tb1_PV[8]->isEnabled());
}

TEST_F(TwoBlockViewTest, OutputButtonForwardsItsChannel) {
    QSignalSpy spy(&view, &TwoBlockView::outputSwitchRequested);
    view.Comm_OUT[25]->click();  // row 5 of the right-hand block (block 4)
    view.Comm_OUT[0]->click();
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 85);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 0);
}

// On screen, each half's rows stand in channel order below its lamp headings.
TEST_F(TwoBlockViewTest, RowsStandInChannelOrderUnderTheHeadings) {
    view.resize(1000, 640);
    view.show();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    for (int h = 0; h < 2; ++h) {
        int above = view.A3Heading[h][0]->geometry().bottom();
        for (int k = 0; k < ChannelsPerBlock; ++k) {
            const int j = ChannelsPerBlock * h + k;
            const QRect pv = view.tb1_PV[j]->geometry();
            EXPECT_GT(pv.top(), above) << "half " << h << " row " << k;
            EXPECT_EQ(view.tb1_label[j]->geometry().center().y(), pv.center().y()) << "half " << h << " row " << k;
            above = pv.bottom();
        }
        // The three lamp columns are evenly spaced, lamps under their headings.
        const auto centre = [](QWidget* w) { return w->geometry().center().x(); };
        const int pitch = centre(view.A3Heading[h][1]) - centre(view.A3Heading[h][0]);
        EXPECT_GT(pitch, 0);
        EXPECT_EQ(centre(view.A3Heading[h][2]) - centre(view.A3Heading[h][1]), pitch) << "half " << h;
        const int j = ChannelsPerBlock * h;
        EXPECT_EQ(centre(view.tb1_staA3[j]), centre(view.A3Heading[h][2])) << "half " << h;
    }
}

}  // namespace
