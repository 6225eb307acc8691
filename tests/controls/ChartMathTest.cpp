#include "controls/ChartMath.h"

#include <gtest/gtest.h>

using namespace ChartMath;

TEST(ChartMath, RoundsHalvesToEven)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(1.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.4999), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5001), 3.0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
}

TEST(ChartMath, ValuePerUnitOnlyForAScaleThatRises)
{
    EXPECT_FALSE(ValuePerUnitFor(400, 400).has_value());
    EXPECT_FALSE(ValuePerUnitFor(0, 400).has_value());
    ASSERT_TRUE(ValuePerUnitFor(400, 0).has_value());
    EXPECT_EQ(*ValuePerUnitFor(400, 0), float(400.0 / 6000.0));
    EXPECT_EQ(*ValuePerUnitFor(32767, -32768), float(65535.0 / 6000.0));
}

TEST(ChartMath, PenHeightsAndLampsOnAZeroTo400Scale)
{
    const float perUnit = *ValuePerUnitFor(400, 0);
    struct Case { int value; int y; bool offScale; };
    for (const Case c : {Case{400, 0, false}, Case{401, 1, true}, Case{0, 6000, false},
                         Case{-1, 6000, true}, Case{200, 3000, false}, Case{100, 4500, false},
                         Case{32767, 1, true}, Case{-32768, 6000, true}}) {
        const PenPoint point = PenY(c.value, 400, 0, perUnit);
        ASSERT_TRUE(point.y.has_value()) << c.value;
        EXPECT_EQ(*point.y, c.y) << c.value;
        EXPECT_EQ(point.offScale, c.offScale) << c.value;
    }
}

TEST(ChartMath, PenHeightWithoutAScaleOrAfterTheScaleMoved)
{
    // Before any accepted scale there is nothing to divide by; off-scale still shows.
    EXPECT_FALSE(PenY(200, 400, 0, 0.0f).y.has_value());
    EXPECT_FALSE(PenY(200, 400, 0, 0.0f).offScale);
    EXPECT_EQ(PenY(401, 400, 0, 0.0f).y, 1);
    EXPECT_EQ(PenY(-1, 400, 0, 0.0f).y, 6000);

    // Scale properties changed after the last accepted scale: the point stays on the plot.
    const float perUnit = *ValuePerUnitFor(400, 0);
    EXPECT_EQ(PenY(0, 800, 0, perUnit).y, 6000);
    EXPECT_EQ(PenY(-300, 400, -400, perUnit).y, 6000);
}

TEST(ChartMath, ScaleLabelsTopMiddleBottom)
{
    EXPECT_EQ(ScaleLabels(3400, -400), (std::array<QString, 3>{"3400", "1500", "-400"}));
    EXPECT_EQ(ScaleLabels(401, 0), (std::array<QString, 3>{"401", "200", "0"}));
    EXPECT_EQ(ScaleLabels(-1, -4), (std::array<QString, 3>{"-1", "-3", "-4"}));
    EXPECT_EQ(ScaleLabels(32767, -32768), (std::array<QString, 3>{"32767", "-1", "-32768"}));
}

TEST(ChartMath, TimeLabelsInMinutes)
{
    EXPECT_EQ(TimeLabels(5), (std::array<QString, 9>{"8.3", "16.7", "25", "33.3", "41.7", "50",
                                                     "58.3", "66.7", "75"}));
    EXPECT_EQ(TimeLabels(1), (std::array<QString, 9>{"1.7", "3.3", "5", "6.7", "8.3", "10",
                                                     "11.7", "13.3", "15"}));
    EXPECT_EQ(TimeLabel(1, 30), "50");
    EXPECT_EQ(TimeLabel(9, 30), "450");
    EXPECT_EQ(TimeLabel(1, 0), "0");
    EXPECT_EQ(TimeLabel(1, -1), "-1.7");
}

TEST(ChartMath, PositionsSpanThePlotWidth)
{
    EXPECT_EQ(PositionX(0), 0);
    EXPECT_EQ(PositionX(1), 10);
    EXPECT_EQ(PositionX(999 + 1), PlotWidth);
}
