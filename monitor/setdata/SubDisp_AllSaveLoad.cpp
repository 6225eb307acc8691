#include "setdata/SubDisp_AllSaveLoad.h"

#include "display/NameLists.h"
#include "display/Shell.h"
#include "exchange/RDX_INC.h"
#include "setdata/BulkWriteRequest.h"
#include "setdata/RecordFile.h"
#include "setdata/SetDataFile.h"
#include "setdata/SetDataMessages.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString U8(const char* text) { return QString::fromUtf8(text); }
}  // namespace

SubDisp_AllSaveLoad::SubDisp_AllSaveLoad(RDX_INC& inc, Shell& shell, QWidget* parent)
    : QDialog(parent), Prompts(StandardSetDataPrompts()), d(inc), shell_(shell), lists_(shell.nameLists()) {
    setWindowTitle(U8(SetDataMsg::AllCaption));
    setModal(false);
    Label1 = new QLabel(U8(SetDataMsg::AllLabel), this);
    Label1->setAlignment(Qt::AlignCenter);
    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        Command1[i] = new QPushButton(QString::fromLatin1(SetDataMsg::SaveLoadButtons[i]), this);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        buttons->addWidget(Command1[i]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    shell_.OnBulkWriteFinished(this, [this] { BulkWriteFinished(); });
    Unload();
}

void SubDisp_AllSaveLoad::Open() {
    show();
    raise();
    activateWindow();
}

void SubDisp_AllSaveLoad::Command1_Click(int index) {
    switch (index) {
    case SaveButton: SaveAll(); break;
    case LoadButton: LoadAll(); break;
    case ReturnButton: ReturnClick(); break;
    default: break;
    }
}

void SubDisp_AllSaveLoad::SaveAll() {
    if (AnyAutoTuning(d, 0, ChannelCount)) {
        Prompts.Tell(this, U8(SetDataMsg::AutoTuningSave));
        return;
    }
    const RecordFileBytes encoded = EncodeRecordFile(RecordFileKind::AllChannels, TakeAllRecords(d));
    SaveEncodedToChosenFile(Prompts, this, encoded.outcome, encoded.bytes);
}

void SubDisp_AllSaveLoad::LoadAll() {
    if (LoadRefused(shell_, Prompts, this)) return;
    const QString path = ChooseLoadSource(Prompts, this);
    if (path.isEmpty()) return;
    const QFileInfo file(path);
    if (file.isFile() && SetDataSizeClass(file.size()) != AllChannelFileClass) {
        Prompts.Tell(this, U8(SetDataMsg::NotAllData));
        return;
    }
    if (AnyAutoTuning(d, 0, ChannelCount)) {
        Prompts.Tell(this, U8(SetDataMsg::AutoTuningLoad));
        return;
    }

    // The file is read whole into a copy and the question asked only when it is valid;
    // nothing reaches the tables before the operator's Yes.
    const SetDataOutcome outcome = LoadAllChannelFile(d, path, [this] {
        return Prompts.Ask(this, U8(SetDataMsg::AllOverwrite), AskIcon::Warning);
    });
    if (outcome.status == SetDataStatus::Cancelled) return;
    if (!outcome.ok()) {
        if (!LoadFailsSilently(outcome.status)) Prompts.Tell(this, SetDataOutcomeMessage(outcome));
        return;
    }
    EnableButtons(false);
    RequestAllBlocksWrite(shell_);
}

void SubDisp_AllSaveLoad::ReturnClick() {
    lists_.RefreshNameLists(NameLists::StartUp);
    Unload();
}

void SubDisp_AllSaveLoad::closeEvent(QCloseEvent* event) {
    Unload();
    event->accept();
}

void SubDisp_AllSaveLoad::EnableButtons(bool enabled) {
    for (QPushButton* b : Command1) b->setEnabled(enabled);
}

void SubDisp_AllSaveLoad::BulkWriteFinished() { EnableButtons(true); }

void SubDisp_AllSaveLoad::Unload() {
    EnableButtons(true);
    hide();
}
