// The gateway against the simulated line served in this process (its clock stands still
// unless a test moves it, so the line holds exactly the values a test reads back), and a
// real mosquitto broker with a reader on it.
#pragma once

#include "GatewayRun.h"
#include "MosquittoBroker.h"
#include "MqttProbe.h"
#include "SimLine.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <vector>

struct LineRequest {
    double ms = 0;  // steady clock, since the fixture started
    int block = -1;
    char command = 0;
    QString item;
};

class GatewayFixture : public ::testing::Test {
protected:
    static constexpr char kLine[] = "line-t";

    void SetUp() override {
        if (MosquittoBroker::Executable().isEmpty()) GTEST_SKIP() << "mosquitto is not installed (scripts/setup)";
    }

    // The simulated line at dir/ttyRDX; every request it gets is recorded.
    void StartLine(const QString& blocks, int baud = 0) {
        SimLineOptions o;
        o.blocks = blocks;
        o.baud = baud;
        o.linkPath = LinkPath();
        line = std::make_unique<SimLine>(o);
        ASSERT_TRUE(line->ok()) << line->error().toStdString();
        line->service.OnTransmission = [this](const rdxsim::Response& r, const rdxsim::Transmission&) {
            std::lock_guard lock(mutex);
            requests.push_back({Ms(), r.block, r.command, r.item});
        };
    }
    QString LinkPath() const { return dir.filePath("ttyRDX"); }

    QStringList Arguments(const QString& brokerUrl) const {
        return {"--port", LinkPath(), "--broker", brokerUrl, "--line", QString::fromLatin1(kLine)};
    }
    QByteArray Topic(const char* rest) const { return QByteArray("rdx410/") + kLine + '/' + rest; }
    // Starts a reader of every topic of the line.
    void StartProbe(const ProbeLogin& login = {}) {
        probe = std::make_unique<MqttProbe>(broker.Port(), login);
        ASSERT_TRUE(probe->Connect(Topic("#")));
    }
    QJsonObject LastJson(const QByteArray& topic) const {
        return QJsonDocument::fromJson(probe->Last(topic)).object();
    }

    std::vector<LineRequest> Requests() {
        std::lock_guard lock(mutex);
        return requests;
    }
    size_t RequestCount() {
        std::lock_guard lock(mutex);
        return requests.size();
    }
    double Ms() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
    }

    // Before the line, so that they outlive its server thread, which records into them.
    std::mutex mutex;
    std::vector<LineRequest> requests;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();

    QTemporaryDir dir;
    std::unique_ptr<SimLine> line;
    MosquittoBroker broker{dir.filePath("broker")};
    GatewayRun gateway{dir.filePath("gw")};
    std::unique_ptr<MqttProbe> probe;

};
