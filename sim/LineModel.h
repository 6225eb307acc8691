// The simulated controller line: 16 blocks of 20 channels in ten pairs, their parameters,
// process dynamics and status words.
#pragma once

#include "AlarmLogic.h"
#include "Items.h"

#include <QtGlobal>

#include <array>

namespace rdxsim {

inline constexpr int kBlocks = 16;
inline constexpr int kChannelsPerBlock = 20;
inline constexpr int kPairsPerBlock = 10;
inline constexpr int kChannels = kBlocks * kChannelsPerBlock;

using Fields = std::array<qint16, kChannelsPerBlock>;
using PairMask = std::array<bool, kPairsPerBlock>;

enum class SensorFault { None, Open, Short };

class LineModel {
public:
    LineModel();

    // --- configuration (no change bit: this is how the line was built) ---
    void SetBlockPresent(int block, bool present);
    // Presence, input type and option code of one channel pair.
    void ConfigurePair(int block, int pair, bool present, qint16 inputType, qint16 option);
    void SetParam(int channel, int param, qint16 value);
    void SetRatedCurrent(int channel, qint16 tenthsAmpere);
    // A periodic load change (amplitude in reported units, period in seconds) so that
    // process values wander and alarms come and go.
    void SetDisturbance(int channel, double amplitude, double periodSeconds);
    void SetProcessValue(int channel, double value);
    void SetAutoTuneSeconds(double seconds) { autoTuneSeconds_ = seconds; }

    bool BlockPresent(int block) const;
    bool BlockAnswers(int block) const;  // present and not silenced
    bool BlockHasCooling(int block) const;
    bool PairPresent(int block, int pair) const;
    qint16 InputType(int channel) const;
    qint16 Option(int channel) const;
    qint16 Param(int channel, int param) const;
    double ProcessValue(int channel) const;

    // --- the line's side of the protocol ---
    // Values of one item for the 20 channels of a block. Reading the status word reports
    // each pending change bit once and clears it.
    Fields Read(int block, const ItemInfo& item);
    // A write from the PC: stores the 20 values and reacts to switch changes.
    void Write(int block, int param, const Fields& values);
    // Factory initialisation of the chosen pairs; they report the change bit.
    void FactoryInit(int block, const PairMask& pairs);

    // --- events injected during a run ---
    void SetHeaterBroken(int channel, bool broken);
    void SetActuatorBroken(int channel, bool broken);  // loop break: output has no effect
    void SetSensorFault(int channel, SensorFault fault);
    void SetBlockSilent(int block, bool silent);
    // A block whose settings are locked at its front panel: it answers reads and refuses
    // every write with NAK.
    void SetWritesRefused(int block, bool refused);
    bool WritesRefused(int block) const;
    // A change made on the controller's front panel: stored and reported by the change bit.
    void ChangeAtPanel(int channel, int param, qint16 value);

    // --- time ---
    // Runs the dynamics up to simulated time t (seconds); earlier times are ignored.
    void AdvanceTo(double t);
    double Now() const { return now_; }

private:
    struct Channel {
        ParamSet params{};
        double pv = 0;
        double heater = 0;    // first lag of the plant: the heater's own temperature rise
        double slope = 0;     // filtered rate of change of the measured value, per s
        double lastMeasured = 0;
        double integral = 0;  // % of output
        double mv = 0;        // heating output, tenths of %
        double coolMv = 0;    // cooling output, tenths of %
        bool cont = false;
        AlarmState alarm1, alarm2;
        bool hb = false, lp = false;
        bool overScale = false, underScale = false;
        bool heaterBroken = false, actuatorBroken = false;
        SensorFault sensor = SensorFault::None;
        bool autoTuning = false;
        double atEnd = 0, atMin = 0, atMax = 0;
        bool loopWatching = false;
        double loopStart = 0, loopStartPv = 0;
        bool changed = false;
        qint16 ratedCurrent = 100;
        double disturbAmp = 0, disturbPeriod = 0;
    };
    struct Pair {
        bool present = false;
        qint16 inputType = 0;
        qint16 option = 0;
    };
    struct Block {
        bool present = false;
        bool silent = false;
        bool writesRefused = false;
        std::array<Pair, kPairsPerBlock> pairs{};
    };

    bool IsCoolingSlot(int channel) const;
    double Measured(int channel) const;
    void Step(int channel, double dt);
    void Control(int channel, double measured, double dt);
    void Plant(int channel, double dt);
    void Supervise(int channel, double measured);
    void FinishAutoTuning(int channel);
    void StartAutoTuning(int channel);
    void StopAutoTuning(int channel, bool changedHere);
    void OutputSwitched(int channel, bool on);
    void ResetToFactory(int channel);
    quint16 StatusWord(int channel) const;
    qint16 ReportedPV(int channel) const;

    std::array<Block, kBlocks> blocks_{};
    std::array<Channel, kChannels> ch_{};
    double now_ = 0;
    double autoTuneSeconds_ = 120;
};

}  // namespace rdxsim
