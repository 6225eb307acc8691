// How a set-data loader hands its tables to the write sequences: the shell shows
// that settings are being changed, then the state machine is asked for the bulk write.
#pragma once

class Shell;
class RDX_INC;

// True while an earlier load's alarm values have not gone out (the 15-s pause, or a lost
// port): a second load now would overwrite them, so the caller refuses it with
// SetDataMsg::PreviousLoadPending before it changes any table.
bool PreviousLoadPending(const Shell& shell);

// ProgressBar1 visible at 0, status panel 4 "設定値変更中", SelectedBlock = block,
// PollState = 3 (all parameters of one block).
void RequestBlockWrite(Shell& shell, RDX_INC& inc, int block);
// The same display, then PollState = 4 (all parameters of every block).
void RequestAllBlocksWrite(Shell& shell, RDX_INC& inc);
