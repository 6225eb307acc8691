// CPU work of one read exchange, without the line: build the request, assemble and check
// the reply, cut its 20 fields and store them into the channel table.
#include "protocol/Framing.h"
#include "ISTDComm.h"
#include "ReplyCollector.h"
#include "exchange/RDX_INC.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

QByteArray ReadReply(int block) {
    QByteArray body;
    body.append(char(0x20 + block)).append(' ').append('"').append("0080");
    for (int n = 0; n < ChannelsPerBlock; ++n)
        body.append(QByteArray::number(0x100 + 37 * n, 16).toUpper().rightJustified(4, '0'));
    QByteArray reply;
    reply.append(char(Framing::ACK)).append(body);
    reply.append(Framing::Checksum(QString::fromLatin1(body)).toLatin1()).append(char(Framing::ETX));
    return reply;
}

void BM_ReadExchangeCpu(benchmark::State& state) {
    std::unique_ptr<ISTDComm> link(TesmarCreateObject(TesmarIds::Class));
    RDX_INC model;
    model.FillItemCodes();
    const int block = 3;
    // A little noise before the reply, as a line may carry.
    const QByteArray line = QByteArray("\x03z") + ReadReply(block);
    const QString addr(QChar(0x20 + block)), sub(QStringLiteral(" ")), cmd(QStringLiteral("\""));
    const QString item(QStringLiteral("0080")), data;
    std::array<QString, ChannelsPerBlock> fields;

    for (auto _ : state) {
        const QByteArray request = Framing::BuildFrame(addr, sub, cmd, item, data).toLatin1();
        benchmark::DoNotOptimize(request.constData());
        ReplyCollector collector;
        for (char byte : line)
            if (collector.Feed(QChar(uchar(byte)))) break;
        const QString reply = ReplyCollector::Checked(collector.Reply());
        if (reply.size() != 91 || link->isDataNum(reply) != ChannelsPerBlock) {
            state.SkipWithError("reply not accepted");
            break;
        }
        for (int n = 0; n < ChannelsPerBlock; ++n) fields[size_t(n)] = link->GetNData(reply, qint16(n + 1));
        model.StoreReply(reply[1].unicode() - 0x20, item, fields);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("one exchange per iteration");
}
BENCHMARK(BM_ReadExchangeCpu);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
