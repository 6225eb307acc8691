#include "ViewTestSupport.h"
#include "app/DialogWiring.h"
#include "app/SubDisp_Block.h"
#include "app/SubDisp_Chname.h"
#include "app/SubDisp_comm.h"
#include "app/MainDisp.h"
#include "display/FourBlockView.h"
#include "display/MainMenus.h"
#include "display/OneBlockView.h"
#include "display/OneChannelView.h"
#include "display/TwoBlockView.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

class MainDispViewsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AllPresent(d);
        for (int b = 0; b < BlockCount; ++b) StoreBlockName(b, QStringLiteral("Block") + BlockSuffix(b));
        for (int c = 0; c < ChannelCount; ++c) {
            StoreChannelName(c, QStringLiteral("Ch") + ChannelSuffix(c));
            d.ChPV[c] = qint16(c);
        }
        const std::pair<const char*, const char*> selections[] = {
            {"tab1name0", "3"},  {"tab1name1", "5"},  {"tab2name", "7"},   {"tab0block", "0"},
            {"tab1block0", "1"}, {"tab1block1", "2"}, {"tab2block0", "6"}, {"tab2block1", "7"},
            {"tab2block2", "8"}};
        for (const auto& [key, value] : selections) SaveSetting(QString::fromLatin1(key), QString::fromLatin1(value));
    }
    FourBlockView& tab0() { return *w.fourBlockView(); }
    TwoBlockView& tab1() { return *w.twoBlockView(); }
    OneBlockView& tab2() { return *w.oneBlockView(); }

    RDX_INC d;
    MainDisp w{d};
    ShellDialogs dialogs = ConnectDialogs(d, w);
};

TEST_F(MainDispViewsTest, TabsCarryTheirCaptionsAndViews) {
    ASSERT_EQ(w.SSTab1->count(), 7);
    EXPECT_EQ(w.SSTab1->tabText(0), QStringLiteral("4ﾌﾞﾛｯｸ画面"));
    EXPECT_EQ(w.SSTab1->tabText(1), QStringLiteral("2ﾌﾞﾛｯｸ画面"));
    EXPECT_EQ(w.SSTab1->tabText(2), QStringLiteral("1ﾌﾞﾛｯｸ画面"));
    EXPECT_EQ(w.SSTab1->widget(0), w.fourBlockView());
    EXPECT_EQ(w.SSTab1->widget(1), w.twoBlockView());
    EXPECT_EQ(w.SSTab1->widget(2), w.oneBlockView());
    // The window opens on the four-block tab; a view put into another tab leaves it there,
    // and one put into the tab shown stays shown.
    EXPECT_EQ(w.SSTab1->currentIndex(), 0);
    auto* chart = new TabView;
    w.SetTabView(5, chart, QStringLiteral("ﾁｬｰﾄ画面"));
    EXPECT_EQ(w.SSTab1->currentIndex(), 0);
    EXPECT_EQ(w.SSTab1->widget(5), chart);
    EXPECT_EQ(w.SSTab1->tabText(5), QStringLiteral("ﾁｬｰﾄ画面"));
    w.SSTab1->setCurrentIndex(5);
    auto* again = new TabView;
    w.SetTabView(5, again, QString());
    EXPECT_EQ(w.SSTab1->currentIndex(), 5);
    EXPECT_EQ(w.SSTab1->widget(5), again);
}

TEST_F(MainDispViewsTest, StartUpLoadRestoresNamesAndSelections) {
    StoreBlockName(0, QStringLiteral("第1炉"));
    StoreBlockName(2, QStringLiteral("第3炉"));
    StoreBlockName(3, QStringLiteral("第4炉"));
    StoreChannelName(79, QStringLiteral("末尾"));
    StoreChannelName(60, QStringLiteral("炉4-1"));
    w.regRead();
    EXPECT_EQ(dialogs.blockNames->DvtoN[2]->text(), QStringLiteral("第3炉"));
    EXPECT_EQ(tab0().Frame_Block[0]->title(), QStringLiteral("第1炉"));
    EXPECT_EQ(tab0().Frame_Block[2]->title(), QStringLiteral("第3炉"));
    EXPECT_EQ(tab0().Frame_Block[3]->title(), QStringLiteral("第4炉"));
    EXPECT_EQ(tab0().Label1[79]->text(), QStringLiteral("末尾"));
    EXPECT_EQ(tab1().tb1_BName[0]->count(), 16);
    EXPECT_EQ(tab1().tb1_BName[0]->currentIndex(), 3);
    EXPECT_EQ(tab1().tb1_BName[1]->currentIndex(), 5);
    EXPECT_EQ(tab1().tb1_BName[0]->itemText(2), QStringLiteral("第3炉"));
    EXPECT_EQ(tab1().tb1_label[0]->text(), QStringLiteral("炉4-1"));
    EXPECT_EQ(tab1().tb1_label[20]->text(), QStringLiteral("Ch101"));
    EXPECT_EQ(tab2().tb2_BName->currentIndex(), 7);
    EXPECT_EQ(tab2().tb2_label[0]->text(), QStringLiteral("Ch141"));
    EXPECT_EQ(tab1().tb1_Block_P[0]->currentIndex(), 1);
    EXPECT_EQ(tab1().tb1_Block_P[1]->currentIndex(), 2);
    EXPECT_EQ(tab2().tb2_Block_P[0]->currentIndex(), 6);
    EXPECT_EQ(tab2().tb2_Block_P[2]->currentIndex(), 8);
}

TEST_F(MainDispViewsTest, StartUpLoadOpensTheStoredChannelOfTheOneChannelView) {
    SaveSetting(QStringLiteral("tab3name"), QStringLiteral("130"));
    w.regRead();
    EXPECT_EQ(w.oneChannelView->tb3_CHName->currentIndex(), 130);
    EXPECT_EQ(GetSetting(QStringLiteral("tab3name"), QString()), QStringLiteral("130"));
    // The next start opens it again.
    MainDisp again(d);
    again.regRead();
    EXPECT_EQ(again.oneChannelView->tb3_CHName->currentIndex(), 130);
}

// The shell builds the port dialog: the start-up load fills it from the store, and the
// engine's request through the window shows it with the port that failed.
TEST_F(MainDispViewsTest, StartUpLoadAndTheEnginesRequestReachThePortDialog) {
    SaveSetting(QStringLiteral("Port"), QStringLiteral("COM2"));
    SaveSetting(QStringLiteral("Speed"), QStringLiteral("19200"));
    w.regRead();
    SubDisp_comm& port = *dialogs.port;
    EXPECT_EQ(port.Combo_Port->currentText(), QStringLiteral("COM2"));
    EXPECT_EQ(port.Combo_Rate->currentText(), QStringLiteral("19200"));
    EXPECT_FALSE(port.isVisible());
    w.ShowPortDialog(QStringLiteral("COM1"), QStringLiteral("9600"), OpenFailureInfo{});
    EXPECT_TRUE(port.isVisible());
    EXPECT_EQ(port.Combo_Port->currentText(), QStringLiteral("COM1"));
    EXPECT_EQ(port.Combo_Rate->currentText(), QStringLiteral("9600"));
    SaveSetting(QStringLiteral("Port"), QStringLiteral("COM1"));
    SaveSetting(QStringLiteral("Speed"), QStringLiteral("9600"));
}

TEST_F(MainDispViewsTest, UnusableStoredIndexFallsBackToTheDefaultAndTheRestIsRestored) {
    SaveSetting(QStringLiteral("tab1name1"), QStringLiteral("16"));
    SaveSetting(QStringLiteral("tab1block0"), QStringLiteral("abc"));
    w.regRead();
    EXPECT_EQ(tab1().tb1_BName[1]->currentIndex(), 0);
    EXPECT_EQ(GetSetting(QStringLiteral("tab1name1"), QString()), QStringLiteral("0"));
    EXPECT_EQ(tab1().tb1_Block_P[0]->currentIndex(), 3);
    EXPECT_EQ(tab2().tb2_BName->currentIndex(), 7);
    EXPECT_EQ(tab2().tb2_Block_P[2]->currentIndex(), 8);
}

TEST_F(MainDispViewsTest, RefreshDispatchesToTheVisibleTabOnly) {
    w.regRead();
    w.SSTab1->setCurrentIndex(1);
    d.ChPV[60] = 777;
    d.ChPV[0] = 555;
    w.SelectDispItem();
    EXPECT_EQ(tab1().tb1_PV[0]->text(), QStringLiteral("777"));
    EXPECT_NE(tab0().Para_Text[0]->text(), QStringLiteral("555"));
    for (int tab : {5, 6}) {
        w.SSTab1->setCurrentIndex(tab);
        d.ChPV[60] = qint16(100 + tab);
        w.SelectDispItem();
        EXPECT_EQ(tab1().tb1_PV[0]->text(), QStringLiteral("777"));
        EXPECT_NE(tab0().Para_Text[0]->text(), QStringLiteral("555"));
    }
    w.SSTab1->setCurrentIndex(0);
    w.SelectDispItem();
    EXPECT_EQ(tab0().Para_Text[0]->text(), QStringLiteral("555"));
}

TEST_F(MainDispViewsTest, ActivationAppliesCaptionsAndRows) {
    w.regRead();
    d.ChOutputSwitch[60] = 1;
    d.ChOption[1] = OptionBit::Cooling;
    d.ChOption[141] = OptionBit::Cooling;
    d.ChPresent[102] = d.ChPresent[103] = 0;
    w.Form_Activate();
    EXPECT_EQ(tab1().Comm_OUT[0]->text(), QStringLiteral("ON "));
    EXPECT_TRUE(tab0().Para_Text[1]->isHidden());
    EXPECT_TRUE(tab2().tb2_PV[1]->isHidden());
    EXPECT_FALSE(tab1().tb1_PV[22]->isEnabled());
}

TEST_F(MainDispViewsTest, BlockDialogRecaptionsTheShownPage) {
    w.regRead();
    tab0().Toolbar1Button[1]->trigger();  // page 1: blocks 4..7
    tab1().tb1_BName[0]->setCurrentIndex(4);
    w.menus->mnuDevno->trigger();
    ASSERT_TRUE(dialogs.blockNames->isVisible());
    dialogs.blockNames->DvtoN[4]->clear();
    dialogs.blockNames->DvtoN[7]->setText(QStringLiteral("第8"));
    dialogs.blockNames->DvOK->click();
    EXPECT_EQ(tab0().Frame_Block[0]->title(), QString());
    EXPECT_EQ(tab0().Frame_Block[3]->title(), QStringLiteral("第8"));
    EXPECT_EQ(tab1().tb1_BName[0]->currentIndex(), 4);
    EXPECT_EQ(tab1().tb1_BName[0]->currentText(), QString());
    EXPECT_EQ(tab2().tb2_BName->itemText(7), QStringLiteral("第8"));
}

TEST_F(MainDispViewsTest, ChannelDialogRelabelsTheShownPageAndTheRows) {
    w.regRead();
    tab0().Toolbar1Button[2]->trigger();  // page 2: channels 160..239
    w.menus->mnuCHname->trigger();
    SubDisp_Chname& dialog = *dialogs.channelNames;
    ASSERT_TRUE(dialog.isVisible());
    dialog.Block_Name->setCurrentIndex(8);  // channels 160..179
    dialog.ChName[0]->setText(QStringLiteral("新161"));
    dialog.Command1->click();
    EXPECT_EQ(tab0().Label1[0]->text(), QStringLiteral("新161"));
    tab1().tb1_BName[1]->setCurrentIndex(8);
    EXPECT_EQ(tab1().tb1_label[20]->text(), QStringLiteral("新161"));
}

}  // namespace
