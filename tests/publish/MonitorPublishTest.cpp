// The real monitor against the simulator and a real broker: it publishes only when
// switched on, under its line's name, and says "offline" when it ends.
#include "MosquittoBroker.h"
#include "MqttProbe.h"
#include "ProgramRun.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

void Store(ProgramRun& run, const QString& key, const QString& value) {
    QSettings s(run.Config() + "/TESMAR KORVEX/RDX-410 Monitor.ini", QSettings::IniFormat);
    s.setValue("RDX-410 Monitor/" + key, value);
}

}  // namespace

TEST(MonitorPublishing, OffUnlessSwitchedOnThenUnderItsLineName) {
    if (MosquittoBroker::Executable().isEmpty()) GTEST_SKIP() << "mosquitto is not installed (scripts/setup)";
    QTemporaryDir dir;
    MosquittoBroker broker(dir.filePath("broker"));
    ASSERT_TRUE(broker.Start());
    MqttProbe probe(broker.Port());
    ASSERT_TRUE(probe.Connect("rdx410/#"));

    ProgramRun run;
    ASSERT_TRUE(run.StartSimulator({"--baud", "0", "--blocks", "0,1"}));
    // A broker is stored, but publishing is not switched on.
    Store(run, "MqttBroker", broker.Url());
    Store(run, "MqttLine", "mon");
    ASSERT_TRUE(run.StartMonitor());
    ASSERT_TRUE(ProgramRun::WaitFor([&] { return run.SimulatorRequests() > 200; }, 30000));
    QThread::msleep(1500);
    EXPECT_TRUE(probe.Messages().empty()) << probe.Messages().front().topic.constData();
    ASSERT_TRUE(run.TerminateMonitor());

    Store(run, "MqttPublish", "1");
    ASSERT_TRUE(run.StartMonitor());
    ASSERT_TRUE(probe.WaitFor([&](auto&) { return !probe.On("rdx410/mon/block/02").empty(); }, 30000))
        << run.Monitor().readAll().constData();
    EXPECT_EQ(probe.Last("rdx410/mon/status"), "online");
    EXPECT_EQ(QJsonDocument::fromJson(probe.Last("rdx410/mon/publisher")).object()["program"].toString(),
              "RDX410_Monitor");
    EXPECT_EQ(QJsonDocument::fromJson(probe.Last("rdx410/mon/block/01")).object()["block"].toInt(), 1);
    EXPECT_TRUE(run.TerminateMonitor());
    EXPECT_TRUE(probe.WaitFor([&](auto&) { return probe.Last("rdx410/mon/status") == "offline"; }, 5000));
}
