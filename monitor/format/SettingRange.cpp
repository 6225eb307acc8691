#include "format/SettingRange.h"

#include "format/DisplayTables.h"
#include "format/ValueFormat.h"

#include <cmath>
#include <limits>

namespace {

bool ValidChannel(int c) { return c >= 0 && c < ChannelCount; }

// Ties to even, the default floating-point rounding mode.
qint64 RoundEven(double v) { return qint64(std::nearbyint(v)); }

// The range scalars are 16-bit; scaling limits near the 16-bit bounds could push a
// computed limit past them, so clamp instead of wrapping round to the other sign.
qint16 Saturate(qint64 v) {
    if (v > std::numeric_limits<qint16>::max()) return std::numeric_limits<qint16>::max();
    if (v < std::numeric_limits<qint16>::min()) return std::numeric_limits<qint16>::min();
    return qint16(v);
}

void SetLimits(SettingRange& range, qint64 low, qint64 high) {
    range.RangeLow = Saturate(low);
    range.RangeHigh = Saturate(high);
}

void SetTenthsLimits(SettingRange& range, qint64 low, qint64 high) {
    SetLimits(range, low, high);
    range.RangeInTenths = true;
}

// Heater-burnout alarm: the option bits tell which current transformer is fitted.
qint64 HeaterBreakHigh(qint16 option) {
    if (!(option & OptionBit::HeaterBreak)) return 0;
    return (option & 0x0002) ? 500 : 200;
}

// Limits of the PD manual reset: +-Z, where Z is the proportional band's share of the
// input range in tenths of a degree (or of the scaled unit), clamped to -1999..9999.
void ManualResetLimits(const RDX_INC& inc, SettingRange& range, int t) {
    SettingRange input = range;
    InputRangeLimits(inc, input);
    float low = input.RangeLow;
    float high = input.RangeHigh;
    if (t >= 6 && t <= 9) {
        low /= 10.0f;
        high /= 10.0f;
    }
    const float z = (high - low) * float(inc.ChPBand[range.EditChannel]) / 100.0f;
    const qint64 rangeLow = -z < -1999.0f ? -1999 : RoundEven(-z);
    const qint64 rangeHigh = z > 9999.0f ? 9999 : RoundEven(z);
    SetTenthsLimits(range, rangeLow, rangeHigh);
}

void ComputeLimits(const RDX_INC& inc, SettingRange& range, int s, int K) {
    const int c = range.EditChannel;
    const int t = inc.ChInputType[c];
    // Hysteresis-like settings of a linear input are a tenth of its scaling span.
    const qint64 span = qint64(inc.ChScaleHigh[c]) - inc.ChScaleLow[c];
    const qint64 spanLimit = t < 10 ? 1000 : RoundEven(double(span) * 0.1);
    switch (s) {
    case 1: InputRangeLimits(inc, range); break;
    case 2:
    case 3: AlarmSettingLimits(inc, range, K); break;
    case 4: SetTenthsLimits(range, 0, HeaterBreakHigh(inc.ChOption[c])); break;
    case 5: SetTenthsLimits(range, 0, 1000); break;
    case 6:
    case 7: SetLimits(range, 0, 3600); break;
    case 8: SetLimits(range, 0, 100); break;
    case 9:
    case 26: SetLimits(range, 1, 120); break;
    case 10: ManualResetLimits(inc, range, t); break;
    case 11:
    case 12:
    case 13:
    case 29: SetTenthsLimits(range, 1, spanLimit); break;
    case 16: SetLimits(range, inc.ChOutLow[c], 105); break;
    case 17: SetLimits(range, -5, inc.ChOutHigh[c]); break;
    case 18:
    case 25: SetTenthsLimits(range, 0, 1000); break;
    case 19:
    case 27: SetTenthsLimits(range, -spanLimit, spanLimit); break;
    case 22:
    case 30: SetLimits(range, 0, 200); break;
    case 23:
    case 31: SetTenthsLimits(range, 0, spanLimit); break;
    case 28: SetLimits(range, 0, 2); break;
    case 32: SetLimits(range, inc.ChScaleLow[c], 10000); break;
    case 33: SetLimits(range, -2000, inc.ChScaleHigh[c]); break;
    default: break;  // choice settings: no range of their own
    }
}

// Settings whose values a linear input shows in its own decimal-point picture.
bool ShownInScaledUnits(int s) {
    switch (s) {
    case 1: case 2: case 3: case 10: case 11: case 12: case 13:
    case 19: case 23: case 27: case 29: case 31: case 32: case 33: return true;
    default: return false;
    }
}

std::optional<QString> RangeText(const RDX_INC& inc, const SettingRange& range, int s) {
    const int c = range.EditChannel;
    QString low, high;
    if (IsLinearInput(inc, c) && ShownInScaledUnits(s)) {
        const int divisor = inc.ChDecimal[c];
        if (DecimalPlaces(divisor) < 0) return std::nullopt;
        low = FormatScaled(range.RangeLow, divisor);
        high = FormatScaled(range.RangeHigh, divisor);
    } else if (range.RangeInTenths) {
        low = FormatTenths(range.RangeLow);
        high = FormatTenths(range.RangeHigh);
    } else {
        low = QString::number(range.RangeLow);
        high = QString::number(range.RangeHigh);
    }
    return low + QStringLiteral(" ～ ") + high;
}

}  // namespace

void InputRangeLimits(const RDX_INC& inc, SettingRange& range) {
    range.RangeLow = 0;
    range.RangeHigh = 0;
    const int c = range.EditChannel;
    if (!ValidChannel(c)) return;
    if (const InputRangeEntry* r = TemperatureInputRange(inc.ChInputType[c], inc.ChUnitShown[c])) {
        SetLimits(range, r->low, r->high);
    } else {
        SetLimits(range, inc.ChScaleLow[c], inc.ChScaleHigh[c]);
    }
}

void AlarmSettingLimits(const RDX_INC& inc, SettingRange& range, int K) {
    range.RangeLow = 0;
    range.RangeHigh = 0;
    const int c = range.EditChannel;
    if (!ValidChannel(c)) return;
    int type;
    if (inc.SelectedItem == 2) type = inc.ChAlarm1Type[c];
    else if (inc.SelectedItem == 3) type = inc.ChAlarm2Type[c];
    else return;
    const qint64 deviation = qint64(K) * 200;
    if (type >= 1 && type <= 4) SetLimits(range, -deviation, deviation);
    else if (type >= 5 && type <= 8) SetLimits(range, 0, deviation);
    else if (type >= 9 && type <= 12) InputRangeLimits(inc, range);
}

SettingRangeTexts ShowSettingRange(const RDX_INC& inc, SettingRange& range, const QString& currentText) {
    SettingRangeTexts texts{currentText, std::nullopt};
    const int c = range.EditChannel;
    if (!ValidChannel(c)) return texts;
    const int t = inc.ChInputType[c];
    const int s = inc.SelectedItem;
    range.RangeInTenths = false;
    int K = 1;
    if (t > 5) {
        if (s == 1) {
            range.RangeInTenths = true;
        } else if (s == 2 || s == 3) {
            K = 10;
            range.RangeInTenths = true;
        }
    }
    ComputeLimits(inc, range, s, K);
    texts.LimitData = RangeText(inc, range, s);
    return texts;
}
