// The gateway's Modbus register map: where each quantity lies (protocol addresses, from 0)
// and the register image the server answers from. Each per-channel quantity is one
// contiguous range, channel n (1..320) at base + n - 1, so one request reads a block or
// more; docs/MODBUS.md and docs/modbus-map.csv list the same map.
#pragma once

#include "exchange/RDX_INC.h"
#include "exchange/WriteRequests.h"

#include <QList>
#include <QtGlobal>
#include <array>

namespace ModbusMap {

// What a value register reads when there is no value: no controller, the block out of
// contact or the port lost, a PV that is no measurement.
inline constexpr quint16 NoValue = 0x8000;

// Input registers (function 04).
inline constexpr int PvBase = 0;
inline constexpr int SvBase = 1000;
inline constexpr int HeatingMvBase = 2000;
inline constexpr int CoolingMvBase = 3000;
inline constexpr int HeaterCurrentBase = 4000;
inline constexpr int StatusBase = 5000;
inline constexpr int DecimalsBase = 6000;
inline constexpr int UnitBase = 7000;
inline constexpr int WriteResultBase = 8000;
inline constexpr int BlockAgeBase = 9000;  // block n (1..16) at 9000 + n - 1
inline constexpr int PortStateAddress = 9100;
inline constexpr int HeartbeatAddress = 9101;

// Discrete inputs (function 02), per channel: "a controller is present" and the bits of
// the status word; block n's "out of contact" at 10000 + n - 1.
inline constexpr int PresentBase = 0;
inline constexpr int OutOfContactBase = 10000;
struct BitRange {
    int base;
    quint16 bit;
};
inline constexpr std::array<BitRange, 9> StatusBitRanges{{
    {1000, StatusBit::Alarm1},
    {2000, StatusBit::Alarm2},
    {3000, StatusBit::HeaterBreak},
    {4000, StatusBit::LoopBreak},
    {5000, StatusBit::OverScale},
    {6000, StatusBit::UnderScale},
    {7000, StatusBit::Control},
    {8000, StatusBit::AutoTuning},
    {9000, StatusBit::OutputOn},
}};

// Holding registers (functions 03, 06, 16): the SV, writable with --modbus-writable.
inline constexpr int SvHoldingBase = 1000;

// Unit codes of the unit register.
enum class UnitCode : quint16 { None = 0, Celsius = 1, Fahrenheit = 2, Percent = 3, Ampere = 4, Other = 5 };

// The port's state register.
enum class PortState : quint16 { Open = 0, Lost = 1, Missing = 2 };
// From the link document's state: "open", "lost", "missing".
PortState PortStateOf(const QString& linkState);

// The write result register of a channel.
enum class WriteState : quint16 {
    None = 0,
    Pending = 1,
    Accepted = 2,
    Refused = 3,
    Unanswered = 4,
    CutByPortLoss = 5,
    Busy = 6,
};
WriteState StateOf(WriteOutcome outcome);

}  // namespace ModbusMap
