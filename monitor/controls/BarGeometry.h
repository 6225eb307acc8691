// Geometry of the output bar graphs in layout units (twips), free of any drawing.
#pragma once

#include <array>

namespace BarGeometry {

struct Layout {
    int left;                      // left of the background and of the bar
    int top;                       // top of the background and of the bar
    int backWidth;                 // background rectangle
    int backHeight;
    int barHeight;
    std::array<int, 3> labelLefts; // "0", "50", "100"
    int labelTop;
    int tickLength;                // tick marks hang below the background
    int width;                     // the control as a whole
    int height;
};

inline constexpr Layout HeatingLayout{240, 120, 2202, 372, 370, {290, 1240, 2180}, 600, 90,
                                      2595, 825};
inline constexpr Layout CoolingLayout{120, 120, 2202, 372, 370, {165, 1125, 2055}, 600, 90,
                                      2460, 870};

inline constexpr int TwipsPerPixel = 15;  // at 96 dots per inch

// Width of the bar for an output in tenths of a percent: -5.0 % gives 0, 105.0 % the full
// background, larger values overrun it. Values below -5.0 % show no bar (width 0).
int BarWidth(int mvValue);

// x of tick mark i (0 %, 10 %, ... 100 % for i = 0..10).
int TickX(const Layout& layout, int i);

// Label k (0..2) under the scale, and the tick it stands under.
const char* LabelText(int k);
int LabelTick(int k);

}  // namespace BarGeometry
