// Connects the main window's setting buttons and the factory-initialisation menu entry
// to the editing dialogs and direct operations.
#pragma once

#include "exchange/RDX_INC.h"

class MainDisp;
class SettingEditor;

// Builds the editor (owned by the window) and connects tabs 1 to 4 and mnuFactory.
SettingEditor* ConnectEditing(RDX_INC& data, MainDisp& window);
