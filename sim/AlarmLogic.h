// Alarm 1 / alarm 2 action by type, with hysteresis and the standby ("待機付") variants.
#pragma once

namespace rdxsim {

// Types: 0 none; 1/2 high deviation; 3/4 low deviation; 5/6 high-low deviation;
// 7/8 band (inside SV +- value); 9/10 absolute high; 11/12 absolute low. Even types from 2
// carry standby: the alarm stays quiet until the value has once been outside its alarm zone.
struct AlarmState {
    bool active = false;
    bool standby = true;
};

inline bool IsDeviationAlarm(int type) { return type < 9; }
inline bool HasStandby(int type) { return type >= 2 && type <= 12 && type % 2 == 0; }

// Re-arms standby, as a controller does when its output is switched on.
inline void ArmStandby(AlarmState& s) { s.standby = true; }

// value and hysteresis are in the units of the process value; returns the new alarm state.
bool EvaluateAlarm(int type, double value, double hysteresis, double pv, double sv,
                   AlarmState& state);

}  // namespace rdxsim
