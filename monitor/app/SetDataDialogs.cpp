#include "app/SetDataDialogs.h"

#include "app/MainDisp.h"
#include "display/MainMenus.h"
#include "setdata/SubDisp_AllSaveLoad.h"
#include "setdata/SubDisp_BlockSaveLoad.h"
#include "setdata/SubDisp_Compare.h"
#include "setdata/SubDisp_SaveLoad.h"

SetDataDialogs::SetDataDialogs(RDX_INC& inc, MainDisp& window) : QObject(&window), d(inc), window_(window) {
    if (!window.menus) return;
    connect(window.menus, &MainMenus::mnuSave_CH_Click, this, &SetDataDialogs::mnuSave_CH_Click);
    connect(window.menus, &MainMenus::mnuSave_BLK_Click, this, &SetDataDialogs::mnuSave_BLK_Click);
    connect(window.menus, &MainMenus::mnuSave_ALL_Click, this, &SetDataDialogs::mnuSave_ALL_Click);
    connect(window.menus, &MainMenus::mnuCompare_Click, this, &SetDataDialogs::mnuCompare_Click);
}

SubDisp_SaveLoad& SetDataDialogs::channelDialog() {
    if (!channel_) channel_ = new SubDisp_SaveLoad(d, window_, &window_);
    return *channel_;
}

SubDisp_BlockSaveLoad& SetDataDialogs::blockDialog() {
    if (!block_) block_ = new SubDisp_BlockSaveLoad(d, window_, &window_);
    return *block_;
}

SubDisp_AllSaveLoad& SetDataDialogs::allDialog() {
    if (!all_) all_ = new SubDisp_AllSaveLoad(d, window_, &window_);
    return *all_;
}

SubDisp_Compare& SetDataDialogs::compareDialog() {
    if (!compare_) compare_ = new SubDisp_Compare(d, window_, &window_);
    return *compare_;
}

void SetDataDialogs::mnuSave_CH_Click() { channelDialog().Open(); }
void SetDataDialogs::mnuSave_BLK_Click() { blockDialog().Open(); }
void SetDataDialogs::mnuSave_ALL_Click() { allDialog().Open(); }
void SetDataDialogs::mnuCompare_Click() { compareDialog().Open(); }
