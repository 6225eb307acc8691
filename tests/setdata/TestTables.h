// Helpers shared by the set-data tests: a channel set up with known settings, and a
// comparison of every table a set-data load may change.
#pragma once

#include "exchange/RDX_INC.h"
#include "setdata/SetDataRecord.h"

#include <QByteArray>
#include <gtest/gtest.h>

// A type-0 channel whose texts are those of ExpectedChannelFile (below).
inline void SetUpTemperatureChannel(RDX_INC& inc, int c) {
    inc.ChInputType[c] = 0;
    inc.ChSV[c] = 120;
    inc.ChAlarm1[c] = 10;
    inc.ChAlarm2[c] = -5;
    inc.ChHBAlarm[c] = 0;
    inc.ChPBand[c] = 30;
    inc.ChITime[c] = 240;
    inc.ChDTime[c] = 60;
    inc.ChARW[c] = 100;
    inc.ChPCycle[c] = 30;
    inc.ChManualReset[c] = 0;
    inc.ChOutputHys[c] = 10;
    inc.ChAlarm1Hys[c] = 15;
    inc.ChAlarm2Hys[c] = 20;
    inc.ChAlarm1Type[c] = 1;
    inc.ChAlarm2Type[c] = 0;
    inc.ChOutHigh[c] = 100;
    inc.ChOutLow[c] = 0;
    inc.ChInputFilter[c] = 0;
    inc.ChSensorCorr[c] = -3;
    inc.ChAction[c] = 0;
    inc.ChTempUnit[c] = 0;
    inc.ChUnitShown[c] = 0;
    inc.ChLoopTime[c] = 8;
    inc.ChLoopSpan[c] = 0;
    inc.ChCoolPBand[c] = 10;
    inc.ChCoolPCycle[c] = 30;
    inc.ChOverlapBand[c] = 0;
    inc.ChCoolMode[c] = 2;
    inc.ChCoolHys[c] = 10;
    inc.ChScaleHigh[c] = 10000;
    inc.ChScaleLow[c] = 0;
    inc.ChDecimal[c] = 100;
    inc.ChUnitText[c] = QStringLiteral("%");
}

// The channel file of that channel, written by hand in code page 932 with CR LF.
inline QByteArray ExpectedChannelFile() {
    return QByteArray(
        "\"V202data\"\r\n" "\"120\"\r\n" "\"10\"\r\n" "\"-5\"\r\n" "\"0.0\"\r\n" "\"3.0\"\r\n"
        "\"240\"\r\n" "\"60\"\r\n" "\"100\"\r\n" "\"30\"\r\n" "\"0.0\"\r\n" "\"1.0\"\r\n"
        "\"1.5\"\r\n" "\"2.0\"\r\n"
        "\"\x8F\xE3\x8C\xC0\x8Cx\x95\xF1\"\r\n"                          // 上限警報
        "\"\x8Cx\x95\xF1\x93\xAE\x8D\xEC\x82\xC8\x82\xB5\"\r\n"          // 警報動作なし
        "\"100\"\r\n" "\"0\"\r\n" "\"0.0\"\r\n" "\"-0.3\"\r\n"
        "\"\x89\xC1\x94M\"\r\n"                                          // 加熱
        "\"\xDF" "C\"\r\n"                                               // ﾟC
        "\"8\"\r\n" "\"0.0\"\r\n" "\"1.0\"\r\n" "\"30\"\r\n" "\"0.0\"\r\n"
        "\"\x90\x85\x97\xE2\"\r\n"                                       // 水冷
        "\"1.0\"\r\n" "\"1000.0\"\r\n" "\"0.0\"\r\n" "\"XX . XX\"\r\n" "\"%\"\r\n");
}

// Fills every table a load may touch with a pattern that no file of the tests holds.
inline void FillPattern(RDX_INC& inc) {
    for (int k = 0; k < SetDataFieldCount; ++k) {
        ChannelTable& table = inc.*SetDataFieldTable(k);
        for (int c = 0; c < ChannelCount; ++c) table[c] = qint16(1000 + 7 * k + c);
    }
    for (int c = 0; c < ChannelCount; ++c) {
        inc.ChUnitText[c] = QStringLiteral("u%1").arg(c);
        inc.ChUnitShown[c] = qint16(c % 2);
        inc.ChPresent[c] = 1;
    }
}

inline void ExpectSameTables(const RDX_INC& a, const RDX_INC& b) {
    for (int k = 0; k < SetDataFieldCount; ++k)
        EXPECT_EQ(a.*SetDataFieldTable(k), b.*SetDataFieldTable(k)) << "field " << k;
    EXPECT_EQ(a.ChUnitText, b.ChUnitText);
    EXPECT_EQ(a.ChUnitShown, b.ChUnitShown);
}
