// The chart's layout against the design table of the control, written out here by hand
// (left, top, width, height in twips), and what the control paints where that table says.
#include "PixelProbe.h"

#include "controls/ChartLayout.h"
#include "controls/Tesmar_ChartCtl.h"

#include <gtest/gtest.h>

namespace {

const ChartLayout::Design& Layout() { return ChartLayout::Twips(); }

TEST(ChartLayout, PlotScaleAndPenRowsSitWhereTheDesignPutsThem)
{
    EXPECT_EQ(Layout().control, QSize(11760, 6435));
    EXPECT_EQ(Layout().picture, QRect(1200, 100, 10000, 6000));

    const int scaleTops[] = {80, 3000, 5950};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Layout().scaleLabels[i], QRect(360, scaleTops[i], 735, 255)) << i;

    const int rowTops[] = {600, 960, 1320, 1680};
    const int strokeYs[] = {720, 1080, 1440, 1800};
    for (int pen = 0; pen < 4; ++pen) {
        EXPECT_EQ(Layout().dataLabels[pen], QRect(240, rowTops[pen], 615, 255)) << pen;
        EXPECT_EQ(Layout().lamps[pen], QRect(960, rowTops[pen], 135, 255)) << pen;
        EXPECT_EQ(Layout().legendStrokes[pen], QLine(0, strokeYs[pen], 120, strokeYs[pen])) << pen;
    }
}

TEST(ChartLayout, TheTimeAxisCarriesElevenTicksAndItsLabels)
{
    const int tickXs[] = {1200, 2200, 3200, 4200, 5200, 6200, 7200, 8200, 9200, 10200, 11200};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(Layout().ticks[i], QLine(tickXs[i], 6120, tickXs[i], 6240)) << i;

    EXPECT_EQ(Layout().startLabel.topLeft(), QPoint(1320, 6120));
    const int labelLefts[] = {2280, 3285, 4275, 5280, 6285, 7275, 8280, 9285, 10275};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(Layout().timeLabels[i].topLeft(), QPoint(labelLefts[i], 6120)) << i;
    EXPECT_EQ(Layout().minuteCaption.topLeft(), QPoint(11235, 6120));

    // Every label below the axis is one text line high and wide enough for its text.
    for (const QRect& label : Layout().timeLabels)
        EXPECT_EQ(label.size(), QSize(700, 255));
    EXPECT_EQ(Layout().startLabel.size(), QSize(735, 255));
    EXPECT_EQ(Layout().minuteCaption.size(), QSize(735, 255));
}

// At its natural size the control is the design shrunk fifteen times, so each table entry
// lands on the pixel it names.
TEST(ChartLayout, TheControlPaintsTheTableAtOnePixelPerFifteenTwips)
{
    Tesmar_ChartCtl chart;
    EXPECT_EQ(chart.sizeHint(), QSize(784, 429));
    chart.resize(chart.sizeHint());
    EXPECT_EQ(chart.PlotRect(), QRect(80, 7, 667, 400));
    EXPECT_EQ(chart.LampRect(0), QRect(64, 40, 9, 17));
    EXPECT_EQ(chart.LampRect(3), QRect(64, 112, 9, 17));

    const QImage image = Snapshot(chart);
    const int strokeYs[] = {48, 72, 96, 120};
    for (int pen = 0; pen < 4; ++pen) {
        EXPECT_EQ(image.pixelColor(4, strokeYs[pen]), Tesmar_ChartCtl::PenColor(pen)) << pen;
        EXPECT_NE(image.pixelColor(4, strokeYs[pen] + 2), Tesmar_ChartCtl::PenColor(pen)) << pen;
    }
    const QColor text = chart.palette().color(QPalette::WindowText);
    for (int x : {80, 413, 747}) {
        EXPECT_EQ(image.pixelColor(x, 410), text) << x;
        EXPECT_NE(image.pixelColor(x + 2, 410), text) << x;
    }
}

}  // namespace
