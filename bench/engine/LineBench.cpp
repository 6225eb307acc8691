// The real monitor (main window shown offscreen) against the real simulator paced at the
// line's speed: achieved exchanges per second over the line's limit, and the monitor's
// CPU time over wall time while polling, while the line is silent, and while the port
// dialog waits (state 9).
#include "ProgramRun.h"

#include <QElapsedTimer>
#include <QThread>
#include <benchmark/benchmark.h>

namespace {

constexpr double kTurnaroundMs = 3.0;
constexpr int kReplyChars = 91;
constexpr int kWarmupMs = 4000;
constexpr int kWindowMs = 15000;

// Four present blocks, so the start-up read is over quickly and polling dominates.
const QStringList kLine = {"--blocks", "0,1,2:hc,4:lin"};

struct Window {
    double seconds = 0;
    double cpu = 0;
    quint64 requests = 0;
};

Window Measure(ProgramRun& run) {
    Window w;
    const quint64 r0 = run.SimulatorRequests();
    const double c0 = run.MonitorCpuSeconds();
    QElapsedTimer t;
    t.start();
    QThread::msleep(kWindowMs);
    w.requests = run.SimulatorRequests() - r0;
    w.cpu = run.MonitorCpuSeconds() - c0;
    w.seconds = t.nsecsElapsed() / 1e9;
    return w;
}

void BM_PollingLine(benchmark::State& state) {
    const int baud = int(state.range(0));
    for (auto _ : state) {
        ProgramRun run;
        if (!run.StartSimulator(kLine + QStringList{"--baud", QString::number(baud)}) || !run.StartMonitor()) {
            state.SkipWithError("could not start the programs");
            return;
        }
        QThread::msleep(kWarmupMs + 4 * 41 * 1000 * (kTurnaroundMs + kReplyChars * 10000.0 / baud) / 1000);
        const Window w = Measure(run);
        const double limitPerSecond = 1000.0 / (kTurnaroundMs + kReplyChars * 10000.0 / baud);
        state.SetIterationTime(w.seconds);
        state.counters["exchanges_per_s"] = w.requests / w.seconds;
        state.counters["line_limit_per_s"] = limitPerSecond;
        state.counters["efficiency"] = (w.requests / w.seconds) / limitPerSecond;
        state.counters["cpu_fraction"] = w.cpu / w.seconds;
        run.TerminateMonitor();
    }
}

// Every block stops answering after the start-up read: each poll waits out its 300 ms.
void BM_SilentLine(benchmark::State& state) {
    for (auto _ : state) {
        ProgramRun run;
        if (!run.StartSimulator(kLine + QStringList{"--baud", "9600"}) || !run.StartMonitor()) {
            state.SkipWithError("could not start the programs");
            return;
        }
        QThread::msleep(kWarmupMs + 4 * 41 * 100);
        for (const char* b : {"silent 0", "silent 1", "silent 2", "silent 4"}) run.Control(b);
        QThread::msleep(1000);
        const Window w = Measure(run);
        state.SetIterationTime(w.seconds);
        state.counters["cpu_fraction"] = w.cpu / w.seconds;
        run.TerminateMonitor();
    }
}

// Block 0 is missing, so the probe fails and the port dialog waits (state 9).
void BM_PortDialogWaiting(benchmark::State& state) {
    for (auto _ : state) {
        ProgramRun run;
        if (!run.StartSimulator({"--blocks", "1,2", "--baud", "9600"}) || !run.StartMonitor()) {
            state.SkipWithError("could not start the programs");
            return;
        }
        QThread::msleep(kWarmupMs);
        const Window w = Measure(run);
        state.SetIterationTime(w.seconds);
        state.counters["cpu_fraction"] = w.cpu / w.seconds;
        state.counters["requests"] = double(w.requests);
        run.TerminateMonitor();
    }
}

// The line goes away after the start-up read (its pseudo-terminal closes): the monitor
// shows the error and tries the same port again once a second.
void BM_PortGone(benchmark::State& state) {
    for (auto _ : state) {
        ProgramRun run;
        if (!run.StartSimulator(kLine + QStringList{"--baud", "0"}) || !run.StartMonitor()) {
            state.SkipWithError("could not start the programs");
            return;
        }
        QThread::msleep(kWarmupMs + 3000);
        run.StopSimulator();
        QThread::msleep(1000);
        const double c0 = run.MonitorCpuSeconds();
        QElapsedTimer t;
        t.start();
        QThread::msleep(kWindowMs);
        const double seconds = t.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        state.counters["cpu_fraction"] = (run.MonitorCpuSeconds() - c0) / seconds;
        run.TerminateMonitor();
    }
}

}  // namespace

BENCHMARK(BM_PortGone)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_PollingLine)->Arg(9600)->Arg(19200)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_SilentLine)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_PortDialogWaiting)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
