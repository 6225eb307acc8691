#include "app/SubDisp_Chname.h"

#include "display/NameLists.h"
#include "services/SettingsStore.h"
#include "format/ValueFormat.h"
#include "exchange/RDX_INC.h"
#include "services/Cp932File.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace {

// Refuses a keystroke or paste that would make the name longer than the files take.
class Cp932LengthValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return ToCp932(input).size() <= ChannelNameMaxLength ? Acceptable : Invalid;
    }
};

}  // namespace

QString OverlongNameMessage(const QString& name) {
    if (ToCp932(name).size() <= ChannelNameMaxLength) return {};
    return QStringLiteral("「%1」は長すぎます。半角１２文字（全角６文字）までにしてください。").arg(name);
}

SubDisp_Chname::SubDisp_Chname(NameLists& lists, QWidget* parent) : QDialog(parent), lists_(lists) {
    setWindowTitle(QStringLiteral("ﾁｬﾝﾈﾙ名登録"));
    setModal(false);
    Block_Name = new QComboBox(this);
    Block_Name->setMinimumContentsLength(16);
    Block_Name->installEventFilter(this);
    Label_hint = new QLabel(QStringLiteral("ﾁｬﾝﾈﾙ名は半角１２文字までで登録してください"), this);
    Label_msg = new QLabel(this);

    auto* grid = new QGridLayout;
    for (int i = 0; i < 20; ++i) {
        ChName[i] = new QLineEdit(this);
        ChName[i]->setMaxLength(ChannelNameMaxLength);
        ChName[i]->setValidator(new Cp932LengthValidator(ChName[i]));
        // Two columns of ten; the row label is the position in the block.
        grid->addWidget(new QLabel(QString::number(i + 1), this), i % 10, (i / 10) * 2);
        grid->addWidget(ChName[i], i % 10, (i / 10) * 2 + 1);
    }
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Label_msg, 1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Block_Name);
    layout->addWidget(Label_hint);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(Block_Name, &QComboBox::currentIndexChanged, this, &SubDisp_Chname::Block_Name_Click);
    connect(Command1, &QPushButton::clicked, this, &SubDisp_Chname::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &SubDisp_Chname::Command2_Click);
}

void SubDisp_Chname::LoadNames(int block) {
    shownBlock_ = block;
    refusedField_ = nullptr;
    for (int i = 0; i < 20; ++i) {
        ChName[i]->setText(ChannelName(ChannelsPerBlock * block + i));
        ChName[i]->setModified(false);
    }
}

bool SubDisp_Chname::SaveShownNames() {
    // Channel names go into the alarm history and the log files: refuse what they cannot
    // hold. The fields keep the typed names so the operator can mend them.
    for (QLineEdit* field : ChName) {
        QString refusal = UnwritableNameMessage(field->text());
        if (refusal.isEmpty()) refusal = OverlongNameMessage(field->text());
        if (refusal.isEmpty()) continue;
        Label_msg->setText(refusal);
        refusedField_ = field;
        return false;
    }
    refusedField_ = nullptr;
    Label_msg->setText(QStringLiteral("ﾁｬﾝﾈﾙ名を登録します。"));
    for (int i = 0; i < 20; ++i) {
        SaveSetting(QStringLiteral("Chname") + ChannelSuffix(ChannelsPerBlock * shownBlock_ + i), ChName[i]->text());
        ChName[i]->setModified(false);
    }
    return true;
}

void SubDisp_Chname::FocusRefusedField() {
    if (!refusedField_) return;
    refusedField_->setFocus();
    refusedField_->selectAll();
}

void SubDisp_Chname::Open() {
    {
        const QSignalBlocker quiet(Block_Name);
        Block_Name->clear();
        Block_Name->addItems(BlockNames());
        Block_Name->setCurrentIndex(0);
    }
    Label_msg->clear();
    LoadNames(0);
    show();
    raise();
    activateWindow();
}

void SubDisp_Chname::Block_Name_Click() {
    const int block = ListIndexOrZero(Block_Name->currentIndex());
    if (block >= BlockCount) return;
    // The list normally takes the focus first, which stores the names. Chosen with the
    // keyboard or the wheel while it already had the focus, it does not: store edited
    // names here so that they are not thrown away.
    if (block != shownBlock_) {
        for (const QLineEdit* field : ChName) {
            if (field->isModified() || refusedField_) {
                if (!SaveShownNames()) {
                    // Loading the other block would throw the refused names away.
                    SetListIndexQuietly(Block_Name, shownBlock_);
                    FocusRefusedField();
                    return;
                }
                break;
            }
        }
    }
    LoadNames(block);
}

void SubDisp_Chname::Block_Name_GotFocus() { SaveShownNames(); }

void SubDisp_Chname::Command1_Click() {
    if (!SaveShownNames()) {
        FocusRefusedField();
        return;
    }
    emit namesSaved();
    lists_.RefreshNameLists(NameLists::ChannelNamesChanged);
    hide();
}

void SubDisp_Chname::Command2_Click() {
    lists_.RefreshNameLists(NameLists::ChannelNamesChanged);
    hide();
}

void SubDisp_Chname::reject() { Command2_Click(); }

bool SubDisp_Chname::eventFilter(QObject* watched, QEvent* event) {
    // The list's own drop-down handing the focus back is not the operator coming to it.
    if (watched == Block_Name && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        Block_Name_GotFocus();
    return QDialog::eventFilter(watched, event);
}
