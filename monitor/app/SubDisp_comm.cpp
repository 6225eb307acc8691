#include "app/SubDisp_comm.h"

#include "services/PortFailureText.h"
#include "services/SettingsStore.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

SubDisp_comm::SubDisp_comm(RDX_INC& data, QWidget* parent) : QDialog(parent), d(data) {
    setWindowTitle(QStringLiteral("通信条件設定画面"));
    setModal(false);
    Combo_Port = new QComboBox(this);
    Combo_Port->addItems({QStringLiteral("COM1"), QStringLiteral("COM2")});
    Combo_Rate = new QComboBox(this);
    Combo_Rate->addItems({QStringLiteral("9600"), QStringLiteral("19200")});
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command3 = new QPushButton(QStringLiteral("強制終了"), this);
    Combo_Device = new QComboBox(this);
    Combo_Device->setEditable(true);
    Combo_Device->setInsertPolicy(QComboBox::NoInsert);
    Combo_Device->setMinimumContentsLength(16);
    Label_msg = new QLabel(this);
    Label_msg->setStyleSheet(QStringLiteral("QLabel { color: rgb(255,0,0); }"));
    Label_msg->setWordWrap(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("通信ﾎﾟｰﾄ選択"), this), 0, 0);
    grid->addWidget(Combo_Port, 0, 1);
    grid->addWidget(Combo_Device, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("通信速度選択"), this), 1, 0);
    grid->addWidget(Combo_Rate, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("bps"), this), 1, 2);
    grid->addWidget(Label_msg, 2, 0, 1, 3);
    grid->addWidget(Command1, 3, 0);
    grid->addWidget(Command3, 3, 1);
    connect(Combo_Port, &QComboBox::currentIndexChanged, this, &SubDisp_comm::Combo_Port_Click);
    connect(Combo_Device, &QComboBox::currentTextChanged, this, [this] { ShowDeviceProblem(); });
    Combo_Port_Click();
    connect(Command1, &QPushButton::clicked, this, &SubDisp_comm::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &SubDisp_comm::Command3_Click);
}

namespace {
void Choose(QComboBox* box, const QString& text) {
    const int i = box->findText(text);
    if (i >= 0) box->setCurrentIndex(i);
}
}  // namespace

void SubDisp_comm::LoadFromStore() {
    Choose(Combo_Port, GetSetting(QStringLiteral("Port"), QStringLiteral("COM1")));
    Choose(Combo_Rate, GetSetting(QStringLiteral("Speed"), QStringLiteral("9600")));
    Combo_Port_Click();
}

void SubDisp_comm::Combo_Port_Click() {
    const QString port = Combo_Port->currentText();
    const QSignalBlocker quiet(Combo_Device);
    Combo_Device->clear();
    Combo_Device->addItems(AvailablePortDevices());
    const QString overrideVar = PortDeviceOverrideVariable(port);
    const QString overridden = qEnvironmentVariable(overrideVar.toLatin1().constData());
    // The link takes the environment's device before the stored one; show what it uses.
    Combo_Device->setEditText(DeviceOfPort(port));
    Combo_Device->setEnabled(overridden.isEmpty());
    Combo_Device->setToolTip(overridden.isEmpty() ? QString()
                                                  : QStringLiteral("環境変数 %1 で指定されています").arg(overrideVar));
    ShowDeviceProblem();
}

bool SubDisp_comm::ShowDeviceProblem() {
    OpenFailureInfo problem;
    problem.device = Combo_Device->currentText().trimmed();
    problem.kind = PortDeviceProblem(problem.device, DeviceAccess);
    const QString text = problem.kind == OpenFailure::None
                             ? QString()
                             : PortFailureText(Combo_Port->currentText(), Combo_Rate->currentText(), problem);
    if (Label_msg->text() != text) Label_msg->setText(text);
    return problem.kind == OpenFailure::NoPermission;
}

void SubDisp_comm::ShowWith(const QString& port, const QString& speed, const OpenFailureInfo& failure) {
    Choose(Combo_Port, port);
    Choose(Combo_Rate, speed);
    Combo_Port_Click();
    // The link tried the device: what it met says more than the check of the device alone.
    Label_msg->setText(PortFailureText(port, speed, failure));
    show();
    raise();
}

void SubDisp_comm::Command1_Click() {
    // Retrying a device the user may not open fails the same way: the message says what
    // to change first.
    if (ShowDeviceProblem()) return;
    SaveSetting(QStringLiteral("Port"), Combo_Port->currentText());
    SaveSetting(QStringLiteral("Speed"), Combo_Rate->currentText());
    if (Combo_Device->isEnabled())
        SaveSetting(PortDeviceKey(Combo_Port->currentText()), Combo_Device->currentText().trimmed());
    d.LinkFailed = false;
    hide();
}

void SubDisp_comm::reject() { SayHowToLeave(); }

void SubDisp_comm::closeEvent(QCloseEvent* event) {
    event->ignore();
    SayHowToLeave();
}

void SubDisp_comm::SayHowToLeave() {
    const QString how = QStringLiteral("「OK」で通信を再開します。終了するときは「強制終了」を押してください。");
    const QString said = Label_msg->text();
    if (said.contains(how)) return;
    // What is wrong with the port stays; the line below it says how to go on.
    Label_msg->setText(said.isEmpty() ? how : said + u'\n' + how);
    // The dialog took its size from the shorter text.
    adjustSize();
}

void SubDisp_comm::Command3_Click() {
    QMessageBox::information(this, QStringLiteral("RDX-410 Monitor"), QStringLiteral("ﾓﾆﾀｿﾌﾄを終了します。"));
    hide();
    // Ends the program at once, without the quit question.
    d.EndRequested = true;
}
