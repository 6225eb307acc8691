#include "PixelProbe.h"

#include "controls/BarGeometry.h"
#include "controls/MV_BerGraph.h"
#include "controls/MV_Cool_BerGraph.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

const QColor Blue(0, 0, 255);
const QColor Yellow(255, 255, 0);
const QColor White(255, 255, 255);

// A point given in layout units (twips) inside the bar's row.
QPoint InBarRow(const QWidget& widget, const BarGeometry::Layout& layout, int x)
{
    const int y = layout.top + layout.barHeight / 2;
    return QPoint(x * widget.width() / layout.width, y * widget.height() / layout.height);
}

void CollectAnnouncements(BarGraphBase& bar, QStringList& names)
{
    QObject::connect(&bar, &BarGraphBase::propertyChanged,
                     [&names](const QString& name) { names.append(name); });
}

}  // namespace

TEST(BarWidth, FollowsTheOutputOverTheFixedScale)
{
    using BarGeometry::BarWidth;
    EXPECT_EQ(BarWidth(-50), 0);
    EXPECT_EQ(BarWidth(0), 100);
    EXPECT_EQ(BarWidth(500), 1100);
    EXPECT_EQ(BarWidth(1000), 2100);
    EXPECT_EQ(BarWidth(1050), 2200);
    EXPECT_EQ(BarWidth(1050), BarGeometry::HeatingLayout.backWidth - 2);
    EXPECT_EQ(BarWidth(1200), 2500);  // overruns the background
    EXPECT_EQ(BarWidth(-51), 0);
    EXPECT_EQ(BarWidth(-32768), 0);
}

TEST(BarWidth, TicksSitOnTheTenPercentPoints)
{
    EXPECT_EQ(BarGeometry::TickX(BarGeometry::HeatingLayout, 0), 240 + 100);
    EXPECT_EQ(BarGeometry::TickX(BarGeometry::HeatingLayout, 5), 240 + 1100);
    EXPECT_EQ(BarGeometry::TickX(BarGeometry::HeatingLayout, 10), 240 + 2100);
    EXPECT_EQ(BarGeometry::TickX(BarGeometry::CoolingLayout, 10), 120 + 2100);
    // "0", "50" and "100" stand under the first, the middle and the last tick.
    const char* labels[] = {"0", "50", "100"};
    const int ticks[] = {0, 5, 10};
    for (int k = 0; k < 3; ++k) {
        EXPECT_STREQ(BarGeometry::LabelText(k), labels[k]) << k;
        EXPECT_EQ(BarGeometry::LabelTick(k), ticks[k]) << k;
    }
}

TEST(MV_BerGraph, ShowsTheValueAsABlueBar)
{
    MV_BerGraph bar;
    const auto& layout = BarGeometry::HeatingLayout;
    EXPECT_EQ(bar.size(), QSize(173, 55));

    bar.setMvValue(0);  // a short stub, not an empty bar
    QImage image = Snapshot(bar);
    EXPECT_EQ(bar.BarWidth(), 100);
    EXPECT_EQ(image.pixelColor(InBarRow(bar, layout, 240 + 50)), Blue);
    EXPECT_EQ(image.pixelColor(InBarRow(bar, layout, 240 + 200)), White);

    bar.setMvValue(500);
    image = Snapshot(bar);
    EXPECT_EQ(image.pixelColor(InBarRow(bar, layout, 240 + 1050)), Blue);
    EXPECT_EQ(image.pixelColor(InBarRow(bar, layout, 240 + 1200)), White);

    bar.setMvValue(1050);  // fills the background
    image = Snapshot(bar);
    EXPECT_EQ(image.pixelColor(InBarRow(bar, layout, 240 + 2170)), Blue);

    bar.setMvValue(1200);  // runs past it
    image = Snapshot(bar);
    EXPECT_EQ(image.pixelColor(InBarRow(bar, layout, 240 + 2250)), Blue);
}

TEST(MV_BerGraph, NoBarAtOrBelowMinusFivePercent)
{
    MV_BerGraph bar;
    for (qint16 value : {qint16(-50), qint16(-51), qint16(-1000)}) {
        bar.setMvValue(value);
        const QImage image = Snapshot(bar);
        EXPECT_EQ(bar.BarWidth(), 0) << value;
        EXPECT_EQ(CountColor(image, image.rect(), Blue), 0) << value;
    }
}

TEST(MV_BerGraph, YellowColourShowsAtOnce)
{
    MV_BerGraph bar;
    bar.setMvValue(500);
    bar.setMvColor(0xFFFF);
    const QImage image = Snapshot(bar);
    EXPECT_EQ(bar.BarColor(), Yellow);
    EXPECT_EQ(image.pixelColor(InBarRow(bar, BarGeometry::HeatingLayout, 240 + 600)), Yellow);
    EXPECT_EQ(CountColor(image, image.rect(), Blue), 0);
}

TEST(MV_BerGraph, AnnouncesEveryPropertyWrite)
{
    MV_BerGraph bar;
    QStringList names;
    CollectAnnouncements(bar, names);
    bar.setBackColor(1);
    bar.setForeColor(2);
    bar.setEnabledProperty(true);
    bar.setFontProperty(QFont());
    bar.setBackStyle(1);
    bar.setBorderStyle(1);
    bar.setMaxValue(1);
    bar.setMinValue(1);
    bar.setMvValue(1);
    bar.setMvColor(1);
    EXPECT_EQ(names, (QStringList{"BackColor", "ForeColor", "Enabled", "Font", "BackStyle",
                                  "BorderStyle", "MaxValue", "MinValue", "MvValue", "MvColor"}));
}

TEST(MV_BerGraph, PersistsOnlyWhatDiffersFromTheDefaults)
{
    QWidget host;
    MV_BerGraph bar(&host);
    PropertyBag fresh;
    bar.WriteProperties(fresh);
    EXPECT_TRUE(fresh.IsEmpty());

    QFont bold = host.font();
    bold.setBold(true);
    bar.setBackColor(0x123456);
    bar.setForeColor(0xFF);
    bar.setEnabledProperty(true);
    bar.setFontProperty(bold);
    bar.setBackStyle(1);
    bar.setBorderStyle(1);
    bar.setMaxValue(1000);
    bar.setMinValue(0);
    bar.setMvValue(333);
    bar.setMvColor(0xFFFF);
    PropertyBag bag;
    bar.WriteProperties(bag);
    const QStringList order{"BackColor", "ForeColor", "Enabled", "Font", "BackStyle",
                            "BorderStyle", "MaxValue", "MinValue", "MvValue", "MvColor"};
    EXPECT_EQ(bag.Names(), order);

    MV_BerGraph restored(&host);
    restored.ReadProperties(bag);
    EXPECT_EQ(bag.ReadOrder(), order);
    EXPECT_EQ(restored.BackColor(), 0x123456u);
    EXPECT_EQ(restored.ForeColor(), 0xFFu);
    EXPECT_TRUE(restored.Enabled());
    EXPECT_EQ(restored.Font(), bold);
    EXPECT_EQ(restored.BackStyle(), 1);
    EXPECT_EQ(restored.BorderStyle(), 1);
    EXPECT_EQ(restored.MaxValue(), 1000);
    EXPECT_EQ(restored.MinValue(), 0);
    EXPECT_EQ(restored.MvValue(), 333);
    EXPECT_EQ(restored.BarWidth(), 766);

    // The restored colour reaches the bar only once the colour is read or written.
    EXPECT_EQ(restored.BarColor(), Blue);
    EXPECT_EQ(restored.MvColor(), 0xFFFF);
    EXPECT_EQ(restored.BarColor(), Yellow);

    // Back at the defaults, nothing is stored; the host's font counts as the default.
    restored.setFontProperty(host.font());
    restored.setBackColor(0);
    restored.setForeColor(0);
    restored.setEnabledProperty(false);
    restored.setBackStyle(0);
    restored.setBorderStyle(0);
    restored.setMaxValue(1050);
    restored.setMinValue(-50);
    restored.setMvValue(0);
    restored.setMvColor(0xFF0000);
    PropertyBag back;
    restored.WriteProperties(back);
    EXPECT_TRUE(back.IsEmpty()) << back.Names().join(',').toStdString();
}

TEST(MV_BerGraph, UnreadableStoredValuesTakeTheDefaults)
{
    QVariantMap stored;
    stored.insert("MvValue", "abc");
    stored.insert("Font", 12);
    stored.insert("MaxValue", 99999);
    MV_BerGraph bar;
    bar.ReadProperties(PropertyBag(stored));
    EXPECT_EQ(bar.MvValue(), 0);
    EXPECT_EQ(bar.BarWidth(), 100);
    EXPECT_EQ(bar.Font(), QApplication::font());
    EXPECT_EQ(bar.MaxValue(), 1050);
}

TEST(MV_Cool_BerGraph, YellowBarFromItsOwnLayoutWithoutAColourProperty)
{
    MV_Cool_BerGraph bar;
    const auto& layout = BarGeometry::CoolingLayout;
    EXPECT_EQ(bar.size(), QSize(164, 58));
    bar.setMvValue(500);
    const QImage image = Snapshot(bar);
    EXPECT_EQ(image.pixelColor(InBarRow(bar, layout, 120 + 50)), Yellow);
    EXPECT_EQ(image.pixelColor(InBarRow(bar, layout, 120 + 1050)), Yellow);
    EXPECT_EQ(image.pixelColor(InBarRow(bar, layout, 120 + 1200)), White);

    bar.setMvValue(1);
    bar.setBorderStyle(1);
    PropertyBag bag;
    bar.WriteProperties(bag);
    EXPECT_EQ(bag.Names(), (QStringList{"BorderStyle", "MvValue"}));
    EXPECT_FALSE(bag.Contains("MvColor"));
}
