// The publishing dialog under 設定: whether the monitor publishes the line to an MQTT broker,
// and where (broker, port, TLS with its CA file, line name, user and password file).
// Modeless; refusals go into its message line.
#pragma once

#include "publish/PublishSettings.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class SubDisp_Mqtt : public QDialog {
    Q_OBJECT
public:
    explicit SubDisp_Mqtt(QWidget* parent = nullptr);

    QCheckBox* Check_Publish = nullptr;
    QLineEdit* Text_Host = nullptr;
    QSpinBox* Spin_Port = nullptr;
    QCheckBox* Check_Tls = nullptr;
    QLineEdit* Text_CaFile = nullptr;
    QPushButton* Command_CaFile = nullptr;
    QLineEdit* Text_Line = nullptr;
    QLineEdit* Text_User = nullptr;
    QLineEdit* Text_PasswordFile = nullptr;
    QPushButton* Command_PasswordFile = nullptr;
    QLabel* Label_State = nullptr;
    QLabel* Label_Message = nullptr;
    QPushButton* Command_OK = nullptr;
    QPushButton* Command_Cancel = nullptr;

    // The stored choices into the fields, shown without waiting.
    void Open();
    // The fields as settings (whatever they hold).
    PublishSettings Choices() const;
    // Checks the fields when publishing is switched on; stores them, then settingsSaved
    // and close. A refusal stays in the message line and nothing is stored.
    void Command_OK_Click();
    void Command_Cancel_Click() { hide(); }
    void reject() override { Command_Cancel_Click(); }
    // The connection's state line: publishing off, connecting, connected or a failure.
    void ShowState(const QString& text);

    // Replaced by tests: the file dialog of the two 参照 buttons.
    std::function<QString(const QString& caption, const QString& current)> ChooseFile;

signals:
    void settingsSaved();

private:
    void Load(const PublishSettings& s);
    void TlsToggled(bool on);
    void EnableFields();
};
