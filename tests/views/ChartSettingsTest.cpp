#include "FreshStore.h"

#include "services/SettingsStore.h"
#include "display/ChartSettings.h"

#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

TEST(ChartSettingsStore, AFreshStoreYieldsChannelsOneToFourAsPvFrom0To400Every5s) {
    const ChartSettings& s = FreshStore().settings;
    EXPECT_EQ(s.ChartMin, 0);
    EXPECT_EQ(s.ChartMax, 400);
    EXPECT_EQ(s.ChartTim, 5);
    EXPECT_EQ(s.PenChannel, (std::array<qint16, 4>{0, 1, 2, 3}));
    EXPECT_EQ(s.PenItem, (std::array<quint8, 4>{1, 1, 1, 1}));
    EXPECT_EQ(FreshStore().penLabels, (QStringList{"Ch001", "Ch002", "Ch003", "Ch004"}));
    EXPECT_FALSE(FreshStore().resumes);
}

TEST(ChartSettingsStore, StoredValuesAreReadBackAndUnusableOnesFallBackToTheirDefaults) {
    ChartSettings stored;
    stored.ChartMin = -400;
    stored.ChartMax = 3400;
    stored.ChartTim = 30;
    stored.PenChannel = {319, 0, 40, 7};
    stored.PenItem = {3, 0, 2, 1};
    stored.PenName = {"炉A: MV", "Ch001: --", "Ch041: SV", "Ch008: PV"};
    SaveChartSettings(stored);
    EXPECT_EQ(ReadChartSettings(), stored);

    // A channel that does not exist, an item no option stands for, an interval the timer
    // cannot run at, and text where a number belongs.
    SaveSetting("Chart_PrNo0", "320");
    SaveSetting("Chart_PrNo3", "-1");
    SaveSetting("Chart_PrVis1", "4");
    SaveSetting("Chart_Tim", "0");
    SaveSetting("Chart_Min", "abc");
    SaveSetting("Chart_Max", "40000");
    const ChartSettings s = ReadChartSettings();
    EXPECT_EQ(s.PenChannel, (std::array<qint16, 4>{0, 0, 40, 3}));
    EXPECT_EQ(s.PenItem, (std::array<quint8, 4>{3, 1, 2, 1}));
    EXPECT_EQ(s.ChartTim, 5);
    EXPECT_EQ(s.ChartMin, 0);
    EXPECT_EQ(s.ChartMax, 400);
    SaveSetting("Chart_Tim", "31");
    EXPECT_EQ(ReadChartSettings().ChartTim, 5);
    SaveChartSettings(ChartSettings{});
}

// What another reader of the settings file finds: the four pens' channels, items and names
// under keys numbered 0 to 3, and nothing for a pen that does not exist.
TEST(ChartSettingsStore, TheFileHoldsTheFourPensAndNoOther) {
    ChartSettings s;
    s.PenChannel = {10, 11, 12, 13};
    s.PenItem = {0, 1, 2, 3};
    s.PenName = {"Ch011: --", "Ch012: PV", "Ch013: SV", "Ch014: MV"};
    SaveChartSettings(s);
    FlushSettings();
    QSettings ini(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      "/TESMAR KORVEX/RDX-410 Monitor.ini",
                  QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("RDX-410 Monitor"));
    QStringList pens = ini.childKeys().filter(QRegularExpression(QStringLiteral("^Chart_Pr")));
    pens.sort();
    EXPECT_EQ(pens, (QStringList{"Chart_PrName0", "Chart_PrName1", "Chart_PrName2", "Chart_PrName3",
                                 "Chart_PrNo0", "Chart_PrNo1", "Chart_PrNo2", "Chart_PrNo3",
                                 "Chart_PrVis0", "Chart_PrVis1", "Chart_PrVis2", "Chart_PrVis3"}));
    EXPECT_EQ(ini.value("Chart_PrNo3").toString(), "13");
    EXPECT_EQ(ini.value("Chart_PrVis3").toString(), "3");
    EXPECT_EQ(ini.value("Chart_PrName3").toString(), "Ch014: MV");
    SaveChartSettings(ChartSettings{});
}

TEST(ChartSettingsStore, TheRunningFlagIsReadAsANumberComparedWithOne) {
    SaveChartRunning(true);
    EXPECT_EQ(GetSetting("Chart_start", ""), "1");
    EXPECT_TRUE(ChartWasRunning());
    SaveSetting("Chart_start", "1.0");
    EXPECT_TRUE(ChartWasRunning());
    SaveSetting("Chart_start", "2");
    EXPECT_FALSE(ChartWasRunning());
    SaveChartRunning(false);
    EXPECT_EQ(GetSetting("Chart_start", ""), "0");
    EXPECT_FALSE(ChartWasRunning());
}

struct Sample {
    int item;
    qint16 inputType;
    qint16 raw;
    qint16 plotted;
};

TEST(SampleValue, TenthsAreRoundedHalfToEvenAndWholeUnitsPassUnchanged) {
    const Sample cases[] = {
        {ChartItemPV, 6, 1234, 123},  {ChartItemPV, 6, 1235, 124},  {ChartItemPV, 6, 1245, 124},
        {ChartItemPV, 6, 1236, 124},  {ChartItemPV, 9, -1235, -124}, {ChartItemPV, 12, -1245, -124},
        {ChartItemPV, 6, 5, 0},       {ChartItemPV, 6, 15, 2},       {ChartItemPV, 5, 1235, 1235},
        {ChartItemPV, 0, -15, -15},   {ChartItemSV, 6, 2505, 250},   {ChartItemSV, 6, 2515, 252},
        {ChartItemSV, 2, 2505, 2505}, {ChartItemMV, 0, 555, 56},     {ChartItemMV, 9, 545, 54},
        {ChartItemMV, 0, 1000, 100},  {ChartItemMV, 0, -25, -2},
    };
    for (const Sample& c : cases) {
        RDX_INC data;
        data.ChInputType[17] = c.inputType;
        data.ChPV[17] = data.ChSV[17] = data.ChHeatMV[17] = c.raw;
        const auto v = ChartSampleValue(data, 17, c.item);
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(*v, c.plotted) << "item " << c.item << " type " << c.inputType << " raw " << c.raw;
    }
}

TEST(SampleValue, NothingForNoDrawingAnUnknownItemOrAChannelOutsideTheTables) {
    RDX_INC data;
    data.ChPV[0] = 50;
    EXPECT_FALSE(ChartSampleValue(data, 0, ChartItemNone));
    EXPECT_FALSE(ChartSampleValue(data, 0, 4));
    EXPECT_FALSE(ChartSampleValue(data, 320, ChartItemPV));
    EXPECT_FALSE(ChartSampleValue(data, -1, ChartItemMV));
}

}  // namespace
