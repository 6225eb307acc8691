// The simulated controller line served in-process on a pseudo-terminal, and the real link
// library opened on it as COM1 (TESMARCOMM_COM1 = the slave path), wrapped in a recorder.
#pragma once

#include "RecordingLink.h"

#include "FaultInjector.h"
#include "LineModel.h"
#include "LineService.h"
#include "PtyServer.h"
#include "SimClock.h"
#include "SimStats.h"

#include <QString>
#include <memory>

struct SimLineOptions {
    QString blocks;                // --blocks list; empty = the demo line
    rdxsim::FaultRates faults{};
    quint64 seed = 1;
    int baud = 0;                  // 0 = no pacing
    double turnaroundMs = 0;
    QString linkPath{};            // when set: COM1 is this symlink to the slave
};

class SimLine {
public:
    explicit SimLine(const SimLineOptions& options = {});
    ~SimLine();

    bool ok() const { return ok_; }
    QString error() const { return error_; }
    QString slavePath() const { return server_ ? server_->SlavePath() : QString(); }

    rdxsim::ManualClock clock;
    rdxsim::LineModel model;
    rdxsim::FaultInjector faults;
    rdxsim::SimStats stats;
    rdxsim::LineService service;

    // The engine's link: the real TesmarComm2 object behind a recorder.
    RecordingLink& link() { return *link_; }
    // Runs f(model) under the line's lock.
    template <class F>
    decltype(auto) Locked(F&& f) { return service.Locked(std::forward<F>(f)); }
    // Closes the pseudo-terminal (as an unplugged adapter would vanish), and serves the
    // same line again on a new one behind the same link path.
    void StopServing();
    bool ServeAgain();

private:
    bool Serve();

    SimLineOptions options_;
    std::unique_ptr<rdxsim::PtyServer> server_;
    std::unique_ptr<RecordingLink> link_;
    bool ok_ = false;
    QString error_;
};
