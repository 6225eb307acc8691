#include "services/SettingsStore.h"
#include "display/Lamp.h"
#include "display/SettingChangeView.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLayout>
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

TEST_F(SettingChangeViewTest, NoteOfEverySettingOnChannelsWithAndWithoutItsNeeds) {
    // Row 0: a resistance input (code 9) with no option and no alarm action; row 2: a
    // linear input (code 10) with every option and both alarms; row 3: the second
    // channel of row 2's heating/cooling pair.
    PresentBlock(6);
    const int base = 120;
    d.ChInputType[base] = d.ChInputType[base + 1] = 9;
    d.ChInputType[base + 2] = d.ChInputType[base + 3] = 10;
    d.ChOption[base + 2] = d.ChOption[base + 3] = OptionBit::HeaterBreak | OptionBit::Cooling;
    for (int c : {base + 2, base + 3}) d.ChAlarm1Type[c] = d.ChAlarm2Type[c] = 12;
    const QString none = QStringLiteral("設定不可：警報動作なし。");
    const QString noHb = QStringLiteral("設定不可：ﾋｰﾀ断線ｵﾌﾟｼｮﾝなし。");
    const QString noCool = QStringLiteral("設定不可：加熱冷却出力機能なし。");
    const QString input = QStringLiteral("設定不可：入力仕様が違います。");
    for (int setting = 1; setting <= 35; ++setting) {
        if (setting == 24) continue;
        SCOPED_TRACE(setting);
        QString row0, row3;
        if (setting == 2 || setting == 3) row0 = none;
        if (setting == 4) row0 = noHb;
        if (setting >= 25 && setting <= 29) row0 = noCool, row3 = QStringLiteral("設定不可");
        if (setting >= 32) row0 = input;
        Choose(6, setting);
        EXPECT_EQ(Note(0), row0);
        EXPECT_EQ(Note(2), QString());
        EXPECT_EQ(Note(3), row3);
    }
    // The switch setting writes no note: the last ones stay.
    view.settin_inf[2]->setText(QStringLiteral("kept"));
    Choose(6, 24, 2);
    EXPECT_EQ(Note(2), QStringLiteral("kept"));
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

TEST_F(SettingChangeViewTest, CoolingSettingsHideEveryRowOfABlockWithoutCooling) {
    PresentBlock(4);
    for (int s = 25; s <= 29; ++s) {
        SCOPED_TRACE(s);
        Choose(4, s, s == 28 ? 1 : 0);
        for (int i = 0; i < 20; ++i) {
            EXPECT_FALSE(Shown(view.settin_inf[i])) << i;
            EXPECT_FALSE(Shown(s == 28 ? view.Select_comand[i] : view.Setdata_Para[i])) << i;
            EXPECT_TRUE(Shown(view.label_setdata[i])) << i;
        }
    }
    for (int s : {24, 30}) {
        Choose(4, s, s == 24 ? 2 : 0);
        EXPECT_TRUE(Shown(view.settin_inf[0])) << s;
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

TEST_F(SettingChangeViewTest, PcSideSettingsHideTheRowsOfTemperatureInputs) {
    PresentBlock(3);
    for (int i = 0; i < 20; ++i) d.ChInputType[60 + i] = qint16(i % 14);  // codes 0..13
    struct Case { int s; int panel; };
    for (const Case k : {Case{32, 0}, Case{33, 0}, Case{34, 1}, Case{35, 1}}) {
        SCOPED_TRACE(k.s);
        Choose(3, k.s, k.panel);
        const auto& values = k.panel == 0 ? view.Setdata_Para : view.Select_comand;
        for (int i = 0; i < 20; ++i) {
            const bool linear = (i % 14) >= 10;
            EXPECT_EQ(Shown(values[i]), linear) << "row " << i;
            EXPECT_EQ(Shown(view.settin_inf[i]), linear) << "row " << i;
        }
    }
    // Any other setting keeps them.
    Choose(3, 1);
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(Shown(view.Setdata_Para[i])) << i;
}

TEST_F(SettingChangeViewTest, RowsStayBesideTheirChannelNamesWhenOthersHide) {
    PresentBlock(2);
    for (int i = 0; i < 20; ++i) d.ChOption[40 + i] = OptionBit::Cooling;
    view.resize(1000, 760);
    view.show();
    Choose(2, 27);  // odd rows hidden
    QCoreApplication::sendPostedEvents();
    view.layout()->activate();
    QCoreApplication::processEvents();
    for (int i = 0; i < 20; i += 2) {
        const QWidget* name = view.label_setdata[i];
        const QWidget* value = view.Setdata_Para[i];
        const int nameY = name->mapTo(&view, name->rect().center()).y();
        const int valueY = value->mapTo(&view, value->rect().center()).y();
        EXPECT_NEAR(valueY, nameY, 3) << "row " << i;
    }
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
    const int c = 100;  // row 0 of block 5, thermocouple, heating/cooling
    d.ChOption[c] = d.ChOption[c + 1] = OptionBit::Cooling | OptionBit::HeaterBreak;
    // Every setting's table holds its own number; the texts are how a whole-degree
    // input shows them (spans and tenths items with one decimal).
    struct Case { int s; int panel; ChannelTable RDX_INC::*table; qint16 value; const char* text; };
    const Case cases[] = {
        {1, 0, &RDX_INC::ChSV, 250, "250"},
        {2, 0, &RDX_INC::ChAlarm1, 21, "21"},
        {3, 0, &RDX_INC::ChAlarm2, 22, "22"},
        {4, 0, &RDX_INC::ChHBAlarm, 33, "3.3"},
        {5, 0, &RDX_INC::ChPBand, 45, "4.5"},
        {6, 0, &RDX_INC::ChITime, 46, "46"},
        {7, 0, &RDX_INC::ChDTime, 47, "47"},
        {8, 0, &RDX_INC::ChARW, 48, "48"},
        {9, 0, &RDX_INC::ChPCycle, 49, "49"},
        {10, 0, &RDX_INC::ChManualReset, 50, "5.0"},
        {11, 0, &RDX_INC::ChOutputHys, 51, "5.1"},
        {12, 0, &RDX_INC::ChAlarm1Hys, 52, "5.2"},
        {13, 0, &RDX_INC::ChAlarm2Hys, 53, "5.3"},
        {14, 1, &RDX_INC::ChAlarm1Type, 3, "下限警報"},
        {15, 1, &RDX_INC::ChAlarm2Type, 12, "待機付絶対値下限警報"},
        {16, 0, &RDX_INC::ChOutHigh, 95, "95"},
        {17, 0, &RDX_INC::ChOutLow, 56, "56"},
        {18, 0, &RDX_INC::ChInputFilter, 57, "5.7"},
        {19, 0, &RDX_INC::ChSensorCorr, 58, "5.8"},
        {20, 1, &RDX_INC::ChAction, 1, "冷却"},
        {21, 1, &RDX_INC::ChUnitShown, 1, "ﾟF"},
        {22, 0, &RDX_INC::ChLoopTime, 40, "40"},
        {23, 0, &RDX_INC::ChLoopSpan, 61, "6.1"},
        {25, 0, &RDX_INC::ChCoolPBand, 62, "6.2"},
        {26, 0, &RDX_INC::ChCoolPCycle, 17, "17"},
        {27, 0, &RDX_INC::ChOverlapBand, 63, "6.3"},
        {28, 1, &RDX_INC::ChCoolMode, 1, "油冷"},
        {29, 0, &RDX_INC::ChCoolHys, 12, "1.2"},
        {30, 0, &RDX_INC::ChLoop2Time, 15, "15"},
        {31, 0, &RDX_INC::ChLoop2Span, 66, "6.6"},
        {32, 0, &RDX_INC::ChScaleHigh, 8000, "800.0"},
        {33, 0, &RDX_INC::ChScaleLow, 64, "6.4"},
        {34, 1, &RDX_INC::ChDecimal, 100, "XX . XX"},
    };
    for (const Case& k : cases) (d.*k.table)[c] = k.value;
    d.ChUnitText[c] = QStringLiteral("%RH");
    for (const Case& k : cases) {
        // Start from empty fields, so a value left by another setting is not taken.
        view.Setdata_Para[0]->clear();
        view.Select_comand[0]->clear();
        Choose(5, k.s, k.panel);
        const QLabel* shown = k.panel == 0 ? view.Setdata_Para[0] : view.Select_comand[0];
        const QLabel* other = k.panel == 0 ? view.Select_comand[0] : view.Setdata_Para[0];
        EXPECT_EQ(shown->text(), QString::fromUtf8(k.text)) << "setting " << k.s;
        EXPECT_EQ(other->text(), QString()) << "setting " << k.s;
    }
    Choose(5, 35, 1);
    EXPECT_EQ(view.Select_comand[0]->text(), QStringLiteral("%RH"));
    // No setting, or a number past the last one: nothing is written.
    for (int s : {0, 36}) {
        view.Setdata_Para[0]->setText(QStringLiteral("x"));
        view.Select_comand[0]->setText(QStringLiteral("y"));
        Choose(5, s);
        EXPECT_EQ(view.Setdata_Para[0]->text(), QStringLiteral("x")) << s;
        EXPECT_EQ(view.Select_comand[0]->text(), QStringLiteral("y")) << s;
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
