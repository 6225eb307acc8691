#include "setdata/SetDataPrompts.h"

#include "editing/Prompts.h"
#include "services/ProgramFolder.h"
#include "setdata/SetDataFile.h"
#include "setdata/SetDataMessages.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QString RunFileDialog(QWidget* parent, FileDialogMode mode) {
    QFileDialog dialog(parent, QString(), SetDataFolder(), QStringLiteral("*.dat(data file) (*.dat)"));
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    if (mode == FileDialogMode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The overwrite question is the program's own, asked after the dialog.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

bool AskYesNo(QWidget* parent, const QString& text, AskIcon icon) {
    return AskYesNoDefaultNo(parent, QString::fromUtf8(SetDataMsg::Title), text, icon == AskIcon::Warning);
}

void TellOk(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QString::fromUtf8(SetDataMsg::Title), text);
}

}  // namespace

SetDataPrompts StandardSetDataPrompts() { return {RunFileDialog, AskYesNo, TellOk}; }

QString SetDataFolder() { return ProgramFolder() + QStringLiteral("/Setdata"); }

void RestoreProgramFolder() { QDir::setCurrent(ProgramFolder()); }

QString ChooseSaveTarget(const SetDataPrompts& prompts, QWidget* parent) {
    const QString path = prompts.ChooseFile ? prompts.ChooseFile(parent, FileDialogMode::Save) : QString();
    RestoreProgramFolder();
    if (path.isEmpty()) return {};
    if (QFileInfo::exists(path) &&
        !prompts.Ask(parent, QString::fromUtf8(SetDataMsg::FileExists), AskIcon::Question)) {
        prompts.Tell(parent, QString::fromUtf8(SetDataMsg::ChooseNewFile));
        return {};
    }
    return path;
}

QString ChooseLoadSource(const SetDataPrompts& prompts, QWidget* parent) {
    const QString path = prompts.ChooseFile ? prompts.ChooseFile(parent, FileDialogMode::Open) : QString();
    RestoreProgramFolder();
    return path;
}

bool LoadFailsSilently(SetDataStatus status) {
    return status == SetDataStatus::OpenFailed || status == SetDataStatus::EndedEarly;
}

void SaveEncodedToChosenFile(const SetDataPrompts& prompts, QWidget* parent,
                             const SetDataOutcome& encoding, const QByteArray& bytes) {
    if (!encoding.ok()) {
        prompts.Tell(parent, SetDataOutcomeMessage(encoding));
        return;
    }
    const QString path = ChooseSaveTarget(prompts, parent);
    if (path.isEmpty()) return;
    const SetDataOutcome written = WriteSetDataBytes(path, bytes);
    if (!written.ok()) prompts.Tell(parent, SetDataOutcomeMessage(written));
}
