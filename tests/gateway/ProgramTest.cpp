// The gateway as a program: its command line, a port that is not there yet, the end on
// SIGTERM (in the middle of the start-up read too) and the last will when it dies, and PV
// logging resumed from the stored choices.
#include "GatewayFixture.h"

#include "ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QStringDecoder>
#include <QThread>

TEST(GatewayProgram, HelpVersionAndRefusedOptions) {
    QString out;
    EXPECT_EQ(GatewayRun::RunToEnd({"--help"}, &out), 0);
    for (const char* option : {"--port", "--speed", "--broker", "--line", "--ca-file", "--cert-file", "--key-file",
                               "--user", "--password-file", "RDX410_MQTT_URL"})
        EXPECT_TRUE(out.contains(QString::fromLatin1(option))) << option;
    EXPECT_EQ(GatewayRun::RunToEnd({"--version"}, &out), 0);
    EXPECT_TRUE(out.startsWith("rdx410-gateway 2.")) << out.toStdString();
    // A password never goes on the command line.
    EXPECT_EQ(GatewayRun::RunToEnd({"--password", "secret"}, &out), 78);
    EXPECT_TRUE(out.contains("--password")) << out.toStdString();
    EXPECT_EQ(GatewayRun::RunToEnd({"--speed", "4800"}, &out), 78);
    EXPECT_EQ(GatewayRun::RunToEnd({"--port", "ttyS0"}, &out), 78);
    EXPECT_EQ(GatewayRun::RunToEnd({"extra"}, &out), 78);
}

TEST_F(GatewayFixture, ALineThatIsNotThereYetIsTriedEverySecondAndPolledOnceItIs) {
    ASSERT_TRUE(broker.Start());
    StartProbe();
    ASSERT_TRUE(gateway.Start(Arguments(broker.Url())));
    QThread::msleep(3500);
    // The device is missing, not the controllers silent: one message, not one per attempt.
    EXPECT_EQ(gateway.Count(QStringLiteral("が見つかりません。")), 1) << gateway.Output().toStdString();
    EXPECT_EQ(gateway.Count(QStringLiteral("応答しません")), 0);
    EXPECT_TRUE(gateway.Running());
    StartLine(QStringLiteral("0"));
    EXPECT_TRUE(probe->WaitFor([&](auto&) { return !probe->On(Topic("block/01")).empty(); }, 15000))
        << gateway.Output().toStdString();
    EXPECT_EQ(gateway.Count(QStringLiteral("起動時の読込みが終わりました")), 1);
}

TEST_F(GatewayFixture, EndsInOrderOnSigtermAndTheBrokerSaysOfflineWhenItDies) {
    StartLine(QStringLiteral("0"));
    ASSERT_TRUE(broker.Start());
    StartProbe();
    ASSERT_TRUE(gateway.Start(Arguments(broker.Url())));
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return !probe->On(Topic("block/01")).empty(); }, 30000));
    EXPECT_TRUE(gateway.Terminate());
    EXPECT_EQ(probe->Last(Topic("status")), "offline");
    EXPECT_TRUE(gateway.Output().contains(QStringLiteral("終了しました。")));
    // Its history entries go to standard error too: the end made no block look silent.
    EXPECT_EQ(gateway.Count(QStringLiteral("応答がありません")), 0) << gateway.Output().toStdString();
    ASSERT_EQ(gateway.HistoryFiles().size(), 1);

    // Killed without a chance to say anything: the broker tells the last will.
    probe->Clear();
    ASSERT_TRUE(gateway.Start(Arguments(broker.Url())));
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return probe->Last(Topic("status")) == "online"; }, 30000));
    gateway.Kill();
    EXPECT_TRUE(probe->WaitFor([&](auto&) { return probe->Last(Topic("status")) == "offline"; }, 10000));
}

// Four blocks at 9600 baud take about 15 s to read at start-up; a stop asked for early in
// that read ends the program at once, with nothing said of a read that did not finish.
TEST_F(GatewayFixture, SigtermInTheMiddleOfTheStartupReadEndsItWithinSeconds) {
    StartLine(QStringLiteral("0,1,2,3"), 9600);
    ASSERT_TRUE(gateway.Start({"--port", LinkPath(), "--no-publish"}));
    ASSERT_TRUE(ProgramRun::WaitFor([&] { return RequestCount() >= 10; }, 15000)) << gateway.Output().toStdString();
    const double asked = Ms();
    EXPECT_TRUE(gateway.Terminate(5000)) << gateway.Output().toStdString();
    EXPECT_LT(Ms() - asked, 3000);
    EXPECT_LT(RequestCount(), 60u);
    EXPECT_EQ(gateway.Count(QStringLiteral("起動時の読込みが終わりました")), 0);
    EXPECT_EQ(gateway.Count(QStringLiteral("終了しました。")), 1);
}

TEST_F(GatewayFixture, GoesOnLoggingPvWhenTheStoredChoicesSayLoggingRan) {
    StartLine(QStringLiteral("0"));
    ASSERT_TRUE(broker.Start());
    StartProbe();
    gateway.Store("log_start", "1");
    gateway.Store("LogBlock0", "1");
    gateway.Store("Logtim", "0");
    ASSERT_TRUE(gateway.Start(Arguments(broker.Url())));
    const QString folder = gateway.Home() + "/logging";
    ASSERT_TRUE(ProgramRun::WaitFor([&] { return !QDir(folder).entryList({"*.txt"}).isEmpty(); }, 30000))
        << gateway.Output().toStdString();
    ASSERT_TRUE(probe->WaitFor([&](auto&) { return !probe->On(Topic("block/01")).empty(); }, 30000));
    QFile f(folder + "/" + QDir(folder).entryList({"*.txt"}).first());
    QStringList lines;
    ASSERT_TRUE(ProgramRun::WaitFor([&] {
        f.open(QIODevice::ReadOnly);
        QStringDecoder cp932("Shift_JIS");
        lines = QString(cp932.decode(f.readAll())).split("\r\n", Qt::SkipEmptyParts);
        f.close();
        return lines.size() >= 4;
    }, 10000));
    EXPECT_EQ(lines[0], QString::fromUtf8("\"RDX-410 制御入力値(PV)ﾃﾞｰﾀ\""));
    EXPECT_TRUE(lines[2].startsWith(QString::fromUtf8("\"保存時間\",\"Ch001\"")));
    // The log and the broker show the same texts for the line's still values.
    const QStringList fields = lines[3].split(',');
    ASSERT_GE(fields.size(), 21);
    const QJsonArray channels = LastJson(Topic("block/01"))["channels"].toArray();
    for (int k = 0; k < 20; ++k) {
        const QString logged = fields[k + 1].mid(1, fields[k + 1].size() - 2);
        EXPECT_DOUBLE_EQ(logged.toDouble(), channels.at(k).toObject().value("pv").toDouble()) << k;
    }
}
