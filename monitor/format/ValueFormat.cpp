#include "format/ValueFormat.h"

#include "format/DisplayTables.h"

namespace {

enum class ItemClass {
    Input,      // by input type: whole degrees, tenths, or linear
    Tenths,     // always one decimal
    Integer,    // always whole numbers
    Span,       // tenths for temperature inputs, linear otherwise
    AlarmShort, // short code of the alarm type held in the table
    Action,
    TempUnit,
    CoolMode,
    Picture,    // decimal-point picture text of ChDecimal
    UnitText,   // ChUnitText as stored
};

struct ItemEntry {
    const ChannelTable RDX_INC::* table;  // nullptr only for the unit text
    ItemClass cls;
};

constexpr ItemEntry kItems[DisplayItemCount] = {
    {&RDX_INC::ChPV, ItemClass::Input},               // 0
    {&RDX_INC::ChHeatMV, ItemClass::Tenths},          // 1
    {&RDX_INC::ChHeaterCurrent, ItemClass::Tenths},   // 2
    {&RDX_INC::ChSV, ItemClass::Input},               // 3
    {&RDX_INC::ChAlarm1, ItemClass::Input},           // 4
    {&RDX_INC::ChAlarm2, ItemClass::Input},           // 5
    {&RDX_INC::ChHBAlarm, ItemClass::Tenths},         // 6
    {&RDX_INC::ChPBand, ItemClass::Tenths},           // 7
    {&RDX_INC::ChITime, ItemClass::Integer},          // 8
    {&RDX_INC::ChDTime, ItemClass::Integer},          // 9
    {&RDX_INC::ChARW, ItemClass::Integer},            // 10
    {&RDX_INC::ChPCycle, ItemClass::Integer},         // 11
    {&RDX_INC::ChManualReset, ItemClass::Span},       // 12
    {&RDX_INC::ChOutputHys, ItemClass::Span},         // 13
    {&RDX_INC::ChAlarm1Hys, ItemClass::Span},         // 14
    {&RDX_INC::ChAlarm2Hys, ItemClass::Span},         // 15
    {&RDX_INC::ChAlarm1Type, ItemClass::AlarmShort},  // 16
    {&RDX_INC::ChAlarm2Type, ItemClass::AlarmShort},  // 17
    {&RDX_INC::ChOutHigh, ItemClass::Integer},        // 18
    {&RDX_INC::ChOutLow, ItemClass::Integer},         // 19
    {&RDX_INC::ChInputFilter, ItemClass::Tenths},     // 20
    {&RDX_INC::ChSensorCorr, ItemClass::Span},        // 21
    {&RDX_INC::ChAction, ItemClass::Action},          // 22
    {&RDX_INC::ChTempUnit, ItemClass::TempUnit},      // 23
    {&RDX_INC::ChLoopTime, ItemClass::Integer},       // 24
    {&RDX_INC::ChLoopSpan, ItemClass::Span},          // 25
    {&RDX_INC::ChCoolPBand, ItemClass::Tenths},       // 26
    {&RDX_INC::ChCoolPCycle, ItemClass::Integer},     // 27
    {&RDX_INC::ChOverlapBand, ItemClass::Span},       // 28
    {&RDX_INC::ChCoolMode, ItemClass::CoolMode},      // 29
    {&RDX_INC::ChCoolHys, ItemClass::Span},           // 30
    {&RDX_INC::ChScaleHigh, ItemClass::Span},         // 31
    {&RDX_INC::ChScaleLow, ItemClass::Span},          // 32
    {&RDX_INC::ChDecimal, ItemClass::Picture},        // 33
    {nullptr, ItemClass::UnitText},                   // 34
    {&RDX_INC::ChLoop2Time, ItemClass::Integer},      // 35
    {&RDX_INC::ChLoop2Span, ItemClass::Span},         // 36
};

QString FormatLinear(const RDX_INC& inc, int channel, qint16 v) {
    return FormatScaled(v, inc.ChDecimal[channel]);
}

// PV and SV: as many decimals as ValueDecimals says, so the documents' "decimals" and the
// Modbus map always match the text.
QString FormatInput(const RDX_INC& inc, int channel, qint16 v) {
    int divisor = 1;
    const int places = ValueDecimals(inc, channel);
    if (places < 0) return QString();
    for (int i = 0; i < places; ++i) divisor *= 10;
    return FormatScaled(v, divisor);
}

QString FormatSpan(const RDX_INC& inc, int channel, qint16 v) {
    const int t = inc.ChInputType[channel];
    if (t >= 0 && t <= 9) return FormatTenths(v);
    return FormatLinear(inc, channel, v);
}

}  // namespace

QString FormatScaled(qint64 value, int divisor) {
    const int places = DecimalPlaces(divisor);
    if (places < 0) return QString();
    const bool negative = value < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(value) : quint64(value);
    QString text = negative ? QStringLiteral("-") : QString();
    text += QString::number(magnitude / quint64(divisor));
    if (places > 0) {
        text += QLatin1Char('.');
        text += QString::number(magnitude % quint64(divisor)).rightJustified(places, QLatin1Char('0'));
    }
    return text;
}

QString FormatTenths(qint64 value) { return FormatScaled(value, 10); }

QString FormatItemValue(const RDX_INC& inc, int item, int channel) {
    if (channel < 0 || channel >= ChannelCount) return QString();
    const ItemEntry& e = (item >= 0 && item < DisplayItemCount) ? kItems[item] : kItems[0];
    if (e.cls == ItemClass::UnitText) return inc.ChUnitText[channel];
    const qint16 v = (inc.*e.table)[channel];
    switch (e.cls) {
    case ItemClass::Input: return FormatInput(inc, channel, v);
    case ItemClass::Tenths: return FormatTenths(v);
    case ItemClass::Integer: return QString::number(v);
    case ItemClass::Span: return FormatSpan(inc, channel, v);
    case ItemClass::AlarmShort: return AlarmTypeShortName(v);
    case ItemClass::Action: return ControlActionName(v);
    case ItemClass::TempUnit: return TempUnitName(v);
    case ItemClass::CoolMode: return CoolModeName(v);
    case ItemClass::Picture: return DecimalPictureText(v);
    case ItemClass::UnitText: break;
    }
    return QString();
}

int ValueDecimals(const RDX_INC& inc, int channel) {
    if (channel < 0 || channel >= ChannelCount) return -1;
    const int t = inc.ChInputType[channel];
    if (t >= 0 && t <= 5) return 0;
    if (t >= 6 && t <= 9) return 1;
    return DecimalPlaces(inc.ChDecimal[channel]);
}

QString ChannelUnitText(const RDX_INC& inc, int channel) {
    if (channel < 0 || channel >= ChannelCount) return QString();
    if (IsLinearInput(inc, channel)) return inc.ChUnitText[channel];
    return TempUnitName(inc.ChUnitShown[channel]);
}

QString MakeRange(const RDX_INC& inc, int channel) {
    if (channel < 0 || channel >= ChannelCount) return QString();
    const int t = inc.ChInputType[channel];
    if (const InputRangeEntry* r = TemperatureInputRange(t, inc.ChUnitShown[channel]))
        return QString::fromUtf8(r->text);
    const QString suffix = LinearInputSuffix(t);
    if (suffix.isEmpty()) return QString();
    // Scaling low limit (item 32) first, then the high limit (item 31).
    return FormatItemValue(inc, 32, channel) + QStringLiteral("～") + FormatItemValue(inc, 31, channel) +
           suffix;
}

int ListIndexOrZero(int listIndex) { return listIndex < 0 ? 0 : listIndex; }

int ListIndexOrZero(int listIndex, int count) { return listIndex < count ? ListIndexOrZero(listIndex) : 0; }
