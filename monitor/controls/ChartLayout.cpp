#include "controls/ChartLayout.h"

#include "controls/ChartMath.h"

namespace ChartLayout {
namespace {

constexpr int DesignWidth = 11760;
constexpr int DesignHeight = 6435;
constexpr int PictureLeft = 1200;
constexpr int PictureTop = 100;
constexpr int ScaleLabelLeft = 360;
constexpr std::array<int, 3> ScaleLabelTops = {80, 3000, 5950};
constexpr int LabelWidth = 735;
constexpr int LabelHeight = 255;
constexpr std::array<int, 4> PenRowTops = {600, 960, 1320, 1680};
constexpr int StrokeBelowRowTop = 120;
constexpr int LegendRight = 120;
constexpr int DataLabelLeft = 240;
constexpr int DataLabelWidth = 615;
constexpr int LampLeft = 960;
constexpr int LampWidth = 135;
constexpr int TickSpacing = 1000;
constexpr int TickTop = 6120;
constexpr int TickBottom = 6240;
constexpr int StartLabelLeft = 1320;
constexpr std::array<int, 9> TimeLabelLefts = {2280, 3285, 4275, 5280, 6285,
                                               7275, 8280, 9285, 10275};
constexpr int TimeLabelWidth = 700;
constexpr int MinuteCaptionLeft = 11235;

Design Build()
{
    Design d;
    d.control = QSize(DesignWidth, DesignHeight);
    d.picture = QRect(PictureLeft, PictureTop, ChartMath::PlotWidth, ChartMath::PlotHeight);
    for (std::size_t i = 0; i < d.scaleLabels.size(); ++i)
        d.scaleLabels[i] = QRect(ScaleLabelLeft, ScaleLabelTops[i], LabelWidth, LabelHeight);
    for (std::size_t pen = 0; pen < PenRowTops.size(); ++pen) {
        const int top = PenRowTops[pen];
        d.legendStrokes[pen] = QLine(0, top + StrokeBelowRowTop, LegendRight, top + StrokeBelowRowTop);
        d.dataLabels[pen] = QRect(DataLabelLeft, top, DataLabelWidth, LabelHeight);
        d.lamps[pen] = QRect(LampLeft, top, LampWidth, LabelHeight);
    }
    for (std::size_t i = 0; i < d.ticks.size(); ++i) {
        const int x = PictureLeft + TickSpacing * int(i);
        d.ticks[i] = QLine(x, TickTop, x, TickBottom);
    }
    d.startLabel = QRect(StartLabelLeft, TickTop, LabelWidth, LabelHeight);
    for (std::size_t i = 0; i < d.timeLabels.size(); ++i)
        d.timeLabels[i] = QRect(TimeLabelLefts[i], TickTop, TimeLabelWidth, LabelHeight);
    d.minuteCaption = QRect(MinuteCaptionLeft, TickTop, LabelWidth, LabelHeight);
    return d;
}

}  // namespace

const Design& Twips()
{
    static const Design design = Build();
    return design;
}

}  // namespace ChartLayout
