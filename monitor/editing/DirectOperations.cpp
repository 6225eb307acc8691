#include "editing/DirectOperations.h"

#include "editing/SettingItems.h"
#include "format/DisplayTables.h"
#include "exchange/WriteRequests.h"

namespace {

// Positions of "0009" and "000A" in ItemCode.
constexpr int kOutputSwitchItem = 14;
constexpr int kATSwitchItem = 15;

bool ValidChannel(int c) { return c >= 0 && c < ChannelCount; }
bool HasOption(const RDX_INC& inc, int c, quint16 bit) { return quint16(inc.ChOption[c]) & bit; }
bool AutoTuningRuns(const RDX_INC& inc, int c) {
    return quint16(inc.ChStatus[c]) & StatusBit::AutoTuning;
}

// 1 becomes 0, anything else 1.
void Toggle(qint16& v) { v = v == 1 ? 0 : 1; }

void RequestWrite(const RDX_INC& inc, WriteRequests& writes, int channel, int itemIndex) {
    writes.RequestSettingWrite(channel, inc.ItemCode[itemIndex]);
}

}  // namespace

bool NumericEntryApplicable(const RDX_INC& inc, int s, int c) {
    if (!ValidChannel(c) || inc.ChATSwitch[c] == 1 || s == 0) return false;
    if (!IsNumericSetting(s)) return false;
    switch (s) {
    case 2: if (inc.ChAlarm1Type[c] == 0) return false; break;
    case 3: if (inc.ChAlarm2Type[c] == 0) return false; break;
    case 4: if (!HasOption(inc, c, OptionBit::HeaterBreak)) return false; break;
    case 25:
    case 26:
    case 27:
    case 29: if (!HasOption(inc, c, OptionBit::Cooling)) return false; break;
    case 32:
    case 33: if (!IsLinearInput(inc, c)) return false; break;
    default: break;
    }
    return !AutoTuningRuns(inc, c);
}

bool ChoiceEntryApplicable(const RDX_INC& inc, int s, int c) {
    if (!ValidChannel(c) || inc.ChATSwitch[c] == 1) return false;
    if (ChoiceFrameOf(s) == ChoiceFrame::None) return false;
    if (s == 28 && !HasOption(inc, c, OptionBit::Cooling)) return false;
    if ((s == 34 || s == 35) && !IsLinearInput(inc, c)) return false;
    return true;
}

int PreselectedOption(const RDX_INC& inc, int s, int c) {
    if (!ValidChannel(c)) return -1;
    auto within = [](int v, int count) { return v >= 0 && v < count ? v : -1; };
    switch (s) {
    case 14: return within(inc.ChAlarm1Type[c], 13);
    case 15: return within(inc.ChAlarm2Type[c], 13);
    case 20: return within(inc.ChAction[c], 2);
    case 21: return within(inc.ChTempUnit[c], 2);
    case 28: return within(inc.ChCoolMode[c], 3);
    case 34: return DecimalOptionOf(inc.ChDecimal[c]);
    default: return -1;
    }
}

bool MainSettingEntryAllowed(const RDX_INC& inc, int c) {
    return ValidChannel(c) && inc.ChATSwitch[c] != 1;
}

bool SwitchOutputOnSettingView(RDX_INC& inc, WriteRequests& writes, int c) {
    if (!ValidChannel(c) || inc.ChATSwitch[c] == 1) return false;
    Toggle(inc.ChOutputSwitch[c]);
    RequestWrite(inc, writes, c, kOutputSwitchItem);
    return true;
}

bool SwitchAutoTuning(RDX_INC& inc, WriteRequests& writes, int c) {
    if (!ValidChannel(c) || inc.ChOutputSwitch[c] == 0) return false;
    Toggle(inc.ChATSwitch[c]);
    RequestWrite(inc, writes, c, kATSwitchItem);
    return true;
}

bool SwitchOutput(RDX_INC& inc, WriteRequests& writes, int c) {
    if (!ValidChannel(c) || AutoTuningRuns(inc, c)) return false;
    Toggle(inc.ChOutputSwitch[c]);
    RequestWrite(inc, writes, c, kOutputSwitchItem);
    return true;
}
