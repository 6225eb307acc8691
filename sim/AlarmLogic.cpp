#include "AlarmLogic.h"

#include <cmath>

namespace rdxsim {

namespace {

enum class Zone { High, Low };

// An alarm of the high kind turns on at x >= limit and off below limit - hys; the low kind
// mirrors it. The previous state picks the threshold, which gives the hysteresis.
bool Condition(Zone zone, double x, double limit, double hys, bool wasActive) {
    if (zone == Zone::High) return wasActive ? x > limit - hys : x >= limit;
    return wasActive ? x < limit + hys : x <= limit;
}

}  // namespace

bool EvaluateAlarm(int type, double value, double hysteresis, double pv, double sv,
                   AlarmState& state) {
    const double hys = hysteresis > 0 ? hysteresis : 0.0;
    const double dev = pv - sv;
    bool cond = false;
    switch (type) {
    case 1: case 2: cond = Condition(Zone::High, dev, value, hys, state.active); break;
    case 3: case 4: cond = Condition(Zone::Low, dev, value, hys, state.active); break;
    case 5: case 6: cond = Condition(Zone::High, std::fabs(dev), value, hys, state.active); break;
    case 7: case 8: cond = Condition(Zone::Low, std::fabs(dev), value, hys, state.active); break;
    case 9: case 10: cond = Condition(Zone::High, pv, value, hys, state.active); break;
    case 11: case 12: cond = Condition(Zone::Low, pv, value, hys, state.active); break;
    default: state.active = false; return false;
    }
    if (HasStandby(type) && state.standby) {
        if (!cond) state.standby = false;  // first time in the normal zone: standby ends
        state.active = false;
        return false;
    }
    state.active = cond;
    return cond;
}

}  // namespace rdxsim
