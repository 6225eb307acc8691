#include "display/Lamp.h"

#include "display/ViewLabels.h"

#include <QPainter>

Lamp::Lamp(QWidget* parent, int diameter) : QWidget(parent), diameter_(diameter) {
    setFixedSize(diameter_ + 2, diameter_ + 2);
}

void Lamp::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
}

void Lamp::setStale(bool stale) {
    if (stale == stale_) return;
    stale_ = stale;
    update();
}

QSize Lamp::sizeHint() const { return QSize(diameter_ + 2, diameter_ + 2); }

void Lamp::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(isEnabled() && !stale_ ? Qt::black : Qt::gray, 1));
    QColor fill = color_;
    if (stale_) {
        // Halfway to the grey of a silent value box.
        const QColor grey = ValueLabel::SilentBox();
        fill = QColor((fill.red() + grey.red()) / 2, (fill.green() + grey.green()) / 2,
                      (fill.blue() + grey.blue()) / 2);
    }
    p.setBrush(fill);
    const QRectF r(1, 1, diameter_, diameter_);
    p.drawEllipse(r.center(), diameter_ / 2.0, diameter_ / 2.0);
}
