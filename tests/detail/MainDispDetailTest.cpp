// Tabs 3 and 4, the setting tool bars and the menus as the main window installs them.
#include "display/MainDisp.h"
#include "display/MainMenus.h"
#include "display/OneChannelView.h"
#include "display/SettingChangeView.h"
#include "display/SettingToolbars.h"
#include "display/SubDisp_About.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

class MainDispDetailTest : public ::testing::Test {
protected:
    RDX_INC d;
    MainDisp window{d};
};

TEST_F(MainDispDetailTest, TabsThreeAndFourAreTheDetailViews) {
    ASSERT_NE(window.oneChannelView, nullptr);
    ASSERT_NE(window.settingChangeView, nullptr);
    EXPECT_EQ(window.SSTab1->widget(3), window.oneChannelView);
    EXPECT_EQ(window.SSTab1->widget(4), window.settingChangeView);
    EXPECT_EQ(window.SSTab1->tabText(3), QStringLiteral("1ﾁｬﾝﾈﾙ画面"));
    EXPECT_EQ(window.SSTab1->tabText(4), QStringLiteral("設定値変更画面"));

    window.SSTab1->setCurrentIndex(3);
    window.SelectDispItem();  // channel 0 of an empty table: nothing connected
    EXPECT_TRUE(window.oneChannelView->Label14[0]->isVisibleTo(window.oneChannelView));
}

TEST_F(MainDispDetailTest, BlockRereadResetsTheSettingView) {
    for (int c = 0; c < 20; ++c) d.ChPresent[c] = 1;
    window.SSTab1->setCurrentIndex(4);
    SettingToolbars::Button(window.settingToolbars->Toolbar2, 24)->trigger();
    window.SelectDispItem();
    ASSERT_EQ(d.SelectedItem, 24);
    window.ResetSettingView();
    EXPECT_EQ(d.SelectedItem, 0);
    EXPECT_EQ(window.settingChangeView->Frame_main->title(), QString());
    EXPECT_TRUE(window.settingChangeView->Frame_sub1[0]->isVisibleTo(window.settingChangeView));
    EXPECT_FALSE(window.settingChangeView->Frame_sub1[2]->isVisibleTo(window.settingChangeView));
}

TEST_F(MainDispDetailTest, AccessCodeInTheAboutBoxShowsTheWindowsToolbar3) {
    ASSERT_TRUE(window.settingToolbars->Toolbar3->isHidden());
    window.menus->numabout->trigger();
    window.menus->aboutDialog()->AccessCode_Text->setText(QStringLiteral("quarzel"));
    EXPECT_FALSE(window.settingToolbars->Toolbar3->isHidden());
    window.menus->aboutDialog()->close();
}

TEST_F(MainDispDetailTest, QuitCommandAsksBeforeEnding) {
    QString asked;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            asked = box->text();
            box->button(QMessageBox::No)->click();
        }
    });
    answer.start(10);
    window.menus->mnuEnd->trigger();
    EXPECT_EQ(asked, QStringLiteral("ﾓﾆﾀｿﾌﾄを終了します。よろしいですか？"));
    EXPECT_FALSE(d.EndRequested);
    // The block and channel name dialogs exist, so their commands are live.
    EXPECT_TRUE(window.menus->mnuDevno->isEnabled());
    EXPECT_TRUE(window.menus->mnuCHname->isEnabled());
}

}  // namespace
