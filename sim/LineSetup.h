// How the simulated line is populated: the built-in demo line, or a --blocks description.
#pragma once

#include "LineModel.h"

#include <QString>

namespace rdxsim {

// Blocks 0, 1, 2 and 4 present (3 is a gap); thermocouple, resistance and linear inputs;
// block 2 with the heating/cooling option; alarms armed and loads that make them come
// and go; heater-burnout alarms armed on block 0.
void BuildDemoLine(LineModel& model);

// Comma-separated entries "B[:flag]..." with B = device number 0..15 and flags
//   hc      heating/cooling option on every pair
//   nohb    no heater-burnout option (fitted by default)
//   tc | pt | lin | mix   input types: K thermocouple (default), Pt100, DC voltage,
//                         or a mixture of K, K 0.1 degree, Pt100 and DC voltage by pair
//   pairs=N only the first N pairs present (default 10)
// Every value is at its factory setting. Returns false and explains on a bad entry.
bool BuildLineFromList(LineModel& model, const QString& blockList, QString* error);

}  // namespace rdxsim
