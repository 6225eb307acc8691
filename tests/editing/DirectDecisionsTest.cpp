// The per-channel button decisions as their callers rely on them: what each answers, what
// it changes and what it requests, for the first and last channels and for numbers that
// are no channel at all.
#include "EditingFixture.h"
#include "editing/SettingEntry.h"

#include "editing/DirectOperations.h"

namespace {

class DirectDecisionsTest : public EditingTest {};

TEST_F(DirectDecisionsTest, SwitchesAnswerWhetherTheyRequestedTheWrite) {
    for (int c : {0, ChannelCount - 1}) {
        SCOPED_TRACE(c);
        writes.requested = 0;
        d.ChATSwitch[c] = 0;
        d.ChOutputSwitch[c] = 0;
        EXPECT_FALSE(SwitchAutoTuning(d, writes, c)) << "output off";
        EXPECT_FALSE(writes.Took());
        EXPECT_TRUE(SwitchOutputOnSettingView(d, writes, c));
        EXPECT_EQ(d.ChOutputSwitch[c], 1);
        EXPECT_EQ(writes.item, QStringLiteral("0009"));
        EXPECT_EQ(writes.block, c / 20);
        EXPECT_TRUE(writes.Took());
        writes.requested = 0;
        EXPECT_TRUE(SwitchAutoTuning(d, writes, c));
        EXPECT_EQ(d.ChATSwitch[c], 1);
        EXPECT_EQ(writes.item, QStringLiteral("000A"));
        EXPECT_TRUE(writes.Took());
        writes.requested = 0;
        EXPECT_FALSE(SwitchOutputOnSettingView(d, writes, c)) << "AT switch on";
        EXPECT_FALSE(MainSettingEntryAllowed(d, c));
        EXPECT_EQ(d.ChOutputSwitch[c], 1);
        EXPECT_FALSE(writes.Took());
        d.ChStatus[c] = StatusBit::AutoTuning;
        EXPECT_FALSE(SwitchOutput(d, writes, c)) << "auto-tuning runs";
        EXPECT_EQ(d.ChOutputSwitch[c], 1);
        EXPECT_FALSE(writes.Took());
        d.ChStatus[c] = 0;
        EXPECT_TRUE(SwitchOutput(d, writes, c));
        EXPECT_EQ(d.ChOutputSwitch[c], 0);
        EXPECT_TRUE(writes.Took());
        d.ChATSwitch[c] = 0;
        EXPECT_TRUE(MainSettingEntryAllowed(d, c));
    }
}

TEST_F(DirectDecisionsTest, NumbersThatAreNoChannelAreRefusedAndChangeNothing) {
    d.ChOutputSwitch.fill(1);
    const RDX_INC before = d;
    for (int c : {-1, ChannelCount, ChannelCount + 20}) {
        EXPECT_FALSE(SwitchOutputOnSettingView(d, writes, c)) << c;
        EXPECT_FALSE(SwitchAutoTuning(d, writes, c)) << c;
        EXPECT_FALSE(SwitchOutput(d, writes, c)) << c;
        EXPECT_FALSE(MainSettingEntryAllowed(d, c)) << c;
        EXPECT_FALSE(NumericEntryApplicable(d, 1, c)) << c;
        EXPECT_FALSE(ChoiceEntryApplicable(d, 14, c)) << c;
        EXPECT_EQ(PreselectedOption(d, 14, c), -1) << c;
    }
    EXPECT_FALSE(writes.Took());
    EXPECT_EQ(d.ChOutputSwitch, before.ChOutputSwitch);
    EXPECT_EQ(d.ChATSwitch, before.ChATSwitch);
}

TEST_F(DirectDecisionsTest, PreselectionOnlyForValuesThatHaveAnOption) {
    const int c = 77;
    struct Case { int setting; ChannelTable RDX_INC::*table; qint16 value; int option; };
    const Case cases[] = {
        {14, &RDX_INC::ChAlarm1Type, 0, 0},   {14, &RDX_INC::ChAlarm1Type, 12, 12},
        {14, &RDX_INC::ChAlarm1Type, 13, -1}, {14, &RDX_INC::ChAlarm1Type, -1, -1},
        {15, &RDX_INC::ChAlarm2Type, 12, 12}, {15, &RDX_INC::ChAlarm2Type, 13, -1},
        {20, &RDX_INC::ChAction, 1, 1},       {20, &RDX_INC::ChAction, 2, -1},
        {21, &RDX_INC::ChTempUnit, 1, 1},     {21, &RDX_INC::ChTempUnit, 2, -1},
        {28, &RDX_INC::ChCoolMode, 2, 2},     {28, &RDX_INC::ChCoolMode, 3, -1},
        {34, &RDX_INC::ChDecimal, 10000, 4},  {34, &RDX_INC::ChDecimal, 1, 0},
        {34, &RDX_INC::ChDecimal, 100, 2},    {34, &RDX_INC::ChDecimal, 20000, -1},
        {34, &RDX_INC::ChDecimal, 0, -1},     {34, &RDX_INC::ChDecimal, -1, -1},
        {35, &RDX_INC::ChDecimal, 100, -1},   {5, &RDX_INC::ChPBand, 1, -1},
    };
    for (const Case& k : cases) {
        (d.*k.table)[c] = k.value;
        EXPECT_EQ(PreselectedOption(d, k.setting, c), k.option) << k.setting << " value " << k.value;
    }
    // The first and last channels too.
    d.ChCoolMode[0] = 1;
    d.ChCoolMode[ChannelCount - 1] = 2;
    EXPECT_EQ(PreselectedOption(d, 28, 0), 1);
    EXPECT_EQ(PreselectedOption(d, 28, ChannelCount - 1), 2);
}

}  // namespace

// The pad sends only 0 to 9; any other number is a key without meaning to the entry.
TEST(SettingEntryKeys, ANumberThatIsNoDigitLeavesTheEntryAsItWas) {
    SettingEntry::Context range;
    range.low = -200;
    range.high = 1370;
    SettingEntry entry(range);
    entry.Digit(4);
    entry.Digit(2);
    for (int notADigit : {10, -1}) {
        EXPECT_EQ(entry.Digit(notADigit), SettingEntry::KeyResult::Accepted) << notADigit;
        EXPECT_EQ(entry.Entry(), QStringLiteral("42")) << notADigit;
        EXPECT_EQ(entry.Display(), QStringLiteral("42")) << notADigit;
    }
}

