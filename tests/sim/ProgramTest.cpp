// rdx410-sim as a program: link, stats file, control FIFO, clean exit on a signal.
#include "PtyClient.h"
#include "SimTestUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

using namespace simtest;

namespace {

QMap<QString, quint64> ReadStats(const QString& path) {
    QMap<QString, quint64> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return out;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0) out[QString::fromLatin1(line.left(eq))] = line.mid(eq + 1).toULongLong();
    }
    return out;
}

bool StartSim(QProcess& p, const QStringList& args) {
    p.start(RDX410_SIM_PATH, args);
    if (!p.waitForStarted(5000) || !p.waitForReadyRead(5000)) return false;
    return p.readLine().contains("serving on");
}

TEST(Program, ServesOnItsLinkAndWritesStatsOnSigterm) {
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyRDX"), stats = dir.filePath("stats.txt");
    QProcess sim;
    ASSERT_TRUE(StartSim(sim, {"--link", link, "--stats", stats, "--baud", "0", "--blocks", "0"}));
    ASSERT_TRUE(QFileInfo(link).isSymLink());
    const int fd = PtyClient::OpenRaw(link);
    ASSERT_GE(fd, 0);
    PtyClient client(fd);
    EXPECT_EQ(client.Exchange(ReadRequest(0, "0080"), 1000).reply.size(), 91);
    EXPECT_EQ(client.Exchange(ReadRequest(0, "0083"), 1000).reply.size(), 91);
    EXPECT_TRUE(client.Exchange(ReadRequest(1, "0080"), 200).reply.isEmpty());
    ::close(fd);

    ::kill(pid_t(sim.processId()), SIGTERM);
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    const auto counters = ReadStats(stats);
    EXPECT_EQ(counters.value("requests"), 3u);
    EXPECT_EQ(counters.value("read.0080"), 2u);
    EXPECT_EQ(counters.value("read.0083"), 1u);
    EXPECT_EQ(counters.value("reply.ack-read"), 2u);
    EXPECT_EQ(counters.value("silent.absent"), 1u);
    EXPECT_TRUE(counters.contains("fault.silence"));
}

TEST(Program, TakesEventsFromItsControlFifo) {
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyRDX"), fifo = dir.filePath("control");
    QProcess sim;
    ASSERT_TRUE(StartSim(sim, {"--link", link, "--control", fifo, "--baud", "0", "--blocks", "0"}));
    const int fd = PtyClient::OpenRaw(link);
    ASSERT_GE(fd, 0);
    PtyClient client(fd);
    {
        QFile control(fifo);
        ASSERT_TRUE(control.open(QIODevice::WriteOnly));
        control.write("silent 0\n");
    }
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    EXPECT_TRUE(sim.readLine().startsWith("ok: silent 0"));
    EXPECT_TRUE(client.Exchange(ReadRequest(0, "0080"), 200).reply.isEmpty());
    {
        QFile control(fifo);
        ASSERT_TRUE(control.open(QIODevice::WriteOnly));
        control.write("answer 0\npanel 0\n");
    }
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    while (sim.canReadLine() || sim.waitForReadyRead(300))
        if (sim.readAll().contains("panel 0")) break;
    const ClientReply status = client.Exchange(ReadRequest(0, "0083"), 1000);
    ASSERT_EQ(status.reply.size(), 91);
    EXPECT_NE(Field(status.reply, 1) & 0x1000, 0);
    ::close(fd);
    {
        QFile control(fifo);
        ASSERT_TRUE(control.open(QIODevice::WriteOnly));
        control.write("quit\n");
    }
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 0);
}

TEST(Program, HelpNamesEveryOptionAndBadOptionsFail) {
    QProcess help;
    help.start(RDX410_SIM_PATH, {"--help"});
    ASSERT_TRUE(help.waitForFinished(5000));
    EXPECT_EQ(help.exitCode(), 0);
    const QByteArray text = help.readAllStandardOutput();
    for (const char* option : {"--link", "--baud", "--turnaround", "--time-scale", "--seed", "--blocks",
                               "--control", "--stats", "--duration", "--auto-tune", "--delivery", "--silence",
                               "--bad-checksum", "--nak", "--garbage", "--cut", "--split", "--help",
                               "heater-break", "loop-break", "sensor", "panel", "silent", "answer", "quit"})
        EXPECT_TRUE(text.contains(option)) << option;

    for (const QStringList& args : {QStringList{"--baud", "fast"}, QStringList{"--delivery", "dma"}}) {
        QProcess bad;
        bad.start(RDX410_SIM_PATH, args);
        ASSERT_TRUE(bad.waitForFinished(5000));
        EXPECT_EQ(bad.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_FALSE(bad.readAllStandardError().isEmpty());
    }
}

}  // namespace
