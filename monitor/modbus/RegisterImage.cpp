#include "modbus/RegisterImage.h"

#include "format/SettingRange.h"
#include "format/ValueFormat.h"
#include "publish/Documents.h"
#include "publish/StoredBlocks.h"

#include <algorithm>

using namespace ModbusMap;

namespace {

// A block's values never read by this run, and the most a real age shows.
constexpr quint16 kNeverRead = 0xFFFF;
constexpr qint64 kLongestAge = 0xFFFE;

quint16 Word(qint16 value) { return quint16(value); }

UnitCode UnitCodeOf(const QString& standard) {
    if (standard.isEmpty()) return UnitCode::None;
    if (standard == QStringLiteral("\u00B0C")) return UnitCode::Celsius;
    if (standard == QStringLiteral("\u00B0F")) return UnitCode::Fahrenheit;
    if (standard == u"%") return UnitCode::Percent;
    if (standard == u"A") return UnitCode::Ampere;
    return UnitCode::Other;
}

// The channel of `address` in the range that starts at `base`, or -1.
int ChannelIn(int address, int base) {
    return address >= base && address < base + ChannelCount ? address - base : -1;
}

}  // namespace

WriteState ModbusMap::StateOf(WriteOutcome outcome) {
    switch (outcome) {
    case WriteOutcome::Accepted: return WriteState::Accepted;
    case WriteOutcome::Refused: return WriteState::Refused;
    case WriteOutcome::Unanswered: return WriteState::Unanswered;
    case WriteOutcome::CutByPortLoss: return WriteState::CutByPortLoss;
    case WriteOutcome::Busy: return WriteState::Busy;
    }
    return WriteState::None;
}

PortState ModbusMap::PortStateOf(const QString& linkState) {
    if (linkState == u"open") return PortState::Open;
    if (linkState == u"missing") return PortState::Missing;
    return PortState::Lost;
}

RegisterImage::RegisterImage() {
    for (Registers* r : {&pv_, &sv_, &heatingMv_, &coolingMv_, &current_, &decimals_}) r->fill(NoValue);
}

void RegisterImage::TakeBlock(const RDX_INC& inc, int block, bool stale) {
    if (block < 0 || block >= BlockCount) return;
    for (int c = block * ChannelsPerBlock; c < (block + 1) * ChannelsPerBlock; ++c) {
        const size_t i = size_t(c);
        const bool present = inc.BlockAbsent[block] == 0 && inc.ChPresent[c] != 0;
        const bool cooling = present && IsCoolingOutput(inc, c);
        const bool live = present && !stale;
        present_[i] = present;
        svWritable_[i] = present && !cooling;
        if (svWritable_[i]) {
            SettingRange range;
            range.EditChannel = c;
            InputRangeLimits(inc, range);
            svLow_[i] = qint16(range.RangeLow);
            svHigh_[i] = qint16(range.RangeHigh);
        }
        status_[i] = present ? Word(inc.ChStatus[c]) : 0;
        unit_[i] = quint16(present && !cooling ? UnitCodeOf(StandardUnit(ChannelUnitText(inc, c))) : UnitCode::None);
        const int decimals = present && !cooling ? ValueDecimals(inc, c) : -1;
        decimals_[i] = decimals < 0 ? NoValue : quint16(decimals);
        const bool measured = live && !cooling && PvQuality(inc, c, false) == u"good";
        pv_[i] = measured ? Word(inc.ChPV[c]) : NoValue;
        sv_[i] = live && !cooling ? Word(inc.ChSV[c]) : NoValue;
        heatingMv_[i] = live && !cooling ? Word(inc.ChHeatMV[c]) : NoValue;
        current_[i] = live && !cooling ? Word(inc.ChHeaterCurrent[c]) : NoValue;
        // A pair's cooling output serves its first channel; both read its MV.
        const int coolingOutput = cooling ? c : (c % 2 == 0 && IsCoolingOutput(inc, c + 1) ? c + 1 : -1);
        coolingMv_[i] = live && coolingOutput >= 0 ? Word(inc.ChHeatMV[coolingOutput]) : NoValue;
    }
}

int RegisterImage::SvChannelOf(int address) { return ChannelIn(address, SvHoldingBase); }

RegisterImage::SvCheck RegisterImage::CheckSv(int channel, qint16 value) const {
    const size_t i = size_t(channel);
    if (channel < 0 || channel >= ChannelCount || !svWritable_[i]) return SvCheck::NoController;
    return value < svLow_[i] || value > svHigh_[i] ? SvCheck::OutOfRange : SvCheck::Ok;
}

bool RegisterImage::InputRegister(int address, qint64 nowEpochMs, quint16* value) const {
    const std::pair<int, const Registers*> ranges[] = {
        {PvBase, &pv_},           {SvBase, &sv_},         {HeatingMvBase, &heatingMv_},
        {CoolingMvBase, &coolingMv_}, {HeaterCurrentBase, &current_}, {StatusBase, &status_},
        {DecimalsBase, &decimals_}, {UnitBase, &unit_},   {WriteResultBase, &writeState_},
    };
    for (const auto& [base, registers] : ranges) {
        if (const int c = ChannelIn(address, base); c >= 0) {
            *value = (*registers)[size_t(c)];
            return true;
        }
    }
    if (address >= BlockAgeBase && address < BlockAgeBase + BlockCount) {
        const qint64 at = readAtMs_[size_t(address - BlockAgeBase)];
        *value = at != 0 ? quint16(std::clamp<qint64>((nowEpochMs - at) / 1000, 0, kLongestAge)) : kNeverRead;
        return true;
    }
    if (address == PortStateAddress) *value = quint16(portState_);
    else if (address == HeartbeatAddress) *value = heartbeat_;
    else return false;
    return true;
}

bool RegisterImage::DiscreteInput(int address, quint16* value) const {
    if (const int c = ChannelIn(address, PresentBase); c >= 0) {
        *value = present_[size_t(c)];
        return true;
    }
    for (const BitRange& r : StatusBitRanges) {
        if (const int c = ChannelIn(address, r.base); c >= 0) {
            *value = (status_[size_t(c)] & r.bit) != 0;
            return true;
        }
    }
    if (address >= OutOfContactBase && address < OutOfContactBase + BlockCount) {
        *value = outOfContact_[size_t(address - OutOfContactBase)];
        return true;
    }
    return false;
}

bool RegisterImage::InputRegisters(int start, int count, qint64 nowEpochMs, QList<quint16>* values) const {
    values->resize(count);
    for (int i = 0; i < count; ++i)
        if (!InputRegister(start + i, nowEpochMs, &(*values)[i])) return false;
    return true;
}

bool RegisterImage::DiscreteInputs(int start, int count, QList<quint16>* values) const {
    values->resize(count);
    for (int i = 0; i < count; ++i)
        if (!DiscreteInput(start + i, &(*values)[i])) return false;
    return true;
}

bool RegisterImage::HoldingRegisters(int start, int count, QList<quint16>* values) const {
    values->resize(count);
    for (int i = 0; i < count; ++i) {
        const int c = SvChannelOf(start + i);
        if (c < 0) return false;
        (*values)[i] = sv_[size_t(c)];
    }
    return true;
}
