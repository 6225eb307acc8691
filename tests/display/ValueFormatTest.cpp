#include "format/ValueFormat.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class FormatItemValueTest : public ::testing::Test {
protected:
    std::unique_ptr<RDX_INC> inc = std::make_unique<RDX_INC>();
    static constexpr int c = 47;  // block 2, position 7

    QString Item(int item, int channel = c) const { return FormatItemValue(*inc, item, channel); }
};

TEST(FormatScaledTest, EachDecimalPictureGivesItsDecimals) {
    EXPECT_EQ(FormatScaled(12345, 1), "12345");
    EXPECT_EQ(FormatScaled(12345, 10), "1234.5");
    EXPECT_EQ(FormatScaled(12345, 100), "123.45");
    EXPECT_EQ(FormatScaled(12345, 1000), "12.345");
    EXPECT_EQ(FormatScaled(12345, 10000), "1.2345");
}

TEST(FormatScaledTest, SmallAndNegativeValuesKeepLeadingZeroAndSign) {
    EXPECT_EQ(FormatScaled(-5, 100), "-0.05");
    EXPECT_EQ(FormatScaled(0, 10000), "0.0000");
    EXPECT_EQ(FormatScaled(7, 1000), "0.007");
    EXPECT_EQ(FormatScaled(-32768, 1000), "-32.768");
    EXPECT_EQ(FormatScaled(-1, 1), "-1");
    EXPECT_EQ(FormatTenths(-3), "-0.3");
    EXPECT_EQ(FormatTenths(0), "0.0");
    EXPECT_EQ(FormatTenths(125), "12.5");
}

TEST(FormatScaledTest, UnlistedDivisorGivesEmptyText) {
    for (int divisor : {0, -10, 7, 5, 50, 100000}) EXPECT_EQ(FormatScaled(1234, divisor), "") << divisor;
}

TEST_F(FormatItemValueTest, InputClassFollowsResolutionOfInputType) {
    inc->ChPV[c] = 1234;
    inc->ChOutputHys[c] = 15;
    inc->ChInputType[c] = 0;
    EXPECT_EQ(Item(0), "1234");
    EXPECT_EQ(Item(13), "1.5");  // span class shows tenths even for whole-degree sensors

    inc->ChInputType[c] = 5;
    inc->ChPV[c] = -5;
    EXPECT_EQ(Item(0), "-5");

    inc->ChInputType[c] = 8;
    inc->ChPV[c] = -50;
    EXPECT_EQ(Item(0), "-5.0");
    inc->ChInputType[c] = 6;
    inc->ChPV[c] = 5;
    EXPECT_EQ(Item(0), "0.5");
    inc->ChInputType[c] = 9;
    EXPECT_EQ(Item(0), "0.5");
}

TEST_F(FormatItemValueTest, LinearInputUsesChannelDivisor) {
    inc->ChInputType[c] = 12;
    inc->ChPV[c] = 2550;
    inc->ChDecimal[c] = 100;
    EXPECT_EQ(Item(0), "25.50");
    inc->ChDecimal[c] = 1;
    EXPECT_EQ(Item(0), "2550");
    inc->ChDecimal[c] = 10000;
    EXPECT_EQ(Item(0), "0.2550");
    inc->ChPV[c] = -2550;
    inc->ChDecimal[c] = 1000;
    EXPECT_EQ(Item(0), "-2.550");
    inc->ChDecimal[c] = 7;
    EXPECT_EQ(Item(0), "");

    // Span items of a linear input take the same divisor, not tenths.
    inc->ChDecimal[c] = 1000;
    inc->ChAlarm1Hys[c] = 1500;
    EXPECT_EQ(Item(14), "1.500");
    // Other channels are not affected by this channel's divisor.
    inc->ChInputType[c + 1] = 12;
    inc->ChDecimal[c + 1] = 10;
    inc->ChPV[c + 1] = 2550;
    EXPECT_EQ(Item(0, c + 1), "255.0");
}

TEST_F(FormatItemValueTest, SpanItemsOfTheLastTemperatureInputShowDegreesNotTheScaling) {
    // Type 9 is the last temperature input: its spans are tenths of a degree, whatever
    // decimal setting the channel keeps; type 10 is the first linear input.
    inc->ChDecimal[c] = 1000;
    inc->ChOutputHys[c] = 15;
    inc->ChLoopSpan[c] = 2500;
    inc->ChInputType[c] = 9;
    EXPECT_EQ(Item(13), "1.5");
    EXPECT_EQ(Item(25), "250.0");
    inc->ChInputType[c] = 10;
    EXPECT_EQ(Item(13), "0.015");
    EXPECT_EQ(Item(25), "2.500");
}

TEST_F(FormatItemValueTest, EachItemReadsItsOwnTableWithItsClass) {
    // Temperature input with tenths resolution, a distinct value in every table.
    inc->ChInputType[c] = 7;
    inc->ChPV[c] = 1001;
    inc->ChHeatMV[c] = 1002;
    inc->ChHeaterCurrent[c] = 1003;
    inc->ChSV[c] = 1004;
    inc->ChAlarm1[c] = 1005;
    inc->ChAlarm2[c] = 1006;
    inc->ChHBAlarm[c] = 1007;
    inc->ChPBand[c] = 1008;
    inc->ChITime[c] = 1009;
    inc->ChDTime[c] = 1010;
    inc->ChARW[c] = 1011;
    inc->ChPCycle[c] = 1012;
    inc->ChManualReset[c] = 1013;
    inc->ChOutputHys[c] = 1014;
    inc->ChAlarm1Hys[c] = 1015;
    inc->ChAlarm2Hys[c] = 1016;
    inc->ChAlarm1Type[c] = 2;
    inc->ChAlarm2Type[c] = 12;
    inc->ChOutHigh[c] = 1019;
    inc->ChOutLow[c] = 1020;
    inc->ChInputFilter[c] = 1021;
    inc->ChSensorCorr[c] = 1022;
    inc->ChAction[c] = 1;
    inc->ChTempUnit[c] = 1;
    inc->ChLoopTime[c] = 1025;
    inc->ChLoopSpan[c] = 1026;
    inc->ChCoolPBand[c] = 1027;
    inc->ChCoolPCycle[c] = 1028;
    inc->ChOverlapBand[c] = 1029;
    inc->ChCoolMode[c] = 2;
    inc->ChCoolHys[c] = 1031;
    inc->ChScaleHigh[c] = 1032;
    inc->ChScaleLow[c] = 1033;
    inc->ChDecimal[c] = 1000;
    inc->ChUnitText[c] = QStringLiteral("kPa");
    inc->ChLoop2Time[c] = 1036;
    inc->ChLoop2Span[c] = 1037;

    const char* const expected[DisplayItemCount] = {
        "100.1", "100.2", "100.3", "100.4", "100.5", "100.6", "100.7", "100.8", "1009",
        "1010",  "1011",  "1012",  "101.3", "101.4", "101.5", "101.6", "H  W",  "PL W",
        "1019",  "1020",  "102.1", "102.2", "冷却",  "ﾟF",    "1025",  "102.6", "102.7",
        "1028",  "102.9", "水冷",  "103.1", "103.2", "103.3", "X . XXX", "kPa", "1036",
        "103.7"};
    for (int n = 0; n < DisplayItemCount; ++n) EXPECT_EQ(Item(n), QString::fromUtf8(expected[n])) << "item " << n;
}

TEST_F(FormatItemValueTest, CodeItemsShowTheirNames) {
    inc->ChAction[c] = 0;
    EXPECT_EQ(Item(22), "加熱");
    inc->ChAction[c] = -1;
    EXPECT_EQ(Item(22), "冷却");
    inc->ChTempUnit[c] = 0;
    EXPECT_EQ(Item(23), "ﾟC");
    inc->ChTempUnit[c] = 2;
    EXPECT_EQ(Item(23), "ﾟF");
    inc->ChCoolMode[c] = 0;
    EXPECT_EQ(Item(29), "空冷");
    inc->ChCoolMode[c] = 1;
    EXPECT_EQ(Item(29), "油冷");
    inc->ChCoolMode[c] = 3;
    EXPECT_EQ(Item(29), "");
    inc->ChCoolMode[c] = -1;
    EXPECT_EQ(Item(29), "");
    inc->ChAlarm1Type[c] = 13;
    EXPECT_EQ(Item(16), "");
    inc->ChAlarm1Type[c] = 0;
    EXPECT_EQ(Item(16), "None");
    inc->ChAlarm2Type[c] = 1;
    EXPECT_EQ(Item(17), "H   ");
    inc->ChDecimal[c] = 10000;
    EXPECT_EQ(Item(33), ". XXXX");
    inc->ChDecimal[c] = 3;
    EXPECT_EQ(Item(33), "");
    // The unit text is shown as stored, whatever the input type.
    inc->ChInputType[c] = 0;
    inc->ChUnitText[c] = QStringLiteral("m³/h");
    EXPECT_EQ(Item(34), "m³/h");
}

TEST_F(FormatItemValueTest, UnknownItemNumbersShowThePV) {
    inc->ChInputType[c] = 6;
    inc->ChPV[c] = 123;
    inc->ChSV[c] = 999;
    for (int n : {37, 100, -1, -32768}) EXPECT_EQ(Item(n), "12.3") << n;
    inc->ChInputType[c] = 13;
    inc->ChDecimal[c] = 100;
    EXPECT_EQ(Item(-1), "1.23");
}

TEST_F(FormatItemValueTest, ChannelOutsideTheLineGivesEmptyText) {
    inc->ChPV.fill(5);
    inc->ChUnitText.fill(QStringLiteral("%"));
    for (int channel : {-1, ChannelCount, 100000}) {
        EXPECT_EQ(Item(0, channel), "") << channel;
        EXPECT_EQ(Item(34, channel), "") << channel;
        EXPECT_EQ(MakeRange(*inc, channel), "") << channel;
    }
    EXPECT_EQ(Item(0, ChannelCount - 1), "5");
}

class MakeRangeTest : public FormatItemValueTest {};

TEST_F(MakeRangeTest, TemperatureInputsTakeTheColumnOfTheUnitShown) {
    inc->ChInputType[c] = 0;
    EXPECT_EQ(MakeRange(*inc, c), "-200 ～ 1370ﾟC K");
    inc->ChUnitShown[c] = 1;
    EXPECT_EQ(MakeRange(*inc, c), "-320 ～ 2500ﾟF K");
    inc->ChInputType[c] = 4;
    EXPECT_EQ(MakeRange(*inc, c), "0 ～ 2500ﾟF PL-Ⅱ");
    inc->ChInputType[c] = 9;
    inc->ChUnitShown[c] = 0;
    EXPECT_EQ(MakeRange(*inc, c), "-199.9 ～ 500.0ﾟC JPt100");
}

TEST_F(MakeRangeTest, TenthsThermocouplesHoldAnIdeographicSpace) {
    inc->ChInputType[c] = 6;
    const QString text = MakeRange(*inc, c);
    EXPECT_EQ(text, QString::fromUtf8("0.0 ～\u3000600.0ﾟC K"));
    EXPECT_EQ(text.count(QChar(0x3000)), 1);
    EXPECT_EQ(text.count(QLatin1Char(' ')), 2);
    inc->ChInputType[c] = 7;
    inc->ChUnitShown[c] = 1;
    EXPECT_EQ(MakeRange(*inc, c), QString::fromUtf8("0.0 ～\u3000999.9ﾟF J"));
    // Only codes 6 and 7 have it.
    inc->ChInputType[c] = 8;
    EXPECT_FALSE(MakeRange(*inc, c).contains(QChar(0x3000)));
}

TEST_F(MakeRangeTest, LinearInputsShowScalingLimitsAndIgnoreTheUnit) {
    inc->ChInputType[c] = 11;
    inc->ChScaleLow[c] = 0;
    inc->ChScaleHigh[c] = 10000;
    inc->ChDecimal[c] = 100;
    EXPECT_EQ(MakeRange(*inc, c), "0.00～100.00 DC mA");
    inc->ChUnitShown[c] = 1;
    EXPECT_EQ(MakeRange(*inc, c), "0.00～100.00 DC mA");

    inc->ChInputType[c] = 10;
    inc->ChScaleLow[c] = -100;
    inc->ChScaleHigh[c] = 400;
    inc->ChDecimal[c] = 10;
    EXPECT_EQ(MakeRange(*inc, c), "-10.0～40.0 DC V");
    inc->ChInputType[c] = 12;
    EXPECT_EQ(MakeRange(*inc, c), "-10.0～40.0 DC V");
    inc->ChInputType[c] = 13;
    inc->ChDecimal[c] = 1;
    EXPECT_EQ(MakeRange(*inc, c), "-100～400 DC mA");
}

TEST_F(MakeRangeTest, UnknownCodesGiveEmptyText) {
    inc->ChScaleHigh[c] = 10000;
    inc->ChDecimal[c] = 100;
    for (int code : {14, 255, -1}) {
        inc->ChInputType[c] = qint16(code);
        EXPECT_EQ(MakeRange(*inc, c), "") << code;
    }
}

TEST(ListIndexOrZeroTest, NoSelectionCountsAsFirstEntry) {
    EXPECT_EQ(ListIndexOrZero(-1), 0);
    EXPECT_EQ(ListIndexOrZero(-32768), 0);
    EXPECT_EQ(ListIndexOrZero(0), 0);
    EXPECT_EQ(ListIndexOrZero(15), 15);
    // With the list's length: past its end counts as the first entry too.
    EXPECT_EQ(ListIndexOrZero(-1, 16), 0);
    EXPECT_EQ(ListIndexOrZero(0, 16), 0);
    EXPECT_EQ(ListIndexOrZero(15, 16), 15);
    EXPECT_EQ(ListIndexOrZero(16, 16), 0);
    EXPECT_EQ(ListIndexOrZero(319, 320), 319);
    EXPECT_EQ(ListIndexOrZero(320, 320), 0);
    EXPECT_EQ(ListIndexOrZero(319), 319);
}

}  // namespace
