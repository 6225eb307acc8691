#include "setdata/ChannelText.h"

#include "format/DisplayTables.h"
#include "format/ValueFormat.h"
#include "setdata/ScalingStore.h"
#include "setdata/SetDataValues.h"

namespace {

struct FieldSpec {
    ChannelTable RDX_INC::* table;  // nullptr for the unit text, which is a string table
    TextRule rule;
};

// Field k belongs to display item k + 3.
constexpr std::array<FieldSpec, ChannelFieldCount> kFields = {{
    {&RDX_INC::ChSV, TextRule::A},
    {&RDX_INC::ChAlarm1, TextRule::A},
    {&RDX_INC::ChAlarm2, TextRule::A},
    {&RDX_INC::ChHBAlarm, TextRule::Tenths},
    {&RDX_INC::ChPBand, TextRule::Tenths},
    {&RDX_INC::ChITime, TextRule::Whole},
    {&RDX_INC::ChDTime, TextRule::Whole},
    {&RDX_INC::ChARW, TextRule::Whole},
    {&RDX_INC::ChPCycle, TextRule::Whole},
    {&RDX_INC::ChManualReset, TextRule::B},
    {&RDX_INC::ChOutputHys, TextRule::B},
    {&RDX_INC::ChAlarm1Hys, TextRule::B},
    {&RDX_INC::ChAlarm2Hys, TextRule::B},
    {&RDX_INC::ChAlarm1Type, TextRule::AlarmName},
    {&RDX_INC::ChAlarm2Type, TextRule::AlarmName},
    {&RDX_INC::ChOutHigh, TextRule::Whole},
    {&RDX_INC::ChOutLow, TextRule::Whole},
    {&RDX_INC::ChInputFilter, TextRule::Tenths},
    {&RDX_INC::ChSensorCorr, TextRule::B},
    {&RDX_INC::ChAction, TextRule::Action},
    {&RDX_INC::ChTempUnit, TextRule::Unit},
    {&RDX_INC::ChLoopTime, TextRule::Whole},
    {&RDX_INC::ChLoopSpan, TextRule::B},
    {&RDX_INC::ChCoolPBand, TextRule::Tenths},
    {&RDX_INC::ChCoolPCycle, TextRule::Whole},
    {&RDX_INC::ChOverlapBand, TextRule::B},
    {&RDX_INC::ChCoolMode, TextRule::CoolingMode},
    {&RDX_INC::ChCoolHys, TextRule::B},
    {&RDX_INC::ChScaleHigh, TextRule::B},
    {&RDX_INC::ChScaleLow, TextRule::B},
    {&RDX_INC::ChDecimal, TextRule::DecimalPicture},
    {nullptr, TextRule::UnitText},
}};

constexpr const char* kOlderDefaults[ChannelFieldCount - OlderChannelFieldCount] = {
    "1.0", "30", "0.0", "空冷", "1.0", "10000", "0", "XXXX .", "%"};

constexpr int kAlarmTypeCount = 13;
constexpr int kCoolModeCount = 3;

bool ValidChannel(int channel) { return channel >= 0 && channel < ChannelCount; }
bool InFile(int item) { return item >= FirstChannelFileItem && item <= LastChannelFileItem; }

// What the number of a text is multiplied by before rounding; nullopt for no numeric rule.
std::optional<double> FactorOf(const RDX_INC& inc, TextRule rule, int channel) {
    const int type = inc.ChInputType[channel];
    const double divisor = inc.ChDecimal[channel];
    switch (rule) {
    case TextRule::Whole: return 1.0;
    case TextRule::Tenths: return 10.0;
    case TextRule::A:
        if (type >= 0 && type <= 5) return 1.0;
        if (type >= 6 && type <= 9) return 10.0;
        return divisor;
    case TextRule::B:
        return type >= 0 && type <= 9 ? 10.0 : divisor;
    default: return std::nullopt;
    }
}

// Code whose name is the text, or -1.
template <typename NameOf>
int CodeOfName(const QString& text, int count, NameOf nameOf) {
    for (int code = 0; code < count; ++code)
        if (nameOf(code) == text) return code;
    return -1;
}

}  // namespace

ChannelTexts WithOlderChannelDefaults(ChannelTexts texts) {
    for (int k = OlderChannelFieldCount; k < ChannelFieldCount; ++k)
        texts[k] = QString::fromUtf8(kOlderDefaults[k - OlderChannelFieldCount]);
    return texts;
}

TextRule RuleOfItem(int displayItem) {
    return InFile(displayItem) ? kFields[displayItem - FirstChannelFileItem].rule : TextRule::None;
}

std::optional<qint16> ItemTextToValue(const RDX_INC& inc, int displayItem, int channel, QStringView text) {
    if (!ValidChannel(channel)) return std::nullopt;
    const std::optional<double> factor = FactorOf(inc, RuleOfItem(displayItem), channel);
    if (!factor) return std::nullopt;
    return RoundToInt16(TextNumber(text) * *factor);
}

ApplyResult ApplyItemText(RDX_INC& inc, int displayItem, int channel, const QString& text) {
    if (!InFile(displayItem) || !ValidChannel(channel)) return ApplyResult::NotApplicable;
    const FieldSpec& field = kFields[displayItem - FirstChannelFileItem];
    auto store = [&](int value) {
        (inc.*field.table)[channel] = qint16(value);
        return ApplyResult::Stored;
    };

    switch (field.rule) {
    case TextRule::AlarmName:
        return store(qMax(0, CodeOfName(text, kAlarmTypeCount, AlarmTypeName)));
    case TextRule::Action:
        return store(text == ControlActionName(0) ? 0 : 1);
    case TextRule::Unit: {
        const qint16 unit = text == TempUnitName(0) ? 0 : 1;
        inc.ChTempUnit[channel] = unit;
        inc.ChUnitShown[channel] = unit;
        // The unit shown belongs to the pair: only an even channel carries its partner.
        // An odd channel's next index is the first channel of another controller; an even
        // channel (0..318) always has its partner.
        if (channel % 2 == 0) inc.ChUnitShown[channel + 1] = unit;
        return ApplyResult::Stored;
    }
    case TextRule::CoolingMode: {
        const int mode = CodeOfName(text, kCoolModeCount, CoolModeName);
        return mode < 0 ? ApplyResult::KeptUnknownText : store(mode);
    }
    case TextRule::DecimalPicture:
        if (const int divisor = DecimalDivisorOfPicture(text)) return store(divisor);
        return ApplyResult::KeptUnknownText;
    case TextRule::UnitText:
        inc.ChUnitText[channel] = text;
        return ApplyResult::Stored;
    default: {
        const std::optional<qint16> value = ItemTextToValue(inc, displayItem, channel, text);
        return value ? store(*value) : ApplyResult::KeptOutOfRange;
    }
    }
}

quint32 ApplyChannelTexts(RDX_INC& inc, int channel, const ChannelTexts& texts) {
    if (!ValidChannel(channel)) return 0;
    const quint32 kept = PutChannelTexts(inc, channel, texts);
    SaveChannelScaling(inc, channel);
    return kept;
}

quint32 PutChannelTexts(RDX_INC& inc, int channel, const ChannelTexts& texts) {
    if (!ValidChannel(channel)) return 0;
    const int pictureField = DecimalPictureItem - FirstChannelFileItem;
    ApplyItemText(inc, DecimalPictureItem, channel, texts[pictureField]);
    quint32 kept = 0;
    for (int k = 0; k < ChannelFieldCount; ++k)
        if (ApplyItemText(inc, k + FirstChannelFileItem, channel, texts[k]) != ApplyResult::Stored)
            kept |= quint32(1) << k;
    return kept;
}

ChannelTexts TakeChannelTexts(const RDX_INC& inc, int channel) {
    ChannelTexts texts;
    if (!ValidChannel(channel)) return texts;
    for (int k = 0; k < ChannelFieldCount; ++k)
        texts[k] = FormatItemValue(inc, k + FirstChannelFileItem, channel);
    texts[13] = AlarmTypeName(inc.ChAlarm1Type[channel]);
    texts[14] = AlarmTypeName(inc.ChAlarm2Type[channel]);
    texts[20] = TempUnitName(inc.ChUnitShown[channel]);
    return texts;
}
