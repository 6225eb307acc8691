// "通信異常" beside a block's frame or selector while the block is out of contact: its
// values are the last ones it sent, not live.
#pragma once

#include <QLabel>

class QGroupBox;

class ContactMark : public QLabel {
    Q_OBJECT
public:
    // A mark for a layout: it keeps its place when hidden, so nothing moves when it shows.
    explicit ContactMark(QWidget* parent = nullptr);
    // A mark on the title line of a frame, at its right end.
    static ContactMark* OnFrame(QGroupBox* frame);

    // Shown while the block is out of contact.
    void setOutOfContact(bool out);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceOnFrame();
    QGroupBox* frame_ = nullptr;
};
