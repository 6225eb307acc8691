// The start-up read of 16 heating/cooling blocks (656 exchanges after the probe) against
// the simulator paced like a real line; reports elapsed time over the line's own time.
#include "FakeView.h"
#include "SimLine.h"

#include "exchange/PollEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr double kTurnaroundMs = 3.0;

void BM_StartupRead(benchmark::State& state) {
    const int baud = int(state.range(0));
    QStringList blockList;
    for (int b = 0; b < 16; ++b) blockList << QString::number(b) + ":hc";
    SimLineOptions options;
    options.blocks = blockList.join(',');
    options.baud = baud;
    options.turnaroundMs = kTurnaroundMs;
    for (auto _ : state) {
        SimLine line(options);
        if (!line.ok()) {
            state.SkipWithError(line.error().toStdString().c_str());
            return;
        }
        RDX_INC d;
        d.FillItemCodes();
        FakeView view;
        PollEngine engine(d, line.link(), view);
        line.link().setEventsCheck(true);
        if (engine.ApplyPortSettings() != u"ok") {
            state.SkipWithError("probe not answered");
            return;
        }
        line.link().take();
        engine.RestartStartupRead();
        QElapsedTimer timer;
        timer.start();
        engine.Timer4_Timer();
        const double elapsedMs = timer.nsecsElapsed() / 1e6;
        const auto log = line.link().take();
        double wireMs = 0;
        for (const auto& e : log) wireMs += kTurnaroundMs + e.reply.size() * 10000.0 / baud;
        state.SetIterationTime(elapsedMs / 1000.0);
        state.counters["exchanges"] = double(log.size());
        state.counters["wire_s"] = wireMs / 1000.0;
        state.counters["time_over_wire"] = elapsedMs / wireMs;
    }
}

}  // namespace

BENCHMARK(BM_StartupRead)->Arg(19200)->Arg(9600)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
