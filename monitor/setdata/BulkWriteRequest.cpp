#include "setdata/BulkWriteRequest.h"

#include "display/Shell.h"
#include "exchange/PortLossMessages.h"
#include "exchange/WriteRequests.h"
#include "setdata/SetDataMessages.h"
#include "setdata/SetDataPrompts.h"

namespace {

void ShowWriting(Shell& shell) {
    shell.StartWriteProgress();
    shell.SetPanelText(4, QString::fromUtf8(SetDataMsg::Writing));
}

}  // namespace

bool LoadRefused(const Shell& shell, const SetDataPrompts& prompts, QWidget* parent) {
    const char* reason = shell.PortLost()              ? PortLossMsg::WriteNotSent
                         : shell.BulkWriteInProgress() ? SetDataMsg::PreviousLoadPending
                                                       : nullptr;
    if (reason) prompts.Tell(parent, QString::fromUtf8(reason));
    return reason != nullptr;
}

void RequestBlockWrite(Shell& shell, int block) {
    ShowWriting(shell);
    shell.writeRequests().RequestBlockWrite(block);
}

void RequestAllBlocksWrite(Shell& shell) {
    ShowWriting(shell);
    shell.writeRequests().RequestAllBlocksWrite();
}
