#include "FakeView.h"
#include "SimLine.h"
#include "SmallDisk.h"

#include "services/SettingsStore.h"
#include "exchange/PollEngine.h"
#include "history/AlarmHistory.h"
#include "services/Cp932File.h"
#include "history/LoggingView.h"
#include "history/PvLogger.h"
#include "ToldMessages.h"
#include "TestClock.h"

#include <QFile>
#include <QFileInfo>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A small file system hands out whole pages: a short line still fits into the slack of
// the file's last page. Pads the file with one line to a page boundary, so the next line
// needs space the disk no longer has.
void PadToPage(const QString& path) {
    const qint64 size = QFileInfo(path).size();
    qint64 pad = (4096 - size % 4096) % 4096;
    if (pad == 0) return;
    if (pad < 4) pad += 4096;
    AppendToFile(path, "\"" + QByteArray(pad - 4, '-') + "\"\r\n");
}

}  // namespace

TEST(FullDisk, AFailedAppendIsTakenBackAndTheNextLineIsWhole) {
    SmallDisk disk(64);
    if (!disk.mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
    const QString file = disk.path() + "/run.hys";
    ASSERT_EQ(WriteNewFile(file, "\"head\"\r\n"), FileWriteResult::Ok);
    ASSERT_TRUE(disk.FillLeaving(0));
    // Whatever fits of a long line is taken back; the file is as it was.
    EXPECT_EQ(AppendToFile(file, QByteArray(9000, 'a') + "\r\n"), FileWriteResult::WriteFailed);
    EXPECT_EQ(Read(file), "\"head\"\r\n");
    QFile::remove(disk.path() + "/filler");
    EXPECT_EQ(AppendToFile(file, "\"next\"\r\n"), FileWriteResult::Ok);
    EXPECT_EQ(Read(file), "\"head\"\r\n\"next\"\r\n");
    // /dev/full refuses every byte the same way.
    EXPECT_EQ(AppendToFile("/dev/full", "x\r\n"), FileWriteResult::WriteFailed);
    EXPECT_TRUE(OperatorShouldBeTold(FileWriteResult::WriteFailed));
}

// A written file is no news: only a refused file or a full disk reaches the operator; a
// missing folder has its own handling where it occurs.
TEST(WriteResults, OnlyARefusedFileOrAFullDiskIsToldToTheOperator) {
    QTemporaryDir dir;
    const FileWriteResult written = WriteNewFile(dir.path() + "/run.hys", "\"head\"\r\n");
    ASSERT_EQ(written, FileWriteResult::Ok);
    EXPECT_FALSE(OperatorShouldBeTold(written));
    const FileWriteResult appended = AppendToFile(dir.path() + "/run.hys", "\"next\"\r\n");
    ASSERT_EQ(appended, FileWriteResult::Ok);
    EXPECT_FALSE(OperatorShouldBeTold(appended));
    const FileWriteResult noFolder = WriteNewFile(dir.path() + "/missing/run.hys", "x\r\n");
    ASSERT_EQ(noFolder, FileWriteResult::Failed);
    EXPECT_FALSE(OperatorShouldBeTold(noFolder));
    const FileWriteResult full = AppendToFile("/dev/full", "x\r\n");
    ASSERT_EQ(full, FileWriteResult::WriteFailed);
    EXPECT_TRUE(OperatorShouldBeTold(full));
    EXPECT_TRUE(OperatorShouldBeTold(FileWriteResult::PermissionDenied));
}

class BadHistoryFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RDX_INC d;
    AlarmHistory history{d};
    ToldMessages tell;
    QStringList& told = tell.told;

    void SetUp() override {
        history.HistoryFilePath = dir.path() + "/run.hys";
        history.Messages = &tell;
        history.Hystory_Write("NAK", 0, 0);
        ASSERT_TRUE(told.isEmpty());
    }
};

TEST_F(BadHistoryFile, ReadOnlyFileGivesTheMessageAndKeepsTheEntry) {
    const QByteArray before = Read(history.HistoryFilePath);
    if (!MakeReadOnly(history.HistoryFilePath)) GTEST_SKIP() << "cannot make a file read-only here";
    history.Hystory_Write("CHKSUM", 0, 0);
    MakeWritable(history.HistoryFilePath);
    EXPECT_EQ(told, QStringList{HistoryWriteFailedMessage});
    EXPECT_EQ(Read(history.HistoryFilePath), before);
    EXPECT_EQ(history.HistoryBuffer[1][3], "ﾁｪｯｸｻﾑｴﾗｰが発生しました。");
    EXPECT_EQ(history.HistoryRow, 3);
}

TEST_F(BadHistoryFile, FullDiskGivesTheMessageAndDamagesNothing) {
    SmallDisk disk(64);
    if (!disk.mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
    history.HistoryFilePath = disk.path() + "/run.hys";
    history.Hystory_Write("NAK", 0, 0);
    const QByteArray entry = Read(history.HistoryFilePath);
    PadToPage(history.HistoryFilePath);
    const QByteArray before = Read(history.HistoryFilePath);
    ASSERT_TRUE(disk.FillLeaving(0));
    for (int i = 0; i < 3; ++i) history.Hystory_Write("CHKSUM", 0, 0);
    EXPECT_EQ(told.size(), 3);
    EXPECT_EQ(Read(history.HistoryFilePath), before);
    EXPECT_EQ(history.HistoryRow, 6);
    QFile::remove(disk.path() + "/filler");
    history.Hystory_Write("NAK", 0, 0);
    EXPECT_EQ(Read(history.HistoryFilePath), before + entry);
}

TEST(BadLogFile, FullDiskDuringLoggingTellsTheOperatorAndLoggingGoesOn) {
    SmallDisk disk(64);
    if (!disk.mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
    TestClock clock{QDateTime(QDate(2007, 3, 9), QTime(8, 5, 0))};
    LoggingView view([](int ch) { return QString::number(ch); }, disk.path());
    QStringList told;
    view.ShowMessage = [&](const QString& t) { told << t; };
    ToldMessages ticks;
    view.TickMessages = &ticks;
    view.AskYesNo = [](const QString&) { return true; };
    view.Logger.Time = &clock;
    view.Savename_text->setText(disk.path() + "/pv.txt");
    view.log_Check1[0]->setChecked(true);
    view.Command1_Click(0);
    ASSERT_TRUE(view.IsLogging());
    PadToPage(disk.path() + "/pv.txt");
    const QByteArray before = Read(disk.path() + "/pv.txt");
    ASSERT_TRUE(disk.FillLeaving(0));
    clock.now = clock.now.addSecs(10);
    view.Timer1_Timer();
    // Told without waiting: a box per tick would stack.
    EXPECT_TRUE(told.isEmpty());
    EXPECT_EQ(ticks.told, QStringList{LogWriteFailedMessage});
    EXPECT_TRUE(view.IsLogging());
    EXPECT_EQ(Read(disk.path() + "/pv.txt"), before);
    QFile::remove(disk.path() + "/filler");
    // The next sample comes one interval after the failure, whole.
    clock.now = clock.now.addSecs(10);
    view.Timer1_Timer();
    const QByteArray after = Read(disk.path() + "/pv.txt");
    EXPECT_TRUE(after.startsWith(before));
    EXPECT_TRUE(after.endsWith("\r\n"));
    EXPECT_EQ(after.count("\r\n"), before.count("\r\n") + 1);
}

TEST(BadLogFile, StartOnAFullDiskTellsTheOperatorAndDoesNotClaimToRun) {
    LoggingView view([](int) { return QString(); }, QDir::tempPath());
    QStringList told;
    view.ShowMessage = [&](const QString& t) { told << t; };
    view.AskYesNo = [](const QString&) { return true; };  // "overwrite it?" yes
    view.Savename_text->setText("/dev/full");
    SaveSetting("log_start", "0");
    view.Command1_Click(0);
    EXPECT_FALSE(view.IsLogging());
    EXPECT_EQ(told, QStringList{LogWriteFailedMessage});
    EXPECT_EQ(GetSetting("log_start", ""), "0");
}

TEST(BadHistoryFileWhilePolling, TheEngineKeepsPolling) {
    QTemporaryDir dir;
    SimLineOptions options;
    options.blocks = "0";
    SimLine line(options);
    ASSERT_TRUE(line.ok());
    RDX_INC d;
    d.FillItemCodes();
    FakeView view;
    AlarmHistory history(d);
    ToldMessages tell;
    history.Messages = &tell;
    history.HistoryFilePath = "/dev/full";
    d.AlarmCheckHook = [&](int ch) { history.AlarmChk(ch); };
    PollEngine engine(d, line.link(), view);
    engine.HystoryWrite = [&](const QString& c, int ch, int s) { history.Hystory_Write(c, ch, s); };
    line.link().setEventsCheck(true);
    ASSERT_EQ(engine.ApplyPortSettings(), "ok");
    engine.RestartStartupRead();
    engine.Timer4_Timer();
    line.Locked([](rdxsim::LineModel& m) {
        for (int ch = 0; ch < 20; ++ch) m.SetSensorFault(ch, rdxsim::SensorFault::Open);
        return 0;
    });
    line.link().take();
    for (int i = 0; i < 30; ++i) {
        line.clock.Advance(1);
        engine.Timer4_Timer();
    }
    EXPECT_GT(tell.told.size(), 0);
    EXPECT_EQ(line.link().take().size(), 30u);
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
}
