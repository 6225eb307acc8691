#include "format/SettingRange.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class SettingRangeTest : public ::testing::Test {
protected:
    std::unique_ptr<RDX_INC> inc = std::make_unique<RDX_INC>();
    SettingRange range;
    static constexpr int c = 133;  // block 7, position 13

    void SetUp() override {
        range.EditChannel = c;
        inc->ChDecimal.fill(100);
        inc->ChScaleHigh.fill(10000);
    }

    // Range text of setting s on the channel, "<unchanged>" when the label is left as is.
    QString RangeOf(int s) {
        inc->SelectedItem = s;
        const SettingRangeTexts texts = ShowSettingRange(*inc, range, QStringLiteral("12.3"));
        EXPECT_EQ(texts.NowData, "12.3");
        return texts.LimitData.value_or(QStringLiteral("<unchanged>"));
    }

    void Linear(int type, qint16 low, qint16 high, qint16 divisor) {
        inc->ChInputType[c] = qint16(type);
        inc->ChScaleLow[c] = low;
        inc->ChScaleHigh[c] = high;
        inc->ChDecimal[c] = divisor;
    }
};

TEST_F(SettingRangeTest, MainSettingUsesInputRangeInItsResolution) {
    inc->ChInputType[c] = 0;
    EXPECT_EQ(RangeOf(1), "-200 ～ 1370");
    EXPECT_FALSE(range.RangeInTenths);
    inc->ChInputType[c] = 2;
    inc->ChUnitShown[c] = 1;
    EXPECT_EQ(RangeOf(1), "0 ～ 3200");
    inc->ChInputType[c] = 8;
    inc->ChUnitShown[c] = 0;
    EXPECT_EQ(RangeOf(1), "-199.9 ～ 850.0");
    EXPECT_EQ(range.RangeLow, -1999);
    EXPECT_EQ(range.RangeHigh, 8500);
    EXPECT_TRUE(range.RangeInTenths);
    inc->ChUnitShown[c] = 1;
    EXPECT_EQ(RangeOf(1), "-199.9 ～ 999.9");
    Linear(12, -500, 5000, 100);
    EXPECT_EQ(RangeOf(1), "-5.00 ～ 50.00");
    EXPECT_EQ(range.RangeLow, -500);
    EXPECT_EQ(range.RangeHigh, 5000);
}

TEST_F(SettingRangeTest, AlarmValueRangeFollowsAlarmType) {
    inc->ChInputType[c] = 7;
    inc->ChAlarm1Type[c] = 1;
    EXPECT_EQ(RangeOf(2), "-200.0 ～ 200.0");
    EXPECT_EQ(range.RangeLow, -2000);
    EXPECT_EQ(range.RangeHigh, 2000);
    inc->ChAlarm1Type[c] = 5;
    EXPECT_EQ(RangeOf(2), "0.0 ～ 200.0");
    inc->ChAlarm1Type[c] = 9;
    EXPECT_EQ(RangeOf(2), "0.0 ～ 600.0");
    inc->ChAlarm1Type[c] = 0;
    EXPECT_EQ(RangeOf(2), "0.0 ～ 0.0");
    inc->ChAlarm1Type[c] = 13;
    EXPECT_EQ(RangeOf(2), "0.0 ～ 0.0");

    // Alarm 2 reads its own type.
    inc->ChAlarm1Type[c] = 1;
    inc->ChAlarm2Type[c] = 8;
    EXPECT_EQ(RangeOf(3), "0.0 ～ 200.0");

    // Whole-degree sensors: K is 1 and the range is whole degrees.
    inc->ChInputType[c] = 1;
    inc->ChAlarm2Type[c] = 4;
    EXPECT_EQ(RangeOf(3), "-200 ～ 200");
    inc->ChAlarm2Type[c] = 12;
    EXPECT_EQ(RangeOf(3), "-200 ～ 1000");

    // Linear input: K is 10, shown in the channel's own picture.
    Linear(10, 0, 5000, 10);
    inc->ChAlarm1Type[c] = 3;
    EXPECT_EQ(RangeOf(2), "-200.0 ～ 200.0");
    inc->ChAlarm1Type[c] = 10;
    EXPECT_EQ(RangeOf(2), "0.0 ～ 500.0");
}

TEST_F(SettingRangeTest, HeaterBreakRangeDependsOnOptionBits) {
    inc->ChInputType[c] = 0;
    inc->ChOption[c] = 0x0002;
    EXPECT_EQ(RangeOf(4), "0.0 ～ 0.0");
    inc->ChOption[c] = 0x0001;
    EXPECT_EQ(RangeOf(4), "0.0 ～ 20.0");
    inc->ChOption[c] = 0x0403;
    EXPECT_EQ(RangeOf(4), "0.0 ～ 50.0");
    EXPECT_EQ(range.RangeHigh, 500);
}

TEST_F(SettingRangeTest, HysteresisOfLinearInputIsATenthOfItsSpan) {
    Linear(11, -100, 400, 10);
    EXPECT_EQ(RangeOf(13), "0.1 ～ 5.0");
    EXPECT_EQ(range.RangeLow, 1);
    EXPECT_EQ(range.RangeHigh, 50);
    EXPECT_EQ(RangeOf(19), "-5.0 ～ 5.0");
    EXPECT_EQ(RangeOf(23), "0.0 ～ 5.0");
    EXPECT_EQ(RangeOf(29), "0.1 ～ 5.0");
    // Overlap band (27) and loop 2 span (31) use the same rule.
    EXPECT_EQ(RangeOf(27), "-5.0 ～ 5.0");
    EXPECT_EQ(RangeOf(31), "0.0 ～ 5.0");

    // A tenth of the span rounds half to even.
    Linear(12, 0, 25, 1);
    EXPECT_EQ(RangeOf(12), "1 ～ 2");
    Linear(12, 0, 15, 1);
    EXPECT_EQ(RangeOf(11), "1 ～ 2");

    // The span is taken in full width: -30000..30000 must not wrap round.
    Linear(12, -30000, 30000, 1);
    EXPECT_EQ(RangeOf(13), "1 ～ 6000");
}

TEST_F(SettingRangeTest, HysteresisOfTemperatureInputIsFixed) {
    for (int type : {0, 9}) {
        inc->ChInputType[c] = qint16(type);
        EXPECT_EQ(RangeOf(11), "0.1 ～ 100.0") << type;
        EXPECT_EQ(RangeOf(19), "-100.0 ～ 100.0") << type;
        EXPECT_EQ(RangeOf(31), "0.0 ～ 100.0") << type;
    }
}

TEST_F(SettingRangeTest, ManualResetIsTheBandShareOfTheInputRange) {
    inc->ChInputType[c] = 0;  // -200..1370
    inc->ChPBand[c] = 30;
    EXPECT_EQ(RangeOf(10), "-47.1 ～ 47.1");
    inc->ChPBand[c] = 5;  // 78.5 rounds to even
    RangeOf(10);
    EXPECT_EQ(range.RangeLow, -78);
    EXPECT_EQ(range.RangeHigh, 78);
    inc->ChPBand[c] = 1000;  // 15700, clamped on both sides
    EXPECT_EQ(RangeOf(10), "-199.9 ～ 999.9");

    inc->ChInputType[c] = 8;  // -199.9..850.0 taken in degrees
    inc->ChPBand[c] = 30;
    EXPECT_EQ(RangeOf(10), "-31.5 ～ 31.5");

    Linear(12, 0, 1000, 10);
    inc->ChPBand[c] = 25;
    EXPECT_EQ(RangeOf(10), "-25.0 ～ 25.0");
}

TEST_F(SettingRangeTest, WholeNumberSettingsAreNotShownInTenths) {
    inc->ChInputType[c] = 8;
    EXPECT_EQ(RangeOf(6), "0 ～ 3600");
    EXPECT_EQ(RangeOf(7), "0 ～ 3600");
    EXPECT_EQ(RangeOf(8), "0 ～ 100");
    EXPECT_EQ(RangeOf(9), "1 ～ 120");
    EXPECT_EQ(RangeOf(26), "1 ～ 120");
    EXPECT_EQ(RangeOf(22), "0 ～ 200");
    EXPECT_EQ(RangeOf(30), "0 ～ 200");
    EXPECT_EQ(RangeOf(28), "0 ～ 2");
    EXPECT_EQ(RangeOf(5), "0.0 ～ 100.0");
    EXPECT_EQ(RangeOf(18), "0.0 ～ 100.0");
    EXPECT_EQ(RangeOf(25), "0.0 ～ 100.0");
}

TEST_F(SettingRangeTest, OutputLimitsBoundEachOther) {
    inc->ChOutLow[c] = 20;
    inc->ChOutHigh[c] = 80;
    EXPECT_EQ(RangeOf(16), "20 ～ 105");
    EXPECT_EQ(RangeOf(17), "-5 ～ 80");
}

TEST_F(SettingRangeTest, ScalingLimitsBoundEachOther) {
    Linear(13, -100, 5000, 100);
    EXPECT_EQ(RangeOf(32), "-1.00 ～ 100.00");
    EXPECT_EQ(RangeOf(33), "-20.00 ～ 50.00");
    EXPECT_EQ(range.RangeLow, -2000);
    EXPECT_EQ(range.RangeHigh, 5000);
    // On a temperature input the same limits are plain numbers.
    inc->ChInputType[c] = 3;
    EXPECT_EQ(RangeOf(32), "-100 ～ 10000");
}

TEST_F(SettingRangeTest, LinearPictureOnlyForScaledSettings) {
    Linear(12, 0, 10000, 1000);
    // Proportional band is in tenths of a percent whatever the channel's divisor.
    EXPECT_EQ(RangeOf(5), "0.0 ～ 100.0");
    EXPECT_EQ(RangeOf(6), "0 ～ 3600");
    EXPECT_EQ(RangeOf(13), "0.001 ～ 1.000");
}

TEST_F(SettingRangeTest, UnlistedDivisorLeavesRangeLabelButComputesRange) {
    Linear(12, -100, 400, 7);
    EXPECT_EQ(RangeOf(13), "<unchanged>");
    EXPECT_EQ(range.RangeLow, 1);
    EXPECT_EQ(range.RangeHigh, 50);
    // Settings outside the scaled list are not affected by the divisor.
    EXPECT_EQ(RangeOf(5), "0.0 ～ 100.0");
}

TEST_F(SettingRangeTest, ChoiceSettingsKeepThePreviousRange) {
    inc->ChInputType[c] = 8;
    RangeOf(1);
    ASSERT_EQ(range.RangeHigh, 8500);
    for (int s : {14, 15, 20, 21, 24, 34, 35, 0}) {
        RangeOf(s);
        EXPECT_EQ(range.RangeLow, -1999) << s;
        EXPECT_EQ(range.RangeHigh, 8500) << s;
        EXPECT_FALSE(range.RangeInTenths) << s;
    }
}

TEST_F(SettingRangeTest, ChannelOutsideTheLineComputesNothing) {
    range.EditChannel = ChannelCount;
    range.RangeLow = 3;
    range.RangeHigh = 4;
    inc->SelectedItem = 1;
    const SettingRangeTexts texts = ShowSettingRange(*inc, range, QStringLiteral("x"));
    EXPECT_EQ(texts.NowData, "x");
    EXPECT_FALSE(texts.LimitData.has_value());
    EXPECT_EQ(range.RangeLow, 3);
    EXPECT_EQ(range.RangeHigh, 4);
}

TEST_F(SettingRangeTest, InputRangeLimitsByCodeAndUnit) {
    range.RangeLow = -7;
    inc->ChInputType[c] = 5;
    InputRangeLimits(*inc, range);
    EXPECT_EQ(range.RangeLow, 0);
    EXPECT_EQ(range.RangeHigh, 1300);
    inc->ChUnitShown[c] = 1;
    inc->ChInputType[c] = 9;
    InputRangeLimits(*inc, range);
    EXPECT_EQ(range.RangeLow, -1999);
    EXPECT_EQ(range.RangeHigh, 9000);
    // Unknown codes take the scaling limits like linear inputs.
    inc->ChInputType[c] = 20;
    inc->ChScaleLow[c] = -50;
    inc->ChScaleHigh[c] = 250;
    InputRangeLimits(*inc, range);
    EXPECT_EQ(range.RangeLow, -50);
    EXPECT_EQ(range.RangeHigh, 250);
}

TEST_F(SettingRangeTest, AlarmSettingLimitsOnlyForAlarmSettings) {
    inc->ChAlarm1Type[c] = 1;
    inc->SelectedItem = 2;
    AlarmSettingLimits(*inc, range, 10);
    EXPECT_EQ(range.RangeLow, -2000);
    EXPECT_EQ(range.RangeHigh, 2000);
    inc->SelectedItem = 5;
    AlarmSettingLimits(*inc, range, 10);
    EXPECT_EQ(range.RangeLow, 0);
    EXPECT_EQ(range.RangeHigh, 0);
}

}  // namespace
