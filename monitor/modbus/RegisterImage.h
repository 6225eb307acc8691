// The registers the Modbus server answers from, taken from the tables block by block after
// the engine polled it (20 channels: cheap, and a client's request never reads the tables
// while the engine stores a reply). Requests read only this image.
#pragma once

#include "modbus/ModbusMap.h"

#include <QList>
#include <array>

class RegisterImage {
public:
    // Every channel absent, every value register NoValue, the port missing.
    RegisterImage();

    // Takes every channel of `block` from the tables; `stale`: its values are the last
    // ones read (out of contact, the port lost), so the value registers read NoValue.
    void TakeBlock(const RDX_INC& inc, int block, bool stale);
    // Milliseconds since 1970; 0: not read by this run.
    void SetReadAt(int block, qint64 epochMs) { readAtMs_[size_t(block)] = epochMs; }
    void SetOutOfContact(int block, bool out) { outOfContact_[size_t(block)] = out; }
    void SetPortState(ModbusMap::PortState state) { portState_ = state; }
    // One more poll cycle of the line (wraps at 65536).
    void CountCycle() { ++heartbeat_; }
    void SetWriteState(int channel, ModbusMap::WriteState state) { writeState_[size_t(channel)] = quint16(state); }
    ModbusMap::WriteState WriteStateOf(int channel) const { return ModbusMap::WriteState(writeState_[size_t(channel)]); }

    // Fills `values` with `count` registers or bits from `start`; false when any of them
    // lies outside the map. `nowEpochMs` gives the ages of the blocks' values.
    bool InputRegisters(int start, int count, qint64 nowEpochMs, QList<quint16>* values) const;
    bool DiscreteInputs(int start, int count, QList<quint16>* values) const;
    bool HoldingRegisters(int start, int count, QList<quint16>* values) const;

    // The channel (0..319) of a holding register, or -1 outside the SV range.
    static int SvChannelOf(int address);
    // Whether `value` may be written as `channel`'s SV: the channel has a controller of its
    // own (not a cooling output) and the value lies in its input range.
    enum class SvCheck { Ok, NoController, OutOfRange };
    SvCheck CheckSv(int channel, qint16 value) const;

private:
    using Registers = std::array<quint16, ChannelCount>;
    bool InputRegister(int address, qint64 nowEpochMs, quint16* value) const;
    bool DiscreteInput(int address, quint16* value) const;

    Registers pv_{}, sv_{}, heatingMv_{}, coolingMv_{}, current_{}, status_{}, decimals_{}, unit_{};
    Registers writeState_{};
    std::array<bool, ChannelCount> present_{};
    std::array<bool, ChannelCount> svWritable_{};
    std::array<qint16, ChannelCount> svLow_{}, svHigh_{};
    std::array<qint64, BlockCount> readAtMs_{};
    std::array<bool, BlockCount> outOfContact_{};
    ModbusMap::PortState portState_ = ModbusMap::PortState::Missing;
    quint16 heartbeat_ = 0;
};
