#include "TestFiles.h"

#include "exchange/RDX_INC.h"
#include "history/AlarmHistory.h"
#include "history/HistoryFile.h"
#include "ToldMessages.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kHeader20070309 =
    "\"RDX-410 Alarm hystory\",\"    Data  : \",\"2007/03/09\"\r\n"
    "\"Time\",\"Channel\",\"Contain\"\r\n";

TEST(HistoryFile, NameWithoutLeadingZerosAndHeader) {
    QTemporaryDir dir;
    const QString path = CreateHistoryFile(dir.path(), At(2007, 3, 9, 8, 5, 59), JapaneseLocale());
    EXPECT_EQ(path, dir.path() + QStringLiteral("/hystory/2007_3_9_8_5.hys"));
    EXPECT_EQ(FileBytes(path), kHeader20070309);
}

TEST(HistoryFile, HeaderDateFollowsLocale) {
    const QByteArray us = HistoryHeaderBytes(QDate(2007, 3, 9), QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(us.startsWith("\"RDX-410 Alarm hystory\",\"    Data  : \",\"3/9/07\"\r\n"));
}

TEST(HistoryFile, SecondStartInSameMinuteKeepsFirstRunsFile) {
    QTemporaryDir dir;
    RDX_INC inc;
    AlarmHistory first(inc);
    first.HistoryFilePath = CreateHistoryFile(dir.path(), At(2007, 3, 9, 8, 5, 1), JapaneseLocale());
    first.Hystory_Write(QStringLiteral("NAK"), 0, 0);
    const QByteArray firstRun = FileBytes(first.HistoryFilePath);
    ASSERT_GT(firstRun.size(), kHeader20070309.size());

    const QString second = CreateHistoryFile(dir.path(), At(2007, 3, 9, 8, 5, 40), JapaneseLocale());
    const QString third = CreateHistoryFile(dir.path(), At(2007, 3, 9, 8, 5, 50), JapaneseLocale());
    EXPECT_EQ(QFileInfo(second).fileName(), QStringLiteral("2007_3_9_8_5-2.hys"));
    EXPECT_EQ(QFileInfo(third).fileName(), QStringLiteral("2007_3_9_8_5-3.hys"));
    EXPECT_EQ(FileBytes(first.HistoryFilePath), firstRun);
    EXPECT_EQ(FileBytes(second), kHeader20070309);
    EXPECT_EQ(FileBytes(third), kHeader20070309);

    // The next minute takes its plain name again.
    const QString later = CreateHistoryFile(dir.path(), At(2007, 3, 9, 8, 6, 0), JapaneseLocale());
    EXPECT_EQ(QFileInfo(later).fileName(), QStringLiteral("2007_3_9_8_6.hys"));
}

TEST(HistoryFile, AThousandStartsInOneMinuteEachGetTheirOwnFile) {
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("hystory"));
    ASSERT_TRUE(QDir().mkpath(folder));
    // Starts 1 to 999 of the minute have taken their names already.
    for (int n = 1; n <= 999; ++n) {
        QFile f(QDir(folder).filePath(n == 1 ? QStringLiteral("2007_3_9_8_5.hys")
                                             : QStringLiteral("2007_3_9_8_5-%1.hys").arg(n)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString thousandth = CreateHistoryFile(dir.path(), At(2007, 3, 9, 8, 5, 59), JapaneseLocale());
    EXPECT_EQ(QFileInfo(thousandth).fileName(), QStringLiteral("2007_3_9_8_5-1000.hys"));
    EXPECT_EQ(FileBytes(thousandth), kHeader20070309);
    // Past a thousand the search ends: the minute's first name, and no further file.
    const QString beyond = CreateHistoryFile(dir.path(), At(2007, 3, 9, 8, 5, 59), JapaneseLocale());
    EXPECT_EQ(QFileInfo(beyond).fileName(), QStringLiteral("2007_3_9_8_5.hys"));
    EXPECT_FALSE(QFileInfo::exists(QDir(folder).filePath(QStringLiteral("2007_3_9_8_5-1001.hys"))));
}

TEST(HistoryFile, UncreatableFileStillNamesThePath) {
    QTemporaryDir dir;
    // A plain file where the folder should be: nothing can be created below it.
    QFile blocker(QDir(dir.path()).filePath(QStringLiteral("hystory")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = CreateHistoryFile(dir.path(), At(2007, 3, 9, 8, 5, 0), JapaneseLocale());
    EXPECT_EQ(path, dir.path() + QStringLiteral("/hystory/2007_3_9_8_5.hys"));
    EXPECT_FALSE(QFileInfo::exists(path));

    RDX_INC inc;
    AlarmHistory history(inc);
    ToldMessages tell;
    history.Messages = &tell;
    history.HistoryFilePath = path;
    history.Hystory_Write(QStringLiteral("NAK"), 0, 0);
    EXPECT_EQ(tell.told.size(), 1);
}

}  // namespace
