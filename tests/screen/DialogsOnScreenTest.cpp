// Every dialog and window of the program opens whole on a 1024x768 screen.
#include "ProgramOnFakeLine.h"
#include "RealDisplay.h"
#include "app/SubDisp_comm.h"
#include "display/ChartView.h"
#include "app/MainDisp.h"
#include "display/MainMenus.h"
#include "display/SettingChangeView.h"
#include "display/ScreenFit.h"
#include "display/SettingToolbars.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The program's visible windows other than the main window.
QList<QWidget*> OpenWindows(QWidget* main) {
    QList<QWidget*> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != main && w->isVisible() && w->isWindow() && !w->windowTitle().isEmpty()) open << w;
    return open;
}

}  // namespace

TEST(Dialogs, EveryDialogOpensWholeOnTheScreen) {
    const QRect screen(0, 0, RealDisplay::Width, RealDisplay::Height);
    QStringList seen;
    RunProgram([&](RDXApplication& p) {
        MainDisp& w = p.mainWindow();
        MainMenus& m = *w.menus;
        const std::pair<const char*, std::function<void()>> openers[] = {
            {"help", [&] { m.numhelp2_Click(); }},
            {"about", [&] { m.numabout_Click(); }},
            {"alarm history", [&] { m.numhyst->trigger(); }},
            {"block names", [&] { m.mnuDevno->trigger(); }},
            {"channel names", [&] { m.mnuCHname->trigger(); }},
            {"MQTT publishing", [&] { m.mnuMqtt->trigger(); }},
            {"port", [&] { w.findChild<SubDisp_comm*>()->ShowWith(QStringLiteral("COM1"), QStringLiteral("9600")); }},
            {"channel save/load", [&] { m.mnuSave_CH->trigger(); }},
            {"block save/load", [&] { m.mnuSave_BLK->trigger(); }},
            {"all-channel save/load", [&] { m.mnuSave_ALL->trigger(); }},
            {"factory initialisation", [&] { m.mnuFactory->trigger(); }},
            {"chart settings", [&] { qobject_cast<ChartView*>(w.tabView(5))->ChartStart_Click(2); }},
            {"setting entry", [&] {
                 w.SSTab1->setCurrentIndex(4);
                 SettingToolbars::Button(w.settingToolbars->Toolbar2, 1)->trigger();
                 w.settingChangeView->Command_change[0]->click();
             }},
            {"choice entry", [&] {
                 w.SSTab1->setCurrentIndex(4);
                 SettingToolbars::Button(w.settingToolbars->Toolbar2, 14)->trigger();
                 w.settingChangeView->Command_change2[0]->click();
             }},
        };
        for (const auto& [what, open] : openers) {
            open();
            Settle(700);
            const QList<QWidget*> windows = OpenWindows(&w);
            EXPECT_FALSE(windows.isEmpty()) << what << " did not open";
            for (QWidget* window : windows) {
                seen << window->windowTitle();
                EXPECT_TRUE(screen.contains(window->frameGeometry()))
                    << what << ": \"" << window->windowTitle().toStdString() << "\" at "
                    << window->frameGeometry().x() << "," << window->frameGeometry().y() << " size "
                    << window->frameGeometry().width() << "x" << window->frameGeometry().height();
                // Shown again where the window manager could leave it partly off the
                // screen (a remembered place, a crowded screen): it comes back whole.
                window->hide();
                window->move(screen.width() - 120, screen.height() - 90);
                window->show();
                // After the second look at the window, for a window manager that frames late.
                Settle(4 * KeepWindowsOnScreen::SettleMs + 200);
                EXPECT_TRUE(screen.contains(window->frameGeometry()))
                    << what << ", shown again near the corner: \"" << window->windowTitle().toStdString()
                    << "\" at " << window->frameGeometry().x() << "," << window->frameGeometry().y();
                window->close();
            }
            Settle(100);
        }
    });
    EXPECT_GE(seen.size(), 13);
}
