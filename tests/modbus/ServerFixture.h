// The Modbus server in this process over tables a test fills by hand and an engine that
// only records what it is asked to write; the client is tests/modbus/modbus_client.py
// (pymodbus and raw sockets), run while this thread's events are handled.
#pragma once

#include "exchange/RDX_INC.h"
#include "exchange/WriteRequests.h"
#include "modbus/LineModbusServer.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

struct RecordedWrites final : WriteRequests {
    std::vector<std::pair<int, QString>> settings;
    quint64 RequestSettingWrite(int channel, const QString& item) override {
        settings.emplace_back(channel, item);
        return settings.size();
    }
    quint64 RequestBlockWrite(int) override { return Unexpected(); }
    quint64 RequestAllBlocksWrite() override { return Unexpected(); }
    quint64 RequestFactoryInit(int, const QString&) override { return Unexpected(); }
    static quint64 Unexpected() {
        ADD_FAILURE() << "the Modbus server asked for something other than a setting write";
        return 0;
    }
};

class ModbusServerTest : public ::testing::Test {
protected:
    static constexpr int kUnit = 7;

    void Serve(ModbusOptions options = {}) {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port_ = probe.serverPort();
        probe.close();
        options.address = QHostAddress::LocalHost;
        options.port = port_;
        options.unit = kUnit;
        options.enabled = true;
        server = std::make_unique<LineModbusServer>(inc, writes, options);
        ASSERT_EQ(server->Start(), QString());
    }

    // Runs the client with these arguments and returns what it printed.
    void StartClient(QProcess& p, const QStringList& arguments) {
        p.start(QStringLiteral("/usr/bin/python3"),
                QStringList{QStringLiteral(RDX_MODBUS_CLIENT), QString::number(port_), QString::number(kUnit)} + arguments);
    }
    QJsonObject Client(const QStringList& arguments) {
        QProcess p;
        QEventLoop loop;
        QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(15000, &loop, &QEventLoop::quit);
        StartClient(p, arguments);
        loop.exec();
        const QByteArray out = p.readAllStandardOutput();
        EXPECT_FALSE(out.isEmpty()) << p.readAllStandardError().constData();
        return QJsonDocument::fromJson(out).object();
    }
    QJsonObject Read(const char* kind, int start, int count) {
        return Client({QStringLiteral("read"), QString::fromLatin1(kind), QString::number(start), QString::number(count)});
    }
    std::vector<int> Values(const char* kind, int start, int count) {
        std::vector<int> v;
        const QJsonObject r = Read(kind, start, count);
        EXPECT_TRUE(r.contains("values")) << QJsonDocument(r).toJson().constData();
        for (const QJsonValue& x : r["values"].toArray()) v.push_back(x.toInt());
        return v;
    }
    QJsonObject Write(int start, const QList<int>& values) {
        QStringList a{QStringLiteral("write"), QString::number(start)};
        for (int v : values) a << QString::number(v);
        return Client(a);
    }

    RDX_INC inc;
    RecordedWrites writes;
    std::unique_ptr<LineModbusServer> server;

private:
    quint16 port_ = 0;
};
