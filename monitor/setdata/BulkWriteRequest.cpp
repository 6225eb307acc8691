#include "setdata/BulkWriteRequest.h"

#include "display/Shell.h"
#include "exchange/RDX_INC.h"
#include "setdata/SetDataMessages.h"

namespace {

void ShowWriting(Shell& shell) {
    shell.StartWriteProgress();
    shell.SetPanelText(4, QString::fromUtf8(SetDataMsg::Writing));
}

}  // namespace

bool PreviousLoadPending(const Shell& shell) { return shell.BulkWriteInProgress(); }

void RequestBlockWrite(Shell& shell, RDX_INC& inc, int block) {
    ShowWriting(shell);
    inc.SelectedBlock = block;
    inc.PollState = 3;
}

void RequestAllBlocksWrite(Shell& shell, RDX_INC& inc) {
    ShowWriting(shell);
    inc.PollState = 4;
}
