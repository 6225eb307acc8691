// Windows kept whole on the screen. Until a window is framed, an allowance for a frame
// (4, 28, 4, 4) is kept clear around its client area; once framed, its own frame.
#include "display/ScreenFit.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QMargins Allowance(4, 28, 4, 4);

QRect Area() { return QGuiApplication::primaryScreen()->availableGeometry(); }

QSize Room() { return Area().size() - QSize(Allowance.left() + Allowance.right(), Allowance.top() + Allowance.bottom()); }

}  // namespace

TEST(ScreenFit, RoomIsTheAvailableAreaLessTheFrame) {
    QWidget w;
    EXPECT_EQ(RoomOnScreen(&w), Room());
}

TEST(ScreenFit, ALargeWindowShrinksToTheRoomAndItsFrameComesInside) {
    QWidget w;
    w.setGeometry(Area().left() + 50, Area().top() + 60, Area().width() * 2, Area().height() * 2);
    w.show();
    KeepOnScreen(&w);
    EXPECT_EQ(w.size(), RoomOnScreen(&w));
    EXPECT_LT(w.width(), Area().width());
    EXPECT_EQ(w.frameGeometry().topLeft(), Area().topLeft());
    EXPECT_TRUE(Area().contains(w.frameGeometry()));
}

TEST(ScreenFit, AWindowPastTheRightAndBottomEdgesMovesInAndKeepsItsSize) {
    QWidget w;
    w.setGeometry(Area().right() - 100, Area().bottom() - 50, 300, 200);
    w.show();
    KeepOnScreen(&w);
    EXPECT_EQ(w.size(), QSize(300, 200));
    EXPECT_EQ(w.frameGeometry().right(), Area().right());
    EXPECT_EQ(w.frameGeometry().bottom(), Area().bottom());
}

TEST(ScreenFit, AWindowAlreadyInsideStaysWhereItIs) {
    QWidget w;
    const QRect inside(Area().topLeft() + QPoint(100, 100), QSize(200, 150));
    w.setGeometry(inside);
    w.show();
    KeepOnScreen(&w);
    EXPECT_EQ(w.geometry(), inside);
}

// Whatever their size, maximized and minimized windows and widgets inside a window are
// left alone.
TEST(ScreenFit, MaximizedAndMinimizedWindowsAndChildWidgetsAreLeftAlone) {
    QWidget w;
    w.showMaximized();
    QTest::qWait(10);
    ASSERT_TRUE(w.isMaximized());
    const QRect maximized = w.geometry();
    ASSERT_GT(maximized.width(), Room().width());
    KeepOnScreen(&w);
    EXPECT_EQ(w.geometry(), maximized);

    QWidget minimized;
    minimized.setGeometry(Area().right() - 10, Area().bottom() - 10, Area().width() * 2, 300);
    const QRect before = minimized.geometry();
    minimized.showMinimized();
    QTest::qWait(10);
    ASSERT_TRUE(minimized.isMinimized());
    KeepOnScreen(&minimized);
    EXPECT_EQ(minimized.geometry(), before);

    QWidget top;
    QWidget child(&top);
    child.setGeometry(Area().right() - 10, 0, Area().width() * 2, 50);
    top.setGeometry(QRect(Area().topLeft() + QPoint(10, 40), QSize(200, 100)));
    top.show();
    const QRect childGeometry = child.geometry();
    KeepOnScreen(&child);
    EXPECT_EQ(child.geometry(), childGeometry);
    KeepOnScreen(nullptr);
}

// Installed on the application: a dialog too large for the screen is smaller before it
// shows, and its frame is inside the screen once the window manager had time to frame it.
TEST(ScreenFit, TheFilterFitsEveryShownWindow) {
    KeepWindowsOnScreen filter;
    qApp->installEventFilter(&filter);
    QDialog dialog;
    dialog.setGeometry(Area().right() - 20, Area().top() + 10, Area().width() + 300, 100);
    dialog.show();
    EXPECT_LT(dialog.width(), Area().width());
    QTest::qWait(KeepWindowsOnScreen::SettleMs + 100);
    EXPECT_EQ(dialog.width(), RoomOnScreen(&dialog).width());
    EXPECT_TRUE(Area().contains(dialog.frameGeometry()));
    EXPECT_EQ(dialog.frameGeometry().left(), Area().left());
    qApp->removeEventFilter(&filter);
}

// The filter fits windows only: a widget inside a window keeps its size, however large.
TEST(ScreenFit, TheFilterLeavesWidgetsInsideAWindowAlone) {
    KeepWindowsOnScreen filter;
    qApp->installEventFilter(&filter);
    QWidget window;
    window.setGeometry(QRect(Area().topLeft() + QPoint(10, 40), QSize(200, 100)));
    QWidget inside(&window);
    const QSize large(Area().width() * 2, Area().height() * 2);
    inside.resize(large);
    window.show();
    EXPECT_TRUE(inside.isVisible());
    EXPECT_EQ(inside.size(), large);
    qApp->removeEventFilter(&filter);
}

