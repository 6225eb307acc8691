#include "TestFiles.h"

#include "services/SettingsStore.h"
#include "history/LocaleText.h"
#include "history/PvLogger.h"
#include "TestClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Stands in for the display formatter: PV in tenths with one decimal.
QString FakePv(const RDX_INC& inc, int ch) { return QString::number(inc.ChPV[ch] / 10.0, 'f', 1); }

class PvLoggerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        logger.Time = &clock;
        logger.Locale = JapaneseLocale();
        path = QDir(dir.path()).filePath(QStringLiteral("log.txt"));
        for (int ch = 0; ch < ChannelCount; ++ch) inc.ChPV[ch] = qint16(ch * 10 + 5);
    }

    int Records() const { return int(FileBytes(path).count('\n')) - 3; }

    QTemporaryDir dir;
    RDX_INC inc;
    TestClock clock{At(2007, 3, 9, 8, 5, 3)};
    PvLogger logger{[this](int ch) { return FakePv(inc, ch); }};
    QString path;
    BlockSelection none{};
};

const QByteArray kLine1 = QByteArray("\"RDX-410 ") +
                          Hex("90 A7 8C E4 93 FC 97 CD 92 6C 28 50 56 29 C3 DE B0 C0") + "\"\r\n";  // 制御入力値(PV)ﾃﾞｰﾀ
const QByteArray kLine2 = QByteArray("\"") + Hex("93 FA 95 74 20 20 3A 20") + "2007/03/09\"\r\n";  // 日付  :
const QByteArray kSaveTime = QByteArray("\"") + Hex("95 DB 91 B6 8E 9E 8A D4") + "\"";              // 保存時間

TEST_F(PvLoggerTest, HeaderWithNoBlockAndNamesCutTo12) {
    EXPECT_EQ(logger.HeaderBytes(none, QDate(2007, 3, 9)), kLine1 + kLine2 + kSaveTime + "\r\n");

    SaveSetting(QStringLiteral("Chname041"), QStringLiteral("PL-Ⅱ～ﾟC゜①ABCDEFG"));
    SaveSetting(QStringLiteral("Chname042"), QStringLiteral("ABCDEFGHIJKL"));
    BlockSelection block3{};
    block3[2] = true;
    QByteArray names = kSaveTime + ",\"" + Hex("50 4C 2D 87 55 81 60 DF 43 81 4B 87 40") + "ABC\",\"ABCDEFGHIJKL\"";
    for (int n = 43; n <= 60; ++n) names += ",\"Ch0" + QByteArray::number(n) + "\"";
    EXPECT_EQ(logger.HeaderBytes(block3, QDate(2007, 3, 9)).toHex(' '), (kLine1 + kLine2 + names + "\r\n").toHex(' '));
    SaveSetting(QStringLiteral("Chname041"), QStringLiteral("Ch041"));
}

TEST_F(PvLoggerTest, HeaderKeepsItsLinesWhateverTheNamesHold) {
    SaveSetting(QStringLiteral("Chname001"), QStringLiteral("Pump A\n"));
    SaveSetting(QStringLiteral("Chname002"), QStringLiteral("A\tB\rC"));
    BlockSelection block1{};
    block1[0] = true;
    const QByteArray header = logger.HeaderBytes(block1, QDate(2007, 3, 9));
    SaveSetting(QStringLiteral("Chname001"), QStringLiteral("Ch001"));
    SaveSetting(QStringLiteral("Chname002"), QStringLiteral("Ch002"));
    EXPECT_EQ(header.count('\n'), 3);
    EXPECT_EQ(header.count('\r'), 3);
    EXPECT_EQ(header.count('\t'), 0);
    EXPECT_TRUE(header.startsWith(kLine1 + kLine2 + kSaveTime + ",\"Pump A \",\"A B C\",\"Ch003\""));
}

TEST_F(PvLoggerTest, RecordWithTwoBlocksAndWithNone) {
    EXPECT_EQ(logger.RecordBytes(none, clock.now), QByteArray("\"2007/03/09 8:05:03\"\r\n"));

    BlockSelection two{};
    two[0] = two[15] = true;
    const QByteArray record = logger.RecordBytes(two, clock.now);
    const QList<QByteArray> fields = record.chopped(2).split(',');
    ASSERT_EQ(fields.size(), 41);
    EXPECT_EQ(fields[1], "\"0.5\"");
    EXPECT_EQ(fields[20], "\"19.5\"");
    EXPECT_EQ(fields[21], "\"300.5\"");  // channel 301, the first of block 16
    EXPECT_EQ(fields[40], "\"319.5\"");
    EXPECT_TRUE(record.endsWith("\"\r\n"));
}

TEST_F(PvLoggerTest, BlockOutOfContactGetsEmptyFieldsAndTheRecordKeepsItsColumns) {
    std::array<bool, BlockCount> out{};
    logger.BlockOutOfContact = [&](int b) { return out[b]; };
    BlockSelection two{};
    two[1] = two[2] = true;
    out[2] = true;  // its last values are frozen in the tables
    QList<QByteArray> fields = logger.RecordBytes(two, clock.now).chopped(2).split(',');
    ASSERT_EQ(fields.size(), 41);
    EXPECT_EQ(fields[1], "\"20.5\"");
    EXPECT_EQ(fields[20], "\"39.5\"");
    for (int i = 21; i <= 40; ++i) EXPECT_EQ(fields[i], "\"\"") << i;
    // It answers again: fresh values again.
    out[2] = false;
    fields = logger.RecordBytes(two, clock.now).chopped(2).split(',');
    EXPECT_EQ(fields[21], "\"40.5\"");
    // A block out of contact that is not ticked changes nothing.
    out[5] = true;
    EXPECT_EQ(logger.RecordBytes(two, clock.now), logger.RecordBytes(two, clock.now));
    EXPECT_EQ(logger.RecordBytes(two, clock.now).count(",\"\""), 0);
}

TEST_F(PvLoggerTest, StartWritesHeaderAndFirstRecord) {
    BlockSelection one{};
    one[0] = true;
    ASSERT_EQ(logger.StartLog(path, false, none, 0), FileWriteResult::Ok);
    EXPECT_EQ(FileBytes(path), kLine1 + kLine2 + kSaveTime + "\r\n\"2007/03/09 8:05:03\"\r\n");
    EXPECT_EQ(logger.LogLastTime, (TimeOfDay{8, 5, 3}));
    EXPECT_EQ(logger.NextLogTime, (TimeOfDay{8, 5, 13}));

    // Resuming into the existing file appends, without a second header.
    clock.now = At(2007, 3, 10, 9, 0, 0);
    ASSERT_EQ(logger.StartLog(path, true, none, 0), FileWriteResult::Ok);
    EXPECT_EQ(FileBytes(path),
              kLine1 + kLine2 + kSaveTime + "\r\n\"2007/03/09 8:05:03\"\r\n\"2007/03/10 9:00:00\"\r\n");

    // Not resuming (the operator agreed to overwrite): a fresh file.
    ASSERT_EQ(logger.StartLog(path, false, none, 0), FileWriteResult::Ok);
    EXPECT_EQ(FileBytes(path).count('\n'), 4);
}

TEST_F(PvLoggerTest, ResumeIntoMissingFileWritesHeader) {
    ASSERT_EQ(logger.StartLog(path, true, none, 0), FileWriteResult::Ok);
    EXPECT_TRUE(FileBytes(path).startsWith(kLine1 + kLine2));
}

TEST_F(PvLoggerTest, IntervalListAndCarry) {
    EXPECT_EQ(AddTimeOfDay({23, 59, 55}, {0, 0, 10}), (TimeOfDay{0, 0, 5}));
    EXPECT_EQ(AddTimeOfDay({8, 59, 30}, {0, 30, 30}), (TimeOfDay{9, 30, 0}));
    EXPECT_EQ(AddTimeOfDay({23, 30, 0}, {1, 0, 0}), (TimeOfDay{0, 30, 0}));

    clock.now = At(2007, 3, 9, 23, 59, 55);
    EXPECT_EQ(logger.ScheduleNextLog(0), 0);
    EXPECT_EQ(logger.NextLogTime, (TimeOfDay{0, 0, 5}));
    EXPECT_EQ(logger.ScheduleNextLog(7), 7);
    EXPECT_EQ(logger.LogInterval, (TimeOfDay{1, 0, 0}));
    EXPECT_EQ(logger.ScheduleNextLog(3), 3);
    EXPECT_EQ(logger.LogInterval, (TimeOfDay{0, 5, 0}));
    // The list's eight intervals, in order.
    const TimeOfDay intervals[] = {{0, 0, 10}, {0, 0, 30}, {0, 1, 0},  {0, 5, 0},
                                   {0, 10, 0}, {0, 15, 0}, {0, 30, 0}, {1, 0, 0}};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(logger.ScheduleNextLog(i), i);
        EXPECT_EQ(logger.LogInterval, intervals[i]) << i;
    }
    // An index outside the list falls back to the first entry.
    EXPECT_EQ(logger.ScheduleNextLog(8), 0);
    EXPECT_EQ(logger.LogInterval, (TimeOfDay{0, 0, 10}));
    EXPECT_EQ(logger.ScheduleNextLog(-1), 0);
}

TEST_F(PvLoggerTest, TicksWriteOnScheduleAcrossMidnight) {
    clock.now = At(2007, 3, 9, 23, 59, 55);
    ASSERT_EQ(logger.StartLog(path, false, none, 0), FileWriteResult::Ok);
    clock.now = At(2007, 3, 10, 0, 0, 4);
    EXPECT_EQ(logger.LogTick(path, none), PvLogger::TickResult::NotDue);
    clock.now = QDateTime(QDate(2007, 3, 10), QTime(0, 0, 5, 400));
    EXPECT_EQ(logger.LogTick(path, none), PvLogger::TickResult::Written);
    EXPECT_EQ(logger.LogTick(path, none), PvLogger::TickResult::NotDue);  // next 200 ms tick, same second
    EXPECT_EQ(logger.NextLogTime, (TimeOfDay{0, 0, 15}));
    EXPECT_TRUE(FileBytes(path).endsWith("\"2007/03/10 0:00:05\"\r\n"));
    EXPECT_EQ(Records(), 2);
}

TEST_F(PvLoggerTest, LateTickWritesAtOnceAndKeepsInterval) {
    ASSERT_EQ(logger.StartLog(path, false, none, 0), FileWriteResult::Ok);  // 8:05:03, next 8:05:13
    clock.now = At(2007, 3, 9, 8, 5, 15);  // the line held the program through 8:05:13
    EXPECT_EQ(logger.LogTick(path, none), PvLogger::TickResult::Written);
    EXPECT_EQ(logger.NextLogTime, (TimeOfDay{8, 5, 23}));
    EXPECT_TRUE(FileBytes(path).endsWith("\"2007/03/09 8:05:15\"\r\n"));

    // Several intervals lost (a re-read after the port came back held the program): each
    // gets a record with empty fields at its time, then one sample now; the grid goes on.
    BlockSelection block2{};
    block2[1] = true;
    clock.now = At(2007, 3, 9, 8, 5, 54);
    EXPECT_EQ(logger.LogTick(path, block2), PvLogger::TickResult::Written);
    EXPECT_EQ(logger.NextLogTime, (TimeOfDay{8, 6, 3}));
    ASSERT_EQ(Records(), 6);
    const QList<QByteArray> lines = FileBytes(path).split('\n');
    const QByteArray blanks = QByteArray(",\"\"").repeated(ChannelsPerBlock) + "\r";
    EXPECT_EQ(lines[5], "\"2007/03/09 8:05:23\"" + blanks);
    EXPECT_EQ(lines[6], "\"2007/03/09 8:05:33\"" + blanks);
    EXPECT_EQ(lines[7], "\"2007/03/09 8:05:43\"" + blanks);
    EXPECT_TRUE(lines[8].startsWith("\"2007/03/09 8:05:54\",\"20.5\""));
}

TEST_F(PvLoggerTest, ClockSetBackWaitsOneIntervalOnly) {
    ASSERT_EQ(logger.StartLog(path, false, none, 2), FileWriteResult::Ok);  // next 8:06:03
    clock.now = At(2007, 3, 9, 7, 5, 3);
    EXPECT_EQ(logger.LogTick(path, none), PvLogger::TickResult::NotDue);
    EXPECT_EQ(logger.NextLogTime, (TimeOfDay{7, 6, 3}));
    clock.now = At(2007, 3, 9, 7, 6, 3);
    EXPECT_EQ(logger.LogTick(path, none), PvLogger::TickResult::Written);
}

TEST_F(PvLoggerTest, TickFailureReschedulesFromNowAndLoggingGoesOn) {
    ASSERT_EQ(logger.StartLog(path, false, none, 0), FileWriteResult::Ok);
    const QString elsewhere = QDir(dir.path()).filePath(QStringLiteral("gone/log.txt"));
    clock.now = At(2007, 3, 9, 8, 5, 20);
    EXPECT_EQ(logger.LogTick(elsewhere, none), PvLogger::TickResult::Failed);
    EXPECT_EQ(logger.NextLogTime, (TimeOfDay{8, 5, 30}));
    clock.now = At(2007, 3, 9, 8, 5, 30);
    EXPECT_EQ(logger.LogTick(path, none), PvLogger::TickResult::Written);
}

TEST_F(PvLoggerTest, StartFailures) {
    EXPECT_EQ(logger.StartLog(QString(), false, none, 0), FileWriteResult::Failed);
    EXPECT_EQ(logger.LogTick(path, none), PvLogger::TickResult::NotDue);  // never scheduled
    EXPECT_EQ(logger.StartLog(QDir(dir.path()).filePath(QStringLiteral("gone/x.txt")), false, none, 0),
              FileWriteResult::Failed);
}

TEST_F(PvLoggerTest, ReadOnlyFileIsRefused) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    ASSERT_EQ(logger.StartLog(path, false, none, 0), FileWriteResult::Ok);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    const QByteArray before = FileBytes(path);
    EXPECT_EQ(logger.StartLog(path, true, none, 0), FileWriteResult::PermissionDenied);
    EXPECT_EQ(FileBytes(path), before);
}

// A full disk fails the log, never passes for a written one, and the operator is told of
// it as of a refused file (a missing name or folder the dialog has refused already).
TEST_F(PvLoggerTest, AFullDiskFailsTheLogAndIsToldLikeARefusedFile) {
    if (!QFile::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full on this machine";
    EXPECT_EQ(logger.StartLog(QStringLiteral("/dev/full"), false, none, 0), FileWriteResult::WriteFailed);
    for (FileWriteResult told : {FileWriteResult::WriteFailed, FileWriteResult::PermissionDenied})
        EXPECT_TRUE(OperatorShouldBeTold(told)) << int(told);
    for (FileWriteResult quiet : {FileWriteResult::Ok, FileWriteResult::Failed})
        EXPECT_FALSE(OperatorShouldBeTold(quiet)) << int(quiet);
}

TEST(LogFileName, FromTimeWithoutLeadingZeros) {
    QTemporaryDir dir;
    EXPECT_EQ(NewLogFileName(dir.path(), At(2007, 3, 9, 8, 5, 3)), dir.path() + QStringLiteral("/logging/2007_3_9_8_5_3.txt"));
    EXPECT_EQ(QDir::currentPath(), QDir(dir.path()).canonicalPath());
}

TEST(LocaleTimeText, SecondsAddedToShortForm) {
    EXPECT_EQ(DefaultTimeText(JapaneseLocale(), QTime(8, 5, 3)), QStringLiteral("8:05:03"));
    EXPECT_EQ(DefaultTimeText(QLocale(QLocale::English, QLocale::UnitedStates), QTime(20, 5, 3)),
              QStringLiteral("8:05:03 PM"));
}

}  // namespace
