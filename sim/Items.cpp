#include "Items.h"

#include "protocol/HexCodec.h"
#include "protocol/ItemCodes.h"

namespace rdxsim {

std::optional<ItemInfo> FindItem(QStringView code) {
    if (code.size() != 4) return std::nullopt;
    if (code == QLatin1StringView(ItemCodes::Presence)) return ItemInfo{ItemKind::Presence, -1};
    if (code == QLatin1StringView(ItemCodes::InputOption)) return ItemInfo{ItemKind::InputOption, -1};
    if (code == QLatin1StringView(ItemCodes::PV)) return ItemInfo{ItemKind::PV, -1};
    if (code == QLatin1StringView(ItemCodes::HeatMV)) return ItemInfo{ItemKind::HeatMV, -1};
    if (code == QLatin1StringView(ItemCodes::HeaterCurrent)) return ItemInfo{ItemKind::HeaterCurrent, -1};
    if (code == QLatin1StringView(ItemCodes::Status)) return ItemInfo{ItemKind::Status, -1};
    // Parameters: exactly the upper-case codes "0001".."0020", as the monitor sends them.
    for (int p = 0; p < ParamCount; ++p)
        if (code == ParamCode(p)) return ItemInfo{ItemKind::Parameter, p};
    return std::nullopt;
}

QString ParamCode(int param) { return HexCodec::Encode(qint16(param + 1)); }

bool IsWritable(const ItemInfo& info) { return info.kind == ItemKind::Parameter; }

const ParamSet& FactoryParams() {
    static const ParamSet values = [] {
        ParamSet v{};
        v[SV] = 0;
        v[PBand] = 30;        // 3.0 % of the input span
        v[ITime] = 240;       // s
        v[DTime] = 60;        // s
        v[Alarm1] = 0;
        v[Alarm2] = 0;
        v[PCycle] = 20;       // s
        v[HBAlarm] = 0;       // tenths of an ampere; 0 = not armed
        v[OutputSwitch] = 0;  // a reset controller does not heat until told to
        v[ATSwitch] = 0;
        v[Alarm1Hys] = 20;    // spans in tenths (linear inputs: raw units)
        v[Alarm2Hys] = 20;
        v[OutputHys] = 10;
        v[OutHigh] = 100;     // %
        v[OutLow] = 0;
        v[InputFilter] = 0;
        v[TempUnit] = 0;
        v[Action] = 0;        // heating (reverse)
        v[Alarm1Type] = 0;    // no alarm
        v[Alarm2Type] = 0;
        v[LoopSpan] = 80;
        v[LoopTime] = 8;      // min; 0 = loop-break alarm off
        v[ARW] = 100;         // %
        v[ManualReset] = 0;
        v[SensorCorr] = 0;
        v[Loop2Span] = 80;
        v[Loop2Time] = 8;
        v[CoolPBand] = 30;
        v[CoolPCycle] = 20;
        v[OverlapBand] = 0;
        v[CoolMode] = 0;      // air
        v[CoolHys] = 10;
        return v;
    }();
    return values;
}

}  // namespace rdxsim
