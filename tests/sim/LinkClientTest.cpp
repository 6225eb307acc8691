// The simulator program driven through the link library, as the monitor will drive it.
#include "ISTDComm.h"
#include "SimTestUtil.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

using namespace simtest;

namespace {

class LinkToSim : public ::testing::Test {
protected:
    void Start(const QStringList& extra) {
        link_path = dir.filePath("ttyRDX");
        sim.start(RDX410_SIM_PATH, QStringList{"--link", link_path, "--blocks", "0,2:hc",
                                               "--stats", dir.filePath("stats.txt")} + extra);
        ASSERT_TRUE(sim.waitForStarted(5000));
        ASSERT_TRUE(sim.waitForReadyRead(5000));
        ASSERT_TRUE(sim.readLine().contains("serving on"));
        qputenv("TESMARCOMM_COM1", QFile::encodeName(link_path));
        link.reset(TesmarCreateObject(TesmarIds::Class));
        ASSERT_TRUE(link);
        link->setTimeOut(300);
        link->setPort(QStringLiteral("COM1"));
        link->setBaudRate(QStringLiteral("9600"));
        link->setEventsCheck(true);
        ASSERT_TRUE(link->PortOpen());
    }
    void TearDown() override {
        if (link) link->PortClose();
        link.reset();
        qunsetenv("TESMARCOMM_COM1");
        if (sim.state() != QProcess::NotRunning) {
            ::kill(pid_t(sim.processId()), SIGTERM);
            sim.waitForFinished(5000);
        }
    }
    QString Read(int block, const char* item) {
        return link->RWcomm(QString(QChar(0x20 + block)), " ", "\"", item, QString(), 1);
    }
    QString Stats() {
        ::kill(pid_t(sim.processId()), SIGTERM);
        sim.waitForFinished(5000);
        QFile f(dir.filePath("stats.txt"));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    QTemporaryDir dir;
    QString link_path;
    QProcess sim;
    std::unique_ptr<ISTDComm> link;
};

TEST_F(LinkToSim, StartUpReadWriteAndReadBack) {
    Start({});
    // The probe and the start-up inquiry of every block: 0 and 2 answer, the rest are silent.
    EXPECT_EQ(Read(0, "00A0").left(1), QString(QChar(0x06)));
    int present = 0;
    for (int b = 0; b < 16; ++b) {
        const QString r = Read(b, "00A1");
        if (r.isEmpty()) continue;
        ++present;
        ASSERT_EQ(link->isDataNum(r), 20);
        EXPECT_EQ(link->GetNData(r, 2).toInt(nullptr, 16) & 0x0400, b == 2 ? 0x0400 : 0) << b;
    }
    EXPECT_EQ(present, 2);

    QString data;
    for (int k = 0; k < 20; ++k) data += QString::asprintf("%04X", 150 + k);
    const QString ack = link->RWcomm("\"", " ", "R", "0001", data, 1);
    EXPECT_EQ(ack, QString::fromLatin1("\x06\" R0001") + Framing::Checksum(u"\" R0001") + QChar(0x03));
    const QString back = Read(2, "0001");
    for (int k = 1; k <= 20; ++k) EXPECT_EQ(link->GetNData(back, k).toInt(nullptr, 16), 149 + k);
    EXPECT_EQ(link->RWcomm(" ", " ", "\"", "0040", QString(), 1).left(1), QString(QChar(0x15)));

    const QString stats = Stats();
    EXPECT_TRUE(stats.contains("requests=20\n")) << stats.toStdString();
    EXPECT_TRUE(stats.contains("silent.absent=14\n"));
    EXPECT_TRUE(stats.contains("write.0001=1\n"));
}

TEST_F(LinkToSim, InjectedFaultsReachTheLinkAsTheMonitorSeesThem) {
    Start({"--seed", "5", "--bad-checksum", "0.3", "--silence", "0.1", "--garbage", "0.3",
           "--split", "0.3", "--baud", "19200"});
    int esc = 0, empty = 0, ok = 0;
    for (int i = 0; i < 60; ++i) {
        const QString r = Read(0, "0080");
        if (r == QString(QChar(0x1B))) ++esc;
        else if (r.isEmpty()) ++empty;
        else if (r.size() == 91 && r[0] == QChar(0x06)) ++ok;
    }
    EXPECT_EQ(esc + empty + ok, 60);  // garbage and split replies are still whole replies
    const QString stats = Stats();
    EXPECT_TRUE(stats.contains(QStringLiteral("fault.bad-checksum=%1\n").arg(esc))) << stats.toStdString();
    EXPECT_TRUE(stats.contains(QStringLiteral("fault.silence=%1\n").arg(empty))) << stats.toStdString();
    EXPECT_TRUE(stats.contains("requests=60\n"));
}

}  // namespace
