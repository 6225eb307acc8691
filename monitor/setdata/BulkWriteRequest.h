// How a set-data loader hands its tables to the write sequences: the main window shows
// that settings are being changed, then the state machine is asked for the bulk write.
#pragma once

class MainDisp;
class RDX_INC;

// True while an earlier load's alarm values have not gone out (the 15-s pause, or a lost
// port): a second load now would overwrite them, so the caller refuses it with
// SetDataMsg::PreviousLoadPending before it changes any table.
bool PreviousLoadPending(const MainDisp& window);

// ProgressBar1 visible at 0, status panel 4 "設定値変更中", SelectedBlock = block,
// PollState = 3 (all parameters of one block).
void RequestBlockWrite(MainDisp& window, RDX_INC& inc, int block);
// The same display, then PollState = 4 (all parameters of every block).
void RequestAllBlocksWrite(MainDisp& window, RDX_INC& inc);
