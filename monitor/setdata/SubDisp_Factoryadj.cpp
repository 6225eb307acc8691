#include "setdata/SubDisp_Factoryadj.h"

#include "display/NameLists.h"
#include "exchange/PollEngine.h"
#include "format/ValueFormat.h"
#include "setdata/ActivationRefresh.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* UnitBox(const QString& caption, QWidget* parent) {
    auto* box = new QLabel(caption, parent);
    box->setFrameShape(QFrame::Box);
    box->setAlignment(Qt::AlignCenter);
    box->setMinimumSize(56, 72);
    return box;
}

}  // namespace

SubDisp_Factoryadj::SubDisp_Factoryadj(RDX_INC& data, NameLists& names,
                                       std::function<PollEngine*()> engine, QWidget* parent)
    : QDialog(parent), d(data), names_(names), engine_(std::move(engine)) {
    setWindowTitle(QStringLiteral("ﾃﾞｰﾀ初期化(工場出荷初期値)"));
    setModal(false);
    // Every activation starts with no unit selected, not only the first opening.
    new ActivationRefresh(this, [this] { Form_Activate(); });
    Factory_Bname = new QComboBox(this);
    Factory_Bname->setMinimumContentsLength(12);
    names_.AddBlockList(Factory_Bname);

    // The block's communication unit beside its ten controller units, a box under each.
    auto* picture = new QGridLayout;
    picture->addWidget(UnitBox(QStringLiteral("MGU-500"), this), 0, 0);
    for (int i = 0; i < FactoryMask::UnitCount; ++i) {
        picture->addWidget(UnitBox(QStringLiteral("RDX-410"), this), 0, i + 1);
        Check1[i] = new QCheckBox(QStringLiteral("initial"), this);
        picture->addWidget(Check1[i], 1, i + 1, Qt::AlignCenter);
        connect(Check1[i], &QCheckBox::toggled, this, [this, i] { Check1_Click(i); });
    }

    Command1[0] = new QPushButton(QStringLiteral("工場出荷初期値ﾃﾞｰﾀｾｯﾄ"), this);
    Command1[1] = new QPushButton(QStringLiteral("Return"), this);
    for (int i = 0; i < 2; ++i) {
        Command1[i]->setAutoDefault(false);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1[0]);
    buttons->addWidget(Command1[1]);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Factory_Bname, 0, Qt::AlignLeft);
    layout->addLayout(picture);
    layout->addWidget(new QLabel(QStringLiteral("ﾁｪｯｸしたRDX-41Aのﾃﾞｰﾀが工場出荷初期値に変更されます。"), this));
    layout->addLayout(buttons);
}

void SubDisp_Factoryadj::Open() {
    names_.RefreshNameLists(NameLists::BlockNamesChanged);
    Factory_Bname->setCurrentIndex(0);
    Form_Activate();
    show();
    raise();
    activateWindow();
}

void SubDisp_Factoryadj::Form_Activate() {
    FactoryMask_.Reset();
    for (QCheckBox* box : Check1) {
        const QSignalBlocker quiet(box);
        box->setChecked(false);
    }
}

void SubDisp_Factoryadj::Check1_Click(int unit) {
    if (unit < 0 || unit >= FactoryMask::UnitCount) return;
    FactoryMask_.SetUnit(unit, Check1[unit]->isChecked());
}

void SubDisp_Factoryadj::Command1_Click(int index) {
    if (index == 1) {
        close();
        return;
    }
    if (index != 0) return;
    const int b = ListIndexOrZero(Factory_Bname->currentIndex());
    if (AutoTuningInBlock(d, b)) {
        if (prompts.Message) prompts.Message(this, QStringLiteral("ｵｰﾄﾁｭｰﾆﾝｸﾞ中のﾁｬﾝﾈﾙがあります。"));
        return;
    }
    // A reset of no unit would be asked and sent for nothing, and look done.
    if (!FactoryMask_.AnyUnitSelected()) {
        if (prompts.Message) prompts.Message(this, QStringLiteral("初期化するRDX-410にﾁｪｯｸを付けてください。"));
        return;
    }
    PollEngine* engine = engine_ ? engine_() : nullptr;
    if (!engine) return;  // no link object: there is nothing to send through
    // Said before the question: the engine would refuse the reset after it anyway.
    if (engine->BulkWriteInProgress()) {
        if (prompts.Message) prompts.Message(this, QString::fromUtf8(EngineMsg::BulkWriteBusy));
        return;
    }
    if (!prompts.Confirm || !prompts.Confirm(this, QStringLiteral("ﾃﾞｰﾀを初期化します。よろしいですか？")))
        return;
    engine->RequestFactoryInit(b, FactoryMask_.Text());
    close();
}
