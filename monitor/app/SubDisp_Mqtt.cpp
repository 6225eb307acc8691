#include "app/SubDisp_Mqtt.h"

#include "publish/BrokerAddress.h"
#include "publish/TopicTree.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

SubDisp_Mqtt::SubDisp_Mqtt(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("MQTT公開設定"));
    setModal(false);
    Check_Publish = new QCheckBox(QStringLiteral("ﾗｲﾝのﾃﾞｰﾀとｲﾍﾞﾝﾄをMQTTﾌﾞﾛｰｶｰに公開する"), this);

    auto* broker = new QGroupBox(QStringLiteral("ﾌﾞﾛｰｶｰ"), this);
    Text_Host = new QLineEdit(broker);
    Spin_Port = new QSpinBox(broker);
    Spin_Port->setRange(1, 65535);
    Check_Tls = new QCheckBox(QStringLiteral("TLSで接続する（mqtts）"), broker);
    Text_CaFile = new QLineEdit(broker);
    Text_CaFile->setPlaceholderText(QStringLiteral("空欄: ｼｽﾃﾑのCA証明書"));
    Command_CaFile = new QPushButton(QStringLiteral("参照"), broker);
    auto* b = new QGridLayout(broker);
    b->addWidget(new QLabel(QStringLiteral("ﾎｽﾄ名"), broker), 0, 0);
    b->addWidget(Text_Host, 0, 1, 1, 2);
    b->addWidget(new QLabel(QStringLiteral("ﾎﾟｰﾄ"), broker), 1, 0);
    b->addWidget(Spin_Port, 1, 1);
    b->addWidget(Check_Tls, 2, 1, 1, 2);
    b->addWidget(new QLabel(QStringLiteral("CAﾌｧｲﾙ"), broker), 3, 0);
    b->addWidget(Text_CaFile, 3, 1);
    b->addWidget(Command_CaFile, 3, 2);
    b->setColumnStretch(1, 1);

    auto* login = new QGroupBox(QStringLiteral("ﾛｸﾞｲﾝ（必要なときだけ）"), this);
    Text_User = new QLineEdit(login);
    Text_PasswordFile = new QLineEdit(login);
    Command_PasswordFile = new QPushButton(QStringLiteral("参照"), login);
    auto* l = new QGridLayout(login);
    l->addWidget(new QLabel(QStringLiteral("ﾕｰｻﾞｰ名"), login), 0, 0);
    l->addWidget(Text_User, 0, 1, 1, 2);
    l->addWidget(new QLabel(QStringLiteral("ﾊﾟｽﾜｰﾄﾞﾌｧｲﾙ"), login), 1, 0);
    l->addWidget(Text_PasswordFile, 1, 1);
    l->addWidget(Command_PasswordFile, 1, 2);
    l->addWidget(new QLabel(QStringLiteral("ﾊﾟｽﾜｰﾄﾞは1行目に書き、所有者だけが読めるﾌｧｲﾙにしてください。"), login),
                 2, 0, 1, 3);
    l->setColumnStretch(1, 1);

    Text_Line = new QLineEdit(this);
    Text_Line->setMaxLength(LineNameMaxLength);
    auto* lineRow = new QHBoxLayout;
    lineRow->addWidget(new QLabel(QStringLiteral("ﾗｲﾝ名"), this));
    lineRow->addWidget(Text_Line, 1);
    auto* topics = new QLabel(QStringLiteral("ﾄﾋﾟｯｸ: rdx410/ﾗｲﾝ名/..."), this);

    Label_State = new QLabel(this);
    Label_State->setWordWrap(true);
    Label_Message = new QLabel(this);
    Label_Message->setWordWrap(true);
    Label_Message->setStyleSheet(QStringLiteral("color: rgb(255,0,0)"));
    Command_OK = new QPushButton(QStringLiteral("OK"), this);
    Command_Cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command_OK);
    buttons->addWidget(Command_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Check_Publish);
    layout->addLayout(lineRow);
    layout->addWidget(topics);
    layout->addWidget(broker);
    layout->addWidget(login);
    layout->addWidget(Label_State);
    layout->addWidget(Label_Message);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    ChooseFile = [this](const QString& caption, const QString& current) {
        return QFileDialog::getOpenFileName(this, caption, current);
    };
    connect(Check_Publish, &QCheckBox::toggled, this, &SubDisp_Mqtt::EnableFields);
    connect(Check_Tls, &QCheckBox::toggled, this, &SubDisp_Mqtt::TlsToggled);
    connect(Command_CaFile, &QPushButton::clicked, this, [this] {
        const QString f = ChooseFile(QStringLiteral("CAﾌｧｲﾙ"), Text_CaFile->text());
        if (!f.isEmpty()) Text_CaFile->setText(f);
    });
    connect(Command_PasswordFile, &QPushButton::clicked, this, [this] {
        const QString f = ChooseFile(QStringLiteral("ﾊﾟｽﾜｰﾄﾞﾌｧｲﾙ"), Text_PasswordFile->text());
        if (!f.isEmpty()) Text_PasswordFile->setText(f);
    });
    connect(Command_OK, &QPushButton::clicked, this, &SubDisp_Mqtt::Command_OK_Click);
    connect(Command_Cancel, &QPushButton::clicked, this, &SubDisp_Mqtt::Command_Cancel_Click);
}

void SubDisp_Mqtt::Open() {
    Load(PublishSettings::Load());
    Label_Message->clear();
    show();
    raise();
    activateWindow();
}

void SubDisp_Mqtt::Load(const PublishSettings& s) {
    BrokerAddress a;
    if (!ParseBrokerUrl(s.broker, &a)) ParseBrokerUrl(QString::fromLatin1(DefaultBrokerUrl), &a);
    Check_Publish->setChecked(s.enabled);
    Text_Host->setText(a.host);
    {
        const QSignalBlocker quiet(Check_Tls);
        Check_Tls->setChecked(a.tls);
    }
    Spin_Port->setValue(a.port);
    Text_CaFile->setText(s.caFile);
    Text_Line->setText(s.line);
    Text_User->setText(s.user);
    Text_PasswordFile->setText(s.passwordFile);
    EnableFields();
}

PublishSettings SubDisp_Mqtt::Choices() const {
    PublishSettings s;
    s.enabled = Check_Publish->isChecked();
    s.broker = BrokerUrl(BrokerAddress{Text_Host->text().trimmed(), Spin_Port->value(), Check_Tls->isChecked()});
    s.line = Text_Line->text().trimmed();
    s.caFile = Text_CaFile->text().trimmed();
    s.user = Text_User->text().trimmed();
    s.passwordFile = Text_PasswordFile->text().trimmed();
    return s;
}

void SubDisp_Mqtt::Command_OK_Click() {
    const PublishSettings s = Choices();
    if (s.enabled) {
        if (const QString problem = ResolvePublishConfig(s, nullptr); !problem.isEmpty()) {
            Label_Message->setText(problem);
            return;
        }
    }
    s.Save();
    Label_Message->clear();
    emit settingsSaved();
    hide();
}

void SubDisp_Mqtt::ShowState(const QString& text) { Label_State->setText(QStringLiteral("状態: ") + text); }

void SubDisp_Mqtt::TlsToggled(bool on) {
    // The usual port follows the choice, unless another one was set on purpose.
    if (on && Spin_Port->value() == MqttDefaultPort) Spin_Port->setValue(MqttTlsDefaultPort);
    if (!on && Spin_Port->value() == MqttTlsDefaultPort) Spin_Port->setValue(MqttDefaultPort);
    EnableFields();
}

void SubDisp_Mqtt::EnableFields() {
    const bool on = Check_Publish->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(Text_Host), static_cast<QWidget*>(Spin_Port),
                       static_cast<QWidget*>(Check_Tls), static_cast<QWidget*>(Text_Line),
                       static_cast<QWidget*>(Text_User), static_cast<QWidget*>(Text_PasswordFile),
                       static_cast<QWidget*>(Command_PasswordFile)})
        w->setEnabled(on);
    Text_CaFile->setEnabled(on && Check_Tls->isChecked());
    Command_CaFile->setEnabled(on && Check_Tls->isChecked());
}
