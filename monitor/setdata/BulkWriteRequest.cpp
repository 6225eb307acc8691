#include "setdata/BulkWriteRequest.h"

#include "display/MainDisp.h"
#include "exchange/RDX_INC.h"
#include "setdata/SetDataMessages.h"

#include <QProgressBar>

namespace {

void ShowWriting(MainDisp& window) {
    if (window.ProgressBar1) {
        window.ProgressBar1->setVisible(true);
        window.ProgressBar1->setValue(0);
    }
    window.SetPanelText(4, QString::fromUtf8(SetDataMsg::Writing));
}

}  // namespace

bool PreviousLoadPending(const MainDisp& window) { return window.BulkWriteInProgress(); }

void RequestBlockWrite(MainDisp& window, RDX_INC& inc, int block) {
    ShowWriting(window);
    inc.SelectedBlock = block;
    inc.PollState = 3;
}

void RequestAllBlocksWrite(MainDisp& window, RDX_INC& inc) {
    ShowWriting(window);
    inc.PollState = 4;
}
