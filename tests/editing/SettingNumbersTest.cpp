// The 35 setting numbers against the hand-written table of the entry dialogs: which
// dialog each one opens, the channel table its OK stores into, and the item code the
// controller write then carries (or the settings key of a PC-side setting).
#include "EditingFixture.h"

#include "services/SettingsStore.h"
#include "editing/CommitSetting.h"
#include "editing/Select_Disp.h"
#include "editing/SettingEditor.h"
#include "editing/SettingEntry.h"
#include "editing/SettingItems.h"
#include "editing/Setting_Disp.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <set>

namespace {

struct SettingRow {
    int setting;
    ChannelTable RDX_INC::*table;  // nullptr for the unit text
    const char* item;              // empty: kept on the PC under `key`
    const char* key;
};

const SettingRow kSettings[] = {
    {1, &RDX_INC::ChSV, "0001", ""},
    {2, &RDX_INC::ChAlarm1, "0005", ""},
    {3, &RDX_INC::ChAlarm2, "0006", ""},
    {4, &RDX_INC::ChHBAlarm, "0008", ""},
    {5, &RDX_INC::ChPBand, "0002", ""},
    {6, &RDX_INC::ChITime, "0003", ""},
    {7, &RDX_INC::ChDTime, "0004", ""},
    {8, &RDX_INC::ChARW, "0017", ""},
    {9, &RDX_INC::ChPCycle, "0007", ""},
    {10, &RDX_INC::ChManualReset, "0018", ""},
    {11, &RDX_INC::ChOutputHys, "000D", ""},
    {12, &RDX_INC::ChAlarm1Hys, "000B", ""},
    {13, &RDX_INC::ChAlarm2Hys, "000C", ""},
    {14, &RDX_INC::ChAlarm1Type, "0013", ""},
    {15, &RDX_INC::ChAlarm2Type, "0014", ""},
    {16, &RDX_INC::ChOutHigh, "000E", ""},
    {17, &RDX_INC::ChOutLow, "000F", ""},
    {18, &RDX_INC::ChInputFilter, "0010", ""},
    {19, &RDX_INC::ChSensorCorr, "0019", ""},
    {20, &RDX_INC::ChAction, "0012", ""},
    {21, &RDX_INC::ChTempUnit, "0011", ""},
    {22, &RDX_INC::ChLoopTime, "0016", ""},
    {23, &RDX_INC::ChLoopSpan, "0015", ""},
    {25, &RDX_INC::ChCoolPBand, "001C", ""},
    {26, &RDX_INC::ChCoolPCycle, "001D", ""},
    {27, &RDX_INC::ChOverlapBand, "001E", ""},
    {28, &RDX_INC::ChCoolMode, "001F", ""},
    {29, &RDX_INC::ChCoolHys, "0020", ""},
    {30, &RDX_INC::ChLoop2Time, "001B", ""},
    {31, &RDX_INC::ChLoop2Span, "001A", ""},
    {32, &RDX_INC::ChScaleHigh, "", "STLH043"},
    {33, &RDX_INC::ChScaleLow, "", "STLL043"},
    {34, &RDX_INC::ChDecimal, "", "DP043"},
    {35, nullptr, "", "UNIT043"},
};

// The settings whose entry is the choice dialog; every other one but 24 is a number.
bool IsChoice(int s) { return s == 14 || s == 15 || s == 20 || s == 21 || s == 28 || s == 34 || s == 35; }

class SettingNumbersTest : public EditingTest {
protected:
    static constexpr int c = 42;  // block 2, first channel of a pair
    SettingEditor editor{d, writes, nullptr};

    void SetUp() override {
        EditingTest::SetUp();
        editor.prompts = prompts.Make();
        // A linear heating/cooling channel with every option, so every setting applies.
        Linear(c, 0, 10000, 1);
        d.ChOption[c] = d.ChOption[c + 1] = OptionBit::HeaterBreak | OptionBit::Cooling;
        d.ChAlarm1Type[c] = d.ChAlarm2Type[c] = 1;
        d.ChPBand[c] = 100;
        d.ChOutHigh[c] = 100;
        d.ChUnitText[c] = QStringLiteral("%");
    }
    // Chooses the option or text of a choice setting; returns the stored value expected.
    static int Choose(Select_Disp* s, int setting) {
        switch (setting) {
        case 14: case 15: s->Option_alarm[5]->click(); return 5;
        case 20: s->Option_hc[1]->click(); return 1;
        case 21: s->Option_cf[1]->click(); return 1;
        case 28: s->Option_cool[2]->click(); return 2;
        case 34: s->Option_dp[4]->click(); return 10000;
        default: s->Text_unit->setText(QStringLiteral("kPa")); return 0;
        }
    }
};

TEST_F(SettingNumbersTest, EachSettingOpensItsDialogStoresItsTableAndWritesItsItem) {
    ASSERT_EQ(std::size(kSettings), 34u);
    for (const SettingRow& row : kSettings) {
        SCOPED_TRACE(row.setting);
        const RDX_INC before = d;
        d.SelectedItem = row.setting;
        int want = 0;
        if (IsChoice(row.setting)) {
            // The numeric entry is not for choices (28 is stored like a number in the
            // numeric entry too, though its row buttons are the choice ones).
            if (row.setting != 28) {
                editor.Command_change_Click(c, QString());
                EXPECT_EQ(editor.settingDialog(), nullptr);
            }
            editor.Command_change2_Click(c);
            Select_Disp* s = editor.selectDialog();
            ASSERT_NE(s, nullptr);
            want = Choose(s, row.setting);
            s->Command1->click();
        } else {
            editor.Command_change2_Click(c);  // the choice dialog is not for numbers
            EXPECT_EQ(editor.selectDialog(), nullptr);
            editor.Command_change_Click(c, QStringLiteral("now"));
            Setting_Disp* dlg = editor.settingDialog();
            ASSERT_NE(dlg, nullptr);
            dlg->Ten_key[7]->click();
            want = 7;
            dlg->Command3->click();
        }
        EXPECT_TRUE(prompts.messages.isEmpty() || row.setting == 32 || row.setting == 33)
            << prompts.messages.join(' ').toStdString();
        prompts.messages.clear();
        if (row.table) {
            EXPECT_EQ((d.*row.table)[c], want);
            EXPECT_EQ((d.*row.table)[c + 2], (before.*row.table)[c + 2]) << "another channel changed";
        } else {
            EXPECT_EQ(d.ChUnitText[c], QStringLiteral("kPa"));
        }
        if (*row.item) {
            EXPECT_EQ(writes.item, QString::fromLatin1(row.item));
            EXPECT_EQ(writes.block, 2);
            EXPECT_TRUE(writes.Took());
        } else {
            EXPECT_FALSE(writes.Took()) << "nothing is sent for a PC-side setting";
            const QString stored = row.table ? QString::number(want) : QStringLiteral("kPa");
            EXPECT_EQ(GetSetting(QString::fromLatin1(row.key), QString()), stored);
        }
        // Back to a clean line for the next setting.
        d = before;
    }
}

TEST_F(SettingNumbersTest, TheSwitchSettingOpensNoEntryDialog) {
    d.SelectedItem = 24;
    editor.Command_change_Click(c, QString());
    editor.Command_change2_Click(c);
    EXPECT_EQ(editor.settingDialog(), nullptr);
    EXPECT_EQ(editor.selectDialog(), nullptr);
    // Committed without an item (24, 0) nothing can go out.
    for (int s : {0, 24}) {
        CommitSetting(d, writes, s, c);
        EXPECT_FALSE(writes.Took()) << s;
    }
    for (int s : {0, 24, 32, 33, 34, 35, 36, -1}) EXPECT_EQ(SettingItemCode(d, s), QString()) << s;
}

TEST_F(SettingNumbersTest, ACommitForNoChannelRequestsNothing) {
    for (int channel : {-1, ChannelCount}) {
        for (int s : {1, 14, 32, 35}) {
            CommitSetting(d, writes, s, channel);
            EXPECT_FALSE(writes.Took()) << s;
        }
        // Nor is a value stored for it, into any table.
        const RDX_INC before = d;
        EXPECT_FALSE(StoreSettingValue(d, 1, channel, 123)) << channel;
        EXPECT_FALSE(StoreSettingValue(d, 32, channel, 123)) << channel;
        EXPECT_EQ(d.ChSV, before.ChSV);
        EXPECT_EQ(d.ChScaleHigh, before.ChScaleHigh);
        EXPECT_EQ(d.ChScaleLow, before.ChScaleLow);
        EXPECT_EQ(d.ChAlarm1, before.ChAlarm1);
        // Its entry takes the range as given, in no channel's picture.
        d.ChInputType.fill(10);
        d.ChDecimal.fill(1000);
        SettingRange range;
        range.EditChannel = channel;
        range.RangeLow = -5;
        range.RangeHigh = 50;
        const SettingEntry::Context ctx = EntryContext(d, range, 32);
        EXPECT_EQ(ctx.low, -5);
        EXPECT_EQ(ctx.high, 50);
        EXPECT_FALSE(ctx.scaled) << channel;
        EXPECT_EQ(ctx.divisor, 100) << channel;
        EXPECT_FALSE(ctx.excluded.has_value()) << channel;
        d = before;
    }
    EXPECT_TRUE(StoreSettingValue(d, 1, ChannelCount - 1, 123));
    EXPECT_EQ(d.ChSV[ChannelCount - 1], 123);
    SettingRange last;
    last.EditChannel = ChannelCount - 1;
    d.ChInputType[ChannelCount - 1] = 10;
    d.ChDecimal[ChannelCount - 1] = 1000;
    const SettingEntry::Context ctx = EntryContext(d, last, 32);
    EXPECT_TRUE(ctx.scaled);
    EXPECT_EQ(ctx.divisor, 1000);
    EXPECT_EQ(ctx.excluded, d.ChScaleLow[ChannelCount - 1]);
}

TEST_F(SettingNumbersTest, EntryDialogsLeaveTheMainWindowUsable) {
    d.SelectedItem = 1;
    editor.Command_change_Click(c, QString());
    ASSERT_NE(editor.settingDialog(), nullptr);
    EXPECT_FALSE(editor.settingDialog()->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    editor.settingDialog()->close();
    d.SelectedItem = 14;
    editor.Command_change2_Click(c);
    ASSERT_NE(editor.selectDialog(), nullptr);
    EXPECT_FALSE(editor.selectDialog()->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    editor.selectDialog()->close();
}

}  // namespace

namespace {

TEST_F(SettingNumbersTest, LinearEntryShowsPictureTenthsOrWholeBySetting) {
    // Channel c is linear with two decimals: typing 1 then 2 shows 0.12 for the settings
    // kept in engineering units, 1.2 for those in tenths and 12 for whole numbers.
    d.ChDecimal[c] = 100;
    const std::set<int> picture{1, 2, 3, 10, 11, 12, 13, 19, 23, 27, 29, 31, 32, 33};
    const std::set<int> tenths{4, 5, 18, 25};
    for (int s : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16, 17, 18, 19, 22, 23, 25, 26, 27,
                  29, 30, 31, 32, 33}) {
        SCOPED_TRACE(s);
        d.SelectedItem = s;
        editor.Command_change_Click(c, QString());
        Setting_Disp* dlg = editor.settingDialog();
        ASSERT_NE(dlg, nullptr);
        dlg->Ten_key[1]->click();
        dlg->Ten_key[2]->click();
        const QString want = picture.count(s) ? "0.12" : tenths.count(s) ? "1.2" : "12";
        EXPECT_EQ(dlg->Disp_setdata->text(), want);
        EXPECT_EQ(dlg->change_data->text(), QStringLiteral("12"));
        EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(' ').toStdString();
        dlg->Command4->click();
    }
}

TEST_F(SettingNumbersTest, EachChoiceShowsOnlyItsFrameWithTheCurrentOption) {
    struct Case { int setting; int frame; };  // frame index in the order below
    const Case cases[] = {{14, 0}, {15, 0}, {20, 1}, {21, 2}, {28, 3}, {34, 4}, {35, 5}};
    d.ChAlarm2Type[c] = 7;
    d.ChAction[c] = 1;
    d.ChTempUnit[c] = 1;
    d.ChCoolMode[c] = 2;
    d.ChDecimal[c] = 1000;
    d.ChUnitText[c] = QStringLiteral("m3/h");
    for (const Case& k : cases) {
        SCOPED_TRACE(k.setting);
        d.SelectedItem = k.setting;
        editor.Command_change2_Click(c);
        Select_Disp* s = editor.selectDialog();
        ASSERT_NE(s, nullptr);
        const QGroupBox* frames[] = {s->Select_alarm, s->Select_hc, s->Select_cf, s->Select_cool,
                                     s->Select_dp, s->Select_unit};
        for (int f = 0; f < 6; ++f) EXPECT_EQ(frames[f]->isVisibleTo(s), f == k.frame) << f;
        s->Command2->click();
    }
    // The current value preselected, setting by setting.
    auto checked = [](const auto& options) {
        int found = -1;
        for (int i = 0; i < int(options.size()); ++i)
            if (options[i]->isChecked()) found = i;
        return found;
    };
    d.SelectedItem = 15;
    editor.Command_change2_Click(c);
    EXPECT_EQ(checked(editor.selectDialog()->Option_alarm), 7);
    editor.selectDialog()->Command2->click();
    d.SelectedItem = 28;
    editor.Command_change2_Click(c);
    EXPECT_EQ(checked(editor.selectDialog()->Option_cool), 2);
    editor.selectDialog()->Command2->click();
    for (auto [divisor, option] : {std::pair{1, 0}, {10, 1}, {100, 2}, {1000, 3}, {10000, 4}, {7, -1}}) {
        d.ChDecimal[c] = qint16(divisor);
        d.SelectedItem = 34;
        editor.Command_change2_Click(c);
        EXPECT_EQ(checked(editor.selectDialog()->Option_dp), option) << divisor;
        editor.selectDialog()->Command2->click();
    }
    d.SelectedItem = 35;
    editor.Command_change2_Click(c);
    EXPECT_EQ(editor.selectDialog()->Text_unit->text(), QStringLiteral("m3/h"));
}

TEST_F(SettingNumbersTest, AChoiceReopenedForAnotherChannelStartsFromThatChannel) {
    // The dialog stays open while the operator picks another row: the option of the first
    // channel must not stay selected for a channel whose value has no option.
    d.ChDecimal[c] = 100;
    d.ChInputType[c + 2] = 12;
    d.ChDecimal[c + 2] = 7;
    d.SelectedItem = 34;
    editor.Command_change2_Click(c);
    Select_Disp* s = editor.selectDialog();
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->Option_dp[2]->isChecked());
    editor.Command_change2_Click(c + 2);
    ASSERT_EQ(editor.selectDialog(), s);
    for (QRadioButton* o : s->Option_dp) EXPECT_FALSE(o->isChecked());
    s->Command1->click();
    EXPECT_EQ(d.ChDecimal[c + 2], 7) << "no option chosen: the value stays";
    EXPECT_EQ(d.ChDecimal[c], 100);
}

TEST_F(SettingNumbersTest, TheFirstAndLastChannelsEnterInTheirOwnUnits) {
    // Channels 0 and 319 are channels like any other: linear with two decimals, the main
    // setting shows as 0.12 after typing 1 and 2.
    for (int channel : {0, ChannelCount - 1}) {
        SCOPED_TRACE(channel);
        Linear(channel, 0, 10000, 100);
        d.SelectedItem = 1;
        editor.Command_change_Click(channel, QString());
        Setting_Disp* dlg = editor.settingDialog();
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->Limit_data->text(), QStringLiteral("0.00 ～ 100.00"));
        dlg->Ten_key[1]->click();
        dlg->Ten_key[2]->click();
        EXPECT_EQ(dlg->Disp_setdata->text(), QStringLiteral("0.12"));
        dlg->Command3->click();
        EXPECT_EQ(d.ChSV[channel], 12);
        EXPECT_EQ(writes.block, channel / 20);
    }
}

TEST_F(SettingNumbersTest, PcSideSettingsOfTheFirstAndLastChannelsKeepTheirKeys) {
    for (auto [channel, suffix] : {std::pair{0, "001"}, {ChannelCount - 1, "320"}}) {
        Linear(channel, 0, 10000, 10);
        d.ChScaleHigh[channel] = 4321;
        d.ChScaleLow[channel] = -12;
        d.ChDecimal[channel] = 1000;
        d.ChUnitText[channel] = QStringLiteral("rpm");
        for (int s : {32, 33, 34, 35}) CommitSetting(d, writes, s, channel);
        EXPECT_EQ(GetSetting(QStringLiteral("STLH") + suffix, QString()), QStringLiteral("4321"));
        EXPECT_EQ(GetSetting(QStringLiteral("STLL") + suffix, QString()), QStringLiteral("-12"));
        EXPECT_EQ(GetSetting(QStringLiteral("DP") + suffix, QString()), QStringLiteral("1000"));
        EXPECT_EQ(GetSetting(QStringLiteral("UNIT") + suffix, QString()), QStringLiteral("rpm"));
        EXPECT_FALSE(writes.Took());
    }
    // Keys exist for the PC-side settings of real channels only.
    for (int s = 1; s <= 36; ++s) EXPECT_EQ(IsPcSideSetting(s), s >= 32 && s <= 35) << s;
    for (int channel : {-1, ChannelCount}) EXPECT_EQ(PcSideSettingKey(32, channel), QString()) << channel;
    EXPECT_EQ(PcSideSettingKey(31, 5), QString());
}


TEST_F(SettingNumbersTest, ChoicesOfTheFirstAndLastChannelsAreStoredAndWritten) {
    for (int channel : {0, ChannelCount - 1}) {
        SCOPED_TRACE(channel);
        writes.requested = 0;
        d.SelectedItem = 14;
        editor.Command_change2_Click(channel);
        Select_Disp* s = editor.selectDialog();
        ASSERT_NE(s, nullptr);
        s->Option_alarm[11]->click();
        s->Command1->click();
        EXPECT_EQ(d.ChAlarm1Type[channel], 11);
        EXPECT_EQ(writes.item, QStringLiteral("0013"));
        EXPECT_EQ(writes.block, channel / 20);
        EXPECT_TRUE(writes.Took());
    }
}

TEST_F(SettingNumbersTest, TemperatureInputsEnterInTenthsOrWholeDegrees) {
    // Type 9 (JPt100) is a temperature input: its main setting is entered in tenths
    // whatever its decimal-point setting says; type 5 in whole degrees.
    for (auto [type, shown] : {std::pair{9, "12.3"}, {5, "123"}}) {
        d.ChInputType[c] = qint16(type);
        d.ChDecimal[c] = 1000;
        d.SelectedItem = 1;
        editor.Command_change_Click(c, QString());
        Setting_Disp* dlg = editor.settingDialog();
        ASSERT_NE(dlg, nullptr);
        for (int k : {1, 2, 3}) dlg->Ten_key[k]->click();
        EXPECT_EQ(dlg->Disp_setdata->text(), QString::fromUtf8(shown)) << type;
        dlg->Command4->click();
    }
}

}  // namespace
