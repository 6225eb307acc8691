#include "EditingFixture.h"

#include "services/SettingsStore.h"
#include "editing/Select_Disp.h"
#include "editing/SettingEditor.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class SelectDispTest : public EditingTest {
protected:
    SettingEditor editor{d, writes, nullptr};

    Select_Disp* Open(int setting, int c) {
        d.SelectedItem = setting;
        editor.Command_change2_Click(c);
        return editor.selectDialog();
    }
    static QList<QGroupBox*> Frames(Select_Disp* s) {
        return {s->Select_alarm, s->Select_hc, s->Select_cf, s->Select_cool, s->Select_dp, s->Select_unit};
    }
    static int VisibleFrames(Select_Disp* s) {
        int n = 0;
        for (QGroupBox* f : Frames(s)) n += f->isVisible() ? 1 : 0;
        return n;
    }
};

TEST_F(SelectDispTest, AlarmTypeIsPreselectedAndTheChoiceIsWrittenForTheBlock) {
    d.ChAlarm1Type[43] = 3;
    Select_Disp* s = Open(14, 43);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->windowTitle(), QStringLiteral("設定項目動作選択画面"));
    EXPECT_TRUE(s->Select_alarm->isVisible());
    EXPECT_EQ(VisibleFrames(s), 1);
    EXPECT_TRUE(s->Option_alarm[3]->isChecked());
    EXPECT_EQ(s->Option_alarm[12]->text(), QStringLiteral("待機付絶対値下限警報"));
    s->Option_alarm[10]->click();
    s->Command1->click();
    EXPECT_EQ(d.ChAlarm1Type[43], 10);
    EXPECT_EQ(writes.item, QStringLiteral("0013"));
    EXPECT_EQ(writes.block, 2);
    EXPECT_TRUE(writes.Took());
    EXPECT_FALSE(s->isVisible());

    // The first option is a choice like the others.
    s = Open(14, 43);
    EXPECT_TRUE(s->Option_alarm[10]->isChecked());
    s->Option_alarm[0]->click();
    s->Command1->click();
    EXPECT_EQ(d.ChAlarm1Type[43], 0);
}

TEST_F(SelectDispTest, ReopeningShowsOnlyTheNewFrame) {
    d.ChAction[0] = 1;
    Select_Disp* s = Open(20, 0);
    EXPECT_TRUE(s->Option_hc[1]->isChecked());
    d.ChOption[0] = OptionBit::Cooling;
    d.ChCoolMode[0] = 2;
    s = Open(28, 0);
    EXPECT_TRUE(s->Select_cool->isVisible());
    EXPECT_FALSE(s->Select_hc->isVisible());
    EXPECT_TRUE(s->Option_cool[2]->isChecked());
    s->Command2->click();  // Cancel
    EXPECT_FALSE(writes.Took());
    EXPECT_EQ(d.ChCoolMode[0], 2);
}

TEST_F(SelectDispTest, DecimalPointIsSavedOnThePcOnly) {
    Linear(12, 0, 10000, 100);
    Select_Disp* s = Open(34, 12);
    EXPECT_TRUE(s->Option_dp[2]->isChecked());
    EXPECT_EQ(s->Option_dp[4]->text(), QStringLiteral("．XXXX"));
    s->Option_dp[4]->click();
    s->Command1->click();
    EXPECT_EQ(d.ChDecimal[12], 10000);
    EXPECT_EQ(GetSetting(QStringLiteral("DP013"), QString()), QStringLiteral("10000"));
    EXPECT_FALSE(writes.Took());
}

TEST_F(SelectDispTest, UnlistedDivisorSelectsNothingAndOkKeepsIt) {
    Linear(14, 0, 10000, 7);
    Select_Disp* s = Open(34, 14);
    for (QRadioButton* o : s->Option_dp) EXPECT_FALSE(o->isChecked());
    s->Command1->click();
    EXPECT_EQ(d.ChDecimal[14], 7);
}

TEST_F(SelectDispTest, UnitTextOfALinearInput) {
    Linear(30, 0, 10000, 100);
    d.ChUnitText[30] = QStringLiteral("%");
    Select_Disp* s = Open(35, 30);
    EXPECT_TRUE(s->Select_unit->isVisible());
    EXPECT_EQ(s->Text_unit->text(), QStringLiteral("%"));
    s->Text_unit->setText(QStringLiteral("kPa"));
    s->Command1->click();
    EXPECT_EQ(d.ChUnitText[30], QStringLiteral("kPa"));
    EXPECT_EQ(GetSetting(QStringLiteral("UNIT031"), QString()), QStringLiteral("kPa"));
    // No channel behind the row: nothing to show.
    for (int none : {ChannelCount, -1}) {
        s->Prepare(35, none);
        EXPECT_EQ(s->Text_unit->text(), QString()) << none;
    }
}

TEST_F(SelectDispTest, TemperatureUnitFollowsOnThePairAndStopsAtTheLastChannel) {
    Select_Disp* s = Open(21, 40);
    EXPECT_TRUE(s->Option_cf[0]->isChecked());
    s->Option_cf[1]->click();
    s->Command1->click();
    EXPECT_EQ(d.ChTempUnit[40], 1);
    EXPECT_EQ(d.ChUnitShown[40], 1);
    EXPECT_EQ(d.ChUnitShown[41], 1);
    EXPECT_EQ(writes.item, QStringLiteral("0011"));
    EXPECT_EQ(writes.block, 2);

    s = Open(21, 319);
    s->Option_cf[1]->click();
    s->Command1->click();
    EXPECT_EQ(d.ChUnitShown[319], 1);
    EXPECT_EQ(d.ChUnitShown[318], 0);
    EXPECT_EQ(d.ChTempUnit[318], 0);
    EXPECT_EQ(writes.block, 15);
}

}  // namespace
