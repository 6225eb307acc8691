// The payloads as a reader of the broker sees them: valid JSON, values scaled as the
// views show them, alarm bits, channels without a controller, and the events.
#include "exchange/RDX_INC.h"
#include "publish/Documents.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

QJsonObject Parse(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.constData();
    return doc.object();
}

BlockFacts Facts(int block) {
    BlockFacts f;
    f.line = QStringLiteral("line-a");
    f.time = QDateTime(QDate(2024, 5, 1), QTime(12, 0, 3, 250), QTimeZone(9 * 3600));
    f.blockName = QStringLiteral("Block%1").arg(block + 1, 2, 10, QLatin1Char('0'));
    for (int k = 0; k < ChannelsPerBlock; ++k)
        f.channelNames[size_t(k)] = QStringLiteral("Ch%1").arg(block * 20 + k + 1, 3, 10, QLatin1Char('0'));
    return f;
}

}  // namespace

TEST(BlockDocument, ValuesAreScaledAsTheViewsShowThemWithTheirUnits) {
    RDX_INC inc;
    const int b = 2, c0 = 40;  // block 3: channels 41..60
    for (int k = 0; k < 6; ++k) inc.ChPresent[c0 + k] = 1;
    // Channel 41: thermocouple in whole degrees; 42: Pt100 in tenths; 43: linear, two
    // decimals, "kPa"; 44: linear, no decimals; 45: °F.
    inc.ChInputType[c0] = 0, inc.ChPV[c0] = 123, inc.ChSV[c0] = 150;
    inc.ChInputType[c0 + 1] = 6, inc.ChPV[c0 + 1] = -57, inc.ChSV[c0 + 1] = 2000;
    inc.ChInputType[c0 + 2] = 12, inc.ChPV[c0 + 2] = 1250, inc.ChSV[c0 + 2] = 3000, inc.ChDecimal[c0 + 2] = 100,
    inc.ChUnitText[c0 + 2] = QStringLiteral("kPa");
    inc.ChInputType[c0 + 3] = 10, inc.ChPV[c0 + 3] = 87, inc.ChDecimal[c0 + 3] = 1, inc.ChUnitText[c0 + 3] = "%";
    inc.ChInputType[c0 + 4] = 1, inc.ChUnitShown[c0 + 4] = 1, inc.ChPV[c0 + 4] = 300;
    inc.ChInputType[c0 + 5] = 0;
    for (int k = 0; k < 6; ++k) inc.ChHeatMV[c0 + k] = qint16(100 * k + 5), inc.ChHeaterCurrent[c0 + k] = qint16(12 * k);

    const QByteArray json = BlockDocument(inc, b, Facts(b));
    const QJsonObject doc = Parse(json);
    EXPECT_EQ(doc["line"].toString(), "line-a");
    EXPECT_EQ(doc["block"].toInt(), 3);
    EXPECT_EQ(doc["name"].toString(), "Block03");
    EXPECT_EQ(doc["time"].toString(), "2024-05-01T12:00:03.250+09:00");
    EXPECT_FALSE(doc["outOfContact"].toBool(true));
    const QJsonArray ch = doc["channels"].toArray();
    ASSERT_EQ(ch.size(), 20);
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(ch[k]["ch"].toInt(), c0 + k + 1);
        EXPECT_EQ(ch[k]["name"].toString(), QStringLiteral("Ch%1").arg(c0 + k + 1, 3, 10, QLatin1Char('0')));
    }
    EXPECT_DOUBLE_EQ(ch[0]["pv"].toDouble(), 123);
    EXPECT_DOUBLE_EQ(ch[0]["sv"].toDouble(), 150);
    EXPECT_EQ(ch[0]["unit"].toString(), QString::fromUtf8("ﾟC"));
    EXPECT_DOUBLE_EQ(ch[1]["pv"].toDouble(), -5.7);
    EXPECT_DOUBLE_EQ(ch[1]["sv"].toDouble(), 200.0);
    EXPECT_DOUBLE_EQ(ch[2]["pv"].toDouble(), 12.5);
    EXPECT_DOUBLE_EQ(ch[2]["sv"].toDouble(), 30.0);
    EXPECT_EQ(ch[2]["unit"].toString(), "kPa");
    EXPECT_DOUBLE_EQ(ch[3]["pv"].toDouble(), 87);
    EXPECT_EQ(ch[4]["unit"].toString(), QString::fromUtf8("ﾟF"));
    // The monitor's text stays; historians get the standard spelling.
    EXPECT_EQ(ch[0]["unitCode"].toString(), QString::fromUtf8("°C"));
    EXPECT_EQ(ch[2]["unitCode"].toString(), "kPa");
    EXPECT_EQ(ch[4]["unitCode"].toString(), QString::fromUtf8("°F"));
    for (int k = 0; k < 6; ++k) {
        EXPECT_DOUBLE_EQ(ch[k]["mv"].toDouble(), (100 * k + 5) / 10.0) << k;
        EXPECT_DOUBLE_EQ(ch[k]["heaterCurrent"].toDouble(), 12 * k / 10.0) << k;
    }
    // A reader that parses numbers gets the picture back from "decimals".
    const int decimals[] = {0, 1, 2, 0, 0, 0};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(ch[k]["decimals"].toInt(-1), decimals[k]) << k;
    // The payload keeps the decimals a reader sees on the screen.
    EXPECT_TRUE(json.contains("\"pv\":12.50,")) << json.constData();
    EXPECT_TRUE(json.contains("\"sv\":200.0,")) << json.constData();
}

TEST(BlockDocument, AlarmAndStateBitsAbsentChannelsAndCoolingOutputs) {
    RDX_INC inc;
    const int c0 = 0;
    for (int k = 0; k < 4; ++k) inc.ChPresent[c0 + k] = 1;
    inc.ChStatus[0] = qint16(StatusBit::Alarm1 | StatusBit::LoopBreak | StatusBit::Control | StatusBit::OutputOn);
    inc.ChStatus[1] = qint16(StatusBit::Alarm2 | StatusBit::HeaterBreak | StatusBit::UnderScale | StatusBit::AutoTuning);
    inc.ChStatus[2] = qint16(StatusBit::OverScale);
    // Pair 2 (channels 3 and 4) has the heating/cooling function: channel 4 is its cooling output.
    inc.ChOption[2] = qint16(OptionBit::Cooling), inc.ChOption[3] = qint16(OptionBit::Cooling);
    inc.ChHeatMV[3] = 423;
    BlockFacts facts = Facts(0);
    facts.outOfContact = true;
    const QJsonObject doc = Parse(BlockDocument(inc, 0, facts));
    EXPECT_TRUE(doc["outOfContact"].toBool());
    const QJsonArray ch = doc["channels"].toArray();
    ASSERT_EQ(ch.size(), 20);

    auto bits = [&](int k) {
        QStringList on;
        for (const char* key : {"alarm1", "alarm2", "heaterBreak", "loopBreak", "overScale", "underScale", "control",
                                "autoTuning", "outputOn"}) {
            const QJsonValue v = ch[k].toObject()[QLatin1String(key)];
            EXPECT_TRUE(v.isBool()) << k << key;
            if (v.toBool()) on << key;
        }
        return on.join(',');
    };
    EXPECT_EQ(bits(0), "alarm1,loopBreak,control,outputOn");
    EXPECT_EQ(bits(1), "alarm2,heaterBreak,underScale,autoTuning");
    EXPECT_EQ(bits(2), "overScale");
    EXPECT_EQ(ch[0]["status"].toInt(), StatusBit::Alarm1 | StatusBit::LoopBreak | StatusBit::Control | StatusBit::OutputOn);

    EXPECT_EQ(ch[3]["coolingOf"].toInt(), 3);
    EXPECT_DOUBLE_EQ(ch[3]["mv"].toDouble(), 42.3);
    EXPECT_FALSE(ch[3].toObject().contains("pv"));

    for (int k = 4; k < 20; ++k) {
        EXPECT_FALSE(ch[k]["present"].toBool(true)) << k;
        EXPECT_FALSE(ch[k].toObject().contains("pv")) << k;
    }
}

TEST(BlockDocument, APvThatIsNoMeasurementIsNullWithTheValueReadInLastPv) {
    RDX_INC inc;
    for (int k = 0; k < 3; ++k) inc.ChPresent[k] = 1, inc.ChPV[k] = qint16(100 + k);
    inc.ChStatus[1] = qint16(StatusBit::OverScale);
    inc.ChStatus[2] = qint16(StatusBit::UnderScale);
    BlockFacts f = Facts(0);
    f.readAt = f.time.addMSecs(-40);
    const QJsonObject doc = Parse(BlockDocument(inc, 0, f));
    EXPECT_EQ(doc["readAt"].toString(), "2024-05-01T12:00:03.210+09:00");
    const QJsonArray ch = doc["channels"].toArray();
    const char* expected[] = {"good", "overScale", "underScale"};
    for (int k = 0; k < 3; ++k) EXPECT_EQ(ch[k]["quality"].toString(), expected[k]) << k;
    EXPECT_DOUBLE_EQ(ch[0]["pv"].toDouble(), 100);
    for (int k : {1, 2}) {
        EXPECT_TRUE(ch[k]["pv"].isNull()) << k;
        EXPECT_DOUBLE_EQ(ch[k]["lastPv"].toDouble(), 100 + k) << k;
    }
    // Out of contact: every present channel holds the last values read, none a measurement.
    f.stale = true;
    const QJsonArray st = Parse(BlockDocument(inc, 0, f))["channels"].toArray();
    for (int k = 0; k < 3; ++k) EXPECT_EQ(st[k]["quality"].toString(), "stale") << k;
    EXPECT_TRUE(st[0]["pv"].isNull());
    EXPECT_DOUBLE_EQ(st[0]["lastPv"].toDouble(), 100);
}

TEST(StoredBlockDocument, AnEarlierRunsBlocksComeBackStaleWithoutValues) {
    RDX_INC inc;
    inc.BlockAbsent.fill(1);
    inc.BlockAbsent[2] = 0;
    for (int c : {40, 42, 43, 59}) inc.ChPresent[c] = 1;
    inc.ChOption[42] = inc.ChOption[43] = qint16(OptionBit::Cooling);
    // The channels of a block as hexadecimal bits, as an earlier run's file holds them.
    EXPECT_EQ(StoredBlocks::FromTables(inc).Text(), "3,8000d,8\r\n");
    const std::optional<StoredBlocks> stored = StoredBlocks::Parse(StoredBlocks::FromTables(inc).Text());
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, StoredBlocks::FromTables(inc));
    EXPECT_FALSE(StoredBlocks::Parse("3,1,0\r\n17,1,0\r\n"));

    const QJsonArray ch = Parse(StoredBlockDocument(*stored, 2, Facts(2)))["channels"].toArray();
    EXPECT_EQ(ch[0]["quality"].toString(), "stale");
    EXPECT_TRUE(ch[0]["pv"].isNull());
    EXPECT_FALSE(ch[1]["present"].toBool(true));
    EXPECT_EQ(ch[3]["coolingOf"].toInt(), 43);
}

TEST(StandardUnit, TheWaysOfWritingDegreesPercentAndAmperes) {
    const std::pair<const char*, const char*> cases[] = {
        {"ﾟC", "°C"}, {"ﾟF", "°F"}, {"℃", "°C"}, {"゜C", "°C"}, {"°c", "°C"}, {"％", "%"},
        {"Ａ", "A"},  {"kPa", "kPa"}, {" m3/h ", "m3/h"}, {"ｋＰａ", "kPa"},
    };
    for (const auto& [shown, code] : cases)
        EXPECT_EQ(StandardUnit(QString::fromUtf8(shown)), QString::fromUtf8(code)) << shown;
}

TEST(BlockDocument, NamesWithQuotesBackslashesAndJapaneseSurviveTheTrip) {
    RDX_INC inc;
    BlockFacts f = Facts(0);
    f.blockName = QString::fromUtf8("炉\"A\"\\1\t号");
    f.channelNames[0] = QString::fromUtf8("ﾋｰﾀ\n上段");
    const QJsonObject doc = Parse(BlockDocument(inc, 0, f));
    EXPECT_EQ(doc["name"].toString(), f.blockName);
    EXPECT_EQ(doc["channels"].toArray().at(0).toObject().value("name").toString(), f.channelNames[0]);
}

TEST(BlockDocument, AValueTheFormatterCannotShowIsNull) {
    RDX_INC inc;
    inc.ChPresent[0] = 1;
    inc.ChInputType[0] = 12;
    inc.ChDecimal[0] = 7;  // not a decimal-point setting
    const QJsonObject doc = Parse(BlockDocument(inc, 0, Facts(0)));
    EXPECT_TRUE(doc["channels"].toArray().at(0).toObject().value("pv").isNull());
    EXPECT_TRUE(doc["channels"].toArray().at(0).toObject().value("decimals").isNull());
}

TEST(EventDocument, AlarmTransitionsCarryTheirChannelProtocolErrorsTheirBlock) {
    EventFacts f;
    f.line = QStringLiteral("line-a");
    f.run = QStringLiteral("5f0c3a52-8d1e-4f7a-9b2c-0e6d4a1b7c93");
    f.seq = 41;
    f.time = QDateTime(QDate(2024, 5, 1), QTime(8, 5, 3), QTimeZone(0));
    f.code = QStringLiteral("HB");
    f.state = -1;
    f.block = 1;
    f.channel = 24;
    f.channelText = QStringLiteral("Ch025");
    f.text = QString::fromUtf8("ﾋｰﾀ断線警報の状態がONになりました。");
    QJsonObject e = Parse(EventDocument(f));
    EXPECT_EQ(e["seq"].toInt(), 41);
    EXPECT_EQ(e["run"].toString(), f.run);
    EXPECT_FALSE(e["initial"].toBool(true));
    EXPECT_EQ(e["time"].toString(), "2024-05-01T08:05:03.000Z");
    EXPECT_EQ(e["code"].toString(), "HB");
    EXPECT_TRUE(e["on"].toBool());
    EXPECT_EQ(e["block"].toInt(), 2);
    EXPECT_EQ(e["ch"].toInt(), 25);
    EXPECT_EQ(e["name"].toString(), "Ch025");
    EXPECT_EQ(e["text"].toString(), f.text);

    f.state = 0;
    EXPECT_FALSE(Parse(EventDocument(f))["on"].toBool(true));

    f.code = QStringLiteral("NAK");
    f.channel = -1;
    f.block = 4;
    f.channelText = QStringLiteral("----");
    e = Parse(EventDocument(f));
    EXPECT_TRUE(e["on"].isNull());
    EXPECT_TRUE(e["ch"].isNull());
    EXPECT_EQ(e["block"].toInt(), 5);
    EXPECT_EQ(e["name"].toString(), "----");

    // A block out of contact begins and ends, like an alarm, but concerns no one channel.
    f.code = QString::fromLatin1(OutOfContactCode);
    f.state = -1;
    f.block = 3;
    e = Parse(EventDocument(f));
    EXPECT_TRUE(e["on"].toBool());
    EXPECT_EQ(e["block"].toInt(), 4);
    EXPECT_TRUE(e["ch"].isNull());
}
