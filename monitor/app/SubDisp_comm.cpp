#include "app/SubDisp_comm.h"

#include "app/SettingsStore.h"

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
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("通信ﾎﾟｰﾄ選択"), this), 0, 0);
    grid->addWidget(Combo_Port, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("通信速度選択"), this), 1, 0);
    grid->addWidget(Combo_Rate, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("bps"), this), 1, 2);
    grid->addWidget(Command1, 2, 0);
    grid->addWidget(Command3, 2, 1);
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
}

void SubDisp_comm::ShowWith(const QString& port, const QString& speed) {
    Choose(Combo_Port, port);
    Choose(Combo_Rate, speed);
    show();
    raise();
}

void SubDisp_comm::Command1_Click() {
    SaveSetting(QStringLiteral("Port"), Combo_Port->currentText());
    SaveSetting(QStringLiteral("Speed"), Combo_Rate->currentText());
    d.LinkFailed = false;
    hide();
}

void SubDisp_comm::Command3_Click() {
    QMessageBox::information(this, QStringLiteral("RDX-410 Monitor"), QStringLiteral("ﾓﾆﾀｿﾌﾄを終了します。"));
    hide();
    // Ends the program at once, without the quit question.
    d.EndRequested = true;
}
