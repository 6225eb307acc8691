// Settable range of the setting being edited: computed before the numeric setting
// dialog opens, which then refuses typed values outside it.
#pragma once

#include "exchange/RDX_INC.h"

#include <QString>
#include <optional>

// The scalars shared by the range computation and the numeric setting dialog.
struct SettingRange {
    int EditChannel = 0;         // channel index 0..319, set by the caller
    qint16 RangeLow = 0;         // settable range in stored units
    qint16 RangeHigh = 0;
    bool RangeInTenths = false;  // show the range in tenths
};

// Captions for the numeric setting dialog's two labels.
struct SettingRangeTexts {
    QString NowData;                   // current value text, as passed in
    std::optional<QString> LimitData;  // range text; nullopt: leave the label as it is
};

// Sets RangeLow, RangeHigh to the input range limits of EditChannel: the temperature
// range of its input code in the unit shown, or its scaling limits otherwise.
void InputRangeLimits(const RDX_INC& inc, SettingRange& range);

// Sets RangeLow, RangeHigh for alarm 1 (SelectedItem 2) or alarm 2 (SelectedItem 3)
// of EditChannel from that alarm's action type, with factor K (1, or 10 for tenths);
// both are 0 for any other SelectedItem or an unknown type.
void AlarmSettingLimits(const RDX_INC& inc, SettingRange& range, int K);

// Computes the settable range of setting inc.SelectedItem for range.EditChannel into
// `range` and returns the captions: currentText for the current value and the range
// text "low ～ high". Choice settings leave RangeLow/RangeHigh unchanged.
SettingRangeTexts ShowSettingRange(const RDX_INC& inc, SettingRange& range, const QString& currentText);
