#include "protocol/HexCodec.h"
#include "exchange/RDX_INC.h"

#include <gtest/gtest.h>

namespace {

std::array<QString, 20> Fields(std::initializer_list<const char*> first, const char* rest = "0000") {
    std::array<QString, 20> f;
    f.fill(QString::fromLatin1(rest));
    int i = 0;
    for (const char* s : first) f[i++] = QString::fromLatin1(s);
    return f;
}

void MakeLinear(RDX_INC& d, int ch, qint16 low, qint16 high) {
    d.ChInputType[ch] = 12;
    d.ChScaleLow[ch] = low;
    d.ChScaleHigh[ch] = high;
}

}  // namespace

TEST(HexCodec, DecodesTwosComplementAndStopsAtNonDigit) {
    EXPECT_EQ(HexCodec::Decode(u"0064"), 100);
    EXPECT_EQ(HexCodec::Decode(u"FFFF"), -1);
    EXPECT_EQ(HexCodec::Decode(u"8000"), -32768);
    EXPECT_EQ(HexCodec::Decode(u""), 0);
    EXPECT_EQ(HexCodec::Decode(u"1G00"), 1);
    EXPECT_EQ(HexCodec::Encode(-2), "FFFE");
    EXPECT_EQ(HexCodec::Encode(255), "00FF");
    EXPECT_EQ(HexCodec::Encode(10), "000A");
    EXPECT_EQ(HexCodec::Encode(-32768), "8000");
}

TEST(Conversions, LinearInputsScaleAndRoundTiesToEven) {
    RDX_INC d;
    MakeLinear(d, 0, 0, 5);
    EXPECT_EQ(d.RawToScaled(0, 5000), 2);  // 2.5
    EXPECT_EQ(d.RawToScaled(0, 7000), 4);  // 3.5
    EXPECT_EQ(d.RawToScaledSpan(0, 3000), 2);  // 1.5
    // Back to raw over a short span: 3 of 5 is 60.00 % (10000 is the full span).
    EXPECT_EQ(d.ScaledToRaw(0, 3), 6000);
    EXPECT_EQ(d.ScaledSpanToRaw(0, 3), 6000);
    EXPECT_EQ(d.ScaledSpanToRaw(0, -5), -10000);
    MakeLinear(d, 1, 100, 600);
    EXPECT_EQ(d.RawToScaled(1, 10000), 600);
    EXPECT_EQ(d.ScaledToRaw(1, 350), 5000);
    EXPECT_EQ(d.ScaledSpanToRaw(1, 50), 1000);
    // Temperature inputs pass through unchanged.
    d.ChInputType[2] = 9;
    d.ChScaleHigh[2] = 500;
    EXPECT_EQ(d.RawToScaled(2, 1234), 1234);
    EXPECT_EQ(d.ScaledToRaw(2, -5), -5);
    // Input type 10 is the first linear input (9 the last temperature input above).
    MakeLinear(d, 3, 0, 100);
    d.ChInputType[3] = 10;
    EXPECT_EQ(d.RawToScaled(3, 5000), 50);
    EXPECT_EQ(d.ScaledToRaw(3, 25), 2500);
    for (qint16 type : {0, 9, -1}) {
        d.ChInputType[4] = type;
        EXPECT_FALSE(IsLinearInput(d, 4)) << type;
    }
    for (qint16 type : {10, 11, 99}) {
        d.ChInputType[4] = type;
        EXPECT_TRUE(IsLinearInput(d, 4)) << type;
    }
}

TEST(Conversions, EqualLimitsLeaveValuesAndResultsSaturate) {
    RDX_INC d;
    MakeLinear(d, 0, 300, 300);
    EXPECT_EQ(d.ScaledToRaw(0, 123), 123);
    EXPECT_EQ(d.ScaledSpanToRaw(0, -7), -7);
    MakeLinear(d, 1, -32768, 32767);
    EXPECT_EQ(d.RawToScaled(1, 32767), 32767);
    EXPECT_EQ(d.RawToScaledSpan(1, -32768), -32768);
    MakeLinear(d, 2, 0, 1);
    EXPECT_EQ(d.ScaledToRaw(2, 30000), 32767);
    EXPECT_EQ(d.ScaledToRaw(2, -30000), -32768);
}

TEST(StoreReply, ProcessValuesOfABlockAreScaledPerChannel) {
    RDX_INC d;
    d.FillItemCodes();
    for (int c = 60; c < 80; ++c) MakeLinear(d, c, 0, 500);
    d.ChInputType[79] = 5;
    auto f = Fields({"0000", "1388", "2710"}, "2710");
    d.StoreReply(3, u"0080", f);
    EXPECT_EQ(d.ChPV[60], 0);
    EXPECT_EQ(d.ChPV[61], 250);
    EXPECT_EQ(d.ChPV[62], 500);
    EXPECT_EQ(d.ChPV[79], 10000);
    EXPECT_EQ(d.ChPV[59], 0);
    EXPECT_EQ(d.ChPV[80], 0);
}

TEST(StoreReply, AlarmValuesFollowTheAlarmTypeOfTheMoment) {
    RDX_INC d;
    MakeLinear(d, 0, 0, 500);
    d.ChAlarm1Type[0] = 3;
    d.StoreReply(0, u"0005", Fields({"03E8"}));  // 1000 raw
    EXPECT_EQ(d.ChAlarm1[0], 50);  // span: 500 * 1000 / 10000
    d.ChScaleLow[0] = 100;
    d.StoreReply(0, u"0005", Fields({"03E8"}));
    EXPECT_EQ(d.ChAlarm1[0], 40);
    d.ChAlarm1Type[0] = 9;
    d.StoreReply(0, u"0005", Fields({"03E8"}));
    EXPECT_EQ(d.ChAlarm1[0], 140);  // absolute: 400 * 1000 / 10000 + 100
    // Alarm 2 follows its own type: deviation types up to 8, absolute from 9 on.
    for (const auto& [type, stored] : {std::pair{8, 40}, {9, 140}, {10, 140}}) {
        d.ChAlarm2Type[0] = qint16(type);
        d.StoreReply(0, u"0006", Fields({"03E8"}));
        EXPECT_EQ(d.ChAlarm2[0], stored) << type;
    }
}

TEST(StoreReply, PairItemsAndUnitPairing) {
    RDX_INC d;
    d.StoreReply(1, u"00A0", Fields({"0001", "0000", "0000", "0001"}));
    EXPECT_EQ(d.ChPresent[20], 1);
    EXPECT_EQ(d.ChPresent[21], 1);  // field 2 ignored, pair takes field 1
    EXPECT_EQ(d.ChPresent[22], 0);
    EXPECT_EQ(d.ChPresent[23], 0);
    d.StoreInputTypes(1, Fields({"000C", "0401", "0003", "0000"}));
    EXPECT_EQ(d.ChInputType[20], 12);
    EXPECT_EQ(d.ChInputType[21], 12);
    EXPECT_EQ(d.ChOption[21], 0x0401);
    EXPECT_EQ(d.ChInputType[23], 3);
    d.ComputeBlockCooling();
    EXPECT_TRUE(d.BlockHasCooling[1]);
    EXPECT_FALSE(d.BlockHasCooling[0]);
    // The unit shown follows the first channel of each pair.
    d.StoreReply(1, u"0011", Fields({"0001", "0000", "0000", "0001"}));
    EXPECT_EQ(d.ChTempUnit[21], 0);
    EXPECT_EQ(d.ChUnitShown[20], 1);
    EXPECT_EQ(d.ChUnitShown[21], 1);
    EXPECT_EQ(d.ChUnitShown[22], 0);
    EXPECT_EQ(d.ChUnitShown[23], 0);
    // A block's reply reaches its own 20 channels only: block 2's unit stays as shown until
    // block 2 answers.
    d.ChTempUnit[40] = 1;
    d.StoreReply(1, u"0011", Fields({"0001"}));
    EXPECT_EQ(d.ChUnitShown[39], 0);
    EXPECT_EQ(d.ChUnitShown[40], 0);
    EXPECT_EQ(d.ChUnitShown[41], 0);
}

TEST(StoreReply, StatusWordRunsTheAlarmCheckPerChannelAfterStoring) {
    RDX_INC d;
    std::vector<std::pair<int, qint16>> seen;
    d.AlarmCheckHook = [&](int ch) { seen.emplace_back(ch, d.ChStatus[ch]); };
    d.StoreReply(2, u"0083", Fields({"0002"}, "0400"));
    ASSERT_EQ(seen.size(), 20u);
    EXPECT_EQ(seen.front(), std::make_pair(40, qint16(2)));
    EXPECT_EQ(seen.back(), std::make_pair(59, qint16(0x400)));
}

TEST(EncodeBlock, WritesTheInverseOfTheReadForm) {
    RDX_INC d;
    for (int c = 0; c < 20; ++c) MakeLinear(d, c, 0, 500);
    d.ChSV[0] = 250;
    d.ChAlarm1Type[1] = 2;
    d.ChAlarm1[1] = 20;   // span: 20 * 10000 / 500 = 400
    d.ChAlarm1Type[2] = 10;
    d.ChAlarm1[2] = 20;   // absolute: same here since low is 0
    d.ChScaleLow[2] = 10; // (20 - 10) * 10000 / 490 = 204.08
    const QString sv = d.EncodeBlock(u"0001", 0);
    ASSERT_EQ(sv.size(), 80);
    EXPECT_EQ(sv.left(4), "1388");
    const QString a1 = d.EncodeBlock(u"0005", 0);
    EXPECT_EQ(a1.mid(4, 4), "0190");
    EXPECT_EQ(a1.mid(8, 4), "00CC");
    d.ChOutputSwitch[19] = -1;
    EXPECT_EQ(d.EncodeBlock(u"0009", 0).right(4), "FFFF");
}

TEST(Keys, SuffixesAreFixedWidth) {
    EXPECT_EQ(BlockSuffix(0), "01");
    EXPECT_EQ(BlockSuffix(15), "16");
    EXPECT_EQ(ChannelSuffix(6), "007");
    EXPECT_EQ(ChannelSuffix(319), "320");
}
