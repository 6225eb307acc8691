// SubDisp_BlockSaveLoad: the table values of the 20 channels of one block, copied
// between the block, a work area and block files; a copy into a block is written to it.
#pragma once

#include "setdata/SetDataPrompts.h"
#include "setdata/SetDataRecord.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <vector>

class Shell;
class NameLists;
class RDX_INC;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class SubDisp_BlockSaveLoad : public QDialog {
    Q_OBJECT
public:
    enum Button { MoveToWorkButton = 0, MoveToBlockButton, SaveButton, LoadButton, ReturnButton };

    SubDisp_BlockSaveLoad(RDX_INC& inc, Shell& shell, QWidget* parent = nullptr);

    // One option per block, captioned with the block names.
    std::array<QRadioButton*, BlockCount> Block_Option1{};
    QLabel* Label2 = nullptr;
    // Where the work area came from: a block name or a file name.
    QLabel* BlockName_Label = nullptr;
    // Hidden: (0) the block last written to, (1) the block last copied from.
    std::array<QLineEdit*, 2> BlockNo_Text{};
    std::array<QPushButton*, 5> Command1{};

    SetDataPrompts Prompts;

    const std::vector<SetDataRecord>& WorkRecords() const { return workRecords_; }
    // The block whose option is selected, or -1 when none is.
    int SelectedOption() const;

    // mnuSave_BLK: all names refreshed, dialog shown.
    void Open();
    void Command1_Click(int index);
    void MoveToWork();
    void MoveToBlock();
    void SaveWork();
    void LoadWork();
    void ReturnClick();
    void BulkWriteFinished();
    // Block_Option1 captions from the block names.
    void ShowBlockNames(const QStringList& names);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int BlockNo(int index) const;
    void EnableButtons(bool enabled);
    void EnableWorkButtons();
    void Unload();

    RDX_INC& d;
    Shell& shell_;
    NameLists& lists_;
    QButtonGroup* options_ = nullptr;
    std::vector<SetDataRecord> workRecords_;
    // The block the work area was copied from, or -1 when it came from a file.
    int workSource_ = -1;
};
