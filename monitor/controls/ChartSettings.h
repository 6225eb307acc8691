// The trend chart's stored settings (scale, interval, and each pen's channel, item and
// name), the pen-name texts, and what one sample plots for a pen. No widgets here.
#pragma once

#include "exchange/RDX_INC.h"

#include <QString>
#include <array>
#include <optional>

inline constexpr int ChartPenCount = 4;

// What a pen plots; the item code is also the pen's visibility on the chart (0 hides it).
enum ChartItem : quint8 { ChartItemNone = 0, ChartItemPV = 1, ChartItemSV = 2, ChartItemMV = 3 };

inline constexpr int ChartTimMin = 1;
inline constexpr int ChartTimMax = 30;

struct ChartSettings {
    qint16 ChartMin = 0;
    qint16 ChartMax = 400;
    qint16 ChartTim = 5;  // seconds between samples
    std::array<qint16, ChartPenCount> PenChannel{0, 1, 2, 3};
    std::array<quint8, ChartPenCount> PenItem{ChartItemPV, ChartItemPV, ChartItemPV, ChartItemPV};
    std::array<QString, ChartPenCount> PenName{QStringLiteral("Ch001"), QStringLiteral("Ch002"),
                                               QStringLiteral("Ch003"), QStringLiteral("Ch004")};

    bool operator==(const ChartSettings&) const = default;
};

// Every chart key with its default. A stored value that is not a number, or a channel,
// item or interval outside what the dialog can choose, falls back to the key's default,
// so no pen can address a channel that does not exist and the timer never runs at 0 ms.
ChartSettings ReadChartSettings();
// "Chart_Min", "Chart_Max", "Chart_Tim", "Chart_PrNo0".."3", "Chart_PrVis0".."3",
// "Chart_PrName0".."3", in this order.
void SaveChartSettings(const ChartSettings& settings);

// "Chart_start": "1" while the chart runs, "0" after a stop.
void SaveChartRunning(bool running);
bool ChartWasRunning();

// ": --", ": PV", ": SV", ": MV" by item code; empty for any other code.
QString PenItemSuffix(int item);
// A pen's name: its channel's name followed by the suffix of its item.
QString PenLabelText(const QString& channelName, int item);

// The value a pen plots for channel c: PV or SV as stored, or in whole units when the input
// holds tenths (input type 6 or more); MV in whole percent. Tenths are rounded to the
// nearest integer, halves to even. Nothing for item 0, any other code, or a channel
// outside the tables.
std::optional<qint16> ChartSampleValue(const RDX_INC& data, int channel, int item);
