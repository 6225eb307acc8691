// "On activation" for a modeless dialog: runs a refresh each time the dialog becomes the
// active window again (the operator comes back from the main window or another dialog),
// not only when it is opened.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

class ActivationRefresh : public QObject {
public:
    // Watches `dialog` (and is owned by it).
    ActivationRefresh(QWidget* dialog, std::function<void()> refresh);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* dialog_;
    std::function<void()> refresh_;
    // The dialog handed the activation to a box or file dialog of its own: coming back
    // from it is the same action going on (a refresh would undo what the operator set).
    bool toOwnWindow_ = false;
};
