// A round status lamp: a filled circle whose colour tells whether a condition is present.
#pragma once

#include <QColor>
#include <QWidget>

class Lamp : public QWidget {
    Q_OBJECT
public:
    // The display colours of the lamps.
    static QColor White() { return QColor(255, 255, 255); }   // condition absent
    static QColor Red() { return QColor(255, 0, 0); }         // alarm
    static QColor Green() { return QColor(0, 192, 0); }       // control or output on
    static QColor Yellow() { return QColor(255, 255, 0); }    // auto-tuning, cooling output

    explicit Lamp(QWidget* parent = nullptr, int diameter = 14);

    // Repaints only when the colour actually changes: the views set every lamp after
    // every exchange.
    void setColor(const QColor& color);
    QColor color() const { return color_; }
    // Red when on, white otherwise.
    void setAlarm(bool on) { setColor(on ? Red() : White()); }
    // While its block is out of contact the lamp shows its last colour faded: it is not live.
    void setStale(bool stale);
    bool isStale() const { return stale_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_ = White();
    bool stale_ = false;
    int diameter_;
};
