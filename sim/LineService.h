// The line as the transport sees it: request frame in, what goes on the wire out. One lock
// guards the model, so control events from another thread can act between requests.
#pragma once

#include "FaultInjector.h"
#include "LineModel.h"
#include "Responder.h"
#include "SimClock.h"
#include "SimStats.h"

#include <functional>
#include <mutex>

namespace rdxsim {

class LineService {
public:
    LineService(LineModel& model, const SimClock& clock, FaultInjector& faults, SimStats& stats)
        : model_(model), clock_(clock), responder_(model, clock), faults_(faults), stats_(stats) {}

    Transmission Handle(const QByteArray& frame);
    void Discarded(qsizetype bytes);

    // Runs f(model) under the line's lock, with the model brought up to the current time.
    template <class F>
    decltype(auto) Locked(F&& f) {
        std::lock_guard lock(mutex_);
        model_.AdvanceTo(clock_.Now());
        return f(model_);
    }

    SimStats& Stats() { return stats_; }
    // Called (under the lock) with every request's answer and what went on the wire for
    // it, so a test can tell exactly what the other end was sent.
    std::function<void(const Response&, const Transmission&)> OnTransmission;
    // Copies the fault counters into the statistics (under the lock).
    void SyncStats();

private:
    std::mutex mutex_;
    LineModel& model_;
    const SimClock& clock_;
    Responder responder_;
    FaultInjector& faults_;
    SimStats& stats_;
};

}  // namespace rdxsim
