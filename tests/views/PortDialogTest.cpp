#include "app/PortDevice.h"
#include "services/PortFailureText.h"
#include "services/SettingsStore.h"
#include "app/SubDisp_comm.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

class PortDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        SaveSetting(QStringLiteral("PortDevice1"), QString());
        SaveSetting(QStringLiteral("PortDevice2"), QString());
        dialog.DeviceAccess = [](const QString&) { return 0; };
        d.LinkFailed = true;
    }
    RDX_INC d;
    SubDisp_comm dialog{d};
};

TEST_F(PortDialogTest, EachPortShowsItsStoredDeviceOrTheDefault) {
    SaveSetting(QStringLiteral("PortDevice2"), QStringLiteral("/dev/ttyUSB0"));
    dialog.ShowWith(QStringLiteral("COM1"), QStringLiteral("9600"));
    EXPECT_EQ(dialog.Combo_Device->currentText(), QStringLiteral("/dev/ttyS0"));
    dialog.Combo_Port->setCurrentIndex(1);
    EXPECT_EQ(dialog.Combo_Device->currentText(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_TRUE(dialog.Combo_Device->isEditable());
}

TEST_F(PortDialogTest, EscapeAndTheCloseBoxLeaveTheDialogUpUntilOkOrForcedEnd) {
    dialog.ShowWith(QStringLiteral("COM1"), QStringLiteral("9600"));
    dialog.activateWindow();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    // Nothing was decided: the line is not retried and the program does not end ...
    EXPECT_TRUE(d.LinkFailed);
    EXPECT_FALSE(d.EndRequested);
    // ... and the message line says which button does what.
    EXPECT_TRUE(dialog.Label_msg->text().contains(QStringLiteral("強制終了")));
    dialog.Command1->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(d.LinkFailed);
}

TEST_F(PortDialogTest, OkStoresTheDeviceOfTheChosenPort) {
    dialog.ShowWith(QStringLiteral("COM2"), QStringLiteral("19200"));
    dialog.Combo_Device->setEditText(QStringLiteral(" /dev/ttyUSB1 "));
    dialog.Command1->click();
    EXPECT_EQ(GetSetting(QStringLiteral("Port"), QString()), QStringLiteral("COM2"));
    EXPECT_EQ(GetSetting(QStringLiteral("Speed"), QString()), QStringLiteral("19200"));
    EXPECT_EQ(GetSetting(QStringLiteral("PortDevice2"), QStringLiteral("<none>")), QStringLiteral("/dev/ttyUSB1"));
    EXPECT_EQ(GetSetting(QStringLiteral("PortDevice1"), QStringLiteral("<none>")), QString());
    EXPECT_FALSE(d.LinkFailed);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(PortDialogTest, DeviceWithoutPermissionSaysWhichGroupToJoinAndIsNotRetried) {
    dialog.DeviceAccess = [](const QString& device) { return device == u"/dev/ttyUSB0" ? EACCES : 0; };
    SaveSetting(QStringLiteral("Port"), QStringLiteral("COM1"));
    dialog.ShowWith(QStringLiteral("COM2"), QStringLiteral("9600"));
    EXPECT_FALSE(dialog.Label_msg->text().contains(QStringLiteral("権限")));
    dialog.Combo_Device->setEditText(QStringLiteral("/dev/ttyUSB0"));
    EXPECT_TRUE(dialog.Label_msg->text().contains(QStringLiteral("（/dev/ttyUSB0）を開く権限がありません")));
    EXPECT_TRUE(dialog.Label_msg->text().contains(QStringLiteral("dialout ｸﾞﾙｰﾌﾟ")));
    dialog.Command1->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(d.LinkFailed);
    EXPECT_EQ(GetSetting(QStringLiteral("Port"), QString()), QStringLiteral("COM1"));
    EXPECT_EQ(GetSetting(QStringLiteral("PortDevice2"), QStringLiteral("<none>")), QString());
    // Another device clears the message and OK goes through.
    dialog.Combo_Device->setEditText(QStringLiteral("/dev/ttyS1"));
    EXPECT_TRUE(dialog.Label_msg->text().isEmpty());
    dialog.Command1->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(GetSetting(QStringLiteral("PortDevice2"), QString()), QStringLiteral("/dev/ttyS1"));
}

TEST_F(PortDialogTest, MissingDeviceIsReportedButStillTried) {
    dialog.DeviceAccess = [](const QString&) { return ENOENT; };
    dialog.ShowWith(QStringLiteral("COM1"), QStringLiteral("9600"));
    dialog.Combo_Device->setEditText(QStringLiteral("/dev/ttyS1"));
    EXPECT_TRUE(dialog.Label_msg->text().startsWith(QStringLiteral("ﾎﾟｰﾄ COM1（/dev/ttyS1）が見つかりません。")));
    dialog.Command1->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(d.LinkFailed);
}

TEST_F(PortDialogTest, WhyTheLinkFailedIsShownAndStaysWhenTheOperatorIsToldHowToGoOn) {
    dialog.ShowWith(QStringLiteral("COM1"), QStringLiteral("9600"),
                    {OpenFailure::Busy, QStringLiteral("/dev/ttyUSB0"), QStringLiteral("minicom"), {}});
    EXPECT_TRUE(dialog.Label_msg->text().contains(QStringLiteral("（/dev/ttyUSB0）は他のﾌﾟﾛｸﾞﾗﾑ（minicom）が使用中です")));
    dialog.activateWindow();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.Label_msg->text().contains(QStringLiteral("minicom")));
    EXPECT_TRUE(dialog.Label_msg->text().contains(QStringLiteral("強制終了")));
    // The port opened, but nothing answered.
    dialog.ShowWith(QStringLiteral("COM1"), QStringLiteral("19200"), {});
    EXPECT_TRUE(dialog.Label_msg->text().contains(QStringLiteral("19200bps でMGU-500が応答しません")));
}

TEST_F(PortDialogTest, EnvironmentOverrideIsShownAndNotStored) {
    qputenv("TESMARCOMM_COM2", "/dev/pts/9");
    dialog.ShowWith(QStringLiteral("COM2"), QStringLiteral("9600"));
    EXPECT_EQ(dialog.Combo_Device->currentText(), QStringLiteral("/dev/pts/9"));
    EXPECT_FALSE(dialog.Combo_Device->isEnabled());
    dialog.Command1->click();
    qunsetenv("TESMARCOMM_COM2");
    EXPECT_EQ(GetSetting(QStringLiteral("PortDevice2"), QStringLiteral("<none>")), QString());
}

TEST(PortDevice, KeysDefaultsAndTheRealAccessCheck) {
    EXPECT_EQ(PortDeviceProblem(QStringLiteral("/nonexistent/ttyUSB9")), OpenFailure::NotFound);
    EXPECT_EQ(PortDeviceProblem(QString()), OpenFailure::None);
    EXPECT_EQ(PortDeviceKey(QStringLiteral("COM2")), QStringLiteral("PortDevice2"));
    EXPECT_EQ(DefaultPortDevice(QStringLiteral("COM1")), QStringLiteral("/dev/ttyS0"));
    // A device owned by root's group still advises the serial group, never root.
    const QString text = PortFailureText(QStringLiteral("COM1"), QStringLiteral("9600"),
                                         {OpenFailure::NoPermission, QStringLiteral("/dev/null"), {}, {}});
    EXPECT_TRUE(text.contains(QStringLiteral("dialout"))) << text.toStdString();
}

}  // namespace
