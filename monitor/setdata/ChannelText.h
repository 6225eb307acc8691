// The texts of a channel file: one display text per setting of one channel, and the
// routine that turns such texts back into table values.
#pragma once

#include "exchange/RDX_INC.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// Field k of a channel file is the text of display item k + 3.
inline constexpr int ChannelFieldCount = 32;        // current version, fields 0..31
inline constexpr int OlderChannelFieldCount = 23;   // older version, fields 0..22
inline constexpr int FirstChannelFileItem = 3;
inline constexpr int LastChannelFileItem = 34;
inline constexpr int DecimalPictureItem = 33;       // field 30

using ChannelTexts = std::array<QString, ChannelFieldCount>;

// Fields 23..31 of a channel read from an older file, which does not carry them.
ChannelTexts WithOlderChannelDefaults(ChannelTexts texts);

// How the text of a display item is turned into a table value.
enum class TextRule { None, Whole, Tenths, A, B, AlarmName, Action, Unit, CoolingMode, DecimalPicture, UnitText };
TextRule RuleOfItem(int displayItem);

// The stored value of a numeric text of a display item of a channel, by the item's rule
// (whole, tenths, A or B; A and B depend on the channel's input type and, for linear
// inputs, its decimal setting). nullopt for an item without a numeric rule, a channel
// outside 0..319, or a result that does not fit 16 bits.
std::optional<qint16> ItemTextToValue(const RDX_INC& inc, int displayItem, int channel, QStringView text);

enum class ApplyResult {
    Stored,
    KeptUnknownText,  // a cooling mode or decimal picture that is none of the listed texts
    KeptOutOfRange,   // the number does not fit 16 bits; the table keeps its value
    NotApplicable,    // display item outside 3..34 or channel outside 0..319
};
// Stores one channel-file text into the table of display item 3..34 of the channel.
ApplyResult ApplyItemText(RDX_INC& inc, int displayItem, int channel, const QString& text);

// Stores all 32 texts into the channel: the decimal picture first, so that the linear
// fields already see the new decimal setting, then fields 0..31 in order; then keeps
// the channel's scaling in the settings store, where the start-up read takes it from.
// Returns a mask with bit k set for every field k whose table kept its value.
quint32 ApplyChannelTexts(RDX_INC& inc, int channel, const ChannelTexts& texts);
// The same into the tables only, the store untouched (a copy of the tables that shows a
// file's values beside the line's).
quint32 PutChannelTexts(RDX_INC& inc, int channel, const ChannelTexts& texts);

// The texts of a channel as the channel dialog shows them: alarm types by long name,
// action and the unit in effect by their names, everything else as FormatItemValue.
ChannelTexts TakeChannelTexts(const RDX_INC& inc, int channel);
