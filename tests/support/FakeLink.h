// A scripted link: records every request and answers like a line of blocks whose
// item values a test sets, or with a reply the test forces.
#pragma once

#include "ISTDComm.h"
#include "protocol/HexCodec.h"
#include "protocol/Framing.h"

#include <QString>
#include <array>
#include <functional>
#include <map>
#include <vector>

struct Request {
    int block;
    QString cmd;
    QString item;
    QString data;
};

class FakeLink : public ISTDComm {
public:
    std::vector<Request> log;
    std::array<bool, 16> present{};
    // values[block][item] = 20 raw values
    std::map<int, std::map<QString, std::array<qint16, 20>>> values;
    // When set, decides the reply instead of the model (return std::nullopt-like "\x01" to fall through).
    std::function<QString(const Request&)> override;
    int opens = 0, closes = 0;

    static QString Reply(QChar head, const Request& r, const QString& data) {
        QString body = QString(QChar(char16_t(0x20 + r.block))) + u' ' + r.cmd + r.item + data;
        return QString(head) + body + Framing::Checksum(body) + QChar(Framing::ETX);
    }

    QString RWcomm(const QString& a, const QString&, const QString& c, const QString& i,
                   const QString& data, qint16) override {
        Request r{a[0].unicode() - 0x20, c, i, data};
        if (!open) throw STDCommError(8018, QStringLiteral("port not open"));
        log.push_back(r);
        if (override) {
            QString forced = override(r);
            if (forced != QStringLiteral("\x01")) return forced;
        }
        if (r.block < 0 || r.block > 15 || !present[r.block]) return {};
        auto& item = values[r.block][i];
        if (c == u"R") {
            if (i != u"0040")
                for (int n = 0; n < 20; ++n) item[n] = HexCodec::Decode(QStringView(data).mid(4 * n, 4));
            return Reply(QChar(Framing::ACK), r, QString());
        }
        QString fields;
        for (qint16 v : item) fields += HexCodec::Encode(v);
        return Reply(QChar(Framing::ACK), r, fields);
    }
    QString GetNData(const QString& s, qint16 n) const override { return Framing::GetNData(s, n); }
    qint16 isDataNum(const QString& s) const override { return qint16(Framing::isDataNum(s)); }

    // The port's state: a test can pull the device away (open = false) and decide
    // whether it can be opened again.
    bool open = true;
    bool openable = true;
    bool commIdFails = false;  // the port's handle cannot be asked for (a broken driver)
    // What a refused open reports (the port stays closed when openable is false).
    OpenFailureInfo openFailure;
    bool PortOpen() override { ++opens; open = openable; return open; }
    OpenFailureInfo LastOpenFailure() const override { return open ? OpenFailureInfo{} : openFailure; }
    void PortClose() override { ++closes; open = false; }
    std::vector<Request> take() { auto out = std::move(log); log.clear(); return out; }

    // Everything else just stores.
    bool BSuccessFlag() const override { return flag; }
    void setBSuccessFlag(bool v) override { flag = v; }
    void RecvBufClear() override {}
    void SendBufClear() override {}
    void setOutputBuffer(const QString& v) override { out = v; }
    QString OutputBuffer() const override { return out; }
    QString InputBuffer() override { return {}; }
    void setRecvError(const QString& v) override { recvError = v; }
    QString RecvError() const override { return recvError; }
    void setTimeOut(qint32 v) override { timeOut = v; }
    void setOutputBufSize(qint32) override {}
    qint32 OutputBufSize() override { return 512; }
    void setInputBufSize(qint32) override {}
    qint32 InputBufSize() override { return 1024; }
    void setFlow(const QString&) override {}
    QString Flow() override { return QStringLiteral("NONE"); }
    void setStopBit(const QString&) override {}
    QString StopBit() const override { return QStringLiteral("1"); }
    void setPality(const QString&) override {}
    QString Pality() const override { return QStringLiteral("EVEN"); }
    void setDataBit(const QString&) override {}
    QString DataBit() const override { return QStringLiteral("7"); }
    void setBaudRate(const QString& v) override { baud = v; }
    QString BaudRate() const override { return baud; }
    void setRThreshold(qint32) override {}
    qint32 RThreshold() override { return 4; }
    qint32 CommID() override {
        if (commIdFails) throw STDCommError(8018, QStringLiteral("no handle"));
        return open ? 3 : -1;
    }
    void setPort(const QString& v) override { port = v; }
    QString Port() const override { return port; }
    bool EventsCheck() const override { return events; }
    void setEventsCheck(bool v) override { events = v; }
    void setPortDevice(const QString& v) override { device = v; }
    QString PortDevice() const override { return device; }

    bool flag = false, events = false;
    QString out, recvError, baud = QStringLiteral("9600"), port = QStringLiteral("COM1"), device;
    qint32 timeOut = 100;
};
