// The one formatter of controller values: every value the monitor shows, logs or saves
// as text goes through FormatItemValue, so views, log files and set-data files agree.
#pragma once

#include "exchange/RDX_INC.h"

#include <QString>

// Display item numbers 0..36 (0..30 are the views' list entries).
inline constexpr int DisplayItemCount = 37;

// value / divisor with the number picture of a decimal-point setting (1, 10, 100,
// 1000, 10000): exactly that many decimals, at least one digit before the point,
// "-" for negatives, no fill ("-0.05" for -5 / 100). Empty for any other divisor.
QString FormatScaled(qint64 value, int divisor);
// value / 10 with one decimal ("12.5", "-0.3", "0.0").
QString FormatTenths(qint64 value);

// Text of display item `item` of channel `channel` (0..319). Items outside 0..36 show
// the PV like item 0; a channel outside 0..319 gives an empty text.
QString FormatItemValue(const RDX_INC& inc, int item, int channel);

// Decimals of a channel's PV and SV as shown (0 or 1 by input type, the decimal-point
// setting of a linear input); -1 for a channel outside 0..319 or a setting that is no
// decimal picture. MV and heater current always show one.
int ValueDecimals(const RDX_INC& inc, int channel);

// Unit of a channel's PV and SV: the unit text of a linear input (type 10 and above),
// else the temperature unit shown ("ﾟC"/"ﾟF"); empty outside 0..319.
QString ChannelUnitText(const RDX_INC& inc, int channel);

// Input range text of a channel: the temperature range in the unit shown, or for
// linear inputs the scaling limits with " DC V" / " DC mA"; empty for unknown codes.
QString MakeRange(const RDX_INC& inc, int channel);

// A selector's list index with "no selection" (-1, or any negative) counted as the
// first entry, so views can compute a block or channel from QComboBox::currentIndex().
int ListIndexOrZero(int listIndex);
// The same for a list of count entries: an index past its end also counts as the first.
int ListIndexOrZero(int listIndex, int count);
