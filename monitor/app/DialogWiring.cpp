#include "app/DialogWiring.h"

#include "app/MainDisp.h"
#include "app/SetDataDialogs.h"
#include "app/SubDisp_Block.h"
#include "app/SubDisp_Chname.h"
#include "app/SubDisp_comm.h"
#include "display/FourBlockView.h"
#include "display/MainMenus.h"

ShellDialogs ConnectDialogs(RDX_INC& data, MainDisp& window) {
    ShellDialogs dialogs;
    dialogs.port = new SubDisp_comm(data, &window);
    dialogs.blockNames = new SubDisp_Block(window.nameLists(), &window);
    dialogs.channelNames = new SubDisp_Chname(window.nameLists(), &window);
    dialogs.setData = new SetDataDialogs(data, window);

    SubDisp_comm* port = dialogs.port;
    QObject::connect(&window, &MainDisp::portDialogRequested, port,
                     [port](const QString& name, const QString& speed, const OpenFailureInfo& failure) {
                         port->ShowWith(name, speed, failure);
                     });
    QObject::connect(&window, &MainDisp::storedSettingsReading, dialogs.blockNames, &SubDisp_Block::LoadNames);
    QObject::connect(&window, &MainDisp::storedSettingsReading, port, &SubDisp_comm::LoadFromStore);
    if (window.menus) {
        QObject::connect(window.menus, &MainMenus::mnuDevno_Click, dialogs.blockNames, &SubDisp_Block::Open);
        QObject::connect(window.menus, &MainMenus::mnuCHname_Click, dialogs.channelNames, &SubDisp_Chname::Open);
    }
    // The four-block view shows the names the dialogs stored.
    if (FourBlockView* tab0 = window.fourBlockView()) {
        QObject::connect(dialogs.blockNames, &SubDisp_Block::namesSaved, tab0, &FourBlockView::ShowFrameCaptions);
        QObject::connect(dialogs.channelNames, &SubDisp_Chname::namesSaved, tab0, &FourBlockView::ShowChannelLabels);
    }
    return dialogs;
}
