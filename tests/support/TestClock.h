// A clock a test sets by hand: both its wall time and its steady milliseconds.
#pragma once

#include "services/Clock.h"

struct TestClock final : Clock {
    TestClock() = default;
    explicit TestClock(QDateTime at) : now(std::move(at)) {}
    QDateTime now{QDate(2007, 3, 9), QTime(8, 0)};
    qint64 ms = 0;
    QDateTime Now() const override { return now; }
    qint64 SteadyMs() const override { return ms; }
};
