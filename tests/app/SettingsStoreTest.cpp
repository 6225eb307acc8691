#include "services/ProgramFolder.h"
#include "services/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SettingsStore, MissingKeysYieldDefaultsWithoutCreatingThem) {
    EXPECT_EQ(GetSetting("Port", "COM1"), "COM1");
    EXPECT_EQ(GetSetting("DvtoN16", "Block16"), "Block16");
    EXPECT_EQ(GetSettingInt("STLH007", 10000), 10000);
    EXPECT_FALSE(GetSettingFlag("log_start"));
    // The read did not create the key: a different default still comes back.
    EXPECT_EQ(GetSetting("Port", "COM2"), "COM2");
}

TEST(SettingsStore, ValuesPersistUnderTheApplicationAndSection) {
    SaveSetting("Chname320", "炉 ｿﾞｰﾝ3");
    SaveSetting("DvtoN01", "");
    EXPECT_EQ(GetSetting("Chname320", "Ch320"), "炉 ｿﾞｰﾝ3");
    // An empty name is a stored value, not a missing key.
    EXPECT_EQ(GetSetting("DvtoN01", "Block01"), "");
    FlushSettings();
    const QString file = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         "/TESMAR KORVEX/RDX-410 Monitor.ini";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("RDX-410")) << text.constData();
    EXPECT_TRUE(text.contains("Chname320"));
}

TEST(SettingsStore, UnreadableNumbersFallBackToTheKeyDefault) {
    SaveSetting("STLL001", "abc");
    SaveSetting("DP001", "99999");
    SaveSetting("Logtim", " 3");
    SaveSetting("STLH001", "-250");
    EXPECT_EQ(GetSettingInt("STLL001", 0), 0);
    EXPECT_EQ(GetSettingInt("DP001", 100), 100);  // does not fit 16 bits
    EXPECT_EQ(GetSettingInt("Logtim", 0), 3);
    EXPECT_EQ(GetSettingInt("STLH001", 10000), -250);
}

TEST(SettingsStore, StartFlagsAreNumbersComparedWithOne) {
    SaveSetting("log_start", "1");
    SaveSetting("Chart_start", "1.0");
    SaveSetting("log_restart", "yes");
    EXPECT_TRUE(GetSettingFlag("log_start"));
    EXPECT_TRUE(GetSettingFlag("Chart_start"));
    EXPECT_FALSE(GetSettingFlag("log_restart"));
    SaveSetting("log_start", "0");
    EXPECT_FALSE(GetSettingFlag("log_start"));
}

TEST(ProgramFolder, EnvironmentChoosesTheFolderAndTheThreeSubfoldersAreMade) {
    QTemporaryDir dir;
    const QString home = dir.path() + "/plant";
    qputenv("RDX410_MONITOR_HOME", home.toLocal8Bit());
    EXPECT_EQ(ProgramFolder(), home);
    PrepareProgramFolders(ProgramFolder());
    for (const char* sub : {"logging", "hystory", "Setdata"})
        EXPECT_TRUE(QDir(home).exists(sub)) << sub;
    qunsetenv("RDX410_MONITOR_HOME");
}

// Run from the build tree the program keeps its folders next to itself, as before; an
// installed one (no "hystory" beside it, no build tree) uses the per-user data folder,
// which scripts/test-package checks on the installed package.
TEST(ProgramFolder, TheBuildTreeKeepsTheExecutablesFolder) {
    qunsetenv("RDX410_MONITOR_HOME");
    EXPECT_EQ(ProgramFolder(), QCoreApplication::applicationDirPath());
}
