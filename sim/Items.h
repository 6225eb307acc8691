// The data items a block answers, and the controller parameters it keeps per channel.
#pragma once

#include "protocol/StatusBits.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <optional>

namespace rdxsim {

// Parameter items "0001".."0020": the parameter's index is its item code minus one.
enum Param : int {
    SV = 0, PBand, ITime, DTime, Alarm1, Alarm2, PCycle, HBAlarm, OutputSwitch, ATSwitch,
    Alarm1Hys, Alarm2Hys, OutputHys, OutHigh, OutLow, InputFilter, TempUnit, Action,
    Alarm1Type, Alarm2Type, LoopSpan, LoopTime, ARW, ManualReset, SensorCorr, Loop2Span,
    Loop2Time, CoolPBand, CoolPCycle, OverlapBand, CoolMode, CoolHys,
    ParamCount
};

using ParamSet = std::array<qint16, ParamCount>;

enum class ItemKind { Presence, InputOption, PV, HeatMV, HeaterCurrent, Status, Parameter };

struct ItemInfo {
    ItemKind kind;
    int param;  // index into ParamSet for ItemKind::Parameter, else -1
};

// One of the 38 readable items, by its exact four-character code; nothing for any other text.
std::optional<ItemInfo> FindItem(QStringView code);

// The four-character code of a parameter ("0001" for SV).
QString ParamCode(int param);

// The code of the factory-initialisation command (write only).
inline constexpr char16_t kFactoryInitCode[] = u"0040";

// Values a controller pair takes from the factory and after factory initialisation.
const ParamSet& FactoryParams();

// Items measured or fixed by the hardware cannot be written.
bool IsWritable(const ItemInfo& info);



// Option-code bits.
namespace OptionBit {
inline constexpr quint16 HeaterBreak = 0x0001;
inline constexpr quint16 HeaterBreak50A = 0x0002;
inline constexpr quint16 HeatCool = 0x0400;
}  // namespace OptionBit

}  // namespace rdxsim
