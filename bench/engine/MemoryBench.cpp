// Resident memory of the engine, the link and the alarm history over 100,000 exchanges
// against the demo line (alarms coming and going), after a warm-up of 10,000.
#include "FakeView.h"
#include "SimLine.h"

#include "exchange/PollEngine.h"
#include "history/AlarmHistory.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {

double ResidentMiB() {
    QFile f("/proc/self/statm");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

void BM_MemoryGrowth(benchmark::State& state) {
    const int exchanges = int(state.range(0));
    QTemporaryDir dir;
    for (auto _ : state) {
        SimLine line;
        if (!line.ok()) {
            state.SkipWithError(line.error().toStdString().c_str());
            return;
        }
        RDX_INC d;
        d.FillItemCodes();
        FakeView view;
        AlarmHistory history(d);
        history.HistoryFilePath = dir.path() + "/bench.hys";
        d.AlarmCheckHook = [&](int ch) { history.AlarmChk(ch); };
        PollEngine engine(d, line.link(), view);
        engine.HystoryWrite = [&](const QString& c, int ch, int s) { history.Hystory_Write(c, ch, s); };
        line.link().setEventsCheck(true);
        if (engine.ApplyPortSettings() != u"ok") {
            state.SkipWithError("probe not answered");
            return;
        }
        auto run = [&](int n) {
            for (int i = 0; i < n; ++i) {
                line.clock.Advance(0.5);
                engine.Timer4_Timer();
                line.link().log.clear();
            }
        };
        engine.RestartStartupRead();
        run(10000);
        const double before = ResidentMiB();
        run(exchanges);
        const double after = ResidentMiB();
        state.counters["rss_before_mib"] = before;
        state.counters["rss_growth_mib"] = after - before;
    }
}

}  // namespace

BENCHMARK(BM_MemoryGrowth)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
