#include "editing/SettingItems.h"

#include <array>

namespace {

// Item code of each setting as a number ("0001" = 0x01); 0 = no controller item.
constexpr std::array<int, SettingCount + 1> kItemOfSetting = {
    0,
    0x01, 0x05, 0x06, 0x08, 0x02, 0x03, 0x04, 0x17, 0x07, 0x18,  // 1..10
    0x0D, 0x0B, 0x0C, 0x13, 0x14, 0x0E, 0x0F, 0x10, 0x19, 0x12,  // 11..20
    0x11, 0x16, 0x15, 0,    0x1C, 0x1D, 0x1E, 0x1F, 0x20, 0x1B,  // 21..30
    0x1A, 0,    0,    0,    0};                                  // 31..35

// ItemCode holds "00A0", "00A1", "0080".."0083" first, then "0001".."0020".
constexpr int kFirstSettingItemIndex = 5;

bool InRange(int setting) { return setting >= 1 && setting <= SettingCount; }

}  // namespace

const ChannelTable* SettingTable(const RDX_INC& inc, int setting) {
    return SettingTable(const_cast<RDX_INC&>(inc), setting);
}

ChannelTable* SettingTable(RDX_INC& inc, int setting) {
    if (!InRange(setting)) return nullptr;
    switch (setting) {
    case 32: return &inc.ChScaleHigh;
    case 33: return &inc.ChScaleLow;
    case 34: return &inc.ChDecimal;
    default: break;
    }
    const int item = kItemOfSetting[setting];
    if (item == 0) return nullptr;
    return inc.TableOfItem(QStringLiteral("%1").arg(item, 4, 16, QLatin1Char('0')).toUpper());
}

QString SettingItemCode(const RDX_INC& inc, int setting) {
    if (!InRange(setting) || kItemOfSetting[setting] == 0) return {};
    return inc.ItemCode[kFirstSettingItemIndex + kItemOfSetting[setting]];
}

bool IsPcSideSetting(int setting) { return setting >= 32 && setting <= 35; }

QString PcSideSettingKey(int setting, int channel) {
    if (channel < 0 || channel >= ChannelCount) return {};
    const char* prefix = nullptr;
    switch (setting) {
    case 32: prefix = "STLH"; break;
    case 33: prefix = "STLL"; break;
    case 34: prefix = "DP"; break;
    case 35: prefix = "UNIT"; break;
    default: return {};
    }
    return QString::fromLatin1(prefix) + ChannelSuffix(channel);
}

bool IsNumericSetting(int setting) {
    return (setting >= 1 && setting <= 13) || (setting >= 16 && setting <= 19) ||
           setting == 22 || setting == 23 || (setting >= 25 && setting <= 33);
}

bool ShownInScaledUnits(int setting) {
    switch (setting) {
    case 1: case 2: case 3: case 10: case 11: case 12: case 13:
    case 19: case 23: case 27: case 29: case 31: case 32: case 33: return true;
    default: return false;
    }
}

ChoiceFrame ChoiceFrameOf(int setting) {
    switch (setting) {
    case 14:
    case 15: return ChoiceFrame::Alarm;
    case 20: return ChoiceFrame::HeatCool;
    case 21: return ChoiceFrame::TempUnit;
    case 28: return ChoiceFrame::CoolMode;
    case 34: return ChoiceFrame::DecimalPoint;
    case 35: return ChoiceFrame::Unit;
    default: return ChoiceFrame::None;
    }
}

