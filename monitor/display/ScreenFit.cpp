#include "display/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

// The window manager's frame around the client area; until the window is framed, room for
// a title bar and thin borders.
QMargins FrameMargins(const QWidget* w) {
    const QRect f = w->frameGeometry();
    const QRect g = w->geometry();
    const QMargins m(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
    return m.isNull() ? QMargins(4, 28, 4, 4) : m;
}

QRect Available(const QWidget* w) {
    const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

}  // namespace

QSize RoomOnScreen(const QWidget* w) {
    const QRect area = Available(w);
    if (area.isEmpty()) return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QMargins m = FrameMargins(w);
    return area.size() - QSize(m.left() + m.right(), m.top() + m.bottom());
}

void KeepOnScreen(QWidget* w) {
    if (!w || !w->isWindow() || w->isMaximized() || w->isFullScreen() || w->isMinimized()) return;
    const QRect area = Available(w);
    if (area.isEmpty()) return;
    // No larger than the room (a window that fits keeps its size).
    w->resize(w->size().boundedTo(RoomOnScreen(w)).expandedTo(w->minimumSize()));
    const QMargins m = FrameMargins(w);
    const QRect frame = w->geometry().marginsAdded(m);
    // Back inside the right and bottom edges, then inside the left and top ones.
    const QPoint to(qMax(qMin(frame.left(), area.right() - frame.width() + 1), area.left()),
                    qMax(qMin(frame.top(), area.bottom() - frame.height() + 1), area.top()));
    // Placed by its client area: how move() counts the frame differs between window managers.
    if (to != frame.topLeft()) w->setGeometry(QRect(to + QPoint(m.left(), m.top()), w->size()));
}

bool KeepWindowsOnScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        const Qt::WindowType type = w->windowType();
        if (w->isWindow() && type != Qt::ToolTip && type != Qt::Popup && type != Qt::Desktop) {
            // Too large for the screen: smaller before it maps; then on screen once framed,
            // and again later for a window manager that frames it late.
            const QSize room = RoomOnScreen(w);
            if (w->size().boundedTo(room) != w->size())
                w->resize(w->size().boundedTo(room).expandedTo(w->minimumSizeHint()));
            QPointer<QWidget> guard(w);
            for (int delay : {SettleMs, 4 * SettleMs})
                QTimer::singleShot(delay, w, [guard] {
                    if (guard && guard->isVisible()) KeepOnScreen(guard);
                });
        }
    }
    return QObject::eventFilter(watched, event);
}
