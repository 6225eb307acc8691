// The 38 data items against the hand-written table: code order, the table each reply
// lands in, the conversion on the way in and its inverse on the way out.
#include "EngineFixture.h"
#include "ItemOracle.h"

#include <set>

namespace {

using ItemOracle::Form;
using ItemOracle::kItems;

// Block 1: channel 20 linear 100..600 with deviation alarms, 21 linear with absolute
// alarms, 22 linear with a negative low limit, the rest a temperature input.
void PrepareBlock1(RDX_INC& d) {
    for (int c = 20; c < 40; ++c) d.ChInputType[c] = 3;
    for (int c : {20, 21, 22}) {
        d.ChInputType[c] = 12;
        d.ChScaleLow[c] = 100;
        d.ChScaleHigh[c] = 600;
    }
    d.ChScaleLow[22] = -250;
    d.ChScaleHigh[22] = 250;
    d.ChAlarm1Type[20] = 3;
    d.ChAlarm2Type[20] = 8;
    d.ChAlarm1Type[21] = 9;
    d.ChAlarm2Type[21] = 12;
    d.ChAlarm1Type[22] = 11;
    d.ChAlarm2Type[22] = 1;
}

// Reply fields: 5000 for most channels, something else here and there.
std::array<QString, 20> Fields() {
    std::array<QString, 20> f;
    f.fill(QStringLiteral("1388"));
    f[1] = QStringLiteral("0BB8");   // 3000
    f[2] = QStringLiteral("FC18");   // -1000
    f[5] = QStringLiteral("0001");
    f[19] = QStringLiteral("7FFF");
    return f;
}

}  // namespace

TEST(ItemTable, ThirtyEightCodesInTableOrder) {
    RDX_INC d;
    d.FillItemCodes();
    for (int i = 0; i < 38; ++i) EXPECT_EQ(d.ItemCode[i], QString::fromLatin1(kItems[i].code)) << i;
    std::set<QString> distinct(d.ItemCode.begin(), d.ItemCode.end());
    EXPECT_EQ(distinct.size(), 38u);
    for (int i = 0; i < 38; ++i) EXPECT_EQ(d.ItemIndex(QString::fromLatin1(kItems[i].code)), i);
    EXPECT_EQ(d.ItemIndex(u"0040"), -1);
    EXPECT_EQ(d.ItemIndex(u"0021"), -1);
}

TEST(ItemTable, EachReplyLandsInItsOwnTableInItsOwnForm) {
    for (const ItemOracle::Row& row : kItems) {
        if (row.form == Form::Pairs) continue;
        SCOPED_TRACE(row.code);
        RDX_INC d;
        d.FillItemCodes();
        PrepareBlock1(d);
        const RDX_INC before = d;
        const auto fields = Fields();
        d.StoreReply(1, QString::fromLatin1(row.code), fields);

        const ChannelTable& table = d.*row.table;
        for (int n = 0; n < 20; ++n) {
            const int ch = 20 + n;
            const qint16 raw = ItemOracle::DecodeField(fields[n]);
            qint16 want = ItemOracle::Stored(row, before, ch, raw);
            // Presence comes once per pair, from the pair's odd field.
            if (row.form == Form::Raw && QLatin1StringView(row.code) == u"00A0")
                want = ItemOracle::DecodeField(fields[n - n % 2]);
            EXPECT_EQ(table[ch], want) << "channel " << ch;
        }
        EXPECT_EQ(table[19], 0) << "block 0 untouched";
        EXPECT_EQ(table[40], 0) << "block 2 untouched";
        // No other item's table moved.
        for (const ItemOracle::Row& other : kItems) {
            if (!other.table || other.table == row.table) continue;
            EXPECT_EQ(d.*other.table, before.*other.table) << "also changed: " << other.code;
        }
    }
}

TEST(ItemTable, ConversionsOfTheFormsWithRoundValues) {
    // The same reply through each form on channel 20 (linear 100..600): what an operator
    // reads in the tables, worked out by hand.
    RDX_INC d;
    PrepareBlock1(d);
    auto fields = Fields();
    d.StoreReply(1, u"0080", fields);
    EXPECT_EQ(d.ChPV[20], 350);   // 500 * 5000 / 10000 + 100
    EXPECT_EQ(d.ChPV[21], 250);   // 500 * 3000 / 10000 + 100
    EXPECT_EQ(d.ChPV[22], -300);  // 500 * -1000 / 10000 - 250
    EXPECT_EQ(d.ChPV[23], 5000);  // temperature input: unchanged
    d.StoreReply(1, u"0020", fields);
    EXPECT_EQ(d.ChCoolHys[20], 250);
    EXPECT_EQ(d.ChCoolHys[22], -50);
    d.StoreReply(1, u"001A", fields);
    EXPECT_EQ(d.ChLoop2Span[21], 150);
    d.StoreReply(1, u"001B", fields);
    EXPECT_EQ(d.ChLoop2Time[21], 3000);
    d.StoreReply(1, u"0005", fields);
    EXPECT_EQ(d.ChAlarm1[20], 250);   // type 3: span
    EXPECT_EQ(d.ChAlarm1[21], 250);   // type 9: absolute, 150 + 100
    d.StoreReply(1, u"0006", fields);
    EXPECT_EQ(d.ChAlarm2[20], 250);   // type 8: span
    EXPECT_EQ(d.ChAlarm2[21], 250);   // type 12: absolute
    EXPECT_EQ(d.ChAlarm2[22], -50);   // type 1: span
}

TEST(ItemTable, PairItemFillsInputTypeAndOptionOfBothChannels) {
    RDX_INC d;
    std::array<QString, 20> f;
    for (int n = 0; n < 20; ++n) f[n] = ItemOracle::Hex4(qint16(n % 2 ? 0x0400 + n : n));
    d.StoreInputTypes(4, f);
    for (int j = 0; j < 10; ++j) {
        for (int ch : {80 + 2 * j, 81 + 2 * j}) {
            EXPECT_EQ(d.ChInputType[ch], 2 * j) << ch;
            EXPECT_EQ(d.ChOption[ch], 0x0400 + 2 * j + 1) << ch;
        }
    }
    EXPECT_EQ(d.ChInputType[79], 0);
    EXPECT_EQ(d.ChOption[100], 0);
}

TEST_F(EngineTest, EachWrittenItemCarriesItsTableInTheInverseForm) {
    Present({1});
    link.values[1][QStringLiteral("00A1")][1] = 0x0400;  // cooling, so every item may go out
    StartUp();
    for (const ItemOracle::Row& row : kItems) {
        if (!row.table) continue;
        SCOPED_TRACE(row.code);
        PrepareBlock1(d);
        ChannelTable& table = d.*row.table;
        for (int n = 0; n < 20; ++n) table[20 + n] = qint16(200 + 10 * n);
        const RDX_INC before = d;
        engine.RequestSettingWrite((1) * ChannelsPerBlock, QString::fromLatin1(row.code));
        engine.Timer4_Timer();
        const auto log = link.take();
        ASSERT_EQ(log.size(), 2u);
        EXPECT_EQ(log[0].cmd, "R");
        EXPECT_EQ(log[0].item, row.code);
        QString want;
        for (int n = 0; n < 20; ++n) want += ItemOracle::Hex4(ItemOracle::Written(row, before, 20 + n, (before.*row.table)[20 + n]));
        EXPECT_EQ(log[0].data, want);
        EXPECT_EQ(log[1].cmd, "\"");
        EXPECT_EQ(log[1].item, row.code);
    }
}

TEST(ItemTable, RepliesOfBlocksOutsideTheLineChangeNoTable) {
    RDX_INC d;
    d.FillItemCodes();
    std::array<QString, 20> f;
    f.fill(QStringLiteral("1234"));
    const RDX_INC before = d;
    for (int block : {-1, 16, 17}) {
        d.StoreInputTypes(block, f);
        for (const ItemOracle::Row& row : kItems) {
            if (row.table) d.StoreReply(block, QString::fromLatin1(row.code), f);
        }
    }
    for (const ItemOracle::Row& row : kItems) {
        if (row.table) {
            EXPECT_EQ(d.*row.table, before.*row.table) << row.code;
        }
    }
    EXPECT_EQ(d.ChInputType, before.ChInputType);
    EXPECT_EQ(d.ChOption, before.ChOption);
    EXPECT_EQ(d.ChUnitShown, before.ChUnitShown);
    EXPECT_EQ(d.ChScaleHigh, before.ChScaleHigh);
    EXPECT_EQ(d.EncodeBlock(u"0001", 16), QString());
}
