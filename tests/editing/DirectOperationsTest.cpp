#include "EditingFixture.h"

#include "display/NameLists.h"
#include "display/OneBlockView.h"
#include "display/OneChannelView.h"
#include "display/SettingChangeView.h"
#include "display/TwoBlockView.h"
#include "editing/DirectOperations.h"
#include "editing/Select_Disp.h"
#include "editing/SettingEditor.h"
#include "editing/Setting_Disp.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

class DirectOperationsTest : public EditingTest {
protected:
    SettingEditor editor{d, writes, nullptr};

    void SetUp() override {
        EditingTest::SetUp();
        editor.prompts = prompts.Make();
    }
    // What a refused operation must leave untouched.
    struct Snapshot {
        int requested;
        ChannelTable output, at;
    };
    Snapshot Take() const { return {writes.requested, d.ChOutputSwitch, d.ChATSwitch}; }
    void ExpectUnchanged(const Snapshot& s) const {
        EXPECT_EQ(writes.requested, s.requested);
        EXPECT_EQ(d.ChOutputSwitch, s.output);
        EXPECT_EQ(d.ChATSwitch, s.at);
    }
};

class SettingViewTest : public DirectOperationsTest {
protected:
    SettingChangeView view{d};

    void SetUp() override {
        DirectOperationsTest::SetUp();
        view.tb4_BName->addItems(BlockNames());
        editor.Attach(view);
    }
    void Choose(int block, int setting) {
        d.SelectedItem = setting;
        view.tb4_BName->setCurrentIndex(block);
        view.tb4_BName_Click();
    }
};

TEST_F(SettingViewTest, AutoTuningButtonDoesNothingWhileTheOutputIsOff) {
    Choose(1, 24);
    d.ChOutputSwitch[23] = 0;
    const Snapshot before = Take();
    view.Command_AT[3]->click();
    ExpectUnchanged(before);

    d.ChOutputSwitch[23] = 1;
    view.Command_AT[3]->click();
    EXPECT_EQ(d.ChATSwitch[23], 1);
    EXPECT_EQ(writes.block, 1);
    EXPECT_EQ(writes.item, QStringLiteral("000A"));
    EXPECT_TRUE(writes.Took());
    view.Command_AT[3]->click();
    EXPECT_EQ(d.ChATSwitch[23], 0);
}

TEST_F(SettingViewTest, OutputButtonTogglesAndIsRefusedWhileTheATSwitchIsOn) {
    Choose(2, 24);
    d.ChOutputSwitch[45] = 2;  // anything but 1 becomes 1
    view.Command_OUT[5]->click();
    EXPECT_EQ(d.ChOutputSwitch[45], 1);
    EXPECT_EQ(writes.item, QStringLiteral("0009"));
    EXPECT_EQ(writes.block, 2);
    EXPECT_TRUE(writes.Took());

    writes.requested = 0;
    d.ChATSwitch[45] = 1;
    const Snapshot before = Take();
    view.Command_OUT[5]->click();
    ExpectUnchanged(before);
}

TEST_F(SettingViewTest, AlarmSettingOfAChannelWithoutAlarmActionDoesNotOpen) {
    Choose(0, 2);
    d.ChAlarm1Type[4] = 0;
    view.Command_change[4]->click();
    EXPECT_EQ(editor.settingDialog(), nullptr);

    d.ChAlarm1Type[4] = 1;
    view.Command_change[4]->click();
    ASSERT_NE(editor.settingDialog(), nullptr);
    EXPECT_EQ(editor.settingDialog()->Limit_data->text(), QStringLiteral("-200 ～ 200"));
    EXPECT_EQ(editor.settingDialog()->Channel(), 4);
    EXPECT_EQ(editor.range.EditChannel, 4);
}

TEST_F(SettingViewTest, NumericEntryRefusals) {
    // Each refusal next to the same opening with its one condition lifted: the refusal is
    // silent and opens nothing, the lifted one opens the entry for that channel.
    struct Case {
        const char* what;
        int setting;
        std::function<void(RDX_INC&, bool refused)> prepare;
    };
    const Case cases[] = {
        {"AT switch on", 1, [](RDX_INC& d, bool r) { d.ChATSwitch[9] = r ? 1 : 0; }},
        {"auto-tuning running", 5, [](RDX_INC& d, bool r) { d.ChStatus[9] = r ? StatusBit::AutoTuning : 0; }},
        {"no setting chosen", 0, [](RDX_INC& d, bool r) { d.SelectedItem = r ? 0 : 6; }},
        {"alarm 1 without action", 2, [](RDX_INC& d, bool r) { d.ChAlarm1Type[9] = r ? 0 : 3; }},
        {"alarm 2 without action", 3, [](RDX_INC& d, bool r) { d.ChAlarm2Type[9] = r ? 0 : 12; }},
        {"no heater-burnout option", 4,
         [](RDX_INC& d, bool r) { d.ChOption[9] = r ? OptionBit::Cooling : OptionBit::HeaterBreak; }},
        {"no heating/cooling option for 25", 25,
         [](RDX_INC& d, bool r) { d.ChOption[9] = r ? OptionBit::HeaterBreak : OptionBit::Cooling; }},
        {"no heating/cooling option for 26", 26, [](RDX_INC& d, bool r) { d.ChOption[9] = r ? 0 : OptionBit::Cooling; }},
        {"no heating/cooling option for 27", 27, [](RDX_INC& d, bool r) { d.ChOption[9] = r ? 0 : OptionBit::Cooling; }},
        {"no heating/cooling option for 29", 29, [](RDX_INC& d, bool r) { d.ChOption[9] = r ? 0 : OptionBit::Cooling; }},
        {"scaling high of a thermocouple", 32, [](RDX_INC& d, bool r) { d.ChInputType[9] = r ? 9 : 10; }},
        {"scaling low of a resistance input", 33, [](RDX_INC& d, bool r) { d.ChInputType[9] = r ? 8 : 13; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool refused : {true, false}) {
            RDX_INC fresh;
            fresh.FillItemCodes();
            fresh.ChPresent.fill(1);
            fresh.ChScaleHigh.fill(10000);
            fresh.ChDecimal.fill(100);
            d = fresh;
            Choose(0, c.setting);
            c.prepare(d, refused);
            editor.range.EditChannel = -1;
            view.Command_change[9]->click();
            EXPECT_EQ(editor.range.EditChannel, 9);
            EXPECT_TRUE(prompts.messages.isEmpty());
            EXPECT_EQ(prompts.beeps, 0);
            if (refused) {
                EXPECT_EQ(editor.settingDialog(), nullptr);
                continue;
            }
            Setting_Disp* dlg = editor.settingDialog();
            ASSERT_NE(dlg, nullptr) << "the same opening without the refusal";
            EXPECT_EQ(dlg->Channel(), 9);
            EXPECT_EQ(dlg->Setting(), d.SelectedItem);
            dlg->close();
        }
    }
}

TEST_F(SettingViewTest, DecimalPointAndUnitOfATemperatureInputDoNotOpen) {
    for (int s : {34, 35}) {
        d.ChInputType[2] = 3;
        Choose(0, s);
        view.Command_change2[2]->click();
        EXPECT_EQ(editor.selectDialog(), nullptr) << s;
    }
    d.ChOption[6] = 0;
    Choose(0, 28);
    view.Command_change2[6]->click();
    EXPECT_EQ(editor.selectDialog(), nullptr);
    d.ChATSwitch[7] = 1;
    Choose(0, 14);
    view.Command_change2[7]->click();
    EXPECT_EQ(editor.selectDialog(), nullptr);

    d.ChInputType[2] = 13;
    Choose(0, 35);
    view.Command_change2[2]->click();
    ASSERT_NE(editor.selectDialog(), nullptr);
    EXPECT_EQ(editor.selectDialog()->Channel(), 2);
}

TEST_F(DirectOperationsTest, TwoBlockButton25ActsOnRow5OfTheRightBlock) {
    TwoBlockView view(d);
    for (QComboBox* b : view.tb1_BName) b->addItems(BlockNames());
    view.tb1_BName[0]->setCurrentIndex(1);
    view.tb1_BName[1]->setCurrentIndex(3);
    editor.Attach(view);
    EXPECT_EQ(view.Comm_OUT[25]->text(), QStringLiteral("OFF"));
    view.Comm_OUT[25]->click();
    EXPECT_EQ(d.ChOutputSwitch[65], 1);
    EXPECT_EQ(d.ChOutputSwitch[25], 0);
    EXPECT_EQ(writes.block, 3);
    EXPECT_EQ(writes.item, QStringLiteral("0009"));
    EXPECT_TRUE(writes.Took());
    EXPECT_EQ(view.Comm_OUT[25]->text(), QStringLiteral("ON "));  // the caption follows

    // While the controller reports auto-tuning the button does nothing.
    writes.requested = 0;
    d.ChStatus[65] = StatusBit::AutoTuning;
    const Snapshot before = Take();
    view.Comm_OUT[25]->click();
    ExpectUnchanged(before);
    EXPECT_EQ(view.Comm_OUT[25]->text(), QStringLiteral("ON "));
}

TEST_F(DirectOperationsTest, OneBlockAndOneChannelOutputButtons) {
    OneBlockView block(d);
    block.tb2_BName->addItems(BlockNames());
    block.tb2_BName->setCurrentIndex(15);
    editor.Attach(block);
    block.tb2_OUT[19]->click();
    EXPECT_EQ(d.ChOutputSwitch[319], 1);
    EXPECT_EQ(writes.block, 15);
    EXPECT_EQ(block.tb2_OUT[19]->text(), QStringLiteral("ON "));

    OneChannelView channel(d);
    channel.tb3_CHName->addItems(ChannelNames());
    channel.tb3_CHName->setCurrentIndex(130);
    editor.Attach(channel);
    d.ChATSwitch[130] = 1;  // only the status bit refuses here
    channel.tb3_OUTOFF->click();
    EXPECT_EQ(d.ChOutputSwitch[130], 1);
    EXPECT_EQ(writes.block, 6);
    d.ChStatus[130] = StatusBit::AutoTuning;
    const Snapshot before = Take();
    channel.tb3_OUTOFF->click();
    ExpectUnchanged(before);
}

TEST_F(DirectOperationsTest, OneChannelSetValueKeepsTheSettingChosenForTab4) {
    OneChannelView channel(d);
    channel.tb3_CHName->addItems(ChannelNames());
    channel.tb3_CHName->setCurrentIndex(77);
    editor.Attach(channel);
    d.ChInputType[77] = 6;  // K 0.1°: 0.0 .. 600.0
    d.ChSV[77] = 1234;
    channel.Refresh();
    d.SelectedItem = 5;
    channel.Command_1channe_sv->click();
    Setting_Disp* dlg = editor.settingDialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->Setting(), 1);
    EXPECT_EQ(dlg->Now_data->text(), QStringLiteral("123.4"));
    EXPECT_EQ(dlg->Limit_data->text(), QStringLiteral("0.0 ～ 600.0"));
    EXPECT_EQ(d.SelectedItem, 5);
    dlg->close();

    d.ChATSwitch[77] = 1;
    channel.Command_1channe_sv->click();
    EXPECT_EQ(editor.settingDialog(), nullptr);
}

}  // namespace
