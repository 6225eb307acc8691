// Setting numbers 1..35 (SelectedItem): which channel table each one edits, which item
// code carries it to the controller, and how the entry dialogs treat it.
#pragma once

#include "exchange/RDX_INC.h"

#include <QString>

inline constexpr int SettingCount = 35;
// Setting 24 is the output and auto-tuning switch: changed by the direct operations only.
inline constexpr int SwitchSetting = 24;

// The table a setting edits (ChScaleHigh, ChScaleLow and ChDecimal for 32..34); nullptr
// for 0, 24, 35 (a text) and numbers outside 1..35.
ChannelTable* SettingTable(RDX_INC& inc, int setting);
const ChannelTable* SettingTable(const RDX_INC& inc, int setting);

// The item code written for a setting, taken from inc.ItemCode; empty for settings that
// live on the PC only (32..35) and for 0, 24 and numbers outside 1..35.
QString SettingItemCode(const RDX_INC& inc, int setting);

// Settings 32..35: kept in the settings store, never sent to the controller.
bool IsPcSideSetting(int setting);
// The settings-store key of a PC-side setting for a channel ("STLH007"); empty otherwise.
QString PcSideSettingKey(int setting, int channel);

// Settings whose value the numeric entry stores (1..13, 16..19, 22, 23, 25..33).
bool IsNumericSetting(int setting);
// Settings a linear input shows in its own decimal-point picture rather than in tenths.
bool ShownInScaledUnits(int setting);

// The frames of the choice entry, and the settings each one serves.
enum class ChoiceFrame { None, Alarm, HeatCool, TempUnit, CoolMode, DecimalPoint, Unit };
ChoiceFrame ChoiceFrameOf(int setting);
