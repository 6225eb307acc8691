// The schemas of docs/schemas describe what the publisher really sends: every kind of
// payload, in each of its forms (stale, over the scale, cooling outputs, absent channels,
// events without a block or channel, nulls), passes its schema; and a payload that breaks
// one fails, so the check is not a formality.
#include "exchange/LineDiagnostics.h"
#include "exchange/RDX_INC.h"
#include "publish/DiagnosticsDocument.h"
#include "publish/Documents.h"
#include "TestClock.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

using Payloads = std::vector<std::pair<const char*, QByteArray>>;

const QDateTime kTime(QDate(2026, 12, 8), QTime(17, 44, 44, 220), QTimeZone(9 * 3600));
const QString kRun = QStringLiteral("5f0c3a52-8d1e-4f7a-9b2c-0e6d4a1b7c93");

// Runs the checker; its exit status and what it printed.
std::pair<int, QString> Check(const Payloads& payloads) {
    QTemporaryDir dir;
    QFile f(dir.filePath("payloads"));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    for (const auto& [schema, json] : payloads) f.write(QByteArray(schema) + '\t' + json + '\n');
    f.close();
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("python3"), {QStringLiteral(RDX_SCHEMA_CHECKER), QStringLiteral(RDX_SCHEMA_DIR),
                                        f.fileName()});
    if (!p.waitForFinished(30000)) return {-1, QStringLiteral("the checker did not end")};
    return {p.exitCode(), QString::fromUtf8(p.readAll())};
}

Payloads RealPayloads() {
    RDX_INC inc;
    BlockFacts facts;
    facts.line = QStringLiteral("press-3");
    facts.time = kTime;
    facts.readAt = kTime.addMSecs(-40);
    facts.blockName = QStringLiteral("炉1");
    for (int k = 0; k < ChannelsPerBlock; ++k) facts.channelNames[size_t(k)] = QStringLiteral("Ch%1").arg(k + 1);
    for (int c = 0; c < 6; ++c) inc.ChPresent[c] = 1, inc.ChPV[c] = qint16(100 + c), inc.ChSV[c] = 150;
    inc.ChStatus[1] = qint16(StatusBit::OverScale | StatusBit::Alarm1);
    inc.ChStatus[2] = qint16(StatusBit::UnderScale);
    inc.ChOption[4] = inc.ChOption[5] = qint16(OptionBit::Cooling);
    inc.ChInputType[3] = 12, inc.ChDecimal[3] = 100, inc.ChUnitText[3] = QStringLiteral("kPa");
    inc.ChDecimal[0] = 7;  // a decimal point the formatter cannot show: null values

    Payloads out;
    out.emplace_back("block", BlockDocument(inc, 0, facts));
    BlockFacts stale = facts;
    stale.outOfContact = stale.stale = true;
    stale.readAt = {};
    out.emplace_back("block", BlockDocument(inc, 0, stale));
    out.emplace_back("block", StoredBlockDocument(StoredBlocks::FromTables(inc), 0, stale));

    EventFacts e;
    e.line = facts.line, e.run = kRun, e.seq = 1, e.time = kTime;
    e.code = QStringLiteral("Alarm1"), e.state = 1, e.block = 0, e.channel = 1, e.initial = true;
    e.channelText = QStringLiteral("Ch2"), e.text = QStringLiteral("警報１の状態がONになりました。");
    out.emplace_back("event", EventDocument(e));
    e.seq = 2, e.code = QStringLiteral("NAK"), e.state = 0, e.channel = -1, e.initial = false;
    out.emplace_back("event", EventDocument(e));
    e.seq = 3, e.code = QStringLiteral("CHKSUM"), e.block = -1;
    out.emplace_back("event", EventDocument(e));
    e.seq = 4, e.code = QStringLiteral("NOCOM"), e.block = 4;
    out.emplace_back("event", EventDocument(e));

    out.emplace_back("alarms", AlarmsDocument(facts.line, kRun, kTime, {}));
    out.emplace_back("alarms", AlarmsDocument(facts.line, kRun, kTime, {{QStringLiteral("HB"), 319, "Ch320"}}));
    out.emplace_back("link", LinkDocument(facts.line, {QStringLiteral("missing"), {}, kTime}));
    out.emplace_back("link", LinkDocument(facts.line, {QStringLiteral("open"), QStringLiteral("/dev/ttyUSB0"), kTime}));

    PublisherFacts p;
    p.program = QStringLiteral("rdx410-gateway"), p.version = QStringLiteral("2.03"), p.host = QStringLiteral("vm");
    p.run = kRun, p.started = kTime, p.time = kTime, p.droppedEvents = 3, p.eventQueueLimit = 256;
    out.emplace_back("publisher", PublisherDocument(p));

    const TestClock clock{kTime};
    LineDiagnostics diagnostics;
    diagnostics.Time = &clock;
    diagnostics.Reset();
    diagnostics.Note(0, QStringLiteral("\""), QStringLiteral("0081"), {}, QStringLiteral("x"), ExchangeVerdict::Ack,
                     31.5, 12, 19200);
    diagnostics.Note(15, QStringLiteral("\""), QStringLiteral("0082"), {}, {}, ExchangeVerdict::Silent, 0, 12, 19200);
    std::array<bool, BlockCount> present{};
    present[0] = present[15] = true;
    out.emplace_back("diagnostics", DiagnosticsDocument(facts.line, kTime, diagnostics, present));
    return out;
}

}  // namespace

TEST(PayloadSchemas, EveryKindOfRealPayloadPassesItsSchemaAndABrokenOneFails) {
    if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty()) GTEST_SKIP() << "no python3";
    const Payloads real = RealPayloads();
    const auto [status, output] = Check(real);
    if (status == 77) GTEST_SKIP() << output.toStdString();
    EXPECT_EQ(status, 0) << output.toStdString();

    // A stale channel that still carries its value as pv, and an event whose seq is not a number.
    QByteArray stalePv = real[1].second;
    ASSERT_TRUE(stalePv.contains("\"pv\":null,"));
    stalePv.replace("\"pv\":null,", "\"pv\":101,");
    QByteArray event = real[3].second;
    event.replace("\"seq\":1,", "\"seq\":\"1\",");
    const auto [brokenStatus, brokenOutput] = Check({{"block", stalePv}, {"event", event}});
    EXPECT_EQ(brokenStatus, 1);
    EXPECT_TRUE(brokenOutput.contains(QStringLiteral("payload 1 (block)"))) << brokenOutput.toStdString();
    EXPECT_TRUE(brokenOutput.contains(QStringLiteral("payload 2 (event) at /seq"))) << brokenOutput.toStdString();
}
