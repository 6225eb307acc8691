#include "format/DisplayTables.h"
#include "format/SettingRange.h"
#include "format/ValueFormat.h"

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

TEST(DecimalTableTest, OptionsAreTheFivePowersOfTenInOrder) {
    const int divisors[] = {1, 10, 100, 1000, 10000};
    const char* pictures[] = {"XXXX .", "XXX . X", "XX . XX", "X . XXX", ". XXXX"};
    for (int option = 0; option < 5; ++option) {
        EXPECT_EQ(DecimalOptionDivisor(option), divisors[option]) << option;
        EXPECT_EQ(DecimalOptionOf(divisors[option]), option) << option;
        EXPECT_EQ(DecimalDivisorOfPicture(QString::fromLatin1(pictures[option])), divisors[option]);
    }
    for (int option : {-1, 5, 6}) EXPECT_EQ(DecimalOptionDivisor(option), 0) << option;
    for (int divisor : {0, 2, 100000 % 65536, -10}) EXPECT_EQ(DecimalOptionOf(divisor), -1) << divisor;
    for (const char* text : {"", "XXXX", "XX.XX", "xx . xx", " XX . XX"})
        EXPECT_EQ(DecimalDivisorOfPicture(QString::fromLatin1(text)), 0) << text;
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

// Every temperature input written out: range text and limits in both units, as
// MakeRange shows them and as the main setting's range takes them.
struct RangeRow {
    int code;
    const char* celsius;
    int cLow, cHigh;
    const char* fahrenheit;
    int fLow, fHigh;
    const char* shown;  // range text of the main setting in °C
};
const RangeRow kRanges[] = {
    {0, "-200 ～ 1370ﾟC K", -200, 1370, "-320 ～ 2500ﾟF K", -320, 2500, "-200 ～ 1370"},
    {1, "-200 ～ 1000ﾟC J", -200, 1000, "-320 ～ 1800ﾟF J", -320, 1800, "-200 ～ 1000"},
    {2, "0 ～ 1760ﾟC R", 0, 1760, "0 ～ 3200ﾟF R", 0, 3200, "0 ～ 1760"},
    {3, "0 ～ 1820ﾟC B", 0, 1820, "0 ～ 3300ﾟF B", 0, 3300, "0 ～ 1820"},
    {4, "0 ～ 1390ﾟC PL-Ⅱ", 0, 1390, "0 ～ 2500ﾟF PL-Ⅱ", 0, 2500, "0 ～ 1390"},
    {5, "0 ～ 1300ﾟC N", 0, 1300, "0 ～ 2300ﾟF N", 0, 2300, "0 ～ 1300"},
    {6, "0.0 ～\u3000600.0ﾟC K", 0, 6000, "0.0 ～\u3000999.9ﾟF K", 0, 9999, "0.0 ～ 600.0"},
    {7, "0.0 ～\u3000600.0ﾟC J", 0, 6000, "0.0 ～\u3000999.9ﾟF J", 0, 9999, "0.0 ～ 600.0"},
    {8, "-199.9 ～ 850.0ﾟC Pt100", -1999, 8500, "-199.9 ～ 999.9ﾟF Pt100", -1999, 9999, "-199.9 ～ 850.0"},
    {9, "-199.9 ～ 500.0ﾟC JPt100", -1999, 5000, "-199.9 ～ 900.0ﾟF JPt100", -1999, 9000, "-199.9 ～ 500.0"},
};

TEST(InputRangeTableTest, EveryTemperatureInputInBothUnits) {
    for (const RangeRow& r : kRanges) {
        SCOPED_TRACE(r.code);
        for (int unit : {0, 1}) {
            const InputRangeEntry* e = TemperatureInputRange(r.code, unit);
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(QString::fromUtf8(e->text), QString::fromUtf8(unit ? r.fahrenheit : r.celsius));
            EXPECT_EQ(e->low, unit ? r.fLow : r.cLow);
            EXPECT_EQ(e->high, unit ? r.fHigh : r.cHigh);
        }
        // Through the channel tables: the range label, the limits and the range shown.
        RDX_INC inc;
        const int c = 77;
        inc.ChInputType[c] = qint16(r.code);
        EXPECT_EQ(MakeRange(inc, c), QString::fromUtf8(r.celsius));
        SettingRange range;
        range.EditChannel = c;
        inc.SelectedItem = 1;
        const SettingRangeTexts texts = ShowSettingRange(inc, range, QString());
        EXPECT_EQ(range.RangeLow, r.cLow);
        EXPECT_EQ(range.RangeHigh, r.cHigh);
        EXPECT_EQ(texts.LimitData.value_or(QString()), QString::fromUtf8(r.shown));
        inc.ChUnitShown[c] = 1;
        EXPECT_EQ(MakeRange(inc, c), QString::fromUtf8(r.fahrenheit));
        InputRangeLimits(inc, range);
        EXPECT_EQ(range.RangeLow, r.fLow);
        EXPECT_EQ(range.RangeHigh, r.fHigh);
    }
}

TEST(InputRangeTableTest, LinearInputsTakeTheirUnitFromTheCode) {
    RDX_INC inc;
    const int c = 12;
    inc.ChScaleLow[c] = -500;
    inc.ChScaleHigh[c] = 2500;
    inc.ChDecimal[c] = 10;
    const char* const expected[] = {"-50.0～250.0 DC V", "-50.0～250.0 DC mA", "-50.0～250.0 DC V",
                                    "-50.0～250.0 DC mA"};
    for (int code = 10; code <= 13; ++code) {
        inc.ChInputType[c] = qint16(code);
        EXPECT_EQ(MakeRange(inc, c), QString::fromUtf8(expected[code - 10])) << code;
        inc.ChUnitShown[c] = 1;
        EXPECT_EQ(MakeRange(inc, c), QString::fromUtf8(expected[code - 10])) << code;
        inc.ChUnitShown[c] = 0;
    }
    for (int code : {14, -1, 100}) {
        inc.ChInputType[c] = qint16(code);
        EXPECT_EQ(MakeRange(inc, c), QString()) << code;
    }
}

}  // namespace
