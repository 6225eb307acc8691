// What publishing costs the poll loop per block: building one block's document (names
// from the settings store, 20 channels through the value formatter) and handing it over.
#include "publish/Documents.h"
#include "publish/PublishQueue.h"

#include "services/SettingsStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

RDX_INC BusyLine() {
    RDX_INC inc;
    for (int c = 0; c < 80; ++c) {
        inc.ChPresent[c] = 1;
        inc.ChInputType[c] = qint16(c % 3 == 0 ? 12 : c % 3 == 1 ? 6 : 0);
        inc.ChDecimal[c] = 100;
        inc.ChUnitText[c] = QStringLiteral("%");
        inc.ChPV[c] = qint16(1000 + c);
        inc.ChSV[c] = 1500;
        inc.ChHeatMV[c] = 456;
        inc.ChHeaterCurrent[c] = 23;
        inc.ChStatus[c] = 0x0401;
    }
    return inc;
}

void BM_BlockDocument(benchmark::State& state) {
    const RDX_INC inc = BusyLine();
    PublishQueue queue(17, 256);
    int block = 0;
    for (auto _ : state) {
        BlockFacts f;
        f.line = QStringLiteral("bench");
        f.time = QDateTime::currentDateTime();
        const QString suffix = BlockSuffix(block);
        f.blockName = GetSetting(QStringLiteral("DvtoN") + suffix, QStringLiteral("Block") + suffix);
        for (int k = 0; k < ChannelsPerBlock; ++k) {
            const QString s = ChannelSuffix(block * ChannelsPerBlock + k);
            f.channelNames[size_t(k)] = GetSetting(QStringLiteral("Chname") + s, QStringLiteral("Ch") + s);
        }
        queue.PutDocument(block, OutMessage{"t", BlockDocument(inc, block, f), 0, true});
        if (queue.Waiting() > 16) while (queue.Take()) {}
        block = (block + 1) % 4;
    }
}

}  // namespace

BENCHMARK(BM_BlockDocument)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
