#include "controls/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {up_, down_}) {
        // Held down, the value keeps stepping, as with the platform's spin arrows.
        b->setAutoRepeat(true);
        b->setFixedSize(18, 11);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, &UpDown::StepUp);
    connect(down_, &QToolButton::clicked, this, &UpDown::StepDown);
}

void UpDown::SetRange(int min, int max) {
    min_ = std::min(min, max);
    max_ = std::max(min, max);
    SetValue(value_);
}

void UpDown::SetValue(int value) {
    const int clamped = std::clamp(value, min_, max_);
    if (clamped == value_) return;
    value_ = clamped;
    emit Change();
}
