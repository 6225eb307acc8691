// An up-down control: two arrow buttons that step a value within a range. It has no text
// of its own; its owner shows the value in a field next to it.
#pragma once

#include <QWidget>

class QToolButton;

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    void SetRange(int min, int max);
    void SetIncrement(int step) { increment_ = step > 0 ? step : 1; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Increment() const { return increment_; }

    int Value() const { return value_; }
    // Clamped to the range; Change follows when the value differs.
    void SetValue(int value);
    // The arrow buttons: one increment up or down, stopping at the ends of the range.
    void StepUp() { SetValue(value_ + increment_); }
    void StepDown() { SetValue(value_ - increment_); }

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    void Change();

private:
    int min_ = 0;
    int max_ = 100;
    int increment_ = 1;
    int value_ = 0;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};
