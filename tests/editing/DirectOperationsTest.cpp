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
    SettingEditor editor{d, nullptr};

    void SetUp() override {
        EditingTest::SetUp();
        editor.prompts = prompts.Make();
    }
    // What a refused operation must leave untouched.
    struct Snapshot {
        int pollState, selectedBlock;
        QString writeItem;
        ChannelTable output, at;
    };
    Snapshot Take() const {
        return {d.PollState, d.SelectedBlock, d.WriteItemCode, d.ChOutputSwitch, d.ChATSwitch};
    }
    void ExpectUnchanged(const Snapshot& s) const {
        EXPECT_EQ(d.PollState, s.pollState);
        EXPECT_EQ(d.SelectedBlock, s.selectedBlock);
        EXPECT_EQ(d.WriteItemCode, s.writeItem);
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
    EXPECT_EQ(d.SelectedBlock, 1);
    EXPECT_EQ(d.WriteItemCode, QStringLiteral("000A"));
    EXPECT_EQ(d.PollState, 2);
    view.Command_AT[3]->click();
    EXPECT_EQ(d.ChATSwitch[23], 0);
}

TEST_F(SettingViewTest, OutputButtonTogglesAndIsRefusedWhileTheATSwitchIsOn) {
    Choose(2, 24);
    d.ChOutputSwitch[45] = 2;  // anything but 1 becomes 1
    view.Command_OUT[5]->click();
    EXPECT_EQ(d.ChOutputSwitch[45], 1);
    EXPECT_EQ(d.WriteItemCode, QStringLiteral("0009"));
    EXPECT_EQ(d.SelectedBlock, 2);
    EXPECT_EQ(d.PollState, 2);

    d.PollState = 1;
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
    struct Case {
        const char* what;
        int setting;
        std::function<void(RDX_INC&)> prepare;
    };
    const Case refused[] = {
        {"AT switch on", 1, [](RDX_INC& d) { d.ChATSwitch[9] = 1; }},
        {"auto-tuning running", 5, [](RDX_INC& d) { d.ChStatus[9] = StatusBit::AutoTuning; }},
        {"no setting chosen", 0, [](RDX_INC&) {}},
        {"alarm 2 without action", 3, [](RDX_INC& d) { d.ChAlarm2Type[9] = 0; }},
        {"no heater-burnout option", 4, [](RDX_INC&) {}},
        {"no heating/cooling option", 27, [](RDX_INC&) {}},
        {"scaling high of a thermocouple", 32, [](RDX_INC& d) { d.ChInputType[9] = 0; }},
        {"scaling low of a resistance input", 33, [](RDX_INC& d) { d.ChInputType[9] = 8; }},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.what);
        RDX_INC fresh;
        fresh.FillItemCodes();
        fresh.ChPresent.fill(1);
        c.prepare(fresh);
        d = fresh;
        Choose(0, c.setting);
        view.Command_change[9]->click();
        EXPECT_EQ(editor.settingDialog(), nullptr);
        EXPECT_EQ(d.PollState, 0);
    }
    d.ChInputType[9] = 12;
    Choose(0, 32);
    view.Command_change[9]->click();
    EXPECT_NE(editor.settingDialog(), nullptr);
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
    EXPECT_EQ(d.SelectedBlock, 3);
    EXPECT_EQ(d.WriteItemCode, QStringLiteral("0009"));
    EXPECT_EQ(d.PollState, 2);
    EXPECT_EQ(view.Comm_OUT[25]->text(), QStringLiteral("ON "));  // the caption follows

    // While the controller reports auto-tuning the button does nothing.
    d.PollState = 1;
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
    EXPECT_EQ(d.SelectedBlock, 15);
    EXPECT_EQ(block.tb2_OUT[19]->text(), QStringLiteral("ON "));

    OneChannelView channel(d);
    channel.tb3_CHName->addItems(ChannelNames());
    channel.tb3_CHName->setCurrentIndex(130);
    editor.Attach(channel);
    d.ChATSwitch[130] = 1;  // only the status bit refuses here
    channel.tb3_OUTOFF->click();
    EXPECT_EQ(d.ChOutputSwitch[130], 1);
    EXPECT_EQ(d.SelectedBlock, 6);
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
