#include "controls/MV_BerGraph.h"
#include "display/Lamp.h"
#include "display/OneChannelView.h"
#include "services/SettingsStore.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class OneChannelViewTest : public ::testing::Test {
protected:
    void Show(int channel) {
        view.tb3_CHName->setCurrentIndex(channel);
        view.Refresh();
    }
    bool Shown(const QWidget* w) const { return w->isVisibleTo(&view); }
    std::vector<QGroupBox*> Frames() const {
        return {view.Frame1, view.Frame2, view.Frame3, view.Frame4,
                view.Frame5, view.Frame6, view.Frame7, view.Frame8};
    }
    // Every label text the operator could see on the tab.
    QStringList VisibleTexts() const {
        QStringList texts;
        for (const QLabel* l : view.findChildren<QLabel*>())
            if (Shown(l)) texts << l->text();
        return texts;
    }

    RDX_INC d;
    OneChannelView view{d};
};

TEST_F(OneChannelViewTest, AbsentPairShowsOnlyTheNotConnectedMessage) {
    // Option bits left from an earlier read must not bring frames back over the message.
    for (int c : {40, 41}) d.ChOption[c] = OptionBit::Cooling | OptionBit::HeaterBreak;
    d.ChPresent[42] = d.ChPresent[43] = 1;
    Show(40);
    for (QGroupBox* f : Frames()) EXPECT_FALSE(Shown(f)) << f->title().toStdString();
    EXPECT_TRUE(Shown(view.Label14[0]));
    EXPECT_EQ(view.Label14[0]->text(), QStringLiteral("このﾁｬﾝﾈﾙはRDX-410が未接続です。"));
    EXPECT_FALSE(Shown(view.Label14[1]));

    Show(42);
    for (QGroupBox* f : {view.Frame1, view.Frame2, view.Frame3, view.Frame4, view.Frame6, view.Frame7})
        EXPECT_TRUE(Shown(f)) << f->title().toStdString();
    EXPECT_FALSE(Shown(view.Label14[0]));
    EXPECT_FALSE(Shown(view.Label14[1]));
}

TEST_F(OneChannelViewTest, SecondChannelOfHeatingCoolingPairShowsOnlyItsMessage) {
    d.ChPresent[0] = d.ChPresent[1] = 1;
    d.ChOption[0] = d.ChOption[1] = OptionBit::Cooling | OptionBit::HeaterBreak;
    Show(1);
    for (QGroupBox* f : Frames()) EXPECT_FALSE(Shown(f)) << f->title().toStdString();
    EXPECT_FALSE(Shown(view.Label14[0]));
    EXPECT_TRUE(Shown(view.Label14[1]));
    EXPECT_EQ(view.Label14[1]->text(),
              QStringLiteral("このﾁｬﾝﾈﾙのRDX-410は加熱冷却ユニットの為、チャンネルが無効となります。"));
}

TEST_F(OneChannelViewTest, FirstChannelOfHeatingCoolingPairShowsCoolingFromItsPartner) {
    d.ChPresent[0] = d.ChPresent[1] = 1;
    d.ChOption[0] = d.ChOption[1] = OptionBit::Cooling;
    d.ChHeatMV[0] = 300;
    d.ChHeatMV[1] = 456;
    d.ChStatus[0] = 0;
    d.ChStatus[1] = StatusBit::Control;
    d.ChCoolPBand[0] = 125;
    d.ChCoolPCycle[0] = 20;
    d.ChCoolMode[0] = 2;
    d.ChOverlapBand[0] = -15;
    d.ChCoolHys[0] = 7;
    Show(0);

    EXPECT_TRUE(Shown(view.Frame8));
    EXPECT_EQ(view.Cool[0]->text(), QStringLiteral("12.5"));
    EXPECT_EQ(view.Cool[1]->text(), QStringLiteral("20"));
    EXPECT_EQ(view.Cool[2]->text(), QStringLiteral("水冷"));
    EXPECT_EQ(view.Cool[3]->text(), QStringLiteral("-1.5"));
    EXPECT_EQ(view.Cool[4]->text(), QStringLiteral("0.7"));

    EXPECT_EQ(view.Text_MV[0]->text(), QStringLiteral("30.0"));
    EXPECT_EQ(view.MV_BerGraph1->MvValue(), 300);
    EXPECT_EQ(view.MV_BerGraph1->BarColor(), QColor(0, 0, 255));
    for (QWidget* w : std::initializer_list<QWidget*>{view.Label58, view.Label59, view.Text_MV[1],
                                                      view.Lamp_CONT[1], view.MV_BerGraph2})
        EXPECT_TRUE(Shown(w));
    EXPECT_EQ(view.Text_MV[1]->text(), QStringLiteral("45.6"));
    EXPECT_EQ(view.MV_BerGraph2->MvValue(), 456);
    EXPECT_EQ(view.MV_BerGraph2->BarColor(), QColor(255, 255, 0));
    EXPECT_EQ(view.Lamp_CONT[1]->color(), Lamp::Yellow());
    EXPECT_EQ(view.Lamp_CONT[0]->color(), Lamp::White());
}

TEST_F(OneChannelViewTest, HeatingOnlyChannelHasNoCoolingOutputOrFrame) {
    d.ChPresent[4] = d.ChPresent[5] = 1;
    Show(4);
    EXPECT_FALSE(Shown(view.Frame8));
    for (QWidget* w : std::initializer_list<QWidget*>{view.Label58, view.Label59, view.Text_MV[1],
                                                      view.Lamp_CONT[1], view.MV_BerGraph2})
        EXPECT_FALSE(Shown(w));
    Show(5);  // without the option an odd channel is a channel of its own
    EXPECT_TRUE(Shown(view.Frame1));
    EXPECT_FALSE(Shown(view.Label14[1]));
}

TEST_F(OneChannelViewTest, HeaterCurrentOnlyWithTheHeaterBreakOption) {
    d.ChPresent[2] = d.ChPresent[3] = 1;
    d.ChHeaterCurrent[2] = 123;
    d.ChHBAlarm[2] = 45;
    d.ChStatus[2] = StatusBit::HeaterBreak;
    Show(2);
    EXPECT_FALSE(Shown(view.Frame5));
    EXPECT_FALSE(VisibleTexts().contains(QStringLiteral("12.3")));

    d.ChOption[2] = OptionBit::HeaterBreak;
    view.Refresh();
    EXPECT_TRUE(Shown(view.Frame5));
    EXPECT_EQ(view.Text_MHB->text(), QStringLiteral("12.3"));
    EXPECT_EQ(view.Text_SHB->text(), QStringLiteral("4.5"));
    EXPECT_EQ(view.Lamp_HB->color(), Lamp::Red());
}

TEST_F(OneChannelViewTest, FieldsFollowTheChannelTables) {
    const int c = 21;
    d.ChPresent[20] = d.ChPresent[21] = 1;
    d.ChInputType[c] = 12;
    d.ChDecimal[c] = 10;
    d.ChScaleLow[c] = 0;
    d.ChScaleHigh[c] = 5000;
    d.ChUnitText[c] = QStringLiteral("kPa");
    d.ChPV[c] = 1234;
    d.ChSV[c] = 1500;
    d.ChAlarm1Type[c] = 2;
    d.ChAlarm2Type[c] = 11;
    d.ChAction[c] = 1;
    d.ChStatus[c] = StatusBit::OutputOn | StatusBit::AutoTuning | StatusBit::Alarm2 |
                    StatusBit::UnderScale | StatusBit::LoopBreak | StatusBit::Control;
    Show(c);
    EXPECT_EQ(view.Text_PV->text(), QStringLiteral("123.4"));
    EXPECT_EQ(view.Text_SV->text(), QStringLiteral("150.0"));
    EXPECT_EQ(view.Label11->text(), QStringLiteral("0.0～500.0 DC V"));
    for (QLabel* unit : view.Label_CF) EXPECT_EQ(unit->text(), QStringLiteral("kPa"));
    EXPECT_EQ(view.Text_A1ACT->text(), QStringLiteral("待機付上限警報"));
    EXPECT_EQ(view.Text_A2ACT->text(), QStringLiteral("絶対値下限警報"));
    EXPECT_EQ(view.Label_HEETCOOL->text(), QStringLiteral("冷却(正動作)"));
    EXPECT_EQ(view.Label_OUTOFF->text(), QStringLiteral("制御出力 ON"));
    EXPECT_EQ(view.Lamp_AT->color(), Lamp::Yellow());
    EXPECT_EQ(view.Lamp_CONT[0]->color(), Lamp::Green());
    EXPECT_EQ(view.Lamp_A1->color(), Lamp::White());
    EXPECT_EQ(view.Lamp_A2->color(), Lamp::Red());
    EXPECT_EQ(view.Lamp_up->color(), Lamp::White());
    EXPECT_EQ(view.Lamp_down->color(), Lamp::Red());
    EXPECT_EQ(view.Lamp_LP->color(), Lamp::Red());

    d.ChStatus[c] = 0;
    d.ChAction[c] = 0;
    d.ChInputType[c] = 0;
    d.ChUnitShown[c] = 1;
    view.Refresh();
    EXPECT_EQ(view.Label_OUTOFF->text(), QStringLiteral("制御出力 OFF"));
    EXPECT_EQ(view.Label_HEETCOOL->text(), QStringLiteral("加熱(逆動作)"));
    EXPECT_EQ(view.Label_CF[0]->text(), QStringLiteral("ﾟF"));
    EXPECT_EQ(view.Lamp_down->color(), Lamp::White());
}

TEST_F(OneChannelViewTest, LastChannelWithCoolingOptionHasNoPartnerToRead) {
    // Channel 318 leads a heating/cooling pair: its cooling output is channel 319's MV.
    d.ChPresent[318] = d.ChPresent[319] = 1;
    d.ChOption[318] = d.ChOption[319] = OptionBit::Cooling;
    d.ChHeatMV[319] = 456;
    Show(318);
    EXPECT_FALSE(view.MV_BerGraph2->isHidden());
    EXPECT_EQ(view.Text_MV[1]->text(), QStringLiteral("45.6"));
    // Channel 319 carrying the option alone (a pair option read for it only) has nothing
    // after it: the cooling output stays hidden and keeps its last text.
    d.ChOption[318] = 0;
    d.ChHeatMV[319] = 0;
    Show(319);
    EXPECT_TRUE(Shown(view.Label14[1]));
    for (QWidget* w : std::initializer_list<QWidget*>{view.Label58, view.Label59, view.Text_MV[1],
                                                      view.Lamp_CONT[1], view.MV_BerGraph2})
        EXPECT_TRUE(w->isHidden());
    EXPECT_EQ(view.Text_MV[1]->text(), QStringLiteral("45.6"));
}

TEST_F(OneChannelViewTest, EveryFieldShowsItsOwnValue) {
    // A whole-degree heating/cooling channel with every table holding its own number.
    const int c = 40;
    d.ChPresent[c] = d.ChPresent[c + 1] = 1;
    d.ChOption[c] = d.ChOption[c + 1] = OptionBit::HeaterBreak | OptionBit::Cooling;
    struct Field { QLabel* label; ChannelTable RDX_INC::*table; int channel; qint16 value; const char* text; };
    const Field fields[] = {
        {view.Text_PV, &RDX_INC::ChPV, c, 101, "101"},
        {view.Text_SV, &RDX_INC::ChSV, c, 102, "102"},
        {view.Text_MV[0], &RDX_INC::ChHeatMV, c, 103, "10.3"},
        {view.Text_MV[1], &RDX_INC::ChHeatMV, c + 1, 104, "10.4"},
        {view.Text_HLIM, &RDX_INC::ChOutHigh, c, 105, "105"},
        {view.Text_LLIM, &RDX_INC::ChOutLow, c, 106, "106"},
        {view.Text_A1, &RDX_INC::ChAlarm1, c, 107, "107"},
        {view.Text_A1HYS, &RDX_INC::ChAlarm1Hys, c, 108, "10.8"},
        {view.Text_A2, &RDX_INC::ChAlarm2, c, 109, "109"},
        {view.Text_A2HYS, &RDX_INC::ChAlarm2Hys, c, 110, "11.0"},
        {view.Text_MHB, &RDX_INC::ChHeaterCurrent, c, 111, "11.1"},
        {view.Text_SHB, &RDX_INC::ChHBAlarm, c, 112, "11.2"},
        {view.Text_LPTIM, &RDX_INC::ChLoopTime, c, 113, "113"},
        {view.Text_LPHYS, &RDX_INC::ChLoopSpan, c, 114, "11.4"},
        {view.Text_P, &RDX_INC::ChPBand, c, 115, "11.5"},
        {view.Text_I, &RDX_INC::ChITime, c, 116, "116"},
        {view.Text_D, &RDX_INC::ChDTime, c, 117, "117"},
        {view.Text_ARW, &RDX_INC::ChARW, c, 118, "118"},
        {view.Text_CYC, &RDX_INC::ChPCycle, c, 119, "119"},
        {view.Text_PD, &RDX_INC::ChManualReset, c, 120, "12.0"},
        {view.Text_HYS, &RDX_INC::ChOutputHys, c, 121, "12.1"},
        {view.Text_FILT, &RDX_INC::ChInputFilter, c, 122, "12.2"},
        {view.Text_SO, &RDX_INC::ChSensorCorr, c, 123, "12.3"},
        {view.Cool[0], &RDX_INC::ChCoolPBand, c, 124, "12.4"},
        {view.Cool[1], &RDX_INC::ChCoolPCycle, c, 125, "125"},
        {view.Cool[2], &RDX_INC::ChCoolMode, c, 2, "水冷"},
        {view.Cool[3], &RDX_INC::ChOverlapBand, c, 126, "12.6"},
        {view.Cool[4], &RDX_INC::ChCoolHys, c, 127, "12.7"},
    };
    for (const Field& f : fields) (d.*f.table)[f.channel] = f.value;
    d.ChAlarm1Type[c] = 3;
    d.ChAlarm2Type[c] = 12;
    Show(c);
    for (const Field& f : fields) EXPECT_EQ(f.label->text(), QString::fromUtf8(f.text)) << f.text;
    EXPECT_EQ(view.Text_A1ACT->text(), QStringLiteral("下限警報"));
    EXPECT_EQ(view.Text_A2ACT->text(), QStringLiteral("待機付絶対値下限警報"));
}

TEST_F(OneChannelViewTest, UnitLabelsAndTheOutputSwitchSitBesideWhatTheyBelongTo) {
    const int c = 60;
    d.ChPresent[c] = d.ChPresent[c + 1] = 1;
    d.ChOption[c] = d.ChOption[c + 1] = OptionBit::HeaterBreak | OptionBit::Cooling;
    d.ChUnitShown[c] = 1;
    view.resize(1000, 700);
    view.show();
    Show(c);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    const QLabel* fields[11] = {view.Text_PV, view.Text_SV, view.Text_A1, view.Text_A1HYS,
                                view.Text_A2, view.Text_A2HYS, view.Text_LPHYS, view.Text_PD,
                                view.Text_HYS, view.Text_SO, view.Cool[3]};
    for (int i = 0; i < 11; ++i) {
        const QLabel* unit = view.Label_CF[i];
        ASSERT_NE(unit, nullptr) << i;
        EXPECT_EQ(unit->text(), QStringLiteral("ﾟF")) << i;
        EXPECT_TRUE(Shown(unit)) << i;
        EXPECT_EQ(unit->parentWidget(), fields[i]->parentWidget()) << i;
        const QRect f(fields[i]->mapTo(&view, QPoint(0, 0)), fields[i]->size());
        const QRect u(unit->mapTo(&view, QPoint(0, 0)), unit->size());
        EXPECT_NEAR(u.center().y(), f.center().y(), 3) << i;
        EXPECT_GE(u.left(), f.right()) << i;
    }
    // The output switch stands beside the output state it switches.
    const QRect state(view.Label_OUTOFF->mapTo(&view, QPoint(0, 0)), view.Label_OUTOFF->size());
    const QRect button(view.tb3_OUTOFF->mapTo(&view, QPoint(0, 0)), view.tb3_OUTOFF->size());
    EXPECT_NEAR(button.center().y(), state.center().y(), 3);
    EXPECT_GT(button.left(), state.left());
}

TEST_F(OneChannelViewTest, SelectorStoresItsChannelAndButtonsNameIt) {
    QSignalSpy sv(&view, &OneChannelView::svChangeRequested);
    QSignalSpy out(&view, &OneChannelView::outputSwitchRequested);
    view.tb3_CHName->setCurrentIndex(77);
    EXPECT_EQ(GetSetting(QStringLiteral("tab3name"), QString()), QStringLiteral("77"));
    view.Command_1channe_sv->click();
    view.tb3_OUTOFF->click();
    ASSERT_EQ(sv.count(), 1);
    EXPECT_EQ(sv.at(0).at(0).toInt(), 77);
    ASSERT_EQ(out.count(), 1);
    EXPECT_EQ(out.at(0).at(0).toInt(), 77);
    EXPECT_EQ(view.tb3_CHName->count(), ChannelCount);
    EXPECT_EQ(view.tb3_CHName->itemText(319), QStringLiteral("Ch320"));
}

}  // namespace
