// The publishing dialog under 設定: off by default, stored choices come back, refusals stay
// in its message line and store nothing.
#include "app/SubDisp_Mqtt.h"
#include "services/SettingsStore.h"
#include "app/MainDisp.h"
#include "display/MainMenus.h"
#include "publish/BrokerMessages.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(MqttDialog, OffByDefaultAndTheMenuEntryIsUnderSettings) {
    RDX_INC d;
    MainDisp window(d);
    ASSERT_NE(window.menus->mnuMqtt, nullptr);
    // Nobody opens the dialog until the shell connects it.
    EXPECT_FALSE(window.menus->mnuMqtt->isEnabled());
    bool found = false;
    for (QAction* menu : window.menuBar()->actions())
        if (menu->text() == QStringLiteral("設定(&S)"))
            for (QAction* a : menu->menu()->actions()) found = found || a == window.menus->mnuMqtt;
    EXPECT_TRUE(found);

    SubDisp_Mqtt dialog;
    dialog.Open();
    EXPECT_FALSE(dialog.Check_Publish->isChecked());
    EXPECT_FALSE(dialog.Text_Host->isEnabled());
    EXPECT_FALSE(dialog.Text_User->isEnabled());
    EXPECT_FALSE(dialog.Text_PasswordFile->isEnabled());
    EXPECT_EQ(dialog.Text_Host->text(), "localhost");
    EXPECT_EQ(dialog.Spin_Port->value(), 1883);
    dialog.Command_OK_Click();
    EXPECT_EQ(GetSetting("MqttPublish", "unset"), "0");
}

TEST(MqttDialog, ChoicesAreCheckedStoredAndComeBack) {
    QTemporaryDir dir;
    SubDisp_Mqtt dialog;
    dialog.Open();
    const QString storedBroker = GetSetting("MqttBroker", "unset");
    QSignalSpy saved(&dialog, &SubDisp_Mqtt::settingsSaved);
    dialog.Check_Publish->setChecked(true);
    EXPECT_TRUE(dialog.Text_Host->isEnabled());
    EXPECT_FALSE(dialog.Text_CaFile->isEnabled()) << "a CA file only with TLS";
    dialog.Check_Tls->setChecked(true);
    EXPECT_EQ(dialog.Spin_Port->value(), 8883);
    EXPECT_TRUE(dialog.Text_CaFile->isEnabled());
    dialog.Text_Host->setText("broker.plant");
    dialog.Text_Line->setText("a/b");
    dialog.Command_OK_Click();
    EXPECT_EQ(dialog.Label_Message->text(), QString::fromUtf8(LineNameCharsMessage));
    EXPECT_EQ(saved.count(), 0);
    EXPECT_EQ(GetSetting("MqttBroker", "unset"), storedBroker) << "a refusal stores nothing";
    EXPECT_NE(GetSetting("MqttLine", ""), "a/b");

    dialog.Text_Line->setText(QString::fromUtf8("押出し3"));
    dialog.Text_User->setText("gw");
    QFile pw(dir.filePath("pw"));
    pw.open(QIODevice::WriteOnly);
    pw.write("x\n");
    pw.close();
    pw.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    dialog.Text_PasswordFile->setText(pw.fileName());
    dialog.Command_OK_Click();
    EXPECT_EQ(dialog.Label_Message->text(), QString::fromUtf8(PasswordFileModeMessage));
    pw.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    dialog.Command_OK_Click();
    EXPECT_TRUE(dialog.Label_Message->text().isEmpty());
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(GetSetting("MqttPublish", ""), "1");
    EXPECT_EQ(GetSetting("MqttBroker", ""), "mqtts://broker.plant:8883");
    EXPECT_EQ(GetSetting("MqttLine", ""), QString::fromUtf8("押出し3"));
    EXPECT_EQ(GetSetting("MqttUser", ""), "gw");
    EXPECT_EQ(GetSetting("MqttPasswordFile", ""), pw.fileName());

    SubDisp_Mqtt again;
    again.Open();
    EXPECT_TRUE(again.Check_Publish->isChecked());
    EXPECT_EQ(again.Text_Host->text(), "broker.plant");
    EXPECT_EQ(again.Spin_Port->value(), 8883);
    EXPECT_TRUE(again.Check_Tls->isChecked());
    EXPECT_EQ(again.Text_Line->text(), QString::fromUtf8("押出し3"));
    // Cancel keeps what is stored.
    again.Text_Host->setText("elsewhere");
    again.Command_Cancel_Click();
    EXPECT_EQ(GetSetting("MqttBroker", ""), "mqtts://broker.plant:8883");
}
