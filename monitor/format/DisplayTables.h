// Fixed vocabulary of the display: input types with their range texts and limits,
// alarm action types, control action, temperature unit, cooling modes, decimal-point
// settings and the item lists of the views. Pure lookups, no channel data.
#pragma once

#include <QString>

// One temperature input type (codes 0..9) in one temperature unit.
struct InputRangeEntry {
    const char* text;  // range text as MakeRange shows it (UTF-8)
    qint16 low;        // limits in stored units (tenths of a degree for codes 6..9)
    qint16 high;
};

inline constexpr int TemperatureInputTypeCount = 10;  // codes 0..9; 10 and above are linear

// Range entry of a temperature input code 0..9, in °F when unitShown is non-zero, else °C.
// nullptr for any other code.
const InputRangeEntry* TemperatureInputRange(int inputType, int unitShown);

// Suffix of the range text of a linear input: " DC V" for 10 and 12, " DC mA" for 11
// and 13, empty for every other code.
QString LinearInputSuffix(int inputType);

// Long name of an alarm action type 0..12, empty for any other code.
QString AlarmTypeName(int alarmType);
// Four-character short code of an alarm action type 0..12, empty for any other code.
QString AlarmTypeShortName(int alarmType);

// Control action: "冷却" when non-zero, else "加熱".
QString ControlActionName(int action);
// Temperature unit: "ﾟF" when non-zero, else "ﾟC".
QString TempUnitName(int unit);
// Cooling mode 0 air, 1 oil, 2 water; empty for any other value.
QString CoolModeName(int mode);

// Number of decimals of a decimal-point setting (a power-of-ten divisor 1..10000),
// or -1 when the divisor is not one of the five settings.
int DecimalPlaces(int divisor);
// Picture text of a decimal-point setting ("XX . XX" for 100), empty when unlisted.
QString DecimalPictureText(int divisor);
// The five settings in option order, "XXXX ." (divisor 1) first: the divisor of option
// 0..4, 0 for any other option; and the option of a divisor, -1 when unlisted.
int DecimalOptionDivisor(int option);
int DecimalOptionOf(int divisor);
// The divisor whose picture text is exactly text, 0 when none is.
int DecimalDivisorOfPicture(const QString& text);

// Entries of the views' item lists: display items 0..30 in list order.
inline constexpr int DisplayItemListCount = 31;
// List text of display item 0..30, empty for any other number.
QString DisplayItemListText(int item);
