// Coordinate and label computations of the trend chart, free of any drawing, so that the
// chart's numbers can be checked without a screen.
#pragma once

#include <QString>
#include <array>
#include <optional>

namespace ChartMath {

// The plot area's logical coordinate system: x to the right, y downwards.
inline constexpr int PlotWidth = 10000;
inline constexpr int PlotHeight = 6000;
inline constexpr int PositionCount = 1000;     // positions 0..999 across the width
inline constexpr int UnitsPerPosition = PlotWidth / PositionCount;
inline constexpr std::array<int, 3> GridLines = {1500, 3000, 4500};

// Round to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double value);

// Value units per vertical plot unit for an applied scale, or nothing when the maximum is
// not above the minimum (the scale is refused and the previous figure stays in force).
std::optional<float> ValuePerUnitFor(int appliedMax, int appliedMin);

struct PenPoint {
    std::optional<int> y;  // vertical plot coordinate; none when the scale is not set yet
    bool offScale = false; // the value lies outside SclMin..SclMax
};

// Where a pen's value sits on the plot. Above the top edge it is drawn one unit below the
// top, below the bottom edge on the bottom, both with the lamp red. The result always lies
// inside the plot, also when the scale was changed after the last ScaleSet.
PenPoint PenY(int value, int sclMax, int sclMin, float valuePerUnit);

// Left x of a plot position, in plot units.
constexpr int PositionX(int position) { return UnitsPerPosition * position; }

// Top, middle and bottom scale labels of a valid applied scale.
std::array<QString, 3> ScaleLabels(int appliedMax, int appliedMin);

// Elapsed minutes at position k*100 (k = 1..9) when each position takes countTim seconds,
// to one decimal, shortest text ("1.7", "5", "10").
QString TimeLabel(int k, int countTim);
std::array<QString, 9> TimeLabels(int countTim);

}  // namespace ChartMath
