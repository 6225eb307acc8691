// The two label kinds of the views: value boxes, drawn whole and marked when their channel
// is in alarm or its block is out of contact, and name labels that shorten a name that
// does not fit instead of widening the window.
#pragma once

#include <QColor>
#include <QLabel>

// How a value box is marked. The text never changes with the mark.
enum class ValueMark {
    None,          // white box, black text
    Alarm,         // alarm red box, white text
    OutOfContact,  // grey text on a grey box: the value is the last one the block sent
};

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);
    // As narrow as a few characters: the layout decides how much of the text shows.
    QSize minimumSizeHint() const override;
    // The text as shown, shortened with "…" when the label is narrower than the text.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // The tool tip of a shortened name is the whole name.
    bool event(QEvent* event) override;
};

// A value box; a text too long for it is shortened like a name.
class ValueLabel : public ElidedLabel {
    Q_OBJECT
public:
    static QColor AlarmRed() { return QColor(255, 0, 0); }
    static QColor FrameGrey() { return QColor(128, 128, 128); }
    static QColor SilentBox() { return QColor(216, 216, 216); }
    static QColor SilentText() { return QColor(128, 128, 128); }

    explicit ValueLabel(QWidget* parent = nullptr);

    ValueMark mark() const { return mark_; }
    // Repaints only when the mark changes: the views set it after every exchange.
    void setMark(ValueMark mark);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ValueMark mark_ = ValueMark::None;
};

// Marks a label when it is a value box; other labels are left alone.
void SetValueMark(QLabel* label, ValueMark mark);
