// Bits of the status word (item "0083"), shared by the monitor and the simulated line.
#pragma once

#include <QtGlobal>

namespace StatusBit {
inline constexpr quint16 Control = 0x0001;
inline constexpr quint16 Alarm1 = 0x0002;
inline constexpr quint16 Alarm2 = 0x0004;
inline constexpr quint16 HeaterBreak = 0x0008;
inline constexpr quint16 OverScale = 0x0010;
inline constexpr quint16 UnderScale = 0x0020;
inline constexpr quint16 AutoTuning = 0x0080;
inline constexpr quint16 OutputOn = 0x0400;
inline constexpr quint16 Changed = 0x1000;
inline constexpr quint16 LoopBreak = 0x2000;
}  // namespace StatusBit
