#include "LineModel.h"

#include "InputRange.h"

#include <algorithm>
#include <cmath>

namespace rdxsim {

namespace {

constexpr double kPlantTau = 40.0;    // s, lag of every heated zone
constexpr double kHeaterTau = 8.0;    // s, lag of its heater
constexpr double kPlantGain = 0.8;    // full output reaches 80 % of the headroom above ambient
constexpr double kCoolingGain = 0.5;  // cooling removes half as much as heating adds
constexpr double kMaxStep = 0.25;     // s of simulated time per integration step
constexpr int kMaxStepsPerAdvance = 20000;
constexpr double kPi = 3.14159265358979323846;

bool ValidChannel(int c) { return c >= 0 && c < kChannels; }
bool ValidBlock(int b) { return b >= 0 && b < kBlocks; }

qint16 Clamp16(double v) {
    return qint16(std::clamp(std::lround(v), -32768L, 32767L));
}

}  // namespace

LineModel::LineModel() {
    for (int c = 0; c < kChannels; ++c) {
        ResetToFactory(c);
        ch_[c].pv = ch_[c].lastMeasured = RangeOf(0).ambient;
    }
}

// ---------------------------------------------------------------- configuration

void LineModel::SetBlockPresent(int block, bool present) {
    if (ValidBlock(block)) blocks_[block].present = present;
}

void LineModel::ConfigurePair(int block, int pair, bool present, qint16 inputType,
                              qint16 option) {
    if (!ValidBlock(block) || pair < 0 || pair >= kPairsPerBlock) return;
    blocks_[block].pairs[pair] = Pair{present, inputType, option};
    for (int k = 0; k < 2; ++k) {
        Channel& x = ch_[block * kChannelsPerBlock + 2 * pair + k];
        x.pv = x.lastMeasured = RangeOf(inputType).ambient;
    }
}

void LineModel::SetParam(int channel, int param, qint16 value) {
    if (!ValidChannel(channel) || param < 0 || param >= ParamCount) return;
    ch_[channel].params[param] = value;
    Supervise(channel, Measured(channel));
}

void LineModel::SetRatedCurrent(int channel, qint16 tenthsAmpere) {
    if (ValidChannel(channel)) ch_[channel].ratedCurrent = tenthsAmpere;
}

void LineModel::SetDisturbance(int channel, double amplitude, double periodSeconds) {
    if (!ValidChannel(channel)) return;
    ch_[channel].disturbAmp = amplitude;
    ch_[channel].disturbPeriod = periodSeconds;
}

void LineModel::SetProcessValue(int channel, double value) {
    if (!ValidChannel(channel)) return;
    // The zone is taken as settled there: heater and integral hold it.
    Channel& x = ch_[channel];
    const InputRange r = RangeOf(InputType(channel));
    x.pv = value;
    x.lastMeasured = Measured(channel);
    x.slope = 0;
    x.heater = value - r.ambient;
    const double gain = (r.high - r.ambient) * kPlantGain;
    const double arw = std::max<double>(x.params[ARW], 0);
    x.integral = x.params[OutputSwitch] != 0 ? std::clamp(100.0 * x.heater / gain, -arw, arw) : 0.0;
    Supervise(channel, Measured(channel));
}

bool LineModel::BlockPresent(int block) const {
    return ValidBlock(block) && blocks_[block].present;
}

bool LineModel::BlockAnswers(int block) const {
    return BlockPresent(block) && !blocks_[block].silent;
}

bool LineModel::BlockHasCooling(int block) const {
    if (!ValidBlock(block)) return false;
    for (const Pair& p : blocks_[block].pairs)
        if (p.present && (p.option & OptionBit::HeatCool)) return true;
    return false;
}

bool LineModel::PairPresent(int block, int pair) const {
    return ValidBlock(block) && pair >= 0 && pair < kPairsPerBlock &&
           blocks_[block].pairs[pair].present;
}

qint16 LineModel::InputType(int channel) const {
    if (!ValidChannel(channel)) return 0;
    return blocks_[channel / kChannelsPerBlock].pairs[(channel % kChannelsPerBlock) / 2].inputType;
}

qint16 LineModel::Option(int channel) const {
    if (!ValidChannel(channel)) return 0;
    return blocks_[channel / kChannelsPerBlock].pairs[(channel % kChannelsPerBlock) / 2].option;
}

qint16 LineModel::Param(int channel, int param) const {
    if (!ValidChannel(channel) || param < 0 || param >= ParamCount) return 0;
    return ch_[channel].params[param];
}

double LineModel::ProcessValue(int channel) const {
    return ValidChannel(channel) ? ch_[channel].pv : 0.0;
}

// On a heating/cooling pair the odd position is the pair's cooling output, not a channel.
bool LineModel::IsCoolingSlot(int channel) const {
    return (channel % 2) == 1 && (Option(channel) & OptionBit::HeatCool);
}

// ---------------------------------------------------------------- protocol side

Fields LineModel::Read(int block, const ItemInfo& item) {
    Fields out{};
    if (!ValidBlock(block)) return out;
    const Block& blk = blocks_[block];
    for (int k = 0; k < kChannelsPerBlock; ++k) {
        const int c = block * kChannelsPerBlock + k;
        const Pair& pair = blk.pairs[k / 2];
        const bool live = pair.present;
        const bool coolSlot = IsCoolingSlot(c);
        Channel& x = ch_[c];
        switch (item.kind) {
        case ItemKind::Presence:
            out[k] = (k % 2 == 0 && live) ? 1 : 0;
            break;
        case ItemKind::InputOption:
            out[k] = !live ? 0 : (k % 2 == 0 ? pair.inputType : pair.option);
            break;
        case ItemKind::PV:
            out[k] = !live ? 0 : ReportedPV(coolSlot ? c - 1 : c);
            break;
        case ItemKind::HeatMV:
            out[k] = !live ? 0 : Clamp16(coolSlot ? ch_[c - 1].coolMv : x.mv);
            break;
        case ItemKind::HeaterCurrent: {
            const bool flows = live && !coolSlot && x.params[OutputSwitch] != 0 && !x.heaterBroken;
            out[k] = flows ? Clamp16(x.ratedCurrent * std::max(x.mv, 0.0) / 1000.0) : 0;
            break;
        }
        case ItemKind::Status:
            if (!live) break;
            out[k] = qint16((coolSlot ? 0 : StatusWord(c)) | (x.changed ? StatusBit::Changed : 0));
            x.changed = false;  // reported once
            break;
        case ItemKind::Parameter:
            out[k] = x.params[item.param];
            break;
        }
    }
    return out;
}

void LineModel::Write(int block, int param, const Fields& values) {
    if (!ValidBlock(block) || param < 0 || param >= ParamCount) return;
    for (int k = 0; k < kChannelsPerBlock; ++k) {
        const int c = block * kChannelsPerBlock + k;
        Channel& x = ch_[c];
        const qint16 old = x.params[param];
        const qint16 v = values[k];
        if (param == OutputSwitch) {
            x.params[param] = v;
            if ((old != 0) != (v != 0)) OutputSwitched(c, v != 0);
        } else if (param == ATSwitch) {
            if (v != 0 && old == 0) {
                if (x.params[OutputSwitch] != 0 && PairPresent(block, k / 2) && !IsCoolingSlot(c)) {
                    x.params[param] = 1;
                    StartAutoTuning(c);
                } else {
                    // Refused at the controller: the PC's copy now differs, so report it.
                    x.params[param] = 0;
                    x.changed = PairPresent(block, k / 2);
                }
            } else if (v == 0 && old != 0) {
                StopAutoTuning(c, false);
            }
        } else {
            x.params[param] = v;
        }
        Supervise(c, Measured(c));
    }
}

void LineModel::FactoryInit(int block, const PairMask& pairs) {
    if (!ValidBlock(block)) return;
    for (int j = 0; j < kPairsPerBlock; ++j) {
        if (!pairs[j]) continue;
        for (int k = 0; k < 2; ++k) {
            const int c = block * kChannelsPerBlock + 2 * j + k;
            ResetToFactory(c);
            ch_[c].changed = PairPresent(block, j);
            Supervise(c, Measured(c));
        }
    }
}

// ---------------------------------------------------------------- events

void LineModel::SetHeaterBroken(int channel, bool broken) {
    if (ValidChannel(channel)) ch_[channel].heaterBroken = broken;
}

void LineModel::SetActuatorBroken(int channel, bool broken) {
    if (ValidChannel(channel)) ch_[channel].actuatorBroken = broken;
}

void LineModel::SetSensorFault(int channel, SensorFault fault) {
    if (!ValidChannel(channel)) return;
    ch_[channel].sensor = fault;
    Supervise(channel, Measured(channel));
}

void LineModel::SetBlockSilent(int block, bool silent) {
    if (ValidBlock(block)) blocks_[block].silent = silent;
}

void LineModel::SetWritesRefused(int block, bool refused) {
    if (ValidBlock(block)) blocks_[block].writesRefused = refused;
}

bool LineModel::WritesRefused(int block) const {
    return ValidBlock(block) && blocks_[block].writesRefused;
}

void LineModel::ChangeAtPanel(int channel, int param, qint16 value) {
    if (!ValidChannel(channel) || param < 0 || param >= ParamCount) return;
    const int block = channel / kChannelsPerBlock;
    Fields values{};
    for (int k = 0; k < kChannelsPerBlock; ++k)
        values[k] = ch_[block * kChannelsPerBlock + k].params[param];
    values[channel % kChannelsPerBlock] = value;
    Write(block, param, values);
    ch_[channel].changed = PairPresent(block, (channel % kChannelsPerBlock) / 2);
}

// ---------------------------------------------------------------- dynamics

void LineModel::AdvanceTo(double t) {
    if (!(t > now_)) return;
    const double total = t - now_;
    double step = kMaxStep;
    if (total / step > kMaxStepsPerAdvance) step = total / kMaxStepsPerAdvance;
    while (now_ < t) {
        const double dt = std::min(step, t - now_);
        now_ = (t - now_ <= step) ? t : now_ + dt;
        for (int c = 0; c < kChannels; ++c) Step(c, dt);
    }
}

double LineModel::Measured(int channel) const {
    const Channel& x = ch_[channel];
    const InputRange r = RangeOf(InputType(channel));
    const double margin = 0.05 * (r.high - r.low);
    switch (x.sensor) {
    case SensorFault::Open: return r.high + margin;   // burnout drives the input upscale
    case SensorFault::Short: return r.low - margin;
    case SensorFault::None: break;
    }
    return x.pv + x.params[SensorCorr] * r.spanUnit;
}

qint16 LineModel::ReportedPV(int channel) const {
    const InputRange r = RangeOf(InputType(channel));
    const double margin = 0.05 * (r.high - r.low);
    return Clamp16(std::clamp(Measured(channel), r.low - margin, r.high + margin));
}

void LineModel::Step(int channel, double dt) {
    const int block = channel / kChannelsPerBlock;
    if (!blocks_[block].present || !PairPresent(block, (channel % kChannelsPerBlock) / 2) ||
        IsCoolingSlot(channel))
        return;
    Control(channel, Measured(channel), dt);
    Plant(channel, dt);
    Supervise(channel, Measured(channel));
}

void LineModel::Control(int channel, double m, double dt) {
    Channel& x = ch_[channel];
    const ParamSet& p = x.params;
    const InputRange r = RangeOf(InputType(channel));
    const double span = r.high - r.low;
    const double lowLim = std::min(p[OutLow], p[OutHigh]) * 10.0;
    const double highLim = std::max(p[OutLow], p[OutHigh]) * 10.0;
    const double sv = p[SV];
    const bool reverse = p[Action] == 0;
    const double e = reverse ? sv - m : m - sv;

    if (p[OutputSwitch] == 0) {
        x.mv = x.coolMv = x.integral = 0;
    } else if (x.overScale || x.underScale) {
        x.mv = lowLim;  // input failure: output to its low limit
        x.coolMv = 0;
    } else if (x.autoTuning) {
        x.mv = e > 0 ? highLim : lowLim;  // limit cycle around SV
        x.atMin = std::min(x.atMin, m);
        x.atMax = std::max(x.atMax, m);
    } else if (p[PBand] <= 0) {
        if (e > p[OutputHys] * r.spanUnit) x.mv = highLim;
        else if (e <= 0) x.mv = lowLim;
    } else {
        const double pb = p[PBand] / 1000.0 * span;
        const double prop = 100.0 * e / pb;
        if (p[ITime] > 0) {
            const double arw = std::max<double>(p[ARW], 0);
            x.integral = std::clamp(x.integral + prop * dt / p[ITime], -arw, arw);
        } else {
            x.integral = 0;
        }
        double deriv = 0;
        if (p[DTime] > 0 && dt > 0) {
            // Derivative on the measurement, filtered over a tenth of the derivative time.
            const double filter = std::max(p[DTime] / 10.0, 1.0);
            x.slope += ((m - x.lastMeasured) / dt - x.slope) * std::min(dt / filter, 1.0);
            deriv = (reverse ? -1.0 : 1.0) * 100.0 * x.slope * p[DTime] / pb;
        }
        x.mv = std::clamp((prop + x.integral + deriv) * 10.0, lowLim, highLim);
    }
    x.lastMeasured = m;

    if ((x.params[OutputSwitch] != 0) && (Option(channel) & OptionBit::HeatCool) &&
        !x.overScale && !x.underScale && !x.autoTuning) {
        const double ec = m - sv - p[OverlapBand] * r.spanUnit;
        if (p[CoolPBand] > 0) {
            x.coolMv = std::clamp(100.0 * ec / (p[CoolPBand] / 1000.0 * span) * 10.0, 0.0, 1000.0);
        } else if (ec > p[CoolHys] * r.spanUnit) {
            x.coolMv = 1000;
        } else if (ec <= 0) {
            x.coolMv = 0;
        }
    } else {
        x.coolMv = 0;
    }
}

void LineModel::Plant(int channel, double dt) {
    Channel& x = ch_[channel];
    const InputRange r = RangeOf(InputType(channel));
    const bool noEffect = x.actuatorBroken;
    const double heat = (noEffect || x.heaterBroken) ? 0.0 : std::max(x.mv, 0.0) / 1000.0;
    const double cool = noEffect ? 0.0 : x.coolMv / 1000.0;
    const double gain = (r.high - r.ambient) * kPlantGain;
    double load = 0;
    if (x.disturbAmp != 0 && x.disturbPeriod > 0)
        load = x.disturbAmp * std::sin(2 * kPi * now_ / x.disturbPeriod);
    x.heater += (gain * heat - kCoolingGain * gain * cool - x.heater) * (1.0 - std::exp(-dt / kHeaterTau));
    x.pv += (r.ambient + x.heater + load - x.pv) * (1.0 - std::exp(-dt / kPlantTau));
}

void LineModel::Supervise(int channel, double m) {
    Channel& x = ch_[channel];
    const ParamSet& p = x.params;
    const InputRange r = RangeOf(InputType(channel));
    const double margin = 0.05 * (r.high - r.low);
    const bool outputOn = p[OutputSwitch] != 0;

    x.overScale = m >= r.high + margin - 1e-9;
    x.underScale = m <= r.low - margin + 1e-9;

    EvaluateAlarm(p[Alarm1Type], p[Alarm1], p[Alarm1Hys] * r.spanUnit, m, p[SV], x.alarm1);
    EvaluateAlarm(p[Alarm2Type], p[Alarm2], p[Alarm2Hys] * r.spanUnit, m, p[SV], x.alarm2);

    const qint16 fullCurrent = x.heaterBroken ? 0 : x.ratedCurrent;
    x.hb = outputOn && (Option(channel) & OptionBit::HeaterBreak) && p[HBAlarm] > 0 &&
           x.mv >= 50 && fullCurrent < p[HBAlarm];

    // Loop break: output saturated for the loop time without the process value moving
    // by the loop span in the direction the output pushes it.
    const double highLim = std::max(p[OutLow], p[OutHigh]) * 10.0;
    const bool saturated = outputOn && !x.autoTuning && x.mv >= highLim - 0.5 && highLim > 0;
    if (p[LoopTime] <= 0 || !saturated) {
        x.loopWatching = false;
        x.lp = false;
    } else if (!x.loopWatching) {
        x.loopWatching = true;
        x.loopStart = now_;
        x.loopStartPv = m;
    } else if (now_ - x.loopStart >= p[LoopTime] * 60.0) {
        const double moved = (p[Action] == 0) ? m - x.loopStartPv : x.loopStartPv - m;
        x.lp = moved < p[LoopSpan] * r.spanUnit;
        x.loopStart = now_;
        x.loopStartPv = m;
    }

    // Time-proportional output: on for MV of every proportional cycle.
    const double cycle = std::max<double>(p[PCycle], 1);
    x.cont = outputOn && x.mv > 0 && std::fmod(now_, cycle) / cycle < x.mv / 1000.0;

    if (x.autoTuning && now_ >= x.atEnd) FinishAutoTuning(channel);
}

void LineModel::StartAutoTuning(int channel) {
    Channel& x = ch_[channel];
    x.autoTuning = true;
    x.atEnd = now_ + autoTuneSeconds_;
    x.atMin = x.atMax = Measured(channel);
}

// New constants from the limit cycle seen while tuning: the band from its amplitude,
// integral and derivative times from the zone's lag.
void LineModel::FinishAutoTuning(int channel) {
    Channel& x = ch_[channel];
    const InputRange r = RangeOf(InputType(channel));
    const double amplitude = std::max(x.atMax - x.atMin, 1.0);
    x.params[PBand] = qint16(std::clamp(std::lround(1500.0 * amplitude / (r.high - r.low)), 10L, 999L));
    x.params[ITime] = qint16(std::lround(kPlantTau));
    x.params[DTime] = qint16(std::lround(kPlantTau / 4));
    x.integral = 0;
    StopAutoTuning(channel, true);
}

void LineModel::StopAutoTuning(int channel, bool changedHere) {
    Channel& x = ch_[channel];
    if (!x.autoTuning && x.params[ATSwitch] == 0) return;
    x.autoTuning = false;
    x.params[ATSwitch] = 0;
    if (changedHere) x.changed = true;
}

void LineModel::OutputSwitched(int channel, bool on) {
    Channel& x = ch_[channel];
    x.integral = x.slope = 0;
    x.loopWatching = false;
    if (on) {
        ArmStandby(x.alarm1);
        ArmStandby(x.alarm2);
    } else {
        StopAutoTuning(channel, true);
    }
}

void LineModel::ResetToFactory(int channel) {
    Channel& x = ch_[channel];
    x.params = FactoryParams();
    x.integral = x.mv = x.coolMv = x.slope = 0;
    x.autoTuning = false;
    x.alarm1 = AlarmState{};
    x.alarm2 = AlarmState{};
    x.loopWatching = x.lp = x.hb = false;
}

quint16 LineModel::StatusWord(int channel) const {
    const Channel& x = ch_[channel];
    quint16 s = 0;
    if (x.cont) s |= StatusBit::Control;
    if (x.alarm1.active) s |= StatusBit::Alarm1;
    if (x.alarm2.active) s |= StatusBit::Alarm2;
    if (x.hb) s |= StatusBit::HeaterBreak;
    if (x.overScale) s |= StatusBit::OverScale;
    if (x.underScale) s |= StatusBit::UnderScale;
    if (x.autoTuning) s |= StatusBit::AutoTuning;
    if (x.params[OutputSwitch] != 0) s |= StatusBit::OutputOn;
    if (x.lp) s |= StatusBit::LoopBreak;
    return s;
}

}  // namespace rdxsim
