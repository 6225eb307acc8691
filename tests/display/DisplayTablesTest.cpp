#include "format/DisplayTables.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

// Texts that end up in CP932 files (set-data, PV log) must survive the round trip.
bool SurvivesCp932(const QString& text) {
    QStringEncoder encoder("Shift_JIS");
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) return false;
    QStringDecoder decoder("Shift_JIS");
    const QString back = decoder.decode(bytes);
    return !decoder.hasError() && back == text;
}

TEST(AlarmTypeTableTest, LongNamesByCode) {
    EXPECT_EQ(AlarmTypeName(0), "警報動作なし");
    EXPECT_EQ(AlarmTypeName(1), "上限警報");
    EXPECT_EQ(AlarmTypeName(4), "待機付下限警報");
    EXPECT_EQ(AlarmTypeName(8), "待機付上下限範囲警報");
    EXPECT_EQ(AlarmTypeName(9), "絶対値上限警報");
    EXPECT_EQ(AlarmTypeName(12), "待機付絶対値下限警報");
    for (int code : {13, -1, 255}) {
        EXPECT_EQ(AlarmTypeName(code), "") << code;
        EXPECT_EQ(AlarmTypeShortName(code), "") << code;
    }
}

TEST(AlarmTypeTableTest, ShortCodesAreFourCharactersPaddedWithSpaces) {
    const char* const expected[] = {"None", "H   ", "H  W", "L   ", "L  W", "HL  ", "HL W",
                                    "WID ", "WIDW", "PH  ", "PH W", "PL  ", "PL W"};
    for (int code = 0; code <= 12; ++code) {
        EXPECT_EQ(AlarmTypeShortName(code), expected[code]) << code;
        EXPECT_EQ(AlarmTypeShortName(code).size(), 4) << code;
        EXPECT_FALSE(AlarmTypeName(code).isEmpty()) << code;
    }
}

TEST(CodeTextTest, ActionUnitAndCoolingMode) {
    EXPECT_EQ(ControlActionName(0), "加熱");
    EXPECT_EQ(ControlActionName(1), "冷却");
    EXPECT_EQ(TempUnitName(0), "ﾟC");
    EXPECT_EQ(TempUnitName(1), "ﾟF");
    // The unit is the half-width semi-voiced mark, not the full-width one of the item list.
    EXPECT_EQ(TempUnitName(0).at(0), QChar(0xFF9F));
    EXPECT_EQ(CoolModeName(2), "水冷");
    EXPECT_EQ(CoolModeName(3), "");
}

TEST(DecimalTableTest, PlacesAndPictureTextsOfTheFiveSettings) {
    EXPECT_EQ(DecimalPlaces(1), 0);
    EXPECT_EQ(DecimalPlaces(10), 1);
    EXPECT_EQ(DecimalPlaces(100), 2);
    EXPECT_EQ(DecimalPlaces(1000), 3);
    EXPECT_EQ(DecimalPlaces(10000), 4);
    EXPECT_EQ(DecimalPictureText(1), "XXXX .");
    EXPECT_EQ(DecimalPictureText(10), "XXX . X");
    EXPECT_EQ(DecimalPictureText(100), "XX . XX");
    EXPECT_EQ(DecimalPictureText(1000), "X . XXX");
    EXPECT_EQ(DecimalPictureText(10000), ". XXXX");
    for (int divisor : {0, 2, 99, -100, 20000}) {
        EXPECT_EQ(DecimalPlaces(divisor), -1) << divisor;
        EXPECT_EQ(DecimalPictureText(divisor), "") << divisor;
    }
}

TEST(InputRangeTableTest, BothUnitColumnsAndLinearSuffixes) {
    ASSERT_NE(TemperatureInputRange(3, 0), nullptr);
    EXPECT_EQ(TemperatureInputRange(3, 0)->high, 1820);
    EXPECT_EQ(TemperatureInputRange(3, 1)->high, 3300);
    EXPECT_EQ(TemperatureInputRange(8, 5)->low, -1999);  // any non-zero unit is °F
    EXPECT_EQ(TemperatureInputRange(8, 5)->high, 9999);
    EXPECT_EQ(TemperatureInputRange(10, 0), nullptr);
    EXPECT_EQ(TemperatureInputRange(-1, 0), nullptr);
    EXPECT_EQ(LinearInputSuffix(10), " DC V");
    EXPECT_EQ(LinearInputSuffix(12), " DC V");
    EXPECT_EQ(LinearInputSuffix(11), " DC mA");
    EXPECT_EQ(LinearInputSuffix(13), " DC mA");
    EXPECT_EQ(LinearInputSuffix(9), "");
    EXPECT_EQ(LinearInputSuffix(14), "");
}

TEST(ItemListTest, ThirtyOneEntriesInListOrder) {
    EXPECT_EQ(DisplayItemListText(0), "制御入力値(PV)");
    EXPECT_EQ(DisplayItemListText(4), "警報１設定値");
    EXPECT_EQ(DisplayItemListText(14), "警報1動作すきま設定値");
    EXPECT_EQ(DisplayItemListText(23), "温度単位選択(゜C/゜F)");
    EXPECT_EQ(DisplayItemListText(30), "冷却出力ＯＮ／ＯＦＦ動作すきま設定");
    EXPECT_EQ(DisplayItemListText(31), "");
    EXPECT_EQ(DisplayItemListText(-1), "");
    for (int n = 0; n < DisplayItemListCount; ++n) EXPECT_FALSE(DisplayItemListText(n).isEmpty()) << n;
}

TEST(Cp932Test, TextsWrittenToFilesEncodeWithoutLoss) {
    for (int code = 0; code <= 12; ++code) {
        EXPECT_TRUE(SurvivesCp932(AlarmTypeName(code))) << code;
        EXPECT_TRUE(SurvivesCp932(AlarmTypeShortName(code))) << code;
    }
    for (int v = 0; v <= 2; ++v) EXPECT_TRUE(SurvivesCp932(CoolModeName(v))) << v;
    EXPECT_TRUE(SurvivesCp932(ControlActionName(0)));
    EXPECT_TRUE(SurvivesCp932(ControlActionName(1)));
    EXPECT_TRUE(SurvivesCp932(TempUnitName(0)));
    EXPECT_TRUE(SurvivesCp932(TempUnitName(1)));
    for (int code = 0; code < TemperatureInputTypeCount; ++code)
        for (int unit = 0; unit <= 1; ++unit)
            EXPECT_TRUE(SurvivesCp932(QString::fromUtf8(TemperatureInputRange(code, unit)->text))) << code;
    for (int n = 0; n < DisplayItemListCount; ++n) EXPECT_TRUE(SurvivesCp932(DisplayItemListText(n))) << n;
}

}  // namespace
