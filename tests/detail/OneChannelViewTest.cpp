#include "controls/MV_BerGraph.h"
#include "display/Lamp.h"
#include "display/OneChannelView.h"
#include "services/SettingsStore.h"

#include <QComboBox>
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
    d.ChPresent[318] = d.ChPresent[319] = 1;
    d.ChOption[318] = d.ChOption[319] = OptionBit::Cooling;
    Show(319);
    EXPECT_TRUE(Shown(view.Label14[1]));
    EXPECT_FALSE(Shown(view.MV_BerGraph2));
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
