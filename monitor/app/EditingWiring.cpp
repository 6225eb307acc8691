#include "app/EditingWiring.h"

#include "app/MainDisp.h"
#include "display/MainMenus.h"
#include "editing/SettingEditor.h"
#include "editing/WriteOutcomeText.h"
#include "exchange/PollEngine.h"
#include "setdata/SubDisp_Factoryadj.h"

#include <QPointer>

SettingEditor* ConnectEditing(RDX_INC& data, MainDisp& window) {
    auto* editor = new SettingEditor(data, window, &window);
    if (window.settingChangeView) editor->Attach(*window.settingChangeView);
    if (window.oneChannelView) editor->Attach(*window.oneChannelView);
    if (window.twoBlockView()) editor->Attach(*window.twoBlockView());
    if (window.oneBlockView()) editor->Attach(*window.oneBlockView());
    if (window.RDXCom()) {
        // Settings a controller did not take are told without waiting, once per request.
        RDX_INC* inc = &data;
        MainDisp* w = &window;
        QObject::connect(&window.engine(), &PollEngine::WriteFinished, editor, [inc, w](const WriteResult& r) {
            const QString text = WriteOutcomeText(*inc, r);
            if (!text.isEmpty()) w->messages().Tell(text);
        });
    }
    if (window.menus) {
        MainDisp* w = &window;
        RDX_INC* inc = &data;
        auto dialog = std::make_shared<QPointer<SubDisp_Factoryadj>>();
        QObject::connect(window.menus, &MainMenus::mnuFactory_Click, editor, [w, inc, dialog] {
            if (!*dialog) {
                // The engine exists only once the link object was created.
                *dialog = new SubDisp_Factoryadj(*inc, w->nameLists(), [w]() -> PollEngine* {
                    return w->RDXCom() ? &w->engine() : nullptr;
                }, w);
            }
            (*dialog)->Open();
        });
    }
    return editor;
}
