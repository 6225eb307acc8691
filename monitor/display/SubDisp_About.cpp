#include "display/SubDisp_About.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

SubDisp_About::SubDisp_About(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto* g = new QGridLayout(this);
    auto* title = new QLabel(QStringLiteral("RDX-410 Monitorｉｎｇ Ｓｏｆｔｗａｒｅ"), this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 3);
    f.setBold(true);
    title->setFont(f);
    g->addWidget(title, 0, 0, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Version"), this), 1, 0);
    Label4 = new QLabel(this);
    g->addWidget(Label4, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Option N"), this), 2, 0);
    g->addWidget(new QLabel(QStringLiteral("RDX-410 温度調節器 監視・設定ソフトウェア"), this), 3, 0, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Copyright (C) TESMAR KORVEX"), this), 4, 0, 1, 3);
    AccessCode_Text = new QLineEdit(this);
    AccessCode_Text->setMaximumWidth(120);
    g->addWidget(AccessCode_Text, 5, 0);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setDefault(true);
    g->addWidget(Command1, 5, 2);

    connect(Command1, &QPushButton::clicked, this, &SubDisp_About::Command1_Click);
    connect(AccessCode_Text, &QLineEdit::textChanged, this,
            [this](const QString& text) { emit toolbar3VisibleChanged(AccessCodeMatches(text)); });
    Form_Load();
}

void SubDisp_About::Form_Load() { Label4->setText(QString::fromLatin1(Version)); }

void SubDisp_About::Command1_Click() { close(); }

bool SubDisp_About::AccessCodeMatches(const QString& text) {
    return text == QLatin1String(AccessCode);
}
