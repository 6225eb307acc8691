// A long run of the engine against a noisy line: silence, corrupted checksums, refusals,
// garbage, replies cut short and replies split into chunks. Whatever the line does, no
// corrupted value may reach the tables, every refusal and checksum error is recorded once,
// and the PV log keeps its interval.
#include "FakeView.h"
#include "ItemOracle.h"
#include "SimLine.h"

#include "format/ValueFormat.h"
#include "protocol/HexCodec.h"
#include "exchange/PollEngine.h"
#include "history/AlarmHistory.h"
#include "history/PvLogger.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <mutex>

namespace {

constexpr int kExchanges = 20000;

// What the monitor must make of one transmission.
enum class Seen { Ack, Nak, ChecksumError, Nothing };

Seen Expected(const rdxsim::Transmission& t) {
    const QByteArray bytes = t.Bytes();
    const qsizetype start = std::max(bytes.lastIndexOf(char(Framing::ACK)), bytes.lastIndexOf(char(Framing::NAK)));
    if (start < 0) return Seen::Nothing;
    const QString reply = QString::fromLatin1(bytes.mid(start));
    if (!reply.endsWith(QChar(Framing::ETX))) return Seen::Nothing;
    if (!Framing::ChecksumMatches(reply)) return Seen::ChecksumError;
    return reply[0] == QChar(Framing::ACK) ? Seen::Ack : Seen::Nak;
}

}  // namespace

TEST(Soak, NoisyLineNeverCorruptsTablesHistoryOrLog) {
    QTemporaryDir dir;
    SimLineOptions options;
    options.blocks = "0,1:hc,2:lin,3:mix";
    SimLine line(options);
    ASSERT_TRUE(line.ok()) << line.error().toStdString();

    RDX_INC d;
    d.FillItemCodes();
    FakeView view;
    AlarmHistory history(d);
    history.HistoryFilePath = dir.path() + "/soak.hys";
    d.AlarmCheckHook = [&](int ch) { history.AlarmChk(ch); };
    PollEngine engine(d, line.link(), view);
    engine.HystoryWrite = [&](const QString& c, int ch, int s) { history.Hystory_Write(c, ch, s); };
    line.link().setEventsCheck(true);
    ASSERT_EQ(engine.ApplyPortSettings(), "ok");
    engine.RestartStartupRead();
    engine.Timer4_Timer();
    ASSERT_EQ(engine.state(), PollEngine::State::Polling);
    // Long enough for a reply split into four chunks with 30 ms gaps.
    line.link().setTimeOut(150);

    // From here on the line is noisy; record exactly what it sent for each request.
    std::mutex m;
    int naks = 0, badChecksums = 0, answered = 0;
    std::map<std::pair<int, QString>, QByteArray> lastValidData;
    line.service.OnTransmission = [&](const rdxsim::Response& r, const rdxsim::Transmission& t) {
        std::lock_guard lock(m);
        switch (Expected(t)) {
        case Seen::Nak: ++naks; break;
        case Seen::ChecksumError: ++badChecksums; break;
        case Seen::Ack:
            ++answered;
            if (r.outcome == rdxsim::Outcome::ReadAck) lastValidData[{r.block, r.item}] = r.reply.mid(8, 80);
            break;
        case Seen::Nothing: break;
        }
    };
    line.Locked([&](rdxsim::LineModel&) {
        rdxsim::FaultRates rates;
        rates[rdxsim::Fault::Silence] = 0.05;
        rates[rdxsim::Fault::BadChecksum] = 0.02;
        rates[rdxsim::Fault::Nak] = 0.01;
        rates[rdxsim::Fault::Garbage] = 0.05;
        rates[rdxsim::Fault::Cut] = 0.01;
        rates[rdxsim::Fault::Split] = 0.05;
        line.faults = rdxsim::FaultInjector(2026, rates);
        return 0;
    });

    PvLogger logger([&](int ch) { return FormatItemValue(d, 0, ch); });
    BlockSelection ticked{};
    ticked[0] = ticked[2] = true;
    const QString logPath = dir.path() + "/soak.txt";
    ASSERT_EQ(logger.StartLog(logPath, false, ticked, 0), FileWriteResult::Ok);

    for (int i = 0; i < kExchanges; ++i) {
        line.clock.Advance(0.05);  // values keep changing under the noise
        engine.Timer4_Timer();
        logger.LogTick(logPath, ticked);
        if (engine.state() != PollEngine::State::Polling) engine.Timer4_Timer();  // a re-read, if a change bit came through
    }
    line.service.OnTransmission = nullptr;

    // Every refusal and every complete corrupted reply is one history line.
    QFile f(history.HistoryFilePath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QStringDecoder cp932("Shift_JIS");
    const QStringList lines = QString(cp932.decode(f.readAll())).split("\r\n", Qt::SkipEmptyParts);
    EXPECT_GT(naks, 50);
    EXPECT_GT(badChecksums, 200);
    EXPECT_EQ(lines.filter("\"----\",\"MGU-500から否定応答(NAK応答)が返ってきました。\"").size(), naks);
    EXPECT_EQ(lines.filter("\"----\",\"ﾁｪｯｸｻﾑｴﾗｰが発生しました。\"").size(), badChecksums);

    // Every table holds what the line sent in its last reply that arrived intact: the
    // table, the conversion and the decoding taken from the hand-written item table, not
    // from the program (the simulator encodes with the program's own codec).
    int compared = 0;
    for (const auto& [key, data] : lastValidData) {
        const auto& [block, item] = key;
        const std::optional<ItemOracle::Row> row = ItemOracle::Find(item);
        ASSERT_TRUE(row) << item.toStdString();
        if (!row->table || item == u"00A0") continue;
        for (int n = 0; n < ChannelsPerBlock; ++n) {
            const int ch = block * ChannelsPerBlock + n;
            const qint16 raw = ItemOracle::DecodeField(QString::fromLatin1(data.mid(4 * n, 4)));
            ASSERT_EQ((d.*row->table)[ch], ItemOracle::Stored(*row, d, ch, raw))
                << "block " << block << " item " << item.toStdString() << " channel " << ch;
            ++compared;
        }
    }
    // PV, status, MV and heater current of the four blocks at least.
    EXPECT_GE(compared, 4 * 4 * 20);

    // The log holds a sample for every scheduled time, ten seconds apart.
    QFile log(logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> records = log.readAll().split('\n').mid(3);
    QList<QTime> times;
    for (const QByteArray& r : records) {
        if (r.isEmpty()) continue;
        const QByteArray first = r.mid(1, r.indexOf('"', 1) - 1);
        times << QTime::fromString(QString::fromLatin1(first.mid(first.lastIndexOf(' ') + 1)), "H:mm:ss");
    }
    ASSERT_GE(times.size(), 2);
    for (int i = 1; i < times.size(); ++i) EXPECT_EQ(times[i - 1].secsTo(times[i]), 10) << i;
}
