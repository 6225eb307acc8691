#include "display/Lamp.h"

#include <QPainter>

Lamp::Lamp(QWidget* parent, int diameter) : QWidget(parent), diameter_(diameter) {
    setFixedSize(diameter_ + 2, diameter_ + 2);
}

void Lamp::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
}

QSize Lamp::sizeHint() const { return QSize(diameter_ + 2, diameter_ + 2); }

void Lamp::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(isEnabled() ? Qt::black : Qt::gray, 1));
    p.setBrush(color_);
    const QRectF r(1, 1, diameter_, diameter_);
    p.drawEllipse(r.center(), diameter_ / 2.0, diameter_ / 2.0);
}
