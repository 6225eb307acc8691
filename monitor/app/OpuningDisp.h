// The opening form, up from start until the start-up read is done.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

class OpuningDisp : public QWidget {
    Q_OBJECT
public:
    explicit OpuningDisp(QWidget* parent = nullptr);
    QLabel* Title = nullptr;
    QLabel* Message = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    // Advances the bar to percent and paints it at once: the read blocks the event loop.
    void SetProgress(int percent);
    // Shows the form and returns once the window system has it on screen, painted: the
    // start-up read that follows blocks the event loop, so nothing would paint it later.
    void ShowNow();
    // How long ShowNow waits at most for the window system.
    static constexpr int ShowWaitMs = 3000;
};
