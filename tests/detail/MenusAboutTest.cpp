#include "display/MainMenus.h"
#include "display/SubDisp_About.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

// Captions of a menu and its submenus, depth first; separators as "-".
void Collect(const QList<QAction*>& actions, QStringList& out, const QString& indent) {
    for (QAction* a : actions) {
        out << (a->isSeparator() ? indent + QStringLiteral("-") : indent + a->text());
        if (a->menu()) Collect(a->menu()->actions(), out, indent + QStringLiteral("  "));
    }
}

class MenusTest : public ::testing::Test {
protected:
    MenusTest() {
        window.resize(800, 600);
        progress = new QProgressBar;
        window.statusBar()->addPermanentWidget(progress);
        menus.ProgressBar1 = progress;
        menus.Toolbar3 = toolbar3;
        toolbar3->hide();
    }

    QMainWindow window;
    MainMenus menus{window};
    QProgressBar* progress = nullptr;
    QToolBar* toolbar3 = window.addToolBar(QStringLiteral("Toolbar3"));
};

TEST_F(MenusTest, MenuBarHasEveryCommandInOrder) {
    QStringList captions;
    Collect(window.menuBar()->actions(), captions, QString());
    const QStringList expected{
        "ﾌｧｲﾙ(&F)", "  ﾓﾆﾀｿﾌﾄの終了(&E)",
        "設定(&S)", "  ﾌﾞﾛｯｸ名登録(&B)", "  ﾁｬﾝﾈﾙ名登録(&C)", "  -", "  MQTT公開設定(&M)...",
        "画面(&D)", "  通常(&W)", "  -", "  最小(&N)", "  最大(&X)",
        "ﾕｰｻﾞｰ(&U)", "  設定値ｾｰﾌﾞとﾛｰﾄﾞ(&G)", "    チャンネル単位(&C)", "    ブロック単位(&B)",
        "    全チャンネル一括(&A)", "    -", "    設定ﾃﾞｰﾀ照合(&V)...", "  ﾃﾞｰﾀ初期化（工場出荷初期値）(&K)", "  -", "  ｱﾗｰﾑﾋｽﾄﾘ(&A)", "  回線診断(&L)...",
        "ﾍﾙﾌﾟ(&H)", "  ﾍﾙﾌﾟ(&M)", "  -", "  ﾊﾞｰｼﾞｮﾝ情報(&V)",
    };
    EXPECT_EQ(captions, expected);
}

TEST_F(MenusTest, CommandsOfMissingDialogsAreEnabledOnlyWhenConnected) {
    EXPECT_FALSE(menus.mnuSave_CH->isEnabled());
    EXPECT_FALSE(menus.numhyst->isEnabled());
    int opened = 0;
    auto connection = QObject::connect(&menus, &MainMenus::numhyst_Click, [&] { ++opened; });
    EXPECT_TRUE(menus.numhyst->isEnabled());
    EXPECT_FALSE(menus.mnuFactory->isEnabled());
    menus.numhyst->trigger();
    EXPECT_EQ(opened, 1);
    QObject::disconnect(connection);
    QCoreApplication::processEvents();
    EXPECT_FALSE(menus.numhyst->isEnabled());
}

TEST_F(MenusTest, WindowSizeCommandsSetStateAndPlaceProgressBar) {
    window.show();
    const int offset = qRound(90 * window.logicalDpiY() / 1440.0);
    auto progressOffset = [&] {
        return progress->mapToGlobal(QPoint(0, 0)).y() - window.statusBar()->mapToGlobal(QPoint(0, 0)).y();
    };
    menus.mnuMax->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(progressOffset(), offset);
    menus.mnuMax->trigger();  // already maximised: stays so, the bar is placed again
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(progressOffset(), offset);
    menus.mnunom->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.windowState(), Qt::WindowNoState);
    EXPECT_EQ(progressOffset(), offset);
    // The status bar laying it out again (a move) does not shift it from its place, not
    // even until the next event.
    progress->move(progress->x(), 0);
    EXPECT_EQ(progressOffset(), offset);
    menus.mnuMin->trigger();
    EXPECT_TRUE(window.windowState() & Qt::WindowMinimized);
}

TEST_F(MenusTest, AboutBoxShowsVersionAndItsAccessCodeShowsToolbar3) {
    menus.numabout->trigger();
    QPointer<SubDisp_About> about = menus.aboutDialog();
    ASSERT_TRUE(about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(about->Label4->text(), QStringLiteral("2.03"));

    QTest::keyClicks(about->AccessCode_Text, QStringLiteral("quarZel"));
    EXPECT_TRUE(toolbar3->isHidden());
    about->AccessCode_Text->clear();
    QTest::keyClicks(about->AccessCode_Text, QStringLiteral("quarze"));
    EXPECT_TRUE(toolbar3->isHidden());
    QTest::keyClicks(about->AccessCode_Text, QStringLiteral("l"));
    EXPECT_FALSE(toolbar3->isHidden());
    QTest::keyClicks(about->AccessCode_Text, QStringLiteral("x"));
    EXPECT_TRUE(toolbar3->isHidden());
    QTest::keyClick(about->AccessCode_Text, Qt::Key_Backspace);
    EXPECT_FALSE(toolbar3->isHidden());

    // OK unloads the dialog; the tool bar stays as it was and the next opening starts anew.
    about->Command1->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(about);
    EXPECT_FALSE(toolbar3->isHidden());
    menus.numabout_Click();
    ASSERT_TRUE(menus.aboutDialog());
    EXPECT_EQ(menus.aboutDialog()->AccessCode_Text->text(), QString());
    EXPECT_EQ(menus.aboutDialog()->Label4->text(), QStringLiteral("2.03"));
    menus.aboutDialog()->close();
}

}  // namespace
