#include "display/ContactMark.h"

#include "display/ViewParts.h"

#include <QEvent>
#include <QGroupBox>

ContactMark::ContactMark(QWidget* parent) : QLabel(QStringLiteral("通信異常"), parent) {
    QFont f = font();
    f.setBold(true);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
    setPalette(pal);
    // Over a frame's line it hides the line as the title does.
    setAutoFillBackground(true);
    setContentsMargins(4, 0, 4, 0);
    QSizePolicy p = sizePolicy();
    p.setRetainSizeWhenHidden(true);
    p.setHorizontalPolicy(QSizePolicy::Fixed);
    setSizePolicy(p);
    hide();
}

ContactMark* ContactMark::OnFrame(QGroupBox* frame) {
    auto* mark = new ContactMark(frame);
    mark->frame_ = frame;
    mark->adjustSize();
    frame->installEventFilter(mark);
    mark->PlaceOnFrame();
    // The mark may cover the end of a long title: the frame and the mark tell it whole.
    ShowWholeTextAsTip(frame, [frame] { return frame->title(); });
    ShowWholeTextAsTip(mark, [frame] { return frame->title(); });
    return mark;
}

void ContactMark::setOutOfContact(bool out) {
    if (isHidden() != out) return;
    setVisible(out);
    if (out) raise();
}

void ContactMark::PlaceOnFrame() {
    if (!frame_) return;
    move(frame_->width() - width() - 8, 0);
}

bool ContactMark::eventFilter(QObject* watched, QEvent* event) {
    // Only the frame is watched.
    if (event->type() == QEvent::Resize) PlaceOnFrame();
    return QLabel::eventFilter(watched, event);
}
