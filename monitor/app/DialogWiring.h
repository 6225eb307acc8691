// Builds the main window's port, block name, channel name and set-data dialogs and
// connects them to the menus, the start-up load and the engine's port request.
#pragma once

class MainDisp;
class RDX_INC;
class SetDataDialogs;
class SubDisp_Block;
class SubDisp_Chname;
class SubDisp_comm;

// All children of the window, which owns them.
struct ShellDialogs {
    SubDisp_comm* port = nullptr;
    SubDisp_Block* blockNames = nullptr;
    SubDisp_Chname* channelNames = nullptr;
    SetDataDialogs* setData = nullptr;
};

ShellDialogs ConnectDialogs(RDX_INC& data, MainDisp& window);
