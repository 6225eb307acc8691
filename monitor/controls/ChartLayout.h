// Where each part of the trend chart sits, in the chart's design units (twips, 15 to a
// pixel at the design size). The control scales this one table to its own size to paint.
#pragma once

#include <QLine>
#include <QRect>
#include <QSize>
#include <array>

namespace ChartLayout {

struct Design {
    QSize control;                        // the whole control
    QRect picture;                        // the plot area
    std::array<QRect, 3> scaleLabels;     // top, middle and bottom of the scale
    std::array<QLine, 4> legendStrokes;   // a short line in each pen's colour
    std::array<QRect, 4> dataLabels;      // each pen's current value
    std::array<QRect, 4> lamps;           // each pen's off-scale lamp
    std::array<QLine, 11> ticks;          // under the time axis, one every 100 positions
    QRect startLabel;                     // the start time under the axis's left end
    std::array<QRect, 9> timeLabels;      // elapsed minutes at 10 % to 90 % of the axis
    QRect minuteCaption;                  // "Min" after the last label
};

const Design& Twips();

}  // namespace ChartLayout
