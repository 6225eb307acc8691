#include "ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {

bool StatsSay(const QString& path, const QByteArray& key, quint64* value) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key + "=")) {
            *value = line.mid(key.size() + 1).toULongLong();
            return true;
        }
    return false;
}

}  // namespace

TEST(EndToEnd, MonitorPollsTheLineRecordsAlarmsAndEndsOnSigterm) {
    ProgramRun run;
    ASSERT_TRUE(run.StartSimulator({"--baud", "0", "--time-scale", "20"}));
    ASSERT_TRUE(run.StartMonitor());

    // The start-up read and the first status words bring the demo line's alarms in.
    ASSERT_TRUE(ProgramRun::WaitFor([&] { return run.HistoryText().contains("警報"); }, 30000))
        << run.Monitor().readAll().constData();
    for (const char* sub : {"logging", "hystory", "Setdata"})
        EXPECT_TRUE(QDir(run.Home()).exists(sub)) << sub;
    const QString start = run.HistoryText();
    EXPECT_TRUE(start.startsWith("\"RDX-410 Alarm hystory\",\"    Data  : \",\"")) << start.toStdString();
    EXPECT_TRUE(start.contains("\r\n\"Time\",\"Channel\",\"Contain\"\r\n"));

    // A heater that burns out on channel 5 is reported under that channel's name.
    run.Control("heater-break 5");
    EXPECT_TRUE(ProgramRun::WaitFor(
        [&] { return run.HistoryText().contains("\"Ch005\",\"ﾋｰﾀ断線警報の状態がONになりました。\""); }, 30000))
        << run.HistoryText().toStdString();

    EXPECT_TRUE(run.TerminateMonitor());
    ASSERT_TRUE(run.StopSimulator());
    quint64 requests = 0;
    ASSERT_TRUE(StatsSay(run.StatsPath(), "requests", &requests));
    EXPECT_GT(requests, 100u);
    // One run, one history file, and nothing after the end was cut off mid-line.
    EXPECT_EQ(run.HistoryFiles().size(), 1);
    EXPECT_TRUE(run.HistoryText().endsWith("\r\n"));
    // The line answered to the end: closing the port at the end is no block going silent.
    EXPECT_FALSE(run.HistoryText().contains("応答がありません")) << run.HistoryText().toStdString();
}

TEST(EndToEnd, SecondStartInTheSameMinuteKeepsTheFirstHistory) {
    ProgramRun run;
    ASSERT_TRUE(run.StartSimulator({"--baud", "0", "--time-scale", "20"}));
    ASSERT_TRUE(run.StartMonitor());
    ASSERT_TRUE(ProgramRun::WaitFor([&] { return run.HistoryText().contains("警報"); }, 30000));
    ASSERT_TRUE(run.TerminateMonitor());
    const QStringList first = run.HistoryFiles();
    ASSERT_EQ(first.size(), 1);
    ASSERT_TRUE(run.StartMonitor());
    ASSERT_TRUE(ProgramRun::WaitFor([&] { return run.HistoryFiles().size() == 2; }, 10000));
    EXPECT_TRUE(run.TerminateMonitor());
    const QStringList both = run.HistoryFiles();
    // Either the minute turned over or the second run took the "-2" name; the first
    // run's entries are still there in both cases.
    QFile f(run.Home() + "/hystory/" + first.first());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_GT(f.readAll().count('\n'), 2);
}

TEST(EndToEnd, MonitorComesBackWhenTheLineReturnsOnTheSamePath) {
    ProgramRun run;
    ASSERT_TRUE(run.StartSimulator({"--baud", "0", "--blocks", "0,1"}));
    ASSERT_TRUE(run.StartMonitor());
    ASSERT_TRUE(ProgramRun::WaitFor([&] { return run.SimulatorRequests() > 100; }, 20000));
    // The line goes away (its pseudo-terminal closes) ...
    ASSERT_TRUE(run.StopSimulator());
    const double cpu0 = run.MonitorCpuSeconds();
    QThread::msleep(3000);
    const double cpuGone = run.MonitorCpuSeconds() - cpu0;
    EXPECT_EQ(run.Monitor().state(), QProcess::Running);
    // ... the program neither crashes nor spins while it waits ...
    EXPECT_LT(cpuGone, 0.15) << "CPU seconds in 3 s without the port";
    // ... and polls again once a line answers on the same path.
    ASSERT_TRUE(run.StartSimulator({"--baud", "0", "--blocks", "0,1"}));
    EXPECT_TRUE(ProgramRun::WaitFor([&] { return run.SimulatorRequests() > 100; }, 20000))
        << run.SimulatorCommand("stats").toStdString();
    EXPECT_TRUE(run.TerminateMonitor());
}
