// The set-data dialogs of the main window, made on first use and opened from its menu
// entries mnuSave_CH, mnuSave_BLK and mnuSave_ALL,
// and the compare dialog of mnuCompare.
#pragma once

#include <QObject>

class MainDisp;
class RDX_INC;
class SubDisp_SaveLoad;
class SubDisp_BlockSaveLoad;
class SubDisp_AllSaveLoad;
class SubDisp_Compare;

class SetDataDialogs : public QObject {
    Q_OBJECT
public:
    // A child of the window; connects the window's menu entries.
    SetDataDialogs(RDX_INC& inc, MainDisp& window);

    SubDisp_SaveLoad& channelDialog();
    SubDisp_BlockSaveLoad& blockDialog();
    SubDisp_AllSaveLoad& allDialog();
    SubDisp_Compare& compareDialog();

    void mnuSave_CH_Click();
    void mnuSave_BLK_Click();
    void mnuSave_ALL_Click();
    void mnuCompare_Click();

private:
    RDX_INC& d;
    MainDisp& window_;
    SubDisp_SaveLoad* channel_ = nullptr;
    SubDisp_BlockSaveLoad* block_ = nullptr;
    SubDisp_AllSaveLoad* all_ = nullptr;
    SubDisp_Compare* compare_ = nullptr;
};
