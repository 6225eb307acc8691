// The refresh after each exchange (SelectDispItem) of the visible tab, with every one of
// the 320 channels changing its values between refreshes: the worst case.
#include "app/MainDisp.h"
#include "exchange/RDX_INC.h"

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

RDX_INC* data = nullptr;
MainDisp* window = nullptr;

void ChangeEveryChannel(RDX_INC& d, int step) {
    for (int c = 0; c < ChannelCount; ++c) {
        d.ChPV[c] = qint16((c * 7 + step) % 2000);
        d.ChSV[c] = qint16(1000 + step % 50);
        d.ChHeatMV[c] = qint16((step + c) % 1000);
        d.ChStatus[c] = qint16(((step + c) & 1) ? 0x0403 : 0x0020);
        d.ChOutputSwitch[c] = qint16(step & 1);
    }
}

void BM_SelectDispItem(benchmark::State& state) {
    window->SSTab1->setCurrentIndex(int(state.range(0)));
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ChangeEveryChannel(*data, ++step);
        state.ResumeTiming();
        window->SelectDispItem();
    }
}

}  // namespace

BENCHMARK(BM_SelectDispItem)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RDX_INC d;
    d.FillItemCodes();
    for (int c = 0; c < ChannelCount; ++c) d.ChPresent[c] = 1;
    MainDisp main(d);
    main.show();
    data = &d;
    window = &main;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
