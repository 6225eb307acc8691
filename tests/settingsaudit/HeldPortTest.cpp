// The program itself: a port another program holds is refused at once with the holder
// named and status 2; once free, the same command saves and then compares equal (0).
#include "GatewayRun.h"
#include "SimLine.h"

#include "gateway/SettingsCommand.h"

#include <QCoreApplication>
#include <QSerialPort>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SettingsProgram, RefusesAHeldPortThenSavesAndComparesOnceItIsFree) {
    QTemporaryDir dir;
    SimLineOptions options;
    options.blocks = QStringLiteral("0,1,2,3:hc,4,5,6,7,8,9,10,11,12,13,14,15");  // none to time out
    options.linkPath = dir.filePath("ttyRDX");
    SimLine line(options);
    ASSERT_TRUE(line.ok()) << line.error().toStdString();
    const QString file = dir.filePath("line.dat");

    QSerialPort other(options.linkPath);
    ASSERT_TRUE(other.open(QIODevice::ReadWrite)) << other.errorString().toStdString();
    GatewayRun held(dir.filePath("held"));
    ASSERT_TRUE(held.Start({"--port", options.linkPath, "--save-settings", file}));
    ASSERT_TRUE(held.WaitForEnd(10000));
    EXPECT_EQ(held.ExitCode(), SettingsNotCompared);
    EXPECT_EQ(held.Count(QStringLiteral("は他のﾌﾟﾛｸﾞﾗﾑ（%1）が使用中です").arg(QCoreApplication::applicationName())), 1)
        << held.Output().toStdString();
    EXPECT_FALSE(QFile::exists(file));
    other.close();

    GatewayRun save(dir.filePath("save"));
    ASSERT_TRUE(save.Start({"--port", options.linkPath, "--save-settings", file}));
    ASSERT_TRUE(save.WaitForEnd(20000));
    EXPECT_EQ(save.ExitCode(), SettingsEqual) << save.Output().toStdString();
    GatewayRun compare(dir.filePath("compare"));
    ASSERT_TRUE(compare.Start({"--port", options.linkPath, "--compare-settings", file}));
    ASSERT_TRUE(compare.WaitForEnd(20000));
    EXPECT_EQ(compare.ExitCode(), SettingsEqual) << compare.Output().toStdString();
    // Neither run wrote anything to the line.
    quint64 writes = 0;
    for (const auto& [key, count] : line.stats.Snapshot())
        if (key.rfind("write.", 0) == 0) writes += count;
    EXPECT_EQ(writes, 0u);
}
