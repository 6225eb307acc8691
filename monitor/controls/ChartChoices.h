// What the chart settings dialog chooses: the Y-axis range, the sampling interval and each
// pen's channel, item and name, with the pen-name texts. Plain values: the dialog and the
// chart tab exchange them, the tab stores them.
#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

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

// ": --", ": PV", ": SV", ": MV" by item code; empty for any other code.
QString PenItemSuffix(int item);
// A pen's name: its channel's name followed by the suffix of its item.
QString PenLabelText(const QString& channelName, int item);
