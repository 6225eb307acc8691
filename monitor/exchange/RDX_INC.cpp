#include "exchange/RDX_INC.h"

#include "protocol/Framing.h"
#include "protocol/HexCodec.h"
#include "protocol/ItemCodes.h"

#include <cmath>
#include <limits>

namespace {

constexpr const auto& kItemCodes = ItemCodes::All;
static_assert(ItemCodes::All.size() == ItemCount);

// Rounds ties to even (the default floating-point mode) and saturates to 16 bits.
qint16 RoundTo16(double value) {
    const double r = std::nearbyint(value);
    if (!(r == r)) return 0;
    if (r > std::numeric_limits<qint16>::max()) return std::numeric_limits<qint16>::max();
    if (r < std::numeric_limits<qint16>::min()) return std::numeric_limits<qint16>::min();
    return qint16(r);
}

}  // namespace

bool IsLinearInput(const RDX_INC& d, int channel) { return d.ChInputType[channel] >= 10; }

RDX_INC::RDX_INC() { ChUnitText.fill(QString()); }

void RDX_INC::FillItemCodes() {
    for (int i = 0; i < ItemCount; ++i) ItemCode[i] = QString::fromLatin1(kItemCodes[i]);
}

int RDX_INC::ItemIndex(QStringView code) const {
    for (int i = 0; i < ItemCount; ++i)
        if (code == QLatin1StringView(kItemCodes[i])) return i;
    return -1;
}

const ChannelTable* RDX_INC::TableOfItem(QStringView code) const {
    return const_cast<RDX_INC*>(this)->TableOfItem(code);
}

ChannelTable* RDX_INC::TableOfItem(QStringView code) {
    ChannelTable* const tables[ItemCount] = {
        &ChPresent,     nullptr,        &ChPV,          &ChHeatMV,      &ChHeaterCurrent,
        &ChStatus,      &ChSV,          &ChPBand,       &ChITime,       &ChDTime,
        &ChAlarm1,      &ChAlarm2,      &ChPCycle,      &ChHBAlarm,     &ChOutputSwitch,
        &ChATSwitch,    &ChAlarm1Hys,   &ChAlarm2Hys,   &ChOutputHys,   &ChOutHigh,
        &ChOutLow,      &ChInputFilter, &ChTempUnit,    &ChAction,      &ChAlarm1Type,
        &ChAlarm2Type,  &ChLoopSpan,    &ChLoopTime,    &ChARW,         &ChManualReset,
        &ChSensorCorr,  &ChLoop2Span,   &ChLoop2Time,   &ChCoolPBand,   &ChCoolPCycle,
        &ChOverlapBand, &ChCoolMode,    &ChCoolHys};
    const int i = ItemIndex(code);
    return i < 0 ? nullptr : tables[i];
}

ItemForm RDX_INC::FormOfItem(QStringView code) {
    if (code == u"00A1") return ItemForm::Pairs;
    if (code == u"0080" || code == u"0001") return ItemForm::Abs;
    if (code == u"0005") return ItemForm::Alarm1;
    if (code == u"0006") return ItemForm::Alarm2;
    static const char* const span[] = {"000B", "000C", "000D", "0015", "0018",
                                       "0019", "001A", "001E", "0020"};
    for (const char* s : span)
        if (code == QLatin1StringView(s)) return ItemForm::Span;
    return ItemForm::Raw;
}

bool RDX_INC::IsCoolingItem(QStringView code) {
    return code == u"001C" || code == u"001D" || code == u"001E" || code == u"001F" ||
           code == u"0020";
}

qint16 RDX_INC::RawToScaled(int ch, qint16 raw) const {
    if (!IsLinearInput(*this, ch)) return raw;
    const qint32 span = qint32(ChScaleHigh[ch]) - ChScaleLow[ch];
    return RoundTo16(double(span * qint32(raw)) / 10000.0 + ChScaleLow[ch]);
}

qint16 RDX_INC::RawToScaledSpan(int ch, qint16 raw) const {
    if (!IsLinearInput(*this, ch)) return raw;
    const qint32 span = qint32(ChScaleHigh[ch]) - ChScaleLow[ch];
    return RoundTo16(double(span * qint32(raw)) / 10000.0);
}

// Equal limits have no inverse: the value is left as it is rather than divided by zero.
qint16 RDX_INC::ScaledToRaw(int ch, qint16 value) const {
    if (!IsLinearInput(*this, ch)) return value;
    const qint32 span = qint32(ChScaleHigh[ch]) - ChScaleLow[ch];
    if (span == 0) return value;
    return RoundTo16(double((qint32(value) - ChScaleLow[ch]) * 10000) / double(span));
}

qint16 RDX_INC::ScaledSpanToRaw(int ch, qint16 value) const {
    if (!IsLinearInput(*this, ch)) return value;
    const qint32 span = qint32(ChScaleHigh[ch]) - ChScaleLow[ch];
    if (span == 0) return value;
    return RoundTo16(double(qint32(value) * 10000) / double(span));
}

qint16 RDX_INC::RawToStored(ItemForm form, int ch, qint16 raw) const {
    switch (form) {
    case ItemForm::Abs: return RawToScaled(ch, raw);
    case ItemForm::Span: return RawToScaledSpan(ch, raw);
    case ItemForm::Alarm1:
        return ChAlarm1Type[ch] < 9 ? RawToScaledSpan(ch, raw) : RawToScaled(ch, raw);
    case ItemForm::Alarm2:
        return ChAlarm2Type[ch] < 9 ? RawToScaledSpan(ch, raw) : RawToScaled(ch, raw);
    default: return raw;
    }
}

qint16 RDX_INC::StoredToRaw(ItemForm form, int ch, qint16 value) const {
    switch (form) {
    case ItemForm::Abs: return ScaledToRaw(ch, value);
    case ItemForm::Span: return ScaledSpanToRaw(ch, value);
    case ItemForm::Alarm1:
        return ChAlarm1Type[ch] < 9 ? ScaledSpanToRaw(ch, value) : ScaledToRaw(ch, value);
    case ItemForm::Alarm2:
        return ChAlarm2Type[ch] < 9 ? ScaledSpanToRaw(ch, value) : ScaledToRaw(ch, value);
    default: return value;
    }
}

RDX_INC::ReplyFields RDX_INC::FieldsOf(QStringView reply) {
    ReplyFields fields;
    for (int n = 0; n < ChannelsPerBlock; ++n) fields[n] = Framing::FieldView(reply, n + 1);
    return fields;
}

RDX_INC::ReplyFields RDX_INC::FieldsOf(const std::array<QString, ChannelsPerBlock>& fields) {
    ReplyFields views;
    for (int n = 0; n < ChannelsPerBlock; ++n) views[n] = fields[n];
    return views;
}

void RDX_INC::StoreReply(int block, QStringView code, const ReplyFields& fields) {
    if (block < 0 || block >= BlockCount) return;
    ChannelTable* table = TableOfItem(code);
    if (!table) return;
    const int base = block * ChannelsPerBlock;
    if (code == u"00A0") {
        for (int j = 0; j < ChannelsPerBlock / 2; ++j) {
            const qint16 v = HexCodec::Decode(fields[2 * j]);
            (*table)[base + 2 * j] = v;
            (*table)[base + 2 * j + 1] = v;
        }
        return;
    }
    const ItemForm form = FormOfItem(code);
    for (int n = 0; n < ChannelsPerBlock; ++n)
        (*table)[base + n] = RawToStored(form, base + n, HexCodec::Decode(fields[n]));
    if (code == u"0011") {
        for (int j = 0; j < ChannelsPerBlock / 2; ++j) {
            ChUnitShown[base + 2 * j] = ChTempUnit[base + 2 * j];
            ChUnitShown[base + 2 * j + 1] = ChTempUnit[base + 2 * j];
        }
    }
    if (code == u"0083" && AlarmCheckHook)
        for (int n = 0; n < ChannelsPerBlock; ++n) AlarmCheckHook(base + n);
}

void RDX_INC::StoreInputTypes(int block, const ReplyFields& fields) {
    if (block < 0 || block >= BlockCount) return;
    const int base = block * ChannelsPerBlock;
    for (int j = 0; j < ChannelsPerBlock / 2; ++j) {
        const qint16 type = HexCodec::Decode(fields[2 * j]);
        const qint16 option = HexCodec::Decode(fields[2 * j + 1]);
        ChInputType[base + 2 * j] = ChInputType[base + 2 * j + 1] = type;
        ChOption[base + 2 * j] = ChOption[base + 2 * j + 1] = option;
    }
}

QString RDX_INC::EncodeBlock(QStringView code, int block) const {
    QString data;
    if (block < 0 || block >= BlockCount) return data;
    const ChannelTable* table = TableOfItem(code);
    data.reserve(4 * ChannelsPerBlock);
    const int base = block * ChannelsPerBlock;
    const ItemForm form = FormOfItem(code);
    for (int k = 0; k < ChannelsPerBlock; ++k)
        data += HexCodec::Encode(table ? StoredToRaw(form, base + k, (*table)[base + k]) : 0);
    return data;
}

void RDX_INC::ComputeBlockCooling() {
    for (int b = 0; b < BlockCount; ++b) {
        bool cooling = false;
        for (int k = 0; k < ChannelsPerBlock; ++k)
            if (quint16(ChOption[b * ChannelsPerBlock + k]) & OptionBit::Cooling) cooling = true;
        BlockHasCooling[b] = cooling;
    }
}

QString BlockSuffix(int blockIndex) {
    return QString::number(blockIndex + 1 + 100).right(2);
}

QString ChannelSuffix(int channelIndex) {
    return QString::number(channelIndex + 1 + 10000).right(3);
}
