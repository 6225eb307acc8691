#include "app/OpuningDisp.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWindow>

OpuningDisp::OpuningDisp(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("RDX-410 Monitoring software"));
    Title = new QLabel(QStringLiteral("RDX-410 Monitoring software"), this);
    Title->setAlignment(Qt::AlignCenter);
    QFont titleFont = Title->font();
    titleFont.setPointSize(titleFont.pointSize() * 2);
    titleFont.setBold(true);
    Title->setFont(titleFont);
    Message = new QLabel(
        QStringLiteral("ﾓﾆﾀｿﾌﾄは、RDX-410からﾃﾞｰﾀを読取り中です。\nしばらくお待ちください。"), this);
    Message->setAlignment(Qt::AlignCenter);
    ProgressBar1 = new QProgressBar(this);
    // In percent of the read (StartupReadPercent).
    ProgressBar1->setRange(0, 100);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(16);
    layout->addWidget(Title);
    layout->addWidget(Message);
    layout->addWidget(ProgressBar1);
    setFixedSize(sizeHint().expandedTo(QSize(480, 0)));
}

void OpuningDisp::SetProgress(int percent) {
    // Never back: the bar only rises while the read goes on.
    ProgressBar1->setValue(qBound(ProgressBar1->value(), percent, ProgressBar1->maximum()));
    ProgressBar1->repaint();
}

void OpuningDisp::ShowNow() {
    show();
    raise();
    // The window manager maps the window some time after show(); until the window is
    // exposed nothing painted reaches the screen. No timer of the program runs yet (a quit
    // signal handled here ends the program before its communicate loop starts).
    const QDeadlineTimer deadline(ShowWaitMs);
    while (!(windowHandle() && windowHandle()->isExposed()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
    repaint();
}
