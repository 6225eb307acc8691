// Turning channel-file texts back into table values: the parse rules and their order.
#include "TestTables.h"

#include "services/SettingsStore.h"
#include "setdata/ChannelText.h"
#include "setdata/SetDataValues.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

class ChannelTextTest : public testing::Test {
protected:
    RDX_INC inc;
    std::optional<qint16> Value(int item, int c, const char* text) {
        return ItemTextToValue(inc, item, c, U(text));
    }
};

// The program's locale comes from the environment (Qt sets it at start); a file's numbers
// must read the same under a locale whose decimal sign is a comma.
TEST_F(ChannelTextTest, NumbersReadTheSameUnderADecimalCommaLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    int tried = 0;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8"}) {
        if (!std::setlocale(LC_ALL, name)) continue;
        ++tried;
        inc.ChInputType[2] = 12;
        inc.ChDecimal[2] = 100;
        EXPECT_EQ(TextNumber(U("25.50")), 25.5) << name;
        EXPECT_EQ(TextNumber(U(" -0.25mm")), -0.25) << name;
        EXPECT_EQ(TextNumber(U("+7.5")), 7.5) << name;
        EXPECT_EQ(Value(3, 2, "25.50"), 2550) << name;
    }
    std::setlocale(LC_ALL, before.c_str());
    if (tried == 0) GTEST_SKIP() << "no decimal-comma locale here (scripts/setup generates de_DE.UTF-8)";
}

// A number's text ends at the first character that cannot continue it; without a digit
// it reads as zero.
TEST(TextNumber, ReadsUpToTheFirstStrayCharacterAndZeroWithoutADigit) {
    EXPECT_EQ(TextNumber(U("12.5.3")), 12.5);
    EXPECT_EQ(TextNumber(U("3 0")), 30.0);
    EXPECT_EQ(TextNumber(U("-4-2")), -4.0);
    for (const char* none : {"", "-", "+", ".", "-.", "abc", "+-1"}) EXPECT_EQ(TextNumber(U(none)), 0.0) << none;
}

TEST_F(ChannelTextTest, RuleADependsOnInputTypeAndDecimalSetting) {
    inc.ChInputType[0] = 3;   // whole degrees
    inc.ChInputType[1] = 7;   // tenths
    inc.ChInputType[2] = 12;  // linear
    inc.ChDecimal[2] = 100;
    inc.ChInputType[3] = 13;
    inc.ChDecimal[3] = 1;
    EXPECT_EQ(Value(3, 0, "25.5"), 26);  // halves go to the even neighbour
    EXPECT_EQ(Value(3, 0, "24.5"), 24);
    EXPECT_EQ(Value(4, 1, "25.5"), 255);
    EXPECT_EQ(Value(5, 2, "25.5"), 2550);
    EXPECT_EQ(Value(3, 3, "25.5"), 26);
    EXPECT_EQ(Value(3, 1, "-199.9"), -1999);
}

TEST_F(ChannelTextTest, RulesAAndBForEveryInputType) {
    // Text "12.5" on a channel of each input type, with decimal setting 1000 on all of
    // them: rule A (SV, alarms) and rule B (spans) as the operator gets them back.
    struct Row { int type; int a; int b; };
    const Row rows[] = {
        {0, 12, 125},    {1, 12, 125},    {2, 12, 125},    {3, 12, 125},    {4, 12, 125},
        {5, 12, 125},    {6, 125, 125},   {7, 125, 125},   {8, 125, 125},   {9, 125, 125},
        {10, 12500, 12500}, {11, 12500, 12500}, {12, 12500, 12500}, {13, 12500, 12500},
    };
    for (const Row& r : rows) {
        const int c = 100 + r.type;
        inc.ChInputType[c] = qint16(r.type);
        inc.ChDecimal[c] = 1000;
        EXPECT_EQ(Value(3, c, "12.5"), r.a) << "rule A, type " << r.type;   // SV
        EXPECT_EQ(Value(5, c, "12.5"), r.a) << "rule A, type " << r.type;   // alarm 2
        EXPECT_EQ(Value(13, c, "12.5"), r.b) << "rule B, type " << r.type;  // output hysteresis
        EXPECT_EQ(Value(32, c, "12.5"), r.b) << "rule B, type " << r.type;  // scaling low
    }
}

TEST_F(ChannelTextTest, RuleBShowsTenthsForEveryTemperatureInput) {
    inc.ChInputType[0] = 0;
    inc.ChInputType[1] = 9;
    inc.ChInputType[2] = 11;
    inc.ChDecimal[2] = 1000;
    for (int item : {12, 13, 14, 15, 21, 25, 28, 30, 31, 32}) {
        EXPECT_EQ(Value(item, 0, "1.5"), 15) << item;
        EXPECT_EQ(Value(item, 1, "1.5"), 15) << item;
        EXPECT_EQ(Value(item, 2, "1.5"), 1500) << item;
    }
}

TEST_F(ChannelTextTest, WholeAndTenthsIgnoreTheInputType) {
    inc.ChInputType[0] = 12;
    inc.ChDecimal[0] = 100;
    EXPECT_EQ(Value(8, 0, "240"), 240);   // integral time: whole
    EXPECT_EQ(Value(11, 0, "30.5"), 30);  // proportional cycle: whole, half to even
    EXPECT_EQ(Value(7, 0, "12.5"), 125);  // proportional band: tenths
    EXPECT_EQ(Value(6, 0, "-0.3"), -3);
}

TEST_F(ChannelTextTest, NumberOfATextIsItsLeadingNumber) {
    EXPECT_EQ(Value(7, 0, "12.5ﾟC"), 125);
    EXPECT_EQ(Value(8, 0, "   7"), 7);
    EXPECT_EQ(Value(8, 0, "1 2"), 12);  // blanks are ignored, also inside
    EXPECT_EQ(Value(7, 0, "1.2.3"), 12);
    EXPECT_EQ(Value(7, 0, ".5"), 5);
    EXPECT_EQ(Value(8, 0, "abc"), 0);
    EXPECT_EQ(Value(8, 0, ""), 0);
    EXPECT_EQ(Value(8, 0, "-"), 0);
    EXPECT_EQ(Value(8, 0, "+9"), 9);
    // The number ends at the first character that is not part of it: a decimal comma
    // or a unit between digits is no decimal point.
    EXPECT_EQ(TextNumber(U("2,5")), 2.0);
    EXPECT_EQ(TextNumber(U("3x5")), 3.0);
}

TEST_F(ChannelTextTest, ValuesOutsideSixteenBitsAreRefusedAndKeepTheTable) {
    inc.ChInputType[0] = 0;
    EXPECT_EQ(Value(31, 0, "-3276.8"), -32768);
    EXPECT_EQ(Value(31, 0, "3276.8"), std::nullopt);
    EXPECT_EQ(Value(8, 0, "99999999999999999999999"), std::nullopt);
    inc.ChScaleHigh[0] = 5000;
    EXPECT_EQ(ApplyItemText(inc, 31, 0, U("10000")), ApplyResult::KeptOutOfRange);
    EXPECT_EQ(inc.ChScaleHigh[0], 5000);
}

TEST_F(ChannelTextTest, ItemsWithoutNumericRuleOrChannelGiveNoValue) {
    EXPECT_EQ(Value(16, 0, "1"), std::nullopt);  // alarm type: a name, not a number
    EXPECT_EQ(Value(34, 0, "1"), std::nullopt);
    EXPECT_EQ(Value(3, 320, "1"), std::nullopt);
    EXPECT_EQ(Value(3, -1, "1"), std::nullopt);
    EXPECT_EQ(ApplyItemText(inc, 2, 0, U("1")), ApplyResult::NotApplicable);
    EXPECT_EQ(ApplyItemText(inc, 35, 0, U("1")), ApplyResult::NotApplicable);
    EXPECT_EQ(ApplyItemText(inc, 3, 320, U("1")), ApplyResult::NotApplicable);
}

TEST_F(ChannelTextTest, AlarmNamesActionAndCoolingMode) {
    ApplyItemText(inc, 16, 0, U("待機付絶対値下限警報"));
    ApplyItemText(inc, 17, 0, U("上限警報"));
    EXPECT_EQ(inc.ChAlarm1Type[0], 12);
    EXPECT_EQ(inc.ChAlarm2Type[0], 1);
    inc.ChAlarm1Type[1] = 5;
    ApplyItemText(inc, 16, 1, U("上限"));  // not one of the 13 names
    EXPECT_EQ(inc.ChAlarm1Type[1], 0);
    inc.ChAlarm2Type[1] = 5;
    ApplyItemText(inc, 17, 1, QString());  // an empty name is none of them either
    EXPECT_EQ(inc.ChAlarm2Type[1], 0);

    ApplyItemText(inc, 22, 0, U("冷却"));
    EXPECT_EQ(inc.ChAction[0], 1);
    ApplyItemText(inc, 22, 0, U("加熱"));
    EXPECT_EQ(inc.ChAction[0], 0);
    ApplyItemText(inc, 22, 0, U("?"));
    EXPECT_EQ(inc.ChAction[0], 1);

    EXPECT_EQ(ApplyItemText(inc, 29, 0, U("油冷")), ApplyResult::Stored);
    EXPECT_EQ(inc.ChCoolMode[0], 1);
    EXPECT_EQ(ApplyItemText(inc, 29, 0, U("風冷")), ApplyResult::KeptUnknownText);
    EXPECT_EQ(inc.ChCoolMode[0], 1);
}

TEST_F(ChannelTextTest, DecimalPictureAndUnitText) {
    inc.ChDecimal[0] = 100;
    EXPECT_EQ(ApplyItemText(inc, 33, 0, U(". XXXX")), ApplyResult::Stored);
    EXPECT_EQ(inc.ChDecimal[0], 10000);
    EXPECT_EQ(ApplyItemText(inc, 33, 0, U("XX.XX")), ApplyResult::KeptUnknownText);
    EXPECT_EQ(inc.ChDecimal[0], 10000);
    ApplyItemText(inc, 34, 0, U("mA/分"));
    EXPECT_EQ(inc.ChUnitText[0], U("mA/分"));
    // Every picture a file can hold, each to its own setting.
    const std::pair<const char*, int> pictures[] = {
        {"XXXX .", 1}, {"XXX . X", 10}, {"XX . XX", 100}, {"X . XXX", 1000}, {". XXXX", 10000}};
    for (const auto& [picture, divisor] : pictures) {
        inc.ChDecimal[0] = 7;
        EXPECT_EQ(ApplyItemText(inc, 33, 0, U(picture)), ApplyResult::Stored) << picture;
        EXPECT_EQ(inc.ChDecimal[0], divisor) << picture;
    }
}

TEST_F(ChannelTextTest, UnitSetsThePairButNeverAnotherController) {
    ApplyItemText(inc, 23, 4, U("ﾟF"));
    EXPECT_EQ(inc.ChTempUnit[4], 1);
    EXPECT_EQ(inc.ChUnitShown[4], 1);
    EXPECT_EQ(inc.ChUnitShown[5], 1);
    EXPECT_EQ(inc.ChTempUnit[5], 0);

    ApplyItemText(inc, 23, 7, U("ﾟF"));  // odd: index 8 is the next pair's first channel
    EXPECT_EQ(inc.ChUnitShown[7], 1);
    EXPECT_EQ(inc.ChUnitShown[8], 0);

    ApplyItemText(inc, 23, 319, U("ﾟF"));
    EXPECT_EQ(inc.ChTempUnit[319], 1);
    EXPECT_EQ(inc.ChUnitShown[319], 1);
    EXPECT_EQ(inc.ChUnitShown[318], 0);

    ApplyItemText(inc, 23, 4, U("ﾟC"));
    EXPECT_EQ(inc.ChUnitShown[5], 0);
}

TEST_F(ChannelTextTest, TextsOfAChannelUseLongNamesAndTheUnitInEffect) {
    SetUpTemperatureChannel(inc, 5);
    inc.ChUnitShown[5] = 1;  // shown in °F although the controller's own item says °C
    const ChannelTexts texts = TakeChannelTexts(inc, 5);
    EXPECT_EQ(texts[0], U("120"));
    EXPECT_EQ(texts[11], U("1.5"));
    EXPECT_EQ(texts[13], U("上限警報"));
    EXPECT_EQ(texts[14], U("警報動作なし"));
    EXPECT_EQ(texts[19], U("加熱"));
    EXPECT_EQ(texts[20], U("ﾟF"));
    EXPECT_EQ(texts[26], U("水冷"));
    EXPECT_EQ(texts[30], U("XX . XX"));
    EXPECT_EQ(texts[31], U("%"));
    inc.ChAction[5] = 1;
    EXPECT_EQ(TakeChannelTexts(inc, 5)[19], U("冷却"));
}

// Every table of a record except the presence flag.
void ExpectSameSettings(const RDX_INC& inc, int a, int b) {
    const SetDataRecord ra = TakeSetDataRecord(inc, a), rb = TakeSetDataRecord(inc, b);
    for (int k = 0; k < SetDataFieldCount; ++k) {
        if (k == PresentField) continue;
        EXPECT_EQ(ra.Fields[k], rb.Fields[k]) << "field " << k;
    }
    EXPECT_EQ(ra.UnitText, rb.UnitText);
}

TEST_F(ChannelTextTest, TextsOfAChannelLoadBackIntoAChannelOfTheSameType) {
    SetUpTemperatureChannel(inc, 5);
    EXPECT_EQ(ApplyChannelTexts(inc, 45, TakeChannelTexts(inc, 5)), 0u);
    ExpectSameSettings(inc, 5, 45);

    inc.ChInputType[6] = inc.ChInputType[46] = 8;
    inc.ChSV[6] = 1234;
    inc.ChOutputHys[6] = 15;
    const ChannelTexts pt100 = TakeChannelTexts(inc, 6);
    EXPECT_EQ(pt100[0], U("123.4"));
    ApplyChannelTexts(inc, 46, pt100);
    EXPECT_EQ(inc.ChSV[46], 1234);
    EXPECT_EQ(inc.ChOutputHys[46], 15);

    inc.ChInputType[7] = inc.ChInputType[47] = 12;
    inc.ChDecimal[7] = 10;
    inc.ChScaleHigh[7] = 4000;
    inc.ChScaleLow[7] = -1000;
    inc.ChSV[7] = -55;
    inc.ChUnitText[7] = U("kPa");
    ApplyChannelTexts(inc, 47, TakeChannelTexts(inc, 7));
    ExpectSameSettings(inc, 7, 47);
}

TEST_F(ChannelTextTest, DecimalPictureIsAppliedBeforeTheScaledFields) {
    inc.ChInputType[40] = 12;
    inc.ChDecimal[40] = 1;
    ChannelTexts texts = WithOlderChannelDefaults({});
    texts[0] = U("25.50");
    texts[10] = U("0.15");
    texts[30] = U("XX . XX");
    ApplyChannelTexts(inc, 40, texts);
    EXPECT_EQ(inc.ChDecimal[40], 100);
    EXPECT_EQ(inc.ChSV[40], 2550);
    EXPECT_EQ(inc.ChOutputHys[40], 15);
}

TEST_F(ChannelTextTest, OlderDefaultsOnATemperatureChannelKeepTheScalingHighLimit) {
    inc.ChInputType[3] = 0;
    inc.ChScaleHigh[3] = 2000;
    inc.ChCoolMode[3] = 2;
    ChannelTexts older;
    for (int k = 0; k < OlderChannelFieldCount; ++k) older[k] = U("0");
    const quint32 kept = ApplyChannelTexts(inc, 3, WithOlderChannelDefaults(older));
    EXPECT_EQ(inc.ChCoolPBand[3], 10);
    EXPECT_EQ(inc.ChCoolPCycle[3], 30);
    EXPECT_EQ(inc.ChOverlapBand[3], 0);
    EXPECT_EQ(inc.ChCoolMode[3], 0);
    EXPECT_EQ(inc.ChCoolHys[3], 10);
    EXPECT_EQ(inc.ChScaleHigh[3], 2000);  // "10000" in tenths does not fit 16 bits
    EXPECT_EQ(inc.ChScaleLow[3], 0);
    EXPECT_EQ(inc.ChDecimal[3], 1);
    EXPECT_EQ(inc.ChUnitText[3], U("%"));
    EXPECT_EQ(kept, quint32(1) << 28);
}

TEST_F(ChannelTextTest, OlderDefaultsOnALinearChannelGiveFullScaleWithoutDecimals) {
    inc.ChInputType[9] = 10;
    inc.ChDecimal[9] = 100;
    ApplyChannelTexts(inc, 9, WithOlderChannelDefaults({}));
    EXPECT_EQ(inc.ChDecimal[9], 1);
    EXPECT_EQ(inc.ChScaleHigh[9], 10000);
    EXPECT_EQ(inc.ChScaleLow[9], 0);
    EXPECT_EQ(inc.ChCoolHys[9], 1);  // "1.0" with divisor 1
}

TEST_F(ChannelTextTest, LoadedScalingIsKeptInTheSettingsStore) {
    inc.ChInputType[60] = 11;
    ChannelTexts texts = WithOlderChannelDefaults({});
    texts[28] = U("250.0");
    texts[29] = U("-50.0");
    texts[30] = U("XXX . X");
    texts[31] = U("ﾟC/分");
    ApplyChannelTexts(inc, 60, texts);
    EXPECT_EQ(GetSetting(U("STLH061"), U("x")), U("2500"));
    EXPECT_EQ(GetSetting(U("STLL061"), U("x")), U("-500"));
    EXPECT_EQ(GetSetting(U("DP061"), U("x")), U("10"));
    EXPECT_EQ(GetSetting(U("UNIT061"), U("x")), U("ﾟC/分"));
}

}  // namespace
