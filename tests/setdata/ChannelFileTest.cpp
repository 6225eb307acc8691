// Channel files on disk: exact bytes, both versions, and every refusal.
#include "TestTables.h"

#include "setdata/ChannelFile.h"

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

class ChannelFileTest : public testing::Test {
protected:
    QTemporaryDir dir;
    RDX_INC inc;
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

TEST_F(ChannelFileTest, WritesTheCurrentVersionByteForByte) {
    SetUpTemperatureChannel(inc, 5);
    const QString path = Path("ch5.dat");
    ASSERT_TRUE(WriteChannelFile(path, TakeChannelTexts(inc, 5)).ok());
    EXPECT_EQ(FileBytes(path), ExpectedChannelFile());
}

TEST_F(ChannelFileTest, ReadsTheCurrentVersionBackIntoTheSameTexts) {
    SetUpTemperatureChannel(inc, 5);
    const QString path = Path("ch5.dat");
    PutFile(path, ExpectedChannelFile());
    const ChannelFileRead read = ReadChannelFile(path);
    ASSERT_TRUE(read.outcome.ok());
    EXPECT_EQ(read.version, SetDataVersion::Current);
    EXPECT_EQ(read.texts, TakeChannelTexts(inc, 5));

    ApplyChannelTexts(inc, 300, read.texts);
    EXPECT_EQ(inc.ChAlarm1Hys[300], 15);
    EXPECT_EQ(inc.ChSensorCorr[300], -3);
    EXPECT_EQ(inc.ChCoolMode[300], 2);
}

TEST_F(ChannelFileTest, OlderVersionHasNoFirstLineAndLoadsTheDefaults) {
    QByteArray older;
    for (int k = 0; k < OlderChannelFieldCount; ++k) older += "\"" + QByteArray::number(k) + "\"\r\n";
    const ChannelFileRead read = DecodeChannelFile(older);
    ASSERT_TRUE(read.outcome.ok());
    EXPECT_EQ(read.version, SetDataVersion::Older);
    EXPECT_EQ(read.texts[0], U("0"));
    EXPECT_EQ(read.texts[22], U("22"));
    const char* defaults[] = {"1.0", "30", "0.0", "空冷", "1.0", "10000", "0", "XXXX .", "%"};
    for (int k = 23; k < ChannelFieldCount; ++k) EXPECT_EQ(read.texts[k], U(defaults[k - 23])) << k;

    ChannelTexts texts = read.texts;
    const ChannelFileBytes rewritten = EncodeChannelFile(texts, SetDataVersion::Older);
    ASSERT_TRUE(rewritten.outcome.ok());
    EXPECT_EQ(rewritten.bytes, older);
}

TEST_F(ChannelFileTest, UnquotedValuesWithLeadingBlanksReadLikeQuotedOnes) {
    QByteArray bytes = "  \"V202data\"\r\n";
    for (int k = 0; k < ChannelFieldCount; ++k) bytes += "   " + QByteArray::number(k) + "\r\n";
    const ChannelFileRead read = DecodeChannelFile(bytes);
    ASSERT_TRUE(read.outcome.ok());
    EXPECT_EQ(read.version, SetDataVersion::Current);
    EXPECT_EQ(read.texts[31], U("31"));
}

TEST_F(ChannelFileTest, FilesThatEndEarlyAreRefusedWithTheLine) {
    QByteArray current = ExpectedChannelFile();
    current.chop(current.size() - current.lastIndexOf("\"XX . XX\""));  // fields 0..29 only
    ChannelFileRead read = DecodeChannelFile(current);
    EXPECT_EQ(read.outcome.status, SetDataStatus::EndedEarly);
    EXPECT_EQ(read.outcome.line, 32);
    EXPECT_EQ(read.texts, ChannelTexts{});

    EXPECT_EQ(DecodeChannelFile(QByteArray("\"1\"\r\n\"2\"\r\n")).outcome.status, SetDataStatus::EndedEarly);
    EXPECT_EQ(DecodeChannelFile(QByteArray()).outcome.status, SetDataStatus::EndedEarly);
}

TEST_F(ChannelFileTest, ATextHoldingADoubleQuoteRefusesTheFile) {
    // Another program wrote the unit ab"c as it is: loaded, it would be cut to "ab".
    QByteArray bytes = ExpectedChannelFile();
    const qsizetype unit = bytes.lastIndexOf("\r\n\"") + 2;
    bytes.replace(unit, bytes.size() - unit, "\"ab\"c\"\r\n");
    const ChannelFileRead read = DecodeChannelFile(bytes);
    EXPECT_EQ(read.outcome.status, SetDataStatus::QuoteInFileText);
    EXPECT_EQ(read.outcome.line, 33);
    EXPECT_EQ(read.texts, ChannelTexts{});
    EXPECT_EQ(SetDataOutcomeMessage(read.outcome),
              U("ﾃﾞｰﾀﾌｧｲﾙの文字に「\"」があります。設定値は変更していません。正しいﾌｧｲﾙを選択してください。（33行目）"));
    // Blanks or a comma after the closing quote are no part of the text.
    bytes.replace(unit, bytes.size() - unit, "\"abc\" ,\r\n");
    EXPECT_TRUE(DecodeChannelFile(bytes).outcome.ok());
}

TEST_F(ChannelFileTest, RefusesFilesOfOtherVariantsAndBrokenOrMissingFiles) {
    EXPECT_EQ(DecodeChannelFile(QByteArray(1001, '1')).outcome.status, SetDataStatus::WrongSizeClass);
    QByteArray garbage = ExpectedChannelFile();
    garbage[40] = char(0xFF);
    EXPECT_EQ(DecodeChannelFile(garbage).outcome.status, SetDataStatus::BadEncoding);

    EXPECT_EQ(ReadChannelFile(Path("none.dat")).outcome.status, SetDataStatus::OpenFailed);
    EXPECT_EQ(ReadChannelFile(dir.path()).outcome.status, SetDataStatus::OpenFailed);
    const QString big = Path("big.dat");
    PutFile(big, QByteArray(1500, '\n'));
    EXPECT_EQ(ReadChannelFile(big).outcome.status, SetDataStatus::WrongSizeClass);
}

TEST_F(ChannelFileTest, WriterRefusesTextsThatCouldNotBeReadBackAndKeepsTheOldFile) {
    SetUpTemperatureChannel(inc, 5);
    const QString path = Path("keep.dat");
    PutFile(path, "old");

    ChannelTexts texts = TakeChannelTexts(inc, 5);
    texts[31] = U("in\"");
    SetDataOutcome outcome = WriteChannelFile(path, texts);
    EXPECT_EQ(outcome.status, SetDataStatus::QuoteInText);
    EXPECT_EQ(outcome.index, 31);

    texts[31] = U("µ");
    outcome = WriteChannelFile(path, texts);
    EXPECT_EQ(outcome.status, SetDataStatus::NotEncodable);
    EXPECT_EQ(outcome.index, 31);

    texts[31] = QString(800, u'%');  // would count as a block file and never load back
    EXPECT_EQ(WriteChannelFile(path, texts).status, SetDataStatus::TooLarge);
    EXPECT_EQ(FileBytes(path), QByteArray("old"));

    EXPECT_EQ(WriteChannelFile(Path("no/such/folder/x.dat"), TakeChannelTexts(inc, 5)).status,
              SetDataStatus::OpenFailed);
}

TEST_F(ChannelFileTest, TheLongestOrdinaryChannelFileStaysAChannelFile) {
    ChannelTexts texts;
    texts.fill(U("待機付上下限範囲警報"));  // the longest name the dialog shows
    const ChannelFileBytes encoded = EncodeChannelFile(texts);
    ASSERT_TRUE(encoded.outcome.ok());
    EXPECT_EQ(encoded.bytes.size(), 12 + 32 * 24);
    EXPECT_EQ(DecodeChannelFile(encoded.bytes).texts, texts);
}

}  // namespace
