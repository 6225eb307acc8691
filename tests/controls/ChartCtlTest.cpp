#include "PixelProbe.h"

#include "controls/ChartMath.h"
#include "controls/Tesmar_ChartCtl.h"

#include <gtest/gtest.h>

namespace {

const QColor Magenta(255, 0, 255);
const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);
const QColor White(255, 255, 255);
const QColor Grey(192, 192, 192);

class ChartCtl : public ::testing::Test {
protected:
    void SetUp() override
    {
        chart.setMessageHandler([this](const QString& text) { messages.append(text); });
    }

    // What the host does at start.
    void Start(qint16 max, qint16 min, qint16 seconds = 5)
    {
        chart.setSclMax(max);
        chart.setSclMin(min);
        chart.setStartTim("12:34");
        chart.setCountTim(seconds);
        chart.setStartflg(true);
    }

    void ShowOnlyPen1()
    {
        chart.setG_Vis2(0);
        chart.setG_Vis3(0);
        chart.setG_Vis4(0);
    }

    void Plot(int from, int to)
    {
        for (int p = from; p <= to; ++p)
            chart.setProtterNo(qint16(p));
    }

    int CountInPlot(const QImage& image, const QColor& color) const
    {
        return CountColor(image, chart.PlotRect(), color);
    }

    Tesmar_ChartCtl chart;
    QStringList messages;
};

}  // namespace

TEST_F(ChartCtl, StartClearsAndDrawsTheScale)
{
    Start(3400, -400, 5);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(chart.ValuePerUnit(), float(3800.0 / 6000.0));
    EXPECT_EQ(chart.ScaleLabel(0), "3400");
    EXPECT_EQ(chart.ScaleLabel(1), "1500");
    EXPECT_EQ(chart.ScaleLabel(2), "-400");
    EXPECT_EQ(chart.StartLabel(), "12:34");
    EXPECT_EQ(chart.TimeLabel(0), "8.3");
    EXPECT_EQ(chart.TimeLabel(8), "75");
    for (int pen = 0; pen < 4; ++pen) {
        EXPECT_EQ(chart.DataLabel(pen), "");
        EXPECT_EQ(chart.LampColor(pen), White);
    }
    const QImage image = Snapshot(chart);
    for (int y : {1500, 3000, 4500})
        EXPECT_TRUE(HasColorNear(image, chart.PlotToWidget(5000, y), Grey)) << y;
    EXPECT_EQ(image.pixelColor(chart.PlotToWidget(5000, 2250)), White);
}

// Eleven ticks under the time axis, one at each tenth of the plot, from its left edge to
// its right edge, in the text colour.
TEST_F(ChartCtl, TicksMarkEveryTenthOfTheTimeAxisUpToItsEnd)
{
    Start(400, 0);
    const QImage image = Snapshot(chart);
    const QColor text = chart.palette().color(QPalette::WindowText);
    const QRect plot = chart.PlotRect();
    const int y = plot.bottom() + 8;  // below the plot's frame, between the tick's ends
    for (int i = 0; i <= 10; ++i) {
        const int x = plot.left() + qRound(i * plot.width() / 10.0);
        EXPECT_TRUE(HasColorNear(image, QPoint(x, y), text)) << i;
    }
    EXPECT_FALSE(HasColorNear(image, QPoint(plot.left() + plot.width() / 20, y), text, 0));
}

TEST_F(ChartCtl, EqualScaleShowsTheErrorOnceAndDrawsNothing)
{
    Start(400, 400);
    EXPECT_EQ(messages, QStringList{"ｽｹｰﾘﾝｸﾞ設定ｴﾗｰです。"});
    EXPECT_EQ(chart.ScaleLabel(0), "***");
    EXPECT_EQ(chart.TimeLabel(0), "****");
    EXPECT_EQ(chart.StartLabel(), "**:**");
    EXPECT_EQ(chart.ValuePerUnit(), 0.0f);
    const QImage image = Snapshot(chart);
    EXPECT_EQ(CountInPlot(image, Grey), 0);
}

TEST_F(ChartCtl, RefusedScaleKeepsThePreviousOne)
{
    Start(400, 0);
    const float before = chart.ValuePerUnit();
    Start(100, 200);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(chart.ValuePerUnit(), before);
    EXPECT_EQ(chart.ScaleLabel(0), "400");
}

TEST_F(ChartCtl, PlottedLinePersistsAcrossRepaintsUntilTheNextStart)
{
    Start(400, 0);
    ShowOnlyPen1();
    chart.setG_Val1(250);  // y = 2250, clear of the grid
    Plot(0, 49);
    const QPoint onLine = chart.PlotToWidget(250, 2250);

    const QImage first = Snapshot(chart);
    chart.repaint();
    const QImage second = Snapshot(chart);
    EXPECT_TRUE(HasColorNear(first, onLine, Magenta));
    EXPECT_TRUE(HasColorNear(second, onLine, Magenta));
    EXPECT_EQ(CountInPlot(first, Magenta), CountInPlot(second, Magenta));
    EXPECT_GT(CountInPlot(second, Magenta), 10);
    EXPECT_EQ(chart.DataLabel(0), "250");

    chart.setStartflg(false);  // stop: the drawing stays
    EXPECT_TRUE(HasColorNear(Snapshot(chart), onLine, Magenta));

    chart.setStartflg(true);
    const QImage cleared = Snapshot(chart);
    EXPECT_EQ(CountInPlot(cleared, Magenta), 0);
    EXPECT_TRUE(HasColorNear(cleared, chart.PlotToWidget(5000, 3000), Grey));
}

TEST_F(ChartCtl, LampsAndHeightsFollowTheValues)
{
    Start(400, 0);
    chart.setG_Val1(401);
    chart.setG_Val2(-1);
    chart.setG_Val3(400);  // at the top edge, lamp still white
    chart.setG_Val4(200);
    chart.setProtterNo(0);
    EXPECT_EQ(chart.LampColor(0), Red);
    EXPECT_EQ(chart.LampColor(1), Red);
    EXPECT_EQ(chart.LampColor(2), White);
    EXPECT_EQ(chart.LampColor(3), White);
    EXPECT_EQ(chart.LastY(0), 1);
    EXPECT_EQ(chart.LastY(1), 6000);
    EXPECT_EQ(chart.LastY(2), 0);
    EXPECT_EQ(chart.LastY(3), 3000);
    EXPECT_EQ(chart.DataLabel(0), "401");
    EXPECT_EQ(chart.DataLabel(1), "-1");

    QImage image = Snapshot(chart);
    EXPECT_EQ(image.pixelColor(chart.LampRect(0).center()), Red);
    EXPECT_EQ(image.pixelColor(chart.LampRect(2).center()), White);
    // Pens held at the edges stay visible on the plot's first and last rows.
    // (pen 3 at y 0 is drawn after pen 1 at y 1, on the same row)
    EXPECT_TRUE(HasColorNear(image, chart.PlotToWidget(5, 1), QColor(0, 255, 0), 0));
    EXPECT_TRUE(HasColorNear(image, chart.PlotToWidget(5, 6000), Blue, 0));

    chart.setG_Val1(399);
    chart.setG_Val2(0);
    chart.setProtterNo(1);
    EXPECT_EQ(chart.LampColor(0), White);
    EXPECT_EQ(chart.LampColor(1), White);
    EXPECT_EQ(chart.LastY(0), 15);
}

// Between two samples a pen is one straight line from the last value to the new one: a
// rise shows as a slope, not as a step at the next position.
TEST_F(ChartCtl, ARiseIsDrawnFromTheLastValueToTheNewOne)
{
    Start(400, 0);
    ShowOnlyPen1();
    chart.setG_Val1(100);  // at 4500 of the plot's 6000
    Plot(0, 10);
    chart.setG_Val1(300);  // at 1500
    chart.setProtterNo(11);
    const QImage image = Snapshot(chart);
    const int between = (ChartMath::PositionX(11) + ChartMath::PositionX(12)) / 2;
    EXPECT_TRUE(HasColorNear(image, chart.PlotToWidget(between, 3000), Magenta, 2));
}

TEST_F(ChartCtl, HiddenPenDrawsNothingAndKeepsItsLabelEmpty)
{
    Start(400, 0);
    chart.setG_Vis2(0);
    chart.setG_Val1(100);
    chart.setG_Val2(250);
    chart.setG_Val2(-5);  // would light the lamp if the pen were shown
    Plot(0, 20);
    const QImage image = Snapshot(chart);
    EXPECT_EQ(chart.DataLabel(1), "");
    EXPECT_EQ(chart.LampColor(1), White);
    EXPECT_EQ(CountInPlot(image, Blue), 0);
    EXPECT_GT(CountInPlot(image, Magenta), 0);
}

TEST_F(ChartCtl, LastPositionEndsAtTheRightEdge)
{
    Start(400, 0);
    ShowOnlyPen1();
    chart.setG_Val1(250);
    Plot(990, 999);
    const QImage image = Snapshot(chart);
    const QRect plot = chart.PlotRect();
    const QPoint end = chart.PlotToWidget(10000, 2250);
    EXPECT_EQ(end.x(), plot.right());
    EXPECT_TRUE(HasColorNear(image, end, Magenta));
    EXPECT_FALSE(HasColorNear(image, chart.PlotToWidget(9800, 2250), Magenta, 0));
}

TEST_F(ChartCtl, SamePositionAgainAddsNothingButARestartPlotsFromZero)
{
    Start(400, 0);
    ShowOnlyPen1();
    chart.setG_Val1(250);
    chart.setProtterNo(0);
    chart.setG_Val1(50);
    chart.setProtterNo(0);  // the host repeats its last position once the chart is full
    EXPECT_EQ(chart.DataLabel(0), "250");
    EXPECT_EQ(chart.LastY(0), 2250);

    chart.setStartflg(false);
    Start(400, 0);
    chart.setG_Val1(350);
    chart.setProtterNo(0);  // same number as before the restart, still a new position
    EXPECT_EQ(chart.DataLabel(0), "350");
    EXPECT_TRUE(HasColorNear(Snapshot(chart), chart.PlotToWidget(5, 750), Magenta));
}

TEST_F(ChartCtl, PlottingBeforeAnyScaleDrawsNothing)
{
    chart.setG_Val1(100);
    chart.setProtterNo(0);
    chart.setProtterNo(1);
    const QImage image = Snapshot(chart);
    EXPECT_EQ(CountInPlot(image, Magenta), 0);
    EXPECT_EQ(chart.DataLabel(0), "100");
}

TEST_F(ChartCtl, AnnouncesEveryPropertyWrite)
{
    QStringList names;
    QObject::connect(&chart, &Tesmar_ChartCtl::propertyChanged,
                     [&names](const QString& name) { names.append(name); });
    chart.setSclMax(1);
    chart.setSclMin(0);
    chart.setG_Val1(1);
    chart.setG_Val2(1);
    chart.setG_Val3(1);
    chart.setG_Val4(1);
    chart.setStartTim("x");
    chart.setCountTim(2);
    chart.setProtterNo(3);
    chart.setStartflg(false);
    chart.setG_Vis1(0);
    chart.setG_Vis2(0);
    chart.setG_Vis3(0);
    chart.setG_Vis4(0);
    EXPECT_EQ(names, (QStringList{"SclMax", "SclMin", "G_Val1", "G_Val2", "G_Val3", "G_Val4",
                                  "StartTim", "CountTim", "ProtterNo", "Startflg", "G_Vis1",
                                  "G_Vis2", "G_Vis3", "G_Vis4"}));
}

TEST_F(ChartCtl, PropertiesRoundTripWithoutDefaults)
{
    PropertyBag fresh;
    chart.WriteProperties(fresh);
    EXPECT_TRUE(fresh.IsEmpty());

    chart.setSclMax(3400);
    chart.setSclMin(-400);
    chart.setG_Val1(1);
    chart.setG_Val2(-2);
    chart.setG_Val3(3);
    chart.setG_Val4(-4);
    chart.setStartTim("09:05");
    chart.setCountTim(30);
    chart.setProtterNo(999);
    chart.setStartflg(true);
    chart.setG_Vis1(0);
    chart.setG_Vis2(2);
    chart.setG_Vis3(3);
    chart.setG_Vis4(0);
    PropertyBag bag;
    chart.WriteProperties(bag);
    const QStringList order{"SclMax", "SclMin", "G_Val1", "G_Val2", "G_Val3", "G_Val4",
                            "StartTim", "CountTim", "ProtterNo", "Startflg", "G_Vis1",
                            "G_Vis2", "G_Vis3", "G_Vis4"};
    EXPECT_EQ(bag.Names(), order);

    Tesmar_ChartCtl restored;
    QStringList restoredMessages;
    restored.setMessageHandler([&](const QString& text) { restoredMessages.append(text); });
    restored.ReadProperties(PropertyBag(bag.ToMap()));
    EXPECT_EQ(restored.SclMax(), 3400);
    EXPECT_EQ(restored.SclMin(), -400);
    EXPECT_EQ(restored.G_Val1(), 1);
    EXPECT_EQ(restored.G_Val2(), -2);
    EXPECT_EQ(restored.G_Val3(), 3);
    EXPECT_EQ(restored.G_Val4(), -4);
    EXPECT_EQ(restored.StartTim(), "09:05");
    EXPECT_EQ(restored.CountTim(), 30);
    EXPECT_EQ(restored.ProtterNo(), 999);
    EXPECT_TRUE(restored.Startflg());
    EXPECT_EQ(restored.G_Vis1(), 0);
    EXPECT_EQ(restored.G_Vis2(), 2);
    EXPECT_EQ(restored.G_Vis3(), 3);
    EXPECT_EQ(restored.G_Vis4(), 0);

    PropertyBag readBack;
    restored.WriteProperties(readBack);
    EXPECT_EQ(readBack.Names(), order);
    PropertyBag ordered = bag;
    restored.ReadProperties(ordered);
    EXPECT_EQ(ordered.ReadOrder(), order);

    // A restored scale is not an applied one: only the setters feed ScaleSet.
    restored.ScaleSet();
    EXPECT_EQ(restoredMessages.size(), 1);

    // Written back to the defaults, nothing is stored.
    restored.setSclMax(400);
    restored.setSclMin(0);
    for (int pen = 0; pen < 4; ++pen) {
        restored.setPenValue(pen, 0);
        restored.setPenVisible(pen, 1);
    }
    restored.setStartTim("0");
    restored.setCountTim(1);
    restored.setProtterNo(0);
    restored.setStartflg(false);
    PropertyBag defaults;
    restored.WriteProperties(defaults);
    EXPECT_TRUE(defaults.IsEmpty()) << defaults.Names().join(',').toStdString();
}

TEST_F(ChartCtl, DrawingSurvivesAResize)
{
    Start(400, 0);
    ShowOnlyPen1();
    chart.setG_Val1(250);
    Plot(0, 99);
    chart.resize(chart.width() * 3 / 2, chart.height() * 3 / 2);
    const QImage image = Snapshot(chart);
    const QPoint onLine = chart.PlotToWidget(500, 2250);
    bool found = false;
    for (int dy = -2; dy <= 2 && !found; ++dy) {
        const QColor c = image.pixelColor(onLine + QPoint(0, dy));
        found = c.red() > 200 && c.blue() > 200 && c.green() < 160;
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(chart.PlotRect().width(), 1000);
}
