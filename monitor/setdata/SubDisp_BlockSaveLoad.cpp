#include "setdata/SubDisp_BlockSaveLoad.h"

#include "display/NameLists.h"
#include "display/Shell.h"
#include "exchange/RDX_INC.h"
#include "setdata/BulkWriteRequest.h"
#include "setdata/RecordFile.h"
#include "setdata/SetDataFile.h"
#include "setdata/MoveSaveLoadButtons.h"
#include "setdata/SetDataMessages.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QString U8(const char* text) { return QString::fromUtf8(text); }
}  // namespace

SubDisp_BlockSaveLoad::SubDisp_BlockSaveLoad(RDX_INC& inc, Shell& shell, QWidget* parent)
    : QDialog(parent), Prompts(StandardSetDataPrompts()), d(inc), shell_(shell), lists_(shell.nameLists()) {
    setWindowTitle(U8(SetDataMsg::BlockCaption));
    setModal(false);

    auto* blocks = new QGroupBox(this);
    auto* blockGrid = new QGridLayout(blocks);
    options_ = new QButtonGroup(this);
    for (int b = 0; b < BlockCount; ++b) {
        Block_Option1[b] = new QRadioButton(blocks);
        options_->addButton(Block_Option1[b], b);
        blockGrid->addWidget(Block_Option1[b], b % 8, b / 8);
    }
    ShowBlockNames(BlockNames());
    connect(&lists_, &NameLists::blockNamesChanged, this, &SubDisp_BlockSaveLoad::ShowBlockNames);

    QVBoxLayout* buttons = BuildMoveSaveLoadButtons(this, Command1, [this](int i) { Command1_Click(i); });

    auto* work = new QGroupBox(QStringLiteral("ﾜｰｸ領域"), this);
    auto* workLayout = new QVBoxLayout(work);
    BlockName_Label = new QLabel(work);
    BlockName_Label->setFrameShape(QFrame::StyledPanel);
    BlockName_Label->setFrameShadow(QFrame::Sunken);
    BlockName_Label->setMinimumWidth(180);
    Label2 = new QLabel(work);
    Label2->setWordWrap(true);
    workLayout->addWidget(BlockName_Label);
    workLayout->addWidget(Label2, 1);
    for (int i = 0; i < 2; ++i) {
        BlockNo_Text[i] = new QLineEdit(this);
        BlockNo_Text[i]->hide();
    }

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(blocks);
    layout->addLayout(buttons);
    layout->addWidget(work, 1);

    shell_.OnBulkWriteFinished(this, [this] { BulkWriteFinished(); });
    Unload();
}

void SubDisp_BlockSaveLoad::ShowBlockNames(const QStringList& names) {
    for (int b = 0; b < BlockCount && b < names.size(); ++b) Block_Option1[b]->setText(names[b]);
}

int SubDisp_BlockSaveLoad::SelectedOption() const { return options_->checkedId(); }

int SubDisp_BlockSaveLoad::BlockNo(int index) const {
    const int b = BlockNo_Text[index]->text().toInt();
    return b >= 0 && b < BlockCount ? b : 0;
}

void SubDisp_BlockSaveLoad::Open() {
    lists_.RefreshNameLists(NameLists::StartUp);
    show();
    raise();
    activateWindow();
}

void SubDisp_BlockSaveLoad::Command1_Click(int index) {
    switch (index) {
    case MoveToWorkButton: MoveToWork(); break;
    case MoveToBlockButton: MoveToBlock(); break;
    case SaveButton: SaveWork(); break;
    case LoadButton: LoadWork(); break;
    case ReturnButton: ReturnClick(); break;
    default: break;
    }
}

void SubDisp_BlockSaveLoad::EnableWorkButtons() {
    const bool filled = !workRecords_.empty();
    Command1[MoveToBlockButton]->setEnabled(filled);
    Command1[SaveButton]->setEnabled(filled);
}

// With no block option selected the block of the previous copy is copied again, without
// the checks and bookkeeping of a chosen block.
void SubDisp_BlockSaveLoad::MoveToWork() {
    int b = SelectedOption();
    if (b < 0) {
        b = BlockNo(1);
    } else {
        if (d.BlockAbsent[b] == 1) {
            Label2->setText(U8(SetDataMsg::BlockNotConnectedTake));
            return;
        }
        Label2->clear();
        BlockName_Label->setText(Block_Option1[b]->text());
        BlockNo_Text[1]->setText(QString::number(b));
    }
    workRecords_ = TakeBlockRecords(d, b);
    workSource_ = b;
    EnableWorkButtons();
}

// With no block option selected the work area goes to the block of the previous write.
void SubDisp_BlockSaveLoad::MoveToBlock() {
    if (workRecords_.empty()) return;
    int b = SelectedOption();
    if (b < 0) {
        b = BlockNo(0);
    } else {
        if (d.BlockAbsent[b] == 1) {
            Label2->setText(U8(SetDataMsg::BlockNotConnectedPut));
            return;
        }
        Label2->clear();
        BlockNo_Text[0]->setText(QString::number(b));
    }
    if (LoadRefused(shell_, Prompts, this)) return;
    if (!Prompts.Ask(this, U8(SetDataMsg::BlockOverwrite), AskIcon::Warning)) return;
    if (AnyAutoTuning(d, b * ChannelsPerBlock, ChannelsPerBlock)) {
        Prompts.Tell(this, U8(SetDataMsg::AutoTuningLoad));
        return;
    }
    if (ApplyBlockRecords(d, b, workRecords_) < 0) return;
    EnableButtons(false);
    RequestBlockWrite(shell_, b);
}

// Only a work area copied from a block is tied to channels whose auto-tuning matters;
// one loaded from a file is saved as it is.
void SubDisp_BlockSaveLoad::SaveWork() {
    if (workRecords_.empty()) return;
    if (workSource_ >= 0 && AnyAutoTuning(d, workSource_ * ChannelsPerBlock, ChannelsPerBlock)) {
        Prompts.Tell(this, U8(SetDataMsg::AutoTuningSave));
        return;
    }
    const RecordFileBytes encoded = EncodeRecordFile(RecordFileKind::Block, workRecords_);
    SaveEncodedToChosenFile(Prompts, this, encoded.outcome, encoded.bytes);
}

void SubDisp_BlockSaveLoad::LoadWork() {
    const QString path = ChooseLoadSource(Prompts, this);
    if (path.isEmpty()) return;
    RecordFileRead read = ReadRecordFile(path, RecordFileKind::Block);
    if (read.outcome.status == SetDataStatus::WrongSizeClass) {
        Prompts.Tell(this, U8(SetDataMsg::NotBlockData));
        return;
    }
    // The whole file was read before anything is taken: a failed read leaves the work
    // area as it was.
    if (!read.outcome.ok()) {
        if (!LoadFailsSilently(read.outcome.status)) Prompts.Tell(this, SetDataOutcomeMessage(read.outcome));
        return;
    }
    Label2->clear();
    workRecords_ = std::move(read.records);
    workSource_ = -1;
    BlockName_Label->setText(QFileInfo(path).fileName());
    EnableWorkButtons();
}

void SubDisp_BlockSaveLoad::ReturnClick() {
    lists_.RefreshNameLists(NameLists::StartUp);
    Unload();
}

void SubDisp_BlockSaveLoad::closeEvent(QCloseEvent* event) {
    Unload();
    event->accept();
}

void SubDisp_BlockSaveLoad::EnableButtons(bool enabled) {
    for (QPushButton* b : Command1) b->setEnabled(enabled);
}

void SubDisp_BlockSaveLoad::BulkWriteFinished() {
    EnableButtons(true);
    EnableWorkButtons();
}

void SubDisp_BlockSaveLoad::Unload() {
    workRecords_.clear();
    workSource_ = -1;
    // No option is selected when the dialog is loaded.
    options_->setExclusive(false);
    for (QRadioButton* option : Block_Option1) option->setChecked(false);
    options_->setExclusive(true);
    for (QLineEdit* field : BlockNo_Text) field->setText(QStringLiteral("0"));
    Label2->setText(U8(SetDataMsg::BlockHint));
    BlockName_Label->clear();
    EnableButtons(true);
    EnableWorkButtons();
    hide();
}
