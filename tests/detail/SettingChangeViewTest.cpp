#include "services/SettingsStore.h"
#include "display/Lamp.h"
#include "display/SettingChangeView.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class SettingChangeViewTest : public ::testing::Test {
protected:
    // Block `b`, all 20 channels present, then setting s chosen and the rows laid out.
    void Choose(int block, int s, int panel = 0) {
        view.tb4_BName->setCurrentIndex(block);
        d.SelectedItem = s;
        view.ShowPanel(panel);
        view.tb4_BName_Click();
        view.Refresh();
    }
    void PresentBlock(int block) {
        for (int i = 0; i < 20; ++i) d.ChPresent[20 * block + i] = 1;
    }
    bool Shown(const QWidget* w) const { return w->isVisibleTo(&view); }
    QString Note(int row) const { return view.settin_inf[row]->text(); }

    RDX_INC d;
    SettingChangeView view{d};
};

TEST_F(SettingChangeViewTest, NotesFollowTheirPriority) {
    PresentBlock(0);
    // Row 0: alarm 1 not used; row 1: also auto-tuning; row 2: also absent.
    d.ChAlarm1Type[0] = d.ChAlarm1Type[1] = d.ChAlarm1Type[2] = 0;
    d.ChStatus[1] = d.ChStatus[2] = StatusBit::AutoTuning;
    d.ChPresent[2] = 0;
    d.ChAlarm1Type[3] = 1;
    Choose(0, 2);
    EXPECT_EQ(Note(0), QStringLiteral("設定不可：警報動作なし。"));
    EXPECT_EQ(Note(1), QStringLiteral("設定不可：ＡＴ中。"));
    EXPECT_EQ(Note(2), QStringLiteral("RDX-410が未接続のﾁｬﾝﾈﾙ。"));
    EXPECT_EQ(Note(3), QString());

    // Alarm 2's note looks at alarm 2's type only.
    d.ChAlarm2Type[0] = 5;
    d.ChAlarm2Type[3] = 0;
    Choose(0, 3);
    EXPECT_EQ(Note(0), QString());
    EXPECT_EQ(Note(3), QStringLiteral("設定不可：警報動作なし。"));
}

TEST_F(SettingChangeViewTest, NotesForMissingOptionsAndInputs) {
    PresentBlock(1);
    const int base = 20;
    d.ChOption[base + 0] = d.ChOption[base + 1] = OptionBit::HeaterBreak;
    d.ChOption[base + 2] = d.ChOption[base + 3] = OptionBit::Cooling;
    d.ChInputType[base + 4] = d.ChInputType[base + 5] = 10;
    Choose(1, 4);
    EXPECT_EQ(Note(0), QString());
    EXPECT_EQ(Note(2), QStringLiteral("設定不可：ﾋｰﾀ断線ｵﾌﾟｼｮﾝなし。"));
    Choose(1, 26);
    EXPECT_EQ(Note(0), QStringLiteral("設定不可：加熱冷却出力機能なし。"));
    EXPECT_EQ(Note(2), QString());
    EXPECT_EQ(Note(3), QStringLiteral("設定不可"));
    Choose(1, 33);
    EXPECT_EQ(Note(0), QStringLiteral("設定不可：入力仕様が違います。"));
    EXPECT_EQ(Note(4), QString());
    // No setting chosen: only auto-tuning and absence are noted.
    d.ChStatus[base + 6] = StatusBit::AutoTuning;
    d.ChPresent[base + 7] = 0;
    Choose(1, 0);
    EXPECT_EQ(Note(0), QString());
    EXPECT_EQ(Note(6), QStringLiteral("設定不可：ＡＴ中。"));
    EXPECT_EQ(Note(7), QStringLiteral("RDX-410が未接続のﾁｬﾝﾈﾙ。"));
    SettingChangeView fresh(d);
    fresh.tb4_BName->setCurrentIndex(1);
    fresh.Refresh();
    EXPECT_EQ(fresh.Setdata_Para[0]->text(), QString());
    EXPECT_EQ(fresh.Select_comand[0]->text(), QString());
}

TEST_F(SettingChangeViewTest, OverlapBandOnHeatingCoolingBlockHidesOddRows) {
    PresentBlock(2);
    for (int i = 0; i < 20; ++i) {
        d.ChOption[40 + i] = OptionBit::Cooling;
        d.ChOverlapBand[40 + i] = qint16(10 * i + 5);
    }
    Choose(2, 27);
    for (int i = 0; i < 20; i += 2) {
        EXPECT_TRUE(Shown(view.Setdata_Para[i])) << i;
        EXPECT_TRUE(Shown(view.Command_change[i])) << i;
        EXPECT_EQ(view.Setdata_Para[i]->text(), QString::number((10 * i + 5) / 10.0, 'f', 1)) << i;
    }
    for (int i = 1; i < 20; i += 2) {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 view.Setdata_Para[i], view.Command_change[i], view.Select_comand[i],
                 view.Command_change2[i], view.settin_inf[i], view.Command_OUT[i],
                 view.Command_AT[i], view.Shape_OUT[i], view.Shape_AT[i]})
            EXPECT_FALSE(w->isVisibleTo(w->parentWidget())) << i;
        EXPECT_TRUE(Shown(view.label_setdata[i])) << i;
    }
}

TEST_F(SettingChangeViewTest, DecimalPointHidesTemperatureRowsAndShowsPicture) {
    PresentBlock(0);
    for (int i = 10; i < 20; ++i) {
        d.ChInputType[i] = 12;
        d.ChDecimal[i] = 100;
    }
    Choose(0, 34, 1);
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(Shown(view.Select_comand[i])) << i;
    for (int i = 10; i < 20; ++i) {
        EXPECT_TRUE(Shown(view.Select_comand[i])) << i;
        EXPECT_EQ(view.Select_comand[i]->text(), QStringLiteral("XX . XX")) << i;
    }
    EXPECT_FALSE(Shown(view.Setdata_Para[10]));  // numeric panel is not the one shown
}

TEST_F(SettingChangeViewTest, SwitchSettingShowsLampsAndLeavesNotes) {
    PresentBlock(0);
    d.ChAlarm1Type[0] = 0;
    Choose(0, 2);
    ASSERT_EQ(Note(0), QStringLiteral("設定不可：警報動作なし。"));
    d.ChStatus[0] = StatusBit::OutputOn;
    d.ChStatus[1] = StatusBit::AutoTuning;
    d.ChPresent[2] = 0;
    Choose(0, 24, 2);
    EXPECT_EQ(Note(0), QStringLiteral("設定不可：警報動作なし。"));
    EXPECT_EQ(Note(1), QStringLiteral("設定不可：警報動作なし。"));  // type 0 everywhere
    EXPECT_EQ(view.Shape_OUT[0]->color(), Lamp::Green());
    EXPECT_EQ(view.Shape_AT[0]->color(), Lamp::White());
    EXPECT_EQ(view.Shape_OUT[1]->color(), Lamp::White());
    EXPECT_EQ(view.Shape_AT[1]->color(), Lamp::Yellow());
    EXPECT_TRUE(Shown(view.Command_OUT[0]));
    EXPECT_FALSE(view.Command_OUT[2]->isEnabled());
    EXPECT_FALSE(view.Command_AT[2]->isEnabled());
}

TEST_F(SettingChangeViewTest, ShownValueDependsOnTheSetting) {
    PresentBlock(5);
    const int c = 100;  // row 0 of block 5, thermocouple
    d.ChSV[c] = 250;
    d.ChHBAlarm[c] = 33;
    d.ChAlarm1Type[c] = 3;
    d.ChAlarm2Type[c] = 12;
    d.ChOutHigh[c] = 95;
    d.ChAction[c] = 1;
    d.ChUnitShown[c] = 1;
    d.ChLoopTime[c] = 40;
    d.ChCoolPCycle[c] = 17;
    d.ChCoolMode[c] = 1;
    d.ChCoolHys[c] = 12;
    d.ChLoop2Time[c] = 15;
    d.ChLoop2Span[c] = 66;
    d.ChScaleHigh[c] = 8000;
    d.ChUnitText[c] = QStringLiteral("%RH");
    struct Case { int s; int panel; const char* text; };
    const Case cases[] = {
        {1, 0, "250"},  {4, 0, "3.3"},     {14, 1, "下限警報"}, {15, 1, "待機付絶対値下限警報"},
        {16, 0, "95"},  {20, 1, "冷却"},   {21, 1, "ﾟF"},       {22, 0, "40"},
        {26, 0, "17"},  {28, 1, "油冷"},   {29, 0, "1.2"},      {30, 0, "15"},
        {31, 0, "6.6"}, {32, 0, "800.0"},  {35, 1, "%RH"},
    };
    for (const Case& k : cases) {
        Choose(5, k.s, k.panel);
        const QLabel* shown = k.panel == 0 ? view.Setdata_Para[0] : view.Select_comand[0];
        EXPECT_EQ(shown->text(), QString::fromUtf8(k.text)) << "setting " << k.s;
    }
}

TEST_F(SettingChangeViewTest, RowLayoutNamesEnablesAndHidesUnitOnOddRows) {
    SaveSetting(QStringLiteral("Chname061"), QStringLiteral("炉A"));
    SettingChangeView fresh(d);
    d.ChPresent[60] = d.ChPresent[61] = 1;
    fresh.tb4_BName->setCurrentIndex(3);
    EXPECT_EQ(fresh.label_setdata[0]->text(), QStringLiteral("炉A"));
    EXPECT_EQ(fresh.label_setdata[19]->text(), QStringLiteral("Ch080"));
    EXPECT_TRUE(fresh.Command_change[1]->isEnabled());
    EXPECT_FALSE(fresh.Command_change[2]->isEnabled());
    EXPECT_FALSE(fresh.Setdata_Para[2]->isEnabled());

    d.SelectedItem = 21;
    fresh.ShowPanel(1);
    fresh.tb4_BName_Click();
    EXPECT_TRUE(fresh.Select_comand[0]->isVisibleTo(&fresh));
    EXPECT_FALSE(fresh.Select_comand[1]->isVisibleTo(&fresh));
    EXPECT_FALSE(fresh.Command_change2[1]->isVisibleTo(&fresh));
    EXPECT_TRUE(fresh.settin_inf[1]->isVisibleTo(&fresh));
}

TEST_F(SettingChangeViewTest, ResetAfterBlockRereadStartsOver) {
    PresentBlock(0);
    d.ChStatus[0] = StatusBit::AutoTuning;
    view.SetFrameCaption(QStringLiteral("主設定"));
    Choose(0, 1);
    ASSERT_FALSE(view.Setdata_Para[0]->text().isEmpty());
    view.ShowPanel(2);
    view.ResetView();
    EXPECT_EQ(d.SelectedItem, 0);
    EXPECT_EQ(view.Frame_main->title(), QString());
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(view.Setdata_Para[i]->text(), QString());
        EXPECT_EQ(view.settin_inf[i]->text(), QString());
    }
    EXPECT_TRUE(Shown(view.Frame_sub1[0]));
    EXPECT_TRUE(Shown(view.Frame_sub2[0]));
    for (int k = 1; k < 3; ++k) {
        EXPECT_FALSE(Shown(view.Frame_sub1[k]));
        EXPECT_FALSE(Shown(view.Frame_sub2[k]));
    }
}

TEST_F(SettingChangeViewTest, RowButtonsNameChannelAndSetting) {
    PresentBlock(3);
    QSignalSpy change(&view, &SettingChangeView::settingChangeRequested);
    QSignalSpy choice(&view, &SettingChangeView::choiceChangeRequested);
    QSignalSpy out(&view, &SettingChangeView::outputSwitchRequested);
    QSignalSpy at(&view, &SettingChangeView::autoTuningSwitchRequested);
    Choose(3, 7);
    view.Command_change[5]->click();
    ASSERT_EQ(change.count(), 1);
    EXPECT_EQ(change.at(0), (QList<QVariant>{5, 65, 7}));
    Choose(3, 14, 1);
    view.Command_change2[12]->click();
    ASSERT_EQ(choice.count(), 1);
    EXPECT_EQ(choice.at(0), (QList<QVariant>{12, 72, 14}));
    view.Command_OUT[0]->click();
    view.Command_AT[19]->click();
    ASSERT_EQ(out.count(), 1);
    EXPECT_EQ(out.at(0), (QList<QVariant>{0, 60}));
    ASSERT_EQ(at.count(), 1);
    EXPECT_EQ(at.at(0), (QList<QVariant>{19, 79}));
}

}  // namespace
