// Where the program reads the time. The wall clock stamps records and file names; the
// steady clock measures intervals and never jumps when the wall clock is set. Tests hand
// in a clock of their own, so that hours of records take no time.
#pragma once

#include <QDateTime>

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
    // Milliseconds since 1970 (UTC): a time stamp without the cost of the local time, for
    // what is stamped on every exchange.
    virtual qint64 EpochMs() const { return Now().toMSecsSinceEpoch(); }
    // Milliseconds from an arbitrary start, for intervals only.
    virtual qint64 SteadyMs() const = 0;
};

// The computer's own clocks.
const Clock& SystemClock();
