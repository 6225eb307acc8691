#include "services/Clock.h"

#include <QElapsedTimer>

namespace {

class ComputerClock final : public Clock {
public:
    ComputerClock() { steady_.start(); }
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
    qint64 EpochMs() const override { return QDateTime::currentMSecsSinceEpoch(); }
    qint64 SteadyMs() const override { return steady_.elapsed(); }

private:
    QElapsedTimer steady_;
};

}  // namespace

const Clock& SystemClock() {
    static const ComputerClock clock;
    return clock;
}
