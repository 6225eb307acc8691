// SubDisp_Compare (設定ﾃﾞｰﾀ照合): a channel, block or all-channel set-data file against
// the line. The line's values are the tables the polling keeps: a block whose settings
// change at a front panel is re-read whole at once, so they are the line's values without
// a single extra request and without holding up the alarms' polling. A block out of
// contact (its tables frozen) is named and left out. Offers the list as a CSV file and
// the differing settings written back.
#pragma once

#include "setdata/SetDataPrompts.h"
#include "setdata/SettingsAudit.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

class Shell;
class NameLists;
class RDX_INC;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

class SubDisp_Compare : public QDialog {
    Q_OBJECT
public:
    SubDisp_Compare(RDX_INC& inc, Shell& shell, QWidget* parent = nullptr);
    ~SubDisp_Compare() override;

    QLabel* FileLabel = nullptr;
    QComboBox* BlockList = nullptr;
    QComboBox* ChannelList = nullptr;
    QTableWidget* List = nullptr;
    QLabel* ResultLabel = nullptr;
    QPushButton *ChooseButton = nullptr, *CompareButton = nullptr, *SaveListButton = nullptr,
                *WriteButton = nullptr, *ReturnButton = nullptr;

    SetDataPrompts Prompts;
    // The CSV file to save the list to; empty when cancelled.
    std::function<QString(QWidget* parent)> ChooseListFile;

    // The menu entry: the dialog shown.
    void Open();
    // The file chosen and compared at once; Compare again with the same file.
    void ChooseFile();
    void Compare();
    void SaveList();
    void WriteDifferences();

    const SettingsComparison& comparison() const { return comparison_; }

private:
    // The file read, or why not (told to the operator).
    struct FileContents;
    bool ReadChosenFile(const QString& path);
    void ShowComparison();

    RDX_INC& d;
    Shell& shell_;
    NameLists& lists_;
    std::unique_ptr<FileContents> file_;
    SettingsComparison comparison_;
};
