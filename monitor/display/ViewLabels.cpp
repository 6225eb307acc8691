#include "display/ViewLabels.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

ValueLabel::ValueLabel(QWidget* parent) : ElidedLabel(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for the frame line, and a little air on either side of the text.
    setContentsMargins(4, 1, 4, 1);
    setMinimumWidth(56);
}

void ValueLabel::setMark(ValueMark mark) {
    if (mark == mark_) return;
    mark_ = mark;
    update();
}

void ValueLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QColor box(255, 255, 255);
    QColor text = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    // A box of an absent pair (disabled) is greyed by its text alone, whatever its mark.
    if (isEnabled() && mark_ == ValueMark::Alarm) {
        box = AlarmRed();
        text = QColor(255, 255, 255);
    } else if (isEnabled() && mark_ == ValueMark::OutOfContact) {
        box = SilentBox();
        text = SilentText();
    }
    p.fillRect(rect(), box);
    p.setPen(FrameGrey());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(text);
    p.drawText(contentsRect(), int(alignment()), shownText());
}

void SetValueMark(QLabel* label, ValueMark mark) {
    if (auto* value = qobject_cast<ValueLabel*>(label)) value->setMark(mark);
}

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QSize ElidedLabel::minimumSizeHint() const {
    QSize s = QLabel::minimumSizeHint();
    const int few = fontMetrics().horizontalAdvance(QStringLiteral("Ch00…"));
    s.setWidth(qMin(s.width(), few + 2 * margin() + contentsMargins().left() + contentsMargins().right()));
    return s;
}

QString ElidedLabel::shownText() const {
    const int width = contentsRect().width() - 2 * margin();
    return fontMetrics().elidedText(text(), Qt::ElideRight, qMax(0, width));
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    drawFrame(&p);
    const QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&p, r, int(alignment()), palette(), isEnabled(), shownText(), foregroundRole());
}

bool ElidedLabel::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        const QString shown = shownText();
        if (shown != text()) QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), text(), this);
        else QToolTip::hideText();
        return true;
    }
    return QLabel::event(e);
}
