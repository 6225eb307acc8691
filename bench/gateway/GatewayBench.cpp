// rdx410-gateway against the real simulator paced at the line's speed, with publishing off,
// with a broker up (and a reader on it), and with the broker away: line efficiency
// (exchanges per second over the line's limit), the gateway's CPU over wall time while
// polling, and its resident memory over an hour of simulated time with the broker away.
#include "GatewayRun.h"
#include "MosquittoBroker.h"
#include "MqttProbe.h"
#include "ProgramRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

constexpr double kTurnaroundMs = 3.0;
constexpr int kReplyChars = 91;
constexpr int kWindowMs = 15000;
// The monitor's line benchmark uses the same four blocks.
const QStringList kLine = {"--blocks", "0,1,2:hc,4:lin"};

enum class Mode { Off, BrokerUp, BrokerAway };

double ExchangeMs(int baud) { return kTurnaroundMs + kReplyChars * 10000.0 / baud; }

struct Window {
    double efficiency = 0;
    double cpu = 0;
    double documentsPerSecond = 0;
    bool ok = false;
};

Window Measure(int baud, Mode mode) {
    Window w;
    QTemporaryDir dir;
    MosquittoBroker broker(dir.filePath("broker"));
    std::unique_ptr<MqttProbe> reader;
    QString url = QStringLiteral("mqtt://127.0.0.1:%1").arg(FreeLoopbackPort());  // nobody there
    if (mode == Mode::BrokerUp) {
        if (!broker.Start()) return w;
        url = broker.Url();
        reader = std::make_unique<MqttProbe>(broker.Port());
        if (!reader->Connect("rdx410/bench/block/+")) return w;
    }
    ProgramRun run;
    GatewayRun gateway(dir.filePath("gw"));
    if (!run.StartSimulator(kLine + QStringList{"--baud", QString::number(baud)})) return w;
    QStringList args{"--port", run.LinkPath(), "--speed", QString::number(baud), "--line", "bench"};
    if (mode == Mode::Off) args << "--no-publish";
    else args << "--broker" << url;
    if (!gateway.Start(args)) return w;
    // The start-up read of the four blocks (164 exchanges), then a few seconds of polling.
    QThread::msleep(4000 + int(4 * 41 * ExchangeMs(baud)));
    const quint64 r0 = run.SimulatorRequests();
    const double c0 = gateway.CpuSeconds();
    const size_t d0 = reader ? reader->Messages().size() : 0;
    QElapsedTimer t;
    t.start();
    QThread::msleep(kWindowMs);
    const double seconds = t.nsecsElapsed() / 1e9;
    const quint64 requests = run.SimulatorRequests() - r0;
    w.cpu = (gateway.CpuSeconds() - c0) / seconds;
    w.efficiency = (requests / seconds) / (1000.0 / ExchangeMs(baud));
    w.documentsPerSecond = reader ? (reader->Messages().size() - d0) / seconds : 0;
    w.ok = gateway.Terminate();
    return w;
}

void BM_LineEfficiencyWithPublishing(benchmark::State& state) {
    const int baud = int(state.range(0));
    if (MosquittoBroker::Executable().isEmpty()) {
        state.SkipWithError("mosquitto is not installed (scripts/setup)");
        return;
    }
    for (auto _ : state) {
        const Window off = Measure(baud, Mode::Off);
        const Window up = Measure(baud, Mode::BrokerUp);
        const Window away = Measure(baud, Mode::BrokerAway);
        if (!off.ok || !up.ok || !away.ok) {
            state.SkipWithError("a run did not start or end cleanly");
            return;
        }
        state.SetIterationTime(3.0 * kWindowMs / 1000);
        state.counters["efficiency_off"] = off.efficiency;
        state.counters["efficiency_up"] = up.efficiency;
        state.counters["efficiency_away"] = away.efficiency;
        state.counters["ratio_up"] = up.efficiency / off.efficiency;
        state.counters["ratio_away"] = away.efficiency / off.efficiency;
        state.counters["cpu_off"] = off.cpu;
        state.counters["cpu_up"] = up.cpu;
        state.counters["cpu_away"] = away.cpu;
        state.counters["documents_per_s"] = up.documentsPerSecond;
    }
}

// An hour of the line's life with the broker away: the simulator runs its process 60 times
// faster (alarms come and go 60 times as often) and refuses or corrupts one reply in ten,
// unpaced, so that events pour in far beyond the queue's 256. Resident memory is sampled
// once the queue has filled; it must not grow after that.
void BM_MemoryWithTheBrokerAway(benchmark::State& state) {
    const int seconds = int(state.range(0));
    for (auto _ : state) {
        QTemporaryDir dir;
        ProgramRun run;
        GatewayRun gateway(dir.filePath("gw"));
        if (!run.StartSimulator({"--baud", "0", "--time-scale", "60", "--nak", "0.05", "--bad-checksum", "0.05"}) ||
            !gateway.Start({"--port", run.LinkPath(), "--line", "bench", "--broker",
                            QStringLiteral("mqtt://127.0.0.1:%1").arg(FreeLoopbackPort())})) {
            state.SkipWithError("could not start the programs");
            return;
        }
        QThread::msleep(10000);
        const long first = gateway.RssKb();
        long last = first, peak = first;
        for (int t = 10; t < seconds; t += 5) {
            QThread::msleep(5000);
            last = gateway.RssKb();
            peak = std::max(peak, last);
        }
        const quint64 requests = run.SimulatorRequests();
        gateway.Terminate();
        // The gateway tells how many events it could not deliver when it ends.
        const QRegularExpressionMatch m = QRegularExpression(QString::fromUtf8("ｲﾍﾞﾝﾄ: (\\d+) 件")).match(gateway.Output());
        state.SetIterationTime(seconds);
        state.counters["simulated_minutes"] = seconds;  // time scale 60: a second is a minute
        state.counters["requests"] = double(requests);
        state.counters["events_dropped"] = m.hasMatch() ? m.captured(1).toDouble() : 0;
        state.counters["rss_kb_at_10s"] = double(first);
        state.counters["rss_kb_end"] = double(last);
        state.counters["rss_kb_peak"] = double(peak);
        state.counters["growth_kb"] = double(peak - first);
    }
}

}  // namespace

BENCHMARK(BM_LineEfficiencyWithPublishing)->Arg(9600)->Arg(19200)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_MemoryWithTheBrokerAway)->Arg(60)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
