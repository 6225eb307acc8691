// SubDisp_AllSaveLoad: all 320 channels' table values saved to one file, or loaded from
// one and written to every block.
#pragma once

#include "setdata/SetDataPrompts.h"

#include <QDialog>
#include <array>

class Shell;
class NameLists;
class RDX_INC;
class QLabel;
class QPushButton;

class SubDisp_AllSaveLoad : public QDialog {
    Q_OBJECT
public:
    enum Button { SaveButton = 0, LoadButton, ReturnButton };

    SubDisp_AllSaveLoad(RDX_INC& inc, Shell& shell, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    std::array<QPushButton*, 3> Command1{};

    SetDataPrompts Prompts;

    // mnuSave_ALL: the dialog shown.
    void Open();
    void Command1_Click(int index);
    void SaveAll();
    void LoadAll();
    void ReturnClick();
    void BulkWriteFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void EnableButtons(bool enabled);
    void Unload();

    RDX_INC& d;
    Shell& shell_;
    NameLists& lists_;
};
