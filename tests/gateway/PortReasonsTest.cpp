// Why the gateway cannot use its port, said once when it begins: the device missing (see
// ProgramTest), held by another program (named by its lock file), or not permitted.
#include "GatewayFixture.h"

#include "ProgramRun.h"

#include <QCoreApplication>
#include <QSerialPort>
#include <QStandardPaths>
#include <QThread>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

TEST_F(GatewayFixture, APortAnotherProgramHoldsIsNamedOnceAndPolledOnceItIsFree) {
    StartLine(QStringLiteral("0"));
    QSerialPort other(LinkPath());
    ASSERT_TRUE(other.open(QIODevice::ReadWrite)) << other.errorString().toStdString();
    ASSERT_TRUE(gateway.Start({"--port", LinkPath(), "--no-publish"}));
    const QString busy = QStringLiteral("は他のﾌﾟﾛｸﾞﾗﾑ（%1）が使用中です").arg(QCoreApplication::applicationName());
    ASSERT_TRUE(ProgramRun::WaitFor([&] { return gateway.Count(busy) > 0; }, 10000)) << gateway.Output().toStdString();
    QThread::msleep(2500);
    EXPECT_EQ(gateway.Count(QStringLiteral("使用中")), 1) << gateway.Output().toStdString();
    other.close();
    EXPECT_TRUE(ProgramRun::WaitFor([&] { return gateway.Count(QStringLiteral("起動時の読込みが終わりました")) == 1; }, 15000))
        << gateway.Output().toStdString();
    EXPECT_EQ(gateway.Count(QStringLiteral("応答しません")), 0);
}

// Root may open any device: as root the gateway runs as uid 65534 on a device of the
// serial group, the way a serial adapter's device is set up.
TEST_F(GatewayFixture, ADeviceWithoutPermissionNamesTheGroupToJoin) {
    StartLine(QStringLiteral("0"));
    const QByteArray device = line->slavePath().toLocal8Bit();
    const group* serial = ::getgrnam("dialout");
    const bool root = ::geteuid() == 0;
    if (root) {
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty() || !serial) GTEST_SKIP() << "no setpriv or no dialout group: no ordinary user to run as";
        ASSERT_EQ(::chown(device.constData(), 0, serial->gr_gid), 0);
        ASSERT_EQ(::chmod(device.constData(), 0660), 0);
        // The gateway's own folders become the user's.
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        for (const QString& folder : {dir.filePath("gw"), gateway.Home(), gateway.Config()})
            ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
        gateway.RunAs = {setpriv, "--reuid=65534", "--regid=65534", "--clear-groups"};
    } else {
        ASSERT_EQ(::chmod(device.constData(), 0), 0);
    }
    ASSERT_TRUE(gateway.Start({"--port", line->slavePath(), "--no-publish"}));
    const QString refused = QStringLiteral("（%1）を開く権限がありません").arg(line->slavePath());
    ASSERT_TRUE(ProgramRun::WaitFor([&] { return gateway.Count(refused) > 0; }, 10000)) << gateway.Output().toStdString();
    QThread::msleep(2500);
    EXPECT_EQ(gateway.Count(QStringLiteral("権限がありません")), 1) << gateway.Output().toStdString();
    if (root) {
        EXPECT_EQ(gateway.Count(QStringLiteral("ﾕｰｻﾞｰを dialout ｸﾞﾙｰﾌﾟに加え")), 1);
    }
}
