// The whole line at once, for a large screen: every present block with its 20 channels,
// showing the item chosen on the four-block tab, with the same alarm colours and
// out-of-contact marks as the block views. At 1920x1080 all 16 blocks fit; a smaller
// screen scrolls.
#pragma once

#include "exchange/RDX_INC.h"

#include <QScrollArea>
#include <array>

class ContactMark;
class QGridLayout;
class QGroupBox;
class QLabel;

class LineOverview : public QScrollArea {
    Q_OBJECT
public:
    // Blocks side by side; the 16 blocks take two rows of frames.
    static constexpr int Columns = 8;
    // A channel row: lower than on the block views so that 40 rows fit 1080 lines.
    static constexpr int RowHeight = 18;

    explicit LineOverview(RDX_INC& data, QWidget* parent = nullptr);

    std::array<QGroupBox*, BlockCount> Frame{};
    // "通信異常" on the title line of a block out of contact.
    std::array<ContactMark*, BlockCount> Contact{};
    std::array<QLabel*, ChannelCount> Name{};
    std::array<QLabel*, ChannelCount> Value{};

    // Values of display item `item` for every channel, the marks, and which blocks show.
    void Refresh(int item);
    // Block and channel names (read from the store: not after every exchange).
    void ShowNames();

private:
    // Present blocks side by side in line order, with no gap where one is missing.
    void PlaceFrames();

    RDX_INC& d;
    QGridLayout* blocks_ = nullptr;
    std::array<qint16, BlockCount> placedAbsent_{};
    bool placed_ = false;
};
