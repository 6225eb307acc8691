// The controller's data items written out by hand: the 38 codes in table order, the
// table each is stored in and how its value is converted, the bulk write order, and the
// conversions and hex decoding done the long way. Tests compare the program against
// these, never against the program's own lookups, so a fault in a lookup cannot move
// the expectation along with it.
#pragma once

#include "exchange/RDX_INC.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cmath>
#include <optional>

namespace ItemOracle {

// How a read value is stored: raw, absolute conversion, span conversion, alarm 1 or 2
// (span while the alarm type is below 9, else absolute), or the pair item "00A1".
enum class Form { Raw, Abs, Span, Alarm1, Alarm2, Pairs };

struct Row {
    const char* code;
    ChannelTable RDX_INC::*table;  // nullptr for "00A1", which fills two tables
    Form form;
};

inline constexpr std::array<Row, 38> kItems = {{
    {"00A0", &RDX_INC::ChPresent, Form::Raw},
    {"00A1", nullptr, Form::Pairs},
    {"0080", &RDX_INC::ChPV, Form::Abs},
    {"0081", &RDX_INC::ChHeatMV, Form::Raw},
    {"0082", &RDX_INC::ChHeaterCurrent, Form::Raw},
    {"0083", &RDX_INC::ChStatus, Form::Raw},
    {"0001", &RDX_INC::ChSV, Form::Abs},
    {"0002", &RDX_INC::ChPBand, Form::Raw},
    {"0003", &RDX_INC::ChITime, Form::Raw},
    {"0004", &RDX_INC::ChDTime, Form::Raw},
    {"0005", &RDX_INC::ChAlarm1, Form::Alarm1},
    {"0006", &RDX_INC::ChAlarm2, Form::Alarm2},
    {"0007", &RDX_INC::ChPCycle, Form::Raw},
    {"0008", &RDX_INC::ChHBAlarm, Form::Raw},
    {"0009", &RDX_INC::ChOutputSwitch, Form::Raw},
    {"000A", &RDX_INC::ChATSwitch, Form::Raw},
    {"000B", &RDX_INC::ChAlarm1Hys, Form::Span},
    {"000C", &RDX_INC::ChAlarm2Hys, Form::Span},
    {"000D", &RDX_INC::ChOutputHys, Form::Span},
    {"000E", &RDX_INC::ChOutHigh, Form::Raw},
    {"000F", &RDX_INC::ChOutLow, Form::Raw},
    {"0010", &RDX_INC::ChInputFilter, Form::Raw},
    {"0011", &RDX_INC::ChTempUnit, Form::Raw},
    {"0012", &RDX_INC::ChAction, Form::Raw},
    {"0013", &RDX_INC::ChAlarm1Type, Form::Raw},
    {"0014", &RDX_INC::ChAlarm2Type, Form::Raw},
    {"0015", &RDX_INC::ChLoopSpan, Form::Span},
    {"0016", &RDX_INC::ChLoopTime, Form::Raw},
    {"0017", &RDX_INC::ChARW, Form::Raw},
    {"0018", &RDX_INC::ChManualReset, Form::Span},
    {"0019", &RDX_INC::ChSensorCorr, Form::Span},
    {"001A", &RDX_INC::ChLoop2Span, Form::Span},
    {"001B", &RDX_INC::ChLoop2Time, Form::Raw},
    {"001C", &RDX_INC::ChCoolPBand, Form::Raw},
    {"001D", &RDX_INC::ChCoolPCycle, Form::Raw},
    {"001E", &RDX_INC::ChOverlapBand, Form::Span},
    {"001F", &RDX_INC::ChCoolMode, Form::Raw},
    {"0020", &RDX_INC::ChCoolHys, Form::Span},
}};

// The 26 items of a block or all-channel write, in the order they go out.
inline const QStringList& BulkOrder() {
    static const QStringList order{"0013", "0014", "0001", "0002", "0003", "0004", "0007",
                                   "0008", "000B", "000C", "000D", "000E", "000F", "0010",
                                   "0011", "0012", "0015", "0016", "0017", "0018", "0019",
                                   "001C", "001D", "001E", "001F", "0020"};
    return order;
}

inline const QStringList& CoolingItems() {
    static const QStringList items{"001C", "001D", "001E", "001F", "0020"};
    return items;
}

inline std::optional<Row> Find(const QString& code) {
    for (const Row& r : kItems)
        if (code == QLatin1StringView(r.code)) return r;
    return std::nullopt;
}

// Codes of table indexes first..last, as the start-up read and the re-read walk them.
inline QStringList Codes(int first, int last) {
    QStringList out;
    for (int i = first; i <= last; ++i) out << QString::fromLatin1(kItems[i].code);
    return out;
}

// Four hex digits as a 16-bit two's-complement value (the fields of a well-formed reply).
inline qint16 DecodeField(const QString& field) {
    bool ok = false;
    const uint v = field.toUInt(&ok, 16);
    return ok && field.size() == 4 ? qint16(quint16(v)) : qint16(0);
}

// Nearest integer, ties to even.
inline qint16 RoundEven(double v) {
    const double f = std::floor(v);
    double r = f;
    const double frac = v - f;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(f, 2.0) != 0.0)) r = f + 1;
    return qint16(r);
}

// The stored value of `raw` read for item `row` on channel ch of d (only ChInputType,
// the scaling limits and the alarm types of ch are used).
inline qint16 Stored(const Row& row, const RDX_INC& d, int ch, qint16 raw) {
    if (d.ChInputType[ch] <= 9) return raw;
    const double high = d.ChScaleHigh[ch], low = d.ChScaleLow[ch];
    const double span = (high - low) * raw / 10000.0;
    switch (row.form) {
    case Form::Abs: return RoundEven(span + low);
    case Form::Span: return RoundEven(span);
    case Form::Alarm1: return RoundEven(d.ChAlarm1Type[ch] < 9 ? span : span + low);
    case Form::Alarm2: return RoundEven(d.ChAlarm2Type[ch] < 9 ? span : span + low);
    default: return raw;
    }
}

// The controller value a write of table value v carries (inverse of Stored).
inline qint16 Written(const Row& row, const RDX_INC& d, int ch, qint16 v) {
    if (d.ChInputType[ch] <= 9) return v;
    const double high = d.ChScaleHigh[ch], low = d.ChScaleLow[ch];
    const double absolute = (v - low) * 10000.0 / (high - low);
    const double span = v * 10000.0 / (high - low);
    switch (row.form) {
    case Form::Abs: return RoundEven(absolute);
    case Form::Span: return RoundEven(span);
    case Form::Alarm1: return RoundEven(d.ChAlarm1Type[ch] < 9 ? span : absolute);
    case Form::Alarm2: return RoundEven(d.ChAlarm2Type[ch] < 9 ? span : absolute);
    default: return v;
    }
}

// Upper-case four-digit hex of a 16-bit value, the long way.
inline QString Hex4(qint16 v) {
    return QStringLiteral("%1").arg(uint(quint16(v)), 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace ItemOracle
