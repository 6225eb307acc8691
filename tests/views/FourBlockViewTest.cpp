#include "ViewTestSupport.h"
#include "display/FourBlockView.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

class FourBlockViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        AllPresent(d);
        for (int c = 0; c < ChannelCount; ++c) d.ChSV[c] = qint16(1000 + c);
    }
    RDX_INC d;
    FourBlockView view{d};
};

TEST_F(FourBlockViewTest, PageButtonsCarryTheDeviceNumberTips) {
    EXPECT_EQ(view.Toolbar1Button[0]->toolTip(), QStringLiteral("MGU-500 機器番号 0 から 3番"));
    EXPECT_EQ(view.Toolbar1Button[1]->toolTip(), QStringLiteral("MGU-500 機器番号 4 から 7番"));
    EXPECT_EQ(view.Toolbar1Button[2]->toolTip(), QStringLiteral("MGU-500 機器番号 8 から B(11)番"));
    EXPECT_EQ(view.Toolbar1Button[3]->toolTip(), QStringLiteral("MGU-500 機器番号 C(12) から F(15)番"));
    EXPECT_EQ(view.Label2->text(), QStringLiteral("ﾓﾆﾀと設定項目選択"));
    ASSERT_EQ(view.Combo1->count(), 31);
    EXPECT_EQ(view.Combo1->itemText(0), QStringLiteral("制御入力値(PV)"));
    EXPECT_EQ(view.Combo1->itemText(30), QStringLiteral("冷却出力ＯＮ／ＯＦＦ動作すきま設定"));
}

TEST_F(FourBlockViewTest, PageFourShowsChannels241To320UnderBlock13sName) {
    StoreBlockName(12, QStringLiteral("炉13"));
    StoreBlockName(15, QStringLiteral("炉16"));
    StoreChannelName(240, QStringLiteral("上段241"));
    StoreChannelName(319, QStringLiteral("下段320"));
    view.Combo1->setCurrentIndex(3);  // SV
    EXPECT_TRUE(view.Toolbar1Button[0]->isChecked());  // the first page shows first
    view.Toolbar1Button[3]->trigger();
    EXPECT_EQ(d.PageIndex, 3);
    for (int b = 0; b < 4; ++b) EXPECT_EQ(view.Toolbar1Button[b]->isChecked(), b == 3) << b;
    EXPECT_EQ(view.Frame_Block[0]->title(), QStringLiteral("炉13"));
    EXPECT_EQ(view.Frame_Block[3]->title(), QStringLiteral("炉16"));
    EXPECT_EQ(view.Label1[0]->text(), QStringLiteral("上段241"));
    EXPECT_EQ(view.Label1[79]->text(), QStringLiteral("下段320"));
    EXPECT_EQ(view.Label1[40]->text(), QStringLiteral("Ch281"));
    view.Refresh();
    EXPECT_EQ(view.Para_Text[0]->text(), QStringLiteral("1240"));
    EXPECT_EQ(view.Para_Text[79]->text(), QStringLiteral("1319"));
}

TEST_F(FourBlockViewTest, OtherButtonKeepsThePageAndStillRedrawsCaptions) {
    view.Toolbar1_ButtonClick(2);
    StoreBlockName(4, QStringLiteral("改名"));
    view.Toolbar1_ButtonClick(7);
    EXPECT_EQ(d.PageIndex, 1);
    EXPECT_EQ(view.Frame_Block[0]->title(), QStringLiteral("改名"));
}

TEST_F(FourBlockViewTest, RefreshFollowsTheChosenItemAndFormatting) {
    view.Toolbar1_ButtonClick(1);
    d.ChInputType[0] = d.ChInputType[1] = 8;  // Pt100: tenths
    d.ChPV[0] = -50;
    d.ChPV[1] = 1234;
    view.Combo1->setCurrentIndex(0);
    view.Refresh();
    EXPECT_EQ(view.Para_Text[0]->text(), QStringLiteral("-5.0"));
    EXPECT_EQ(view.Para_Text[1]->text(), QStringLiteral("123.4"));
    d.ChPV[1] = 7;
    view.Refresh();
    EXPECT_EQ(view.Para_Text[1]->text(), QStringLiteral("0.7"));
}

TEST_F(FourBlockViewTest, Combo1StoresItsIndex) {
    view.Combo1->setCurrentIndex(7);
    EXPECT_EQ(GetSetting(QStringLiteral("tab0block"), QString()), QStringLiteral("7"));
    view.SetCombo1Index(2);
    EXPECT_EQ(GetSetting(QStringLiteral("tab0block"), QString()), QStringLiteral("2"));
    EXPECT_EQ(view.Combo1->currentIndex(), 2);
}

TEST_F(FourBlockViewTest, AbsentPairIsGreyedButStillRefreshed) {
    view.Toolbar1_ButtonClick(2);  // page 1: channels 80..159
    d.ChPresent[82] = d.ChPresent[83] = 0;
    view.Combo1->setCurrentIndex(3);
    view.Combo1_Click();
    EXPECT_FALSE(view.Para_Text[2]->isEnabled());
    EXPECT_FALSE(view.Para_Text[3]->isEnabled());
    EXPECT_TRUE(view.Para_Text[1]->isEnabled());
    EXPECT_TRUE(view.Para_Text[4]->isEnabled());
    view.Refresh();
    EXPECT_EQ(view.Para_Text[2]->text(), QStringLiteral("1082"));
    EXPECT_EQ(view.Para_Text[3]->text(), QStringLiteral("1083"));
    d.ChPresent[82] = d.ChPresent[83] = 1;
    view.Combo1_Click();
    EXPECT_TRUE(view.Para_Text[2]->isEnabled());
}

TEST_F(FourBlockViewTest, HeatingCoolingPairHidesItsSecondChannel) {
    view.Toolbar1_ButtonClick(1);
    d.ChOption[4] = d.ChOption[5] = OptionBit::Cooling | OptionBit::HeaterBreak;
    view.Combo1_Click();
    EXPECT_FALSE(view.Para_Text[4]->isHidden());
    EXPECT_TRUE(view.Para_Text[5]->isHidden());
    EXPECT_FALSE(view.Label1[5]->isHidden());
    // Another page has no such pair at that position.
    view.Toolbar1_ButtonClick(2);
    EXPECT_FALSE(view.Para_Text[5]->isHidden());
}

// Trouble on a page not shown marks that page's button, in words as well as colour, and
// the mark goes when all is well again.
TEST_F(FourBlockViewTest, PageButtonsMarkAlarmsAndSilentBlocksOfEveryPage) {
    view.Toolbar1_ButtonClick(1);  // page 0 shown
    d.BlockOutOfContact[5] = true;
    d.ChStatus[5 * ChannelsPerBlock + 2] = StatusBit::Alarm1;  // frozen in the silent block: not live
    d.ChStatus[200] = StatusBit::OverScale;                      // sensor break on page 8-B
    view.Refresh();
    EXPECT_EQ(view.Toolbar1Button[0]->text(), QStringLiteral("0-3"));
    EXPECT_TRUE(view.Toolbar1Button[0]->icon().isNull());
    EXPECT_EQ(view.Toolbar1Button[1]->text(), QStringLiteral("4-7 通信異常"));
    EXPECT_EQ(view.Toolbar1Button[2]->text(), QStringLiteral("8-B 警報"));
    EXPECT_FALSE(view.Toolbar1Button[1]->icon().isNull());
    EXPECT_FALSE(view.Toolbar1Button[2]->icon().isNull());
    EXPECT_TRUE(view.Toolbar1Button[1]->toolTip().endsWith(QStringLiteral("通信異常 1")));
    d.ChStatus[70] = StatusBit::LoopBreak;  // page 0-3, the page shown, both on page 4-7
    d.ChStatus[90] = StatusBit::HeaterBreak;  // block 4 answers
    view.Refresh();
    EXPECT_EQ(view.Toolbar1Button[0]->text(), QStringLiteral("0-3 警報"));
    EXPECT_EQ(view.Toolbar1Button[1]->text(), QStringLiteral("4-7 警報 通信異常"));
    d.BlockOutOfContact[5] = false;
    d.ChStatus.fill(StatusBit::Control | StatusBit::OutputOn);
    view.Refresh();
    for (int b = 0; b < 4; ++b) {
        EXPECT_EQ(view.Toolbar1Button[b]->text().size(), 3) << b;
        EXPECT_TRUE(view.Toolbar1Button[b]->icon().isNull()) << b;
    }
    EXPECT_EQ(view.Toolbar1Button[1]->toolTip(), QStringLiteral("MGU-500 機器番号 4 から 7番"));
}

}  // namespace
