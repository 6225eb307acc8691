#include "app/OpuningDisp.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

OpuningDisp::OpuningDisp(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("RDX-410 Monitoring software"));
    auto* title = new QLabel(QStringLiteral("RDX-410 Monitoring software"), this);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("font-size: 20pt; font-weight: bold; padding: 24px;"));
    ProgressBar1 = new QProgressBar(this);
    // 16 inquiries plus 37 items for each of 16 blocks.
    ProgressBar1->setRange(0, 16 * 38);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(ProgressBar1);
    resize(480, 200);
}

void OpuningDisp::SetProgress(int count) {
    ProgressBar1->setValue(qMin(count, ProgressBar1->maximum()));
    ProgressBar1->repaint();
}

void OpuningDisp::ShowNow() {
    show();
    raise();
    repaint();
}
