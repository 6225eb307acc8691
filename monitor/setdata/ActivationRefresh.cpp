#include "setdata/ActivationRefresh.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

bool OwnedBy(const QWidget* window, const QWidget* owner) {
    for (const QWidget* w = window; w; w = w->parentWidget())
        if (w == owner) return true;
    return false;
}

}  // namespace

ActivationRefresh::ActivationRefresh(QWidget* dialog, std::function<void()> refresh)
    : QObject(dialog), dialog_(dialog), refresh_(std::move(refresh)) {
    dialog->installEventFilter(this);
}

bool ActivationRefresh::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dialog_) {
        if (event->type() == QEvent::WindowDeactivate) {
            // By now the application's active window is the one that took over.
            const QWidget* next = QApplication::activeWindow();
            toOwnWindow_ = next && next != dialog_ && OwnedBy(next, dialog_);
        } else if (event->type() == QEvent::WindowActivate) {
            // Every deactivation before this one decided the flag afresh.
            if (!toOwnWindow_ && refresh_) refresh_();
        }
    }
    return QObject::eventFilter(watched, event);
}
