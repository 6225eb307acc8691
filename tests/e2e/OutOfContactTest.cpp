// A block that stops answering while the program logs: its columns of the PV log are
// empty instead of repeating its last values, and the history says when it went and came
// back.
#include "ProgramRun.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>
#include <gtest/gtest.h>

namespace {

const char kFakeTime[] = "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1";

QStringList LogRecords(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringDecoder cp932("Shift_JIS");
    QStringList lines = QString(cp932.decode(f.readAll())).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    return lines.mid(3);
}

// The 20 fields of block 1 (the second ticked block) in a record of blocks 0 and 1.
QStringList SecondBlockFields(const QString& record) {
    const QStringList fields = record.split(u',');
    return fields.size() == 41 ? fields.mid(21) : QStringList();
}

bool AllEmpty(const QStringList& fields) {
    if (fields.size() != 20) return false;
    for (const QString& f : fields)
        if (f != QStringLiteral("\"\"")) return false;
    return true;
}

bool NoneEmpty(const QStringList& fields) {
    if (fields.size() != 20) return false;
    for (const QString& f : fields)
        if (f == QStringLiteral("\"\"")) return false;
    return true;
}

}  // namespace

TEST(OutOfContact, LogLeavesTheSilentBlockEmptyAndHistoryRecordsBothChanges) {
    if (!QFileInfo::exists(kFakeTime)) GTEST_SKIP() << "faketime is not installed (scripts/setup)";
    ProgramRun run;
    ASSERT_TRUE(run.StartSimulator({"--baud", "0", "--blocks", "0,1"}));
    const QString logPath = run.Home() + "/logging/contact.txt";
    {
        QSettings store(run.Config() + "/TESMAR KORVEX/RDX-410 Monitor.ini", QSettings::IniFormat);
        store.beginGroup("RDX-410 Monitor");
        store.setValue("log_start", "1");
        store.setValue("log_restart", "1");
        store.setValue("log_name", logPath);
        store.setValue("LogBlock0", "1");
        store.setValue("LogBlock1", "1");
        store.setValue("DvtoN02", "乾燥炉");
    }
    // A log record every second of real time.
    run.MonitorExtraEnvironment.insert("LD_PRELOAD", kFakeTime);
    run.MonitorExtraEnvironment.insert("FAKETIME", "+0 x10");
    run.MonitorExtraEnvironment.insert("FAKETIME_DONT_FAKE_MONOTONIC", "1");
    // An instrumented build would refuse a library loaded before its runtime.
    run.MonitorExtraEnvironment.insert("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    ASSERT_TRUE(run.StartMonitor());
    ASSERT_TRUE(ProgramRun::WaitFor([&] {
        const QStringList r = LogRecords(logPath);
        return !r.isEmpty() && NoneEmpty(SecondBlockFields(r.last()));
    }, 20000)) << LogRecords(logPath).join('\n').toStdString();

    run.Control("silent 1");
    ASSERT_TRUE(ProgramRun::WaitFor([&] {
        const QStringList r = LogRecords(logPath);
        return !r.isEmpty() && AllEmpty(SecondBlockFields(r.last()));
    }, 15000)) << LogRecords(logPath).join('\n').toStdString();
    // Block 0 still answers and is logged as before.
    const QStringList frozen = LogRecords(logPath).last().split(u',');
    ASSERT_EQ(frozen.size(), 41);
    for (int i = 1; i <= 20; ++i) EXPECT_NE(frozen[i], "\"\"");
    EXPECT_TRUE(run.HistoryText().contains("\"----\",\"ﾌﾞﾛｯｸ「乾燥炉」のMGU-500から応答がありません。\"\r\n"))
        << run.HistoryText().toStdString();

    run.Control("answer 1");
    EXPECT_TRUE(ProgramRun::WaitFor([&] {
        const QStringList r = LogRecords(logPath);
        return !r.isEmpty() && NoneEmpty(SecondBlockFields(r.last()));
    }, 15000));
    EXPECT_TRUE(run.HistoryText().contains("\"----\",\"ﾌﾞﾛｯｸ「乾燥炉」のMGU-500との通信が回復しました。\"\r\n"));
    EXPECT_TRUE(run.TerminateMonitor());
}
