#include "app/SubDisp_Block.h"

#include "display/NameLists.h"
#include "services/SettingsStore.h"
#include "exchange/RDX_INC.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {
// Row labels: the device numbers as the MGU-500 shows them.
QString DeviceNumberText(int n) {
    if (n < 10) return QString::number(n);
    return QStringLiteral("%1(%2)").arg(QChar(u'A' + (n - 10))).arg(n);
}
}  // namespace

SubDisp_Block::SubDisp_Block(NameLists& lists, QWidget* parent) : QDialog(parent), lists_(lists) {
    setWindowTitle(QStringLiteral("ﾌﾞﾛｯｸ名登録"));
    setModal(false);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("MGU-500 機器番号"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("ﾌﾞﾛｯｸ名"), this), 0, 1);
    for (int n = 0; n < 16; ++n) {
        auto* number = new QLabel(DeviceNumberText(n), this);
        number->setAlignment(Qt::AlignCenter);
        DvtoN[n] = new QLineEdit(this);
        grid->addWidget(number, n + 1, 0);
        grid->addWidget(DvtoN[n], n + 1, 1);
    }
    DvOK = new QPushButton(QStringLiteral("OK"), this);
    DvCan = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(DvOK);
    buttons->addWidget(DvCan);
    auto* layout = new QGridLayout(this);
    layout->addLayout(grid, 0, 0);
    layout->addLayout(buttons, 1, 0);
    connect(DvOK, &QPushButton::clicked, this, &SubDisp_Block::DvOK_Click);
    connect(DvCan, &QPushButton::clicked, this, &SubDisp_Block::DvCan_Click);
    ShowMessage = [this](const QString& text) {
        QMessageBox::warning(this, QStringLiteral("RDX-410 Monitor"), text);
    };
}

void SubDisp_Block::LoadNames() {
    for (int n = 0; n < 16; ++n) DvtoN[n]->setText(BlockName(n));
}

void SubDisp_Block::Open() {
    LoadNames();
    show();
    raise();
    activateWindow();
}

void SubDisp_Block::DvOK_Click() {
    // Block names go into the alarm history: refuse what its file cannot hold.
    for (QLineEdit* field : DvtoN) {
        const QString refusal = UnwritableNameMessage(field->text());
        if (refusal.isEmpty()) continue;
        field->setFocus();
        field->selectAll();
        if (ShowMessage) ShowMessage(refusal);
        return;
    }
    for (int n = 0; n < 16; ++n) SaveSetting(QStringLiteral("DvtoN") + BlockSuffix(n), DvtoN[n]->text());
    emit namesSaved();
    lists_.RefreshNameLists(NameLists::BlockNamesChanged);
    hide();
}

void SubDisp_Block::DvCan_Click() {
    lists_.RefreshNameLists(NameLists::BlockNamesChanged);
    hide();
}

void SubDisp_Block::reject() { DvCan_Click(); }
