#include "display/NameLists.h"
#include "services/SettingsStore.h"
#include "display/ChartView.h"
#include "controls/SubDisp_Chartset.h"
#include "controls/Tesmar_ChartCtl.h"
#include "controls/UpDown.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

class ChartsetDialogTest : public ::testing::Test {
protected:
    RDX_INC data;
    std::unique_ptr<ChartView> view;
    SubDisp_Chartset* dialog = nullptr;

    void SetUp() override {
        for (int c = 0; c < 8; ++c) SaveSetting("Chname" + ChannelSuffix(c), "Ch" + ChannelSuffix(c));
        SaveChartSettings(ChartSettings{});
        SaveChartRunning(false);
        view = std::make_unique<ChartView>(data);
        view->LoadChartSettings();
        dialog = view->chartsetDialog();
    }
    void TearDown() override { SaveChartRunning(false); }

    void Open(const ChartSettings& s) {
        SaveChartSettings(s);
        view->LoadChartSettings();
        view->ChartStart_Click(2);
    }
    QString Shown(int i) const { return dialog->Text1[i]->text(); }
    int Value(int i) const { return dialog->UpDown1[i]->Value(); }
};

TEST_F(ChartsetDialogTest, OpeningShowsTheStoredValuesUnchanged) {
    ChartSettings s;
    s.ChartMin = 400;
    s.ChartMax = 3400;
    s.ChartTim = 12;
    s.PenChannel = {319, 5, 0, 40};
    s.PenItem = {0, 3, 2, 1};
    Open(s);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "ﾁｬｰﾄ描写条件設定画面");
    EXPECT_EQ(Shown(0), "400");
    EXPECT_EQ(Shown(1), "3400");
    EXPECT_EQ(Shown(2), "12");
    EXPECT_EQ(Value(0), 400);
    EXPECT_EQ(Value(1), 3400);
    EXPECT_EQ(Value(2), 12);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(dialog->Chart_CHName[k]->count(), 320);
        EXPECT_EQ(dialog->Chart_CHName[k]->currentIndex(), s.PenChannel[k]);
        EXPECT_EQ(dialog->SelectedItem(k), s.PenItem[k]);
    }
    EXPECT_EQ(dialog->Plot2_Option[3]->text(), "出力操作量(MV)");
}

// Settings that name no drawing of the four choose none; the pens beside them are shown.
TEST_F(ChartsetDialogTest, AnItemOutsideTheFourChoicesChoosesNone) {
    ChartSettings s;
    s.PenItem = {4, 255, 2, 9};
    dialog->Open(s);
    EXPECT_EQ(dialog->SelectedItem(0), -1);
    EXPECT_EQ(dialog->SelectedItem(1), -1);
    EXPECT_EQ(dialog->SelectedItem(2), 2);
    EXPECT_EQ(dialog->SelectedItem(3), -1);
    dialog->close();
}

TEST_F(ChartsetDialogTest, TheMinimumStaysOneStepBelowTheMaximum) {
    ChartSettings s;
    s.ChartMin = 300;
    s.ChartMax = 400;
    Open(s);
    dialog->UpDown1[0]->StepUp();  // minimum raised to the maximum
    EXPECT_EQ(Value(0), 300);
    EXPECT_EQ(Shown(0), "300");
    dialog->UpDown1[1]->StepDown();  // maximum lowered to the minimum
    EXPECT_EQ(Value(1), 400);
    EXPECT_EQ(Shown(1), "400");
    dialog->UpDown1[1]->StepUp();
    EXPECT_EQ(Shown(1), "500");
    dialog->UpDown1[0]->StepUp();
    EXPECT_EQ(Shown(0), "400");
}

TEST_F(ChartsetDialogTest, TheUpDownsStopAtTheEndsOfTheirRanges) {
    ChartSettings s;
    s.ChartMin = -400;
    s.ChartMax = 3400;
    s.ChartTim = 30;
    Open(s);
    dialog->UpDown1[0]->StepDown();
    dialog->UpDown1[1]->StepUp();
    dialog->UpDown1[2]->StepUp();
    EXPECT_EQ(Shown(0), "-400");
    EXPECT_EQ(Shown(1), "3400");
    EXPECT_EQ(Shown(2), "30");
    dialog->UpDown1[2]->SetValue(1);
    dialog->UpDown1[2]->StepDown();
    EXPECT_EQ(Shown(2), "1");
}

TEST_F(ChartsetDialogTest, OkStoresEveryKeyNamesThePensAndEnablesStartAndStop) {
    SaveSetting("Chname046", "炉A");
    Open(ChartSettings{});
    dialog->UpDown1[0]->SetValue(-400);
    dialog->UpDown1[1]->SetValue(1200);
    dialog->UpDown1[2]->SetValue(7);
    dialog->Chart_CHName[0]->setCurrentIndex(45);
    dialog->Chart_CHName[3]->setCurrentIndex(319);
    dialog->Plot1_Option[3]->setChecked(true);
    dialog->Plot2_Option[0]->setChecked(true);
    dialog->Plot3_Option[2]->setChecked(true);
    dialog->Command1[0]->click();

    EXPECT_FALSE(dialog->isVisible());
    const std::pair<const char*, QString> expected[] = {
        {"Chart_Min", "-400"},   {"Chart_Max", "1200"},       {"Chart_Tim", "7"},
        {"Chart_PrNo0", "45"},   {"Chart_PrNo1", "1"},        {"Chart_PrNo2", "2"},
        {"Chart_PrNo3", "319"},  {"Chart_PrVis0", "3"},       {"Chart_PrVis1", "0"},
        {"Chart_PrVis2", "2"},   {"Chart_PrVis3", "1"},       {"Chart_PrName0", "炉A: MV"},
        {"Chart_PrName1", "Ch002: --"}, {"Chart_PrName2", "Ch003: SV"}, {"Chart_PrName3", "Ch320: PV"},
    };
    for (const auto& [key, value] : expected) EXPECT_EQ(GetSetting(key, "missing"), value) << key;
    EXPECT_EQ(view->Label_protname[0]->text(), "炉A: MV");
    EXPECT_EQ(view->Label_protname[1]->text(), "Ch002: --");
    EXPECT_TRUE(view->ChartStart[0]->isEnabled());
    EXPECT_TRUE(view->ChartStart[1]->isEnabled());
    EXPECT_EQ(GetSetting("Chart_start", ""), "0");  // confirming does not start

    // The next start uses the confirmed settings.
    data.ChHeatMV[45] = 555;
    view->ChartStart_Click(0);
    EXPECT_EQ(view->Tesmar_ChartCtl1->SclMin(), -400);
    EXPECT_EQ(view->Tesmar_ChartCtl1->SclMax(), 1200);
    EXPECT_EQ(view->Timer2.interval(), 7000);
    EXPECT_EQ(view->Tesmar_ChartCtl1->DataLabel(0), "56");
    EXPECT_EQ(view->Tesmar_ChartCtl1->PenVisible(1), 0);
}

TEST_F(ChartsetDialogTest, CancelChangesNothing) {
    Open(ChartSettings{});
    dialog->UpDown1[1]->SetValue(800);
    dialog->Chart_CHName[2]->setCurrentIndex(9);
    dialog->Plot3_Option[0]->setChecked(true);
    dialog->Command1[1]->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(GetSetting("Chart_Max", ""), "400");
    EXPECT_EQ(GetSetting("Chart_PrNo2", ""), "2");
    EXPECT_EQ(GetSetting("Chart_PrVis2", ""), "1");
    EXPECT_EQ(view->Settings(), ChartSettings{});
    EXPECT_FALSE(view->ChartStart[0]->isEnabled());
    // Reopening shows the stored values again, not the discarded ones.
    view->ChartStart_Click(2);
    EXPECT_EQ(Shown(1), "400");
    EXPECT_EQ(dialog->SelectedItem(2), 1);
    // No pen outside the four has a choice, not even the last pen's.
    for (int pen : {-1, 4}) EXPECT_EQ(dialog->SelectedItem(pen), -1) << pen;
}

TEST_F(ChartsetDialogTest, ConfirmingWhileTheChartRunsLeavesTheRunningChartAsItWas) {
    Open(ChartSettings{});  // the dialog stays open while the chart starts
    view->ChartStart_Click(0);
    dialog->Chart_CHName[0]->setCurrentIndex(7);
    dialog->Plot1_Option[3]->setChecked(true);
    dialog->Command1[0]->click();
    data.ChPV[0] = 42;
    data.ChHeatMV[7] = 990;
    view->Timer2_Timer();
    EXPECT_EQ(view->Tesmar_ChartCtl1->DataLabel(0), "42");
    view->ChartStart_Click(1);
    view->ChartStart_Click(0);
    EXPECT_EQ(view->Tesmar_ChartCtl1->DataLabel(0), "99");
}

TEST_F(ChartsetDialogTest, PenNamesFollowTheChannelNames) {
    NameLists lists;
    view->RegisterNames(lists);
    ChartSettings s;
    s.PenChannel = {1, 4, 2, 3};
    s.PenItem = {1, 2, 0, 3};
    SaveChartSettings(s);
    view->LoadChartSettings();
    SaveSetting("Chname005", "ﾋｰﾀ上段");
    lists.RefreshNameLists(NameLists::ChannelNamesChanged);
    EXPECT_EQ(view->Label_protname[0]->text(), "Ch002: PV");
    EXPECT_EQ(view->Label_protname[1]->text(), "ﾋｰﾀ上段: SV");
    EXPECT_EQ(view->Label_protname[2]->text(), "Ch003: --");
    EXPECT_EQ(view->Label_protname[3]->text(), "Ch004: MV");
    EXPECT_EQ(dialog->Chart_CHName[1]->currentIndex(), 4);
    EXPECT_EQ(dialog->Chart_CHName[1]->itemText(4), "ﾋｰﾀ上段");

    // A block-name change leaves the pen names alone.
    SaveSetting("Chname005", "別名");
    lists.RefreshNameLists(NameLists::BlockNamesChanged);
    EXPECT_EQ(view->Label_protname[1]->text(), "ﾋｰﾀ上段: SV");
    // Opening the dialog refreshes the channel names first.
    view->ChartStart_Click(2);
    EXPECT_EQ(view->Label_protname[1]->text(), "別名: SV");
    EXPECT_EQ(dialog->Chart_CHName[1]->currentText(), "別名");
    SaveSetting("Chname005", "Ch005");
}

}  // namespace
