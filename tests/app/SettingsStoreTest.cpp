#include "services/ProgramFolder.h"
#include "services/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

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
    ASSERT_TRUE(QFile::exists(file)) << file.toStdString();
    // Read back as any other reader of the file would: one section, exactly this one,
    // holding the keys as given.
    QSettings ini(file, QSettings::IniFormat);
    EXPECT_EQ(ini.childGroups(), QStringList{QStringLiteral("RDX-410 Monitor")});
    EXPECT_TRUE(ini.childKeys().isEmpty()) << "nothing outside the section";
    ini.beginGroup(QStringLiteral("RDX-410 Monitor"));
    EXPECT_EQ(ini.value(QStringLiteral("Chname320")).toString(), QStringLiteral("炉 ｿﾞｰﾝ3"));
    EXPECT_EQ(ini.value(QStringLiteral("DvtoN01"), QStringLiteral("missing")).toString(), QString());
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
    // The ends of 16 bits are numbers; one beyond either end is not.
    SaveSetting("STLL002", "-32768");
    SaveSetting("STLL003", "-32769");
    SaveSetting("STLH002", "32767");
    SaveSetting("STLH003", "32768");
    EXPECT_EQ(GetSettingInt("STLL002", 0), -32768);
    EXPECT_EQ(GetSettingInt("STLL003", 0), 0);
    EXPECT_EQ(GetSettingInt("STLH002", 0), 32767);
    EXPECT_EQ(GetSettingInt("STLH003", 0), 0);
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

// A program folder copied to a place its user may not write (a read-only share, an install
// owned by root) keeps the data in the per-user folder: the program runs as a copy of this
// test program placed there, and says which folder it chose.
TEST(ProgramFolder, AnExecutablesFolderItsUserCannotWriteIsNotChosen) {
    if (qEnvironmentVariableIsSet("RDX_TEST_SAY_PROGRAM_FOLDER")) {  // the copy, run below
        qunsetenv("RDX410_MONITOR_HOME");  // set by the test main
        std::printf("folder=%s\nwritable=%d\n", qPrintable(ProgramFolder()),
                    int(QFileInfo(QCoreApplication::applicationDirPath()).isWritable()));
        return;
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString installed = dir.filePath("installed");
    ASSERT_TRUE(QDir().mkpath(installed + "/hystory"));
    const QString copy = installed + "/test_app";
    const QByteArray from = QFile::encodeName(QCoreApplication::applicationFilePath());
    if (::link(from.constData(), QFile::encodeName(copy).constData()) != 0) {
        ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), copy));
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                          QFile::ExeOther);
    QFile::setPermissions(installed, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RDX_TEST_SAY_PROGRAM_FOLDER", "1");
    env.insert("XDG_DATA_HOME", dir.filePath("data"));
    env.remove("GTEST_OUTPUT");  // no report file for the copy to write
    run.setProcessEnvironment(env);
    // Root may write anywhere: the copy runs as nobody then.
    if (::geteuid() == 0)
        run.setChildProcessModifier([] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
        });
    run.start(copy, {"--gtest_filter=ProgramFolder.AnExecutablesFolderItsUserCannotWriteIsNotChosen"});
    const bool finished = run.waitForFinished(30000);
    QFile::setPermissions(installed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(finished);
    const QString said = QString::fromLocal8Bit(run.readAllStandardOutput());
    ASSERT_EQ(run.exitCode(), 0) << said.toStdString() << run.readAllStandardError().toStdString();
    ASSERT_TRUE(said.contains("writable=0\n")) << "the copy's folder should be read-only to it: " << said.toStdString();
    const QString chosen = said.section("folder=", 1).section('\n', 0, 0);
    EXPECT_TRUE(chosen.startsWith(dir.filePath("data") + "/")) << chosen.toStdString();
}
