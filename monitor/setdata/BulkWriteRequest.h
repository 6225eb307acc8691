// How a set-data loader hands its tables to the write sequences: the shell shows
// that settings are being changed, then the state machine is asked for the bulk write.
#pragma once

class Shell;
class RDX_INC;
class QWidget;
struct SetDataPrompts;

// Asked before a load puts the operator's question or changes any table: true, with the
// reason told, while the load could not go out as it is. With the port lost nothing
// could be sent (the views would show values the controllers never got); while an
// earlier load's alarm values have not gone out (the 15-s pause) a second load would
// overwrite them.
bool LoadRefused(const Shell& shell, const SetDataPrompts& prompts, QWidget* parent);

// ProgressBar1 visible at 0, status panel 4 "設定値変更中", then the write of all
// parameters of one block is requested.
void RequestBlockWrite(Shell& shell, int block);
// The same display, then the write of all parameters of every block.
void RequestAllBlocksWrite(Shell& shell);
