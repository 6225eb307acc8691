// When each character of a reply reaches the wire: after the turnaround delay, one
// character every 10 bit times, with a fault's extra gaps between chunks.
#pragma once

#include "FaultInjector.h"

#include <QByteArray>

#include <vector>

namespace rdxsim {

struct TimedWrite {
    double atMs = 0;  // from the end of the request
    QByteArray bytes;
};

// Time of one character (start, 8 data/parity bits, stop) in ms; 0 = no pacing.
inline double CharTimeMs(int baud) { return baud > 0 ? 10000.0 / baud : 0.0; }

// A character is handed to the reader once it is completely on the line, so the last of
// n characters arrives at turnaround + n character times.
std::vector<TimedWrite> PaceSchedule(const Transmission& t, int baud, double turnaroundMs);

}  // namespace rdxsim
