// The trend chart's settings in the settings store, and what one sample plots for a pen.
// No widgets here.
#pragma once

#include "controls/ChartChoices.h"
#include "exchange/RDX_INC.h"

#include <QString>
#include <array>
#include <optional>

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

// The value a pen plots for channel c: PV or SV as stored, or in whole units when the input
// holds tenths (input type 6 or more); MV in whole percent. Tenths are rounded to the
// nearest integer, halves to even. Nothing for item 0, any other code, or a channel
// outside the tables.
std::optional<qint16> ChartSampleValue(const RDX_INC& data, int channel, int item);
