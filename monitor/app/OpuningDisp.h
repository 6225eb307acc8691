// The opening form, up from start until the start-up read is done.
#pragma once

#include <QWidget>

class QProgressBar;

class OpuningDisp : public QWidget {
    Q_OBJECT
public:
    explicit OpuningDisp(QWidget* parent = nullptr);
    QProgressBar* ProgressBar1 = nullptr;
    // Advances the bar and paints it at once: the read blocks the event loop.
    void SetProgress(int count);
    // Shows and paints the form before the long steps that follow.
    void ShowNow();
};
