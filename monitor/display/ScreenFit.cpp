#include "display/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QScreen>
#include <QWidget>

namespace {

// A title bar and thin borders, for windows the window manager has not framed yet.
constexpr int FrameAllowanceWidth = 8;
constexpr int FrameAllowanceHeight = 32;

QSize FrameExtra(const QWidget* w) {
    const QSize extra = w->frameGeometry().size() - w->geometry().size();
    if (extra.width() > 0 || extra.height() > 0) return extra;
    return QSize(FrameAllowanceWidth, FrameAllowanceHeight);
}

QRect Available(const QWidget* w) {
    const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

}  // namespace

QSize RoomOnScreen(const QWidget* w) {
    const QRect area = Available(w);
    if (area.isEmpty()) return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return area.size() - FrameExtra(w);
}

void KeepOnScreen(QWidget* w) {
    if (!w || !w->isWindow() || w->isMaximized() || w->isFullScreen() || w->isMinimized()) return;
    const QRect area = Available(w);
    if (area.isEmpty()) return;
    const QSize room = RoomOnScreen(w);
    if (w->width() > room.width() || w->height() > room.height())
        w->resize(w->size().boundedTo(room).expandedTo(w->minimumSize()));
    QRect frame = w->frameGeometry();
    QPoint to = frame.topLeft();
    if (frame.right() > area.right()) to.setX(area.right() - frame.width() + 1);
    if (frame.bottom() > area.bottom()) to.setY(area.bottom() - frame.height() + 1);
    to.setX(qMax(to.x(), area.left()));
    to.setY(qMax(to.y(), area.top()));
    // Placed by its client area: how move() counts the frame differs between window managers.
    if (to != frame.topLeft()) w->setGeometry(QRect(to + (w->geometry().topLeft() - frame.topLeft()), w->size()));
}

bool KeepWindowsOnScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        const Qt::WindowType type = w->windowType();
        if (w->isWindow() && type != Qt::ToolTip && type != Qt::Popup && type != Qt::Desktop) {
            // Too large for the screen: smaller before it maps; then on screen, framed.
            const QSize room = RoomOnScreen(w);
            if (w->width() > room.width() || w->height() > room.height())
                w->resize(w->size().boundedTo(room).expandedTo(w->minimumSizeHint()));
            QPointer<QWidget> guard(w);
            QTimer::singleShot(SettleMs, w, [guard] {
                if (guard && guard->isVisible()) KeepOnScreen(guard);
            });
        }
    }
    return QObject::eventFilter(watched, event);
}
