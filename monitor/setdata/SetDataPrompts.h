// The operator's side of the set-data dialogs: the file dialogs and the message boxes.
// A dialog holds one SetDataPrompts, so tests answer for the operator without windows.
#pragma once

#include "setdata/SetDataFormat.h"

#include <QString>
#include <functional>

class QWidget;

enum class FileDialogMode { Save, Open };
enum class AskIcon { Warning, Question };

struct SetDataPrompts {
    // The chosen path, or an empty text when the operator cancelled.
    std::function<QString(QWidget* parent, FileDialogMode mode)> ChooseFile;
    // A Yes/No message box; true for Yes.
    std::function<bool(QWidget* parent, const QString& text, AskIcon icon)> Ask;
    // An OK-only message box.
    std::function<void(QWidget* parent, const QString& text)> Tell;
};

// Real file dialogs (folder SetDataFolder(), filter "*.dat", default extension "dat")
// and message boxes with the program's title.
SetDataPrompts StandardSetDataPrompts();

// The program folder + "/Setdata".
QString SetDataFolder();
// Makes the program folder the current folder again, as after every file dialog.
void RestoreProgramFolder();

// The save dialog and the overwrite question: the path to write, or empty when nothing
// is to be written (cancelled, or an existing file the operator keeps).
QString ChooseSaveTarget(const SetDataPrompts& prompts, QWidget* parent);
// Saves encoded set-data: a refused encoding (a double quote in a unit text, say) is told
// before the operator picks a file; otherwise the save dialog, the write, and a failed
// write told (saying nothing would look like a saved file).
void SaveEncodedToChosenFile(const SetDataPrompts& prompts, QWidget* parent,
                             const SetDataOutcome& encoding, const QByteArray& bytes);
// The open dialog: the path to read, or empty when cancelled.
QString ChooseLoadSource(const SetDataPrompts& prompts, QWidget* parent);

// The block and all-channel dialogs end a failed load without a message when the file
// cannot be opened or ends early; every other refusal is told.
bool LoadFailsSilently(SetDataStatus status);
