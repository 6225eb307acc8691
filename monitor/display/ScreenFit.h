// Keeping top-level windows whole on small screens (a 1024x768 panel PC).
#pragma once

#include <QObject>
#include <QSize>

class QWidget;

// The largest client size a top-level window can have on its screen: the screen's
// available area less the window manager's frame (an allowance until the frame is known).
QSize RoomOnScreen(const QWidget* window);
// Shrinks a top-level window to the room on its screen when it is larger, and moves it
// so that its frame lies inside the screen's available area.
void KeepOnScreen(QWidget* window);

// Installed on the application: every top-level window that is shown (dialogs, the help
// window, message boxes) is kept whole on its screen once the window manager framed it.
class KeepWindowsOnScreen : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // How long after showing the window manager's frame is known.
    static constexpr int SettleMs = 300;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
