// The main window's buttons and menu entry reach the editing code once it is connected.
#include "EditingFixture.h"

#include "app/MainDisp.h"
#include "display/MainMenus.h"
#include "display/OneBlockView.h"
#include "display/SettingChangeView.h"
#include "app/EditingWiring.h"
#include "editing/SettingEditor.h"

#include <QAction>
#include <QPushButton>

namespace {

TEST_F(EditingTest, MainWindowButtonsAndFactoryEntryAreConnected) {
    MainDisp window(d);
    EXPECT_FALSE(window.menus->mnuFactory->isEnabled());
    SettingEditor* editor = ConnectEditing(d, window);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(window.menus->mnuFactory->isEnabled());

    window.oneBlockView()->tb2_OUT[4]->click();
    EXPECT_EQ(d.ChOutputSwitch[4], 1);
    d.ChOutputSwitch[7] = 1;
    window.settingChangeView->Command_AT[7]->click();
    EXPECT_EQ(d.ChATSwitch[7], 1);
}

}  // namespace
