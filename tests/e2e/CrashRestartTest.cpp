// The program killed (SIGKILL) at random moments while it logs PVs and records alarms,
// and started again each time on the same line: its files stay whole, its settings store
// keeps its keys, and it talks to the line again at once.
#include "ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QStringDecoder>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const char kGroup[] = "RDX-410 Monitor";
const char kFakeTime[] = "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1";

QString SettingsPath(const ProgramRun& run) {
    return run.Config() + "/TESMAR KORVEX/RDX-410 Monitor.ini";
}

// Whole code page 932 text in CR LF lines: decodes without error, no bare CR or LF, and
// nothing after the last line end (a line cut off by the kill would show there).
::testing::AssertionResult WholeCp932Lines(const QString& path, QStringList* lines = nullptr) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return ::testing::AssertionFailure() << "cannot read " << path.toStdString();
    const QByteArray bytes = f.readAll();
    QStringDecoder cp932("Shift_JIS", QStringConverter::Flag::Stateless);
    const QString text = cp932.decode(bytes);
    if (cp932.hasError()) return ::testing::AssertionFailure() << path.toStdString() << " is not code page 932";
    if (!bytes.isEmpty() && !bytes.endsWith("\r\n"))
        return ::testing::AssertionFailure() << path.toStdString() << " ends inside a line: "
                                             << bytes.right(60).toStdString();
    const QByteArray stripped = QByteArray(bytes).replace("\r\n", "");
    if (stripped.contains('\r') || stripped.contains('\n'))
        return ::testing::AssertionFailure() << path.toStdString() << " has a bare CR or LF";
    if (lines) *lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    return ::testing::AssertionSuccess();
}

// Quoted fields of one line written by the program (no field holds a quote here).
int FieldCount(const QString& line) { return int(line.count(u'"') / 2); }

}  // namespace

TEST(CrashRestart, KilledAtRandomMomentsTheProgramKeepsItsFilesAndTalksAgainEachTime) {
    ProgramRun run;
    // The demo line with alarms that come and go, answering at once.
    ASSERT_TRUE(run.StartSimulator({"--baud", "0", "--time-scale", "40"}));
    const QString logPath = run.Home() + "/logging/crash.txt";
    {
        QSettings store(SettingsPath(run), QSettings::IniFormat);
        store.beginGroup(kGroup);
        // Logging of blocks 1 and 2 runs and resumes into the same file at every start.
        store.setValue("log_start", "1");
        store.setValue("log_restart", "1");
        store.setValue("log_name", logPath);
        store.setValue("Logtim", "0");
        store.setValue("LogBlock0", "1");
        store.setValue("LogBlock1", "1");
        store.setValue("DvtoN01", "第1炉");
        store.endGroup();
    }
    // Ten seconds of the program's wall clock pass in one: a log record every second.
    if (QFileInfo::exists(kFakeTime)) {
        run.MonitorExtraEnvironment.insert("LD_PRELOAD", kFakeTime);
        run.MonitorExtraEnvironment.insert("FAKETIME", "+0 x10");
        run.MonitorExtraEnvironment.insert("FAKETIME_DONT_FAKE_MONOTONIC", "1");
        // An instrumented build would refuse a library loaded before its runtime.
        run.MonitorExtraEnvironment.insert("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    } else {
        RecordProperty("faketime", "missing: one log record per start and every 10 s");
    }

    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE("seed " + std::to_string(seed));
    QRandomGenerator random(seed);
#ifdef __SANITIZE_ADDRESS__
    constexpr int kRuns = 5;  // an instrumented program starts slower
#else
    constexpr int kRuns = 8;
#endif
    for (int runIndex = 0; runIndex < kRuns; ++runIndex) {
        SCOPED_TRACE("start " + std::to_string(runIndex + 1));
        const quint64 before = run.SimulatorRequests();
        ASSERT_TRUE(run.StartMonitor());
        // Polling resumes: the start-up read and then the monitoring requests reach the line.
        ASSERT_TRUE(ProgramRun::WaitFor([&] { return run.SimulatorRequests() > before + 250; }, 20000))
            << run.Monitor().readAll().constData();
        // Every third run dies right after start-up; the others while logging a while.
        const int lifeMs = runIndex % 3 == 2 ? int(random.bounded(150)) : 300 + int(random.bounded(1500));
        QThread::msleep(lifeMs);
        run.Monitor().kill();
        ASSERT_TRUE(run.Monitor().waitForFinished(5000));
        ASSERT_EQ(run.Monitor().exitStatus(), QProcess::CrashExit);

        for (const QString& name : run.HistoryFiles())
            EXPECT_TRUE(WholeCp932Lines(run.Home() + "/hystory/" + name));
        QStringList logLines;
        ASSERT_TRUE(WholeCp932Lines(logPath, &logLines));
        ASSERT_GE(logLines.size(), 4);
        EXPECT_EQ(FieldCount(logLines[2]), 41);  // "保存時間" and 40 channel names
        for (int i = 3; i < logLines.size(); ++i) EXPECT_EQ(FieldCount(logLines[i]), 41) << logLines[i].toStdString();

        QSettings store(SettingsPath(run), QSettings::IniFormat);
        EXPECT_EQ(store.status(), QSettings::NoError);
        store.beginGroup(kGroup);
        EXPECT_EQ(store.value("log_start").toString(), "1");
        EXPECT_EQ(store.value("log_name").toString(), logPath);
        EXPECT_EQ(store.value("DvtoN01").toString(), "第1炉");
        EXPECT_EQ(store.value("LogBlock1").toString(), "1");
    }

    // Something was recorded along the way: alarms in the history, records in the log.
    int alarmLines = 0;
    for (const QString& name : run.HistoryFiles()) {
        QStringList lines;
        ASSERT_TRUE(WholeCp932Lines(run.Home() + "/hystory/" + name, &lines));
        for (const QString& l : lines) alarmLines += l.contains(QStringLiteral("警報"));
    }
    EXPECT_GT(alarmLines, kRuns);
    QStringList logLines;
    ASSERT_TRUE(WholeCp932Lines(logPath, &logLines));
    EXPECT_GE(logLines.size() - 3, kRuns);
    // One last start, ended in order, still finds everything as it should be.
    const quint64 before = run.SimulatorRequests();
    ASSERT_TRUE(run.StartMonitor());
    EXPECT_TRUE(ProgramRun::WaitFor([&] { return run.SimulatorRequests() > before + 250; }, 20000));
    EXPECT_TRUE(run.TerminateMonitor());
}
