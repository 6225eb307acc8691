// Block and all-channel files: exact bytes, both versions, write-back rules, and files
// that must be refused whole.
#include "TestTables.h"

#include "services/SettingsStore.h"
#include "setdata/RecordFile.h"
#include "setdata/ScalingStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void PutFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// One record's lines as written by hand: the fields, then the quoted unit text.
QByteArray RecordLines(const std::vector<int>& fields, const QByteArray& unitLine) {
    QByteArray lines;
    for (int v : fields) lines += QByteArray::number(v) + "\r\n";
    return lines + unitLine;
}

// A current all-channel or block file whose records all hold `fields` and "%".
QByteArray UniformFile(int records, const std::vector<int>& fields, bool current = true) {
    QByteArray bytes = current ? "\"V202data\"\r\n" : "";
    for (int i = 0; i < records; ++i) bytes += RecordLines(fields, current ? "\"%\"\r\n" : "");
    return bytes;
}

std::vector<int> Fields(int value, int count = SetDataFieldCount) { return std::vector<int>(count, value); }

class RecordFileTest : public testing::Test {
protected:
    QTemporaryDir dir;
    RDX_INC inc;
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

TEST_F(RecordFileTest, SmallestCurrentFilesHaveTheirKnownLengths) {
    for (int c = 0; c < ChannelCount; ++c) inc.ChUnitText[c] = U("%");
    const RecordFileBytes block = EncodeRecordFile(RecordFileKind::Block, TakeBlockRecords(inc, 3));
    ASSERT_TRUE(block.outcome.ok());
    EXPECT_EQ(block.bytes.size(), 2032);
    EXPECT_EQ(block.bytes, UniformFile(20, Fields(0)));

    const RecordFileBytes all = EncodeRecordFile(RecordFileKind::AllChannels, TakeAllRecords(inc));
    ASSERT_TRUE(all.outcome.ok());
    EXPECT_EQ(all.bytes.size(), 32332);
    EXPECT_EQ(all.bytes, UniformFile(320, Fields(0)));
}

TEST_F(RecordFileTest, ARecordIsItsTablesInFieldOrderThenTheUnitText) {
    for (int c = 40; c < 60; ++c) inc.ChUnitText[c] = U("%");
    SetUpTemperatureChannel(inc, 41);
    inc.ChPresent[41] = 1;
    inc.ChUnitText[41] = U("ﾟC/分");
    const QString path = Path("block.dat");
    ASSERT_TRUE(WriteRecordFile(path, RecordFileKind::Block, TakeBlockRecords(inc, 2)).ok());

    const QByteArray expected =
        "\"V202data\"\r\n" + RecordLines(Fields(0), "\"%\"\r\n") +
        RecordLines({120, 10, -5, 0, 30, 240, 60, 100, 30, 0, 10, 15, 20, 1, 0, 100,
                     0, 0, -3, 0, 0, 8, 0, 1, 10, 30, 0, 2, 10, 10000, 0, 100},
                    "\"\xDF" "C/\x95\xAA\"\r\n") +
        UniformFile(18, Fields(0)).mid(12);
    EXPECT_EQ(FileBytes(path), expected);
}

TEST_F(RecordFileTest, BlockCopiedToAnotherBlockSkipsAbsentSources) {
    FillPattern(inc);
    inc.ChPresent[45] = 0;  // position 5 of block 2 was not connected
    const RDX_INC before = inc;
    const QString path = Path("b2.dat");
    ASSERT_TRUE(WriteRecordFile(path, RecordFileKind::Block, TakeBlockRecords(inc, 2)).ok());
    const RecordFileRead read = ReadRecordFile(path, RecordFileKind::Block);
    ASSERT_TRUE(read.outcome.ok());
    EXPECT_EQ(read.version, SetDataVersion::Current);

    EXPECT_EQ(ApplyBlockRecords(inc, 5, read.records), 19);
    for (int i = 0; i < 20; ++i) {
        const SetDataRecord target = TakeSetDataRecord(inc, 100 + i);
        const SetDataRecord source = TakeSetDataRecord(before, i == 5 ? 105 : 40 + i);
        for (int k = 0; k < SetDataFieldCount; ++k) {
            const qint16 want = k == PresentField ? before.ChPresent[100 + i] : source.Fields[k];
            EXPECT_EQ(target.Fields[k], want) << "channel " << 100 + i << " field " << k;
        }
        EXPECT_EQ(target.UnitText, source.UnitText);
    }
    EXPECT_EQ(inc.ChSV[99], before.ChSV[99]);
    EXPECT_EQ(inc.ChSV[120], before.ChSV[120]);
    EXPECT_EQ(GetSetting(U("STLH101"), U("x")), QString::number(before.ChScaleHigh[40]));
    EXPECT_EQ(GetSetting(U("UNIT101"), U("x")), U("u40"));
}

TEST_F(RecordFileTest, OlderFilesCarryTwentyFourNumbersAndLoadTheDefaults) {
    FillPattern(inc);
    const RDX_INC before = inc;
    const std::vector<int> older = Fields(7, OlderSetDataFieldCount);
    std::vector<int> absent = older;
    absent[PresentField] = 0;
    QByteArray bytes;
    for (int c = 0; c < ChannelCount; ++c) bytes += RecordLines(c == 0 || c == 150 || c == 319 ? older : absent, "");
    ASSERT_EQ(bytes.size(), 320 * 24 * 3);
    const QString path = Path("old-all.dat");
    PutFile(path, bytes);

    EXPECT_EQ(LoadAllChannelFile(inc, path, [] { return true; }).status, SetDataStatus::Ok);
    for (int c : {0, 150, 319}) {
        EXPECT_EQ(inc.ChSV[c], 7);
        EXPECT_EQ(inc.ChLoopSpan[c], 7);
        EXPECT_EQ(inc.ChCoolPBand[c], 10);
        EXPECT_EQ(inc.ChCoolPCycle[c], 30);
        EXPECT_EQ(inc.ChOverlapBand[c], 0);
        EXPECT_EQ(inc.ChCoolMode[c], 0);
        EXPECT_EQ(inc.ChCoolHys[c], 10);
        EXPECT_EQ(inc.ChScaleHigh[c], 10000);
        EXPECT_EQ(inc.ChScaleLow[c], 0);
        EXPECT_EQ(inc.ChDecimal[c], 1);
        EXPECT_EQ(inc.ChUnitText[c], U("%"));
        EXPECT_EQ(inc.ChPresent[c], 1);  // the presence flag is never written back
    }
    // Records of channels that were absent when the file was taken change nothing.
    for (int c : {0, 150, 319}) {
        inc.ChSV[c] = before.ChSV[c];
        inc.ChLoopSpan[c] = before.ChLoopSpan[c];
    }
    EXPECT_EQ(inc.ChSV, before.ChSV);
    EXPECT_EQ(inc.ChLoopSpan, before.ChLoopSpan);
    EXPECT_EQ(inc.ChScaleHigh[1], before.ChScaleHigh[1]);
    EXPECT_EQ(inc.ChUnitText[318], before.ChUnitText[318]);
    EXPECT_EQ(GetSetting(U("DP320"), U("x")), U("1"));

    const RecordFileRead block = DecodeRecordFile(RecordFileKind::Block, UniformFile(20, older, false));
    ASSERT_TRUE(block.outcome.ok());
    EXPECT_EQ(block.version, SetDataVersion::Older);
    EXPECT_EQ(block.records[19].Fields[29], 10000);
    const RecordFileBytes again = EncodeRecordFile(RecordFileKind::Block, block.records, SetDataVersion::Older);
    EXPECT_EQ(again.bytes, UniformFile(20, older, false));
}

TEST_F(RecordFileTest, AnsweringNoLeavesEveryTableAsItWas) {
    FillPattern(inc);
    const RDX_INC before = inc;
    const QString path = Path("all.dat");
    PutFile(path, UniformFile(320, Fields(1)));
    bool asked = false;
    EXPECT_EQ(LoadAllChannelFile(inc, path, [&] { return asked = true, false; }).status, SetDataStatus::Cancelled);
    EXPECT_TRUE(asked);
    ExpectSameTables(inc, before);
}

// Each broken all-channel file is refused before the question and changes no table.
struct BrokenFile {
    const char* name;
    QByteArray bytes;
    SetDataStatus status;
    int line;
};

std::vector<BrokenFile> BrokenFiles() {
    const QByteArray good = UniformFile(320, Fields(1));
    QByteArray overflow = good;
    // Records of this file are 101 bytes and 33 lines; record 3, field 2 is on line 103.
    const int record3Field2 = 12 + 3 * 101 + 2 * 3;
    overflow.replace(record3Field2, 1, "32768");
    QByteArray notNumber = good;
    notNumber.replace(record3Field2, 1, "1x");
    QByteArray quotedUnit = good;
    quotedUnit.replace(good.size() - 5, 3, "\"%\"\"");  // a unit text with a quote, last record
    QByteArray garbage(good.size(), '\0');
    for (int i = 0; i < garbage.size(); ++i) garbage[i] = char((i * 131 + 7) % 256);
    return {
        {"empty", QByteArray(), SetDataStatus::WrongSizeClass, 0},
        // Cut in field 20 of the last record, which begins on line 10529.
        {"truncated in a record", good.left(good.size() - 40), SetDataStatus::EndedEarly, 10549},
        {"over 32767", overflow, SetDataStatus::OutOfRange, 103},
        {"not a number", notNumber, SetDataStatus::NotANumber, 103},
        {"binary garbage", garbage, SetDataStatus::BadEncoding, 0},
        {"garbage of the right size", QByteArray(good.size(), 'x'), SetDataStatus::NotANumber, 1},
        {"block file", UniformFile(20, Fields(1)), SetDataStatus::WrongSizeClass, 0},
        // Its unit text would load cut at the quote; the last record's unit is line 10561.
        {"quote in a unit text", quotedUnit, SetDataStatus::QuoteInFileText, 10561},
    };
}

TEST_F(RecordFileTest, BrokenFilesAreRefusedWholeAndChangeNothing) {
    FillPattern(inc);
    const RDX_INC before = inc;
    for (const BrokenFile& broken : BrokenFiles()) {
        const QString path = Path("broken.dat");
        PutFile(path, broken.bytes);
        bool asked = false;
        const SetDataOutcome outcome = LoadAllChannelFile(inc, path, [&] { return asked = true; });
        EXPECT_EQ(outcome.status, broken.status) << broken.name;
        EXPECT_EQ(outcome.line, broken.line) << broken.name;
        EXPECT_FALSE(asked) << broken.name;
        ExpectSameTables(inc, before);
    }
    EXPECT_EQ(LoadAllChannelFile(inc, Path("missing.dat"), [] { return true; }).status,
              SetDataStatus::OpenFailed);
    ExpectSameTables(inc, before);
}

TEST_F(RecordFileTest, AFailedReadHoldsNoRecordsToApply) {
    QByteArray truncated = UniformFile(20, Fields(4)).left(1500);
    const RecordFileRead read = DecodeRecordFile(RecordFileKind::Block, truncated);
    EXPECT_EQ(read.outcome.status, SetDataStatus::EndedEarly);
    EXPECT_TRUE(read.records.empty());
    EXPECT_EQ(ApplyBlockRecords(inc, 0, read.records), -1);
    EXPECT_EQ(ApplyAllRecords(inc, TakeBlockRecords(inc, 0)), -1);
}

TEST_F(RecordFileTest, ABlockOutsideTheLineTakesNoRecords) {
    FillPattern(inc);
    const std::vector<SetDataRecord> records = TakeBlockRecords(inc, 3);
    for (int c = 0; c < ChannelCount; ++c) inc.ChPresent[c] = 1;
    const RDX_INC before = inc;
    for (int block : {16, -1}) EXPECT_EQ(ApplyBlockRecords(inc, block, records), -1) << block;
    ExpectSameTables(inc, before);
    EXPECT_EQ(inc.ChUnitText, before.ChUnitText);
    for (int block : {BlockCount, -1}) EXPECT_TRUE(TakeBlockRecords(inc, block).empty()) << block;
    // One channel outside the line: an empty record, and nothing stored anywhere.
    for (int channel : {ChannelCount, -1}) {
        EXPECT_EQ(TakeSetDataRecord(inc, channel), SetDataRecord{}) << channel;
        ApplySetDataRecord(inc, channel, records[0]);
    }
    ExpectSameTables(inc, before);
    EXPECT_EQ(inc.ChUnitText, before.ChUnitText);
    EXPECT_EQ(ApplyBlockRecords(inc, 15, records), 20);
}

// Channel ranges that run past the line's end are cut at it; nothing outside is looked at
// or stored.
TEST_F(RecordFileTest, RangesStopAtTheEndOfTheLine) {
    inc.ChStatus.fill(qint16(StatusBit::AutoTuning));
    EXPECT_TRUE(AnyAutoTuning(inc, ChannelCount - 1, 1));
    EXPECT_FALSE(AnyAutoTuning(inc, -5, 5));
    inc.ChStatus.fill(0);
    inc.ChStatus[ChannelCount - 1] = qint16(StatusBit::AutoTuning);
    EXPECT_TRUE(AnyAutoTuning(inc, ChannelCount - 10, 20));
    inc.ChStatus[ChannelCount - 1] = 0;
    EXPECT_FALSE(AnyAutoTuning(inc, ChannelCount - 10, 20));
    inc.ChScaleHigh.fill(2500);
    for (int channel : {ChannelCount, -1}) SaveChannelScaling(inc, channel);
    for (const char* key : {"STLH321", "STLH000", "STLH-01"}) EXPECT_EQ(GetSetting(U(key), U("x")), U("x")) << key;
}

TEST_F(RecordFileTest, WritersRefuseUnitTextsThatCouldNotBeReadBack) {
    FillPattern(inc);
    const QString path = Path("refused.dat");
    inc.ChUnitText[107] = U("\"C");
    SetDataOutcome outcome = WriteRecordFile(path, RecordFileKind::AllChannels, TakeAllRecords(inc));
    EXPECT_EQ(outcome.status, SetDataStatus::QuoteInText);
    EXPECT_EQ(outcome.index, 107);
    outcome = WriteRecordFile(path, RecordFileKind::Block, TakeBlockRecords(inc, 5));
    EXPECT_EQ(outcome.status, SetDataStatus::QuoteInText);
    EXPECT_EQ(outcome.index, 7);
    EXPECT_FALSE(QFile::exists(path));

    std::vector<SetDataRecord> records = TakeBlockRecords(inc, 0);
    records[3].UnitText = U("é");
    records[9].UnitText = U("ñ");
    outcome = EncodeRecordFile(RecordFileKind::Block, records).outcome;
    EXPECT_EQ(outcome.status, SetDataStatus::NotEncodable);
    EXPECT_EQ(outcome.index, 3);
    records[9].UnitText = U("%");
    records[3].UnitText = QString(18000, u'%');  // over 20000 bytes: an all-channel file
    EXPECT_EQ(EncodeRecordFile(RecordFileKind::Block, records).outcome.status, SetDataStatus::TooLarge);
    records.pop_back();
    EXPECT_EQ(EncodeRecordFile(RecordFileKind::Block, records).outcome.status, SetDataStatus::NoData);
}

TEST_F(RecordFileTest, AllChannelsRoundTripThroughAFile) {
    FillPattern(inc);
    // Same scaling everywhere but the first channels: each changed channel costs a
    // rewrite of the settings store.
    for (int c = 3; c < ChannelCount; ++c) {
        inc.ChScaleHigh[c] = 10000;
        inc.ChScaleLow[c] = 0;
        inc.ChDecimal[c] = 100;
        inc.ChUnitText[c] = U("%");
    }
    inc.ChUnitText[0] = U("ﾟC");
    inc.ChUnitText[1] = QString();
    inc.ChUnitText[2] = U("a,b");
    const RDX_INC before = inc;
    const QString path = Path("all.dat");
    ASSERT_TRUE(WriteRecordFile(path, RecordFileKind::AllChannels, TakeAllRecords(inc)).ok());
    RDX_INC other;
    for (int c = 0; c < ChannelCount; ++c) other.ChPresent[c] = 1;
    ASSERT_TRUE(LoadAllChannelFile(other, path, {}).ok());
    for (int k = 0; k < SetDataFieldCount; ++k) {
        if (k == PresentField) continue;
        EXPECT_EQ(other.*SetDataFieldTable(k), before.*SetDataFieldTable(k)) << k;
    }
    EXPECT_EQ(other.ChUnitText, before.ChUnitText);
}


// What the operator reads for each refusal, word for word; a read names its line.
TEST(SetDataFields, OnlyTheThirtyTwoFieldsHaveATable) {
    EXPECT_EQ(SetDataFieldTable(0), &RDX_INC::ChSV);
    EXPECT_EQ(SetDataFieldTable(SetDataFieldCount - 1), &RDX_INC::ChDecimal);
    for (int field : {-1, SetDataFieldCount, 99}) EXPECT_EQ(SetDataFieldTable(field), nullptr) << field;
}

TEST(SetDataMessages, EachRefusalReadsAsWritten) {
    const std::pair<SetDataStatus, const char*> texts[] = {
        {SetDataStatus::OpenFailed, "ﾌｧｲﾙを開けません。ﾌｧｲﾙ名と保存先を確認してください。"},
        {SetDataStatus::WriteFailed, "ﾌｧｲﾙに書き込めません。保存先の空き容量と書込み許可を確認してください。"},
        {SetDataStatus::WrongSizeClass, "選択したﾃﾞｰﾀﾌｧｲﾙは、種類が異なるﾌｧｲﾙです。再選択してください。"},
        {SetDataStatus::EndedEarly, "ﾃﾞｰﾀﾌｧｲﾙが途中で終わっています。設定値は変更していません。正しいﾌｧｲﾙを選択してください。"},
        {SetDataStatus::BadEncoding, "ﾃﾞｰﾀﾌｧｲﾙの内容が正しくありません。設定値は変更していません。正しいﾌｧｲﾙを選択してください。"},
        {SetDataStatus::NotANumber, "ﾃﾞｰﾀﾌｧｲﾙに数値でない値があります。設定値は変更していません。正しいﾌｧｲﾙを選択してください。"},
        {SetDataStatus::OutOfRange,
         "ﾃﾞｰﾀﾌｧｲﾙに範囲外(-32768～32767以外)の値があります。設定値は変更していません。正しいﾌｧｲﾙを選択してください。"},
        {SetDataStatus::QuoteInText, "単位に「\"」は使えません。単位を変更してから保存してください。"},
        {SetDataStatus::QuoteInFileText,
         "ﾃﾞｰﾀﾌｧｲﾙの文字に「\"」があります。設定値は変更していません。正しいﾌｧｲﾙを選択してください。"},
        {SetDataStatus::LineBreakInText, "単位に改行は使えません。単位を変更してから保存してください。"},
        {SetDataStatus::NotEncodable, "保存できない文字が含まれています。単位を変更してから保存してください。"},
        {SetDataStatus::TooLarge, "単位が長すぎて保存できません。単位を短くしてから保存してください。"},
        {SetDataStatus::NoData, "保存するﾃﾞｰﾀがありません。先にﾜｰｸ領域へﾃﾞｰﾀを移してください。"},
    };
    for (const auto& [status, text] : texts)
        EXPECT_EQ(SetDataOutcomeMessage({status, 0, -1}), QString::fromUtf8(text)) << text;
    EXPECT_EQ(SetDataOutcomeMessage({SetDataStatus::OutOfRange, 103, -1}),
              QString::fromUtf8("ﾃﾞｰﾀﾌｧｲﾙに範囲外(-32768～32767以外)の値があります。設定値は変更していません。"
                                "正しいﾌｧｲﾙを選択してください。（103行目）"));
    EXPECT_TRUE(SetDataOutcomeMessage({SetDataStatus::Ok, 5, -1}).isEmpty());
    EXPECT_TRUE(SetDataOutcomeMessage({SetDataStatus::Cancelled, 0, -1}).isEmpty());
}
}  // namespace
