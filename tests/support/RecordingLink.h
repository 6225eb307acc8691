// Forwards every call to a real link object and records each request and its reply, so a
// test sees the exact frame trace the engine produced.
#pragma once

#include "ISTDComm.h"
#include "protocol/Framing.h"

#include <memory>
#include <vector>

struct Exchanged {
    int block;
    QString cmd;
    QString item;
    QString data;
    QString frame;  // the request as the link wrote it (its OutputBuffer)
    QString reply;  // what RWcomm returned
};

class RecordingLink : public ISTDComm {
public:
    explicit RecordingLink(std::unique_ptr<ISTDComm> inner) : in(std::move(inner)) {}
    std::vector<Exchanged> log;
    std::vector<Exchanged> take() { auto out = std::move(log); log.clear(); return out; }
    ISTDComm& inner() { return *in; }

    QString RWcomm(const QString& a, const QString& s, const QString& c, const QString& i,
                   const QString& d, qint16 n) override {
        const QString reply = in->RWcomm(a, s, c, i, d, n);
        // The frame as the link itself wrote it to the port.
        log.push_back({a.isEmpty() ? -1 : a[0].unicode() - 0x20, c, i, d, in->OutputBuffer(), reply});
        return reply;
    }
    bool BSuccessFlag() const override { return in->BSuccessFlag(); }
    void setBSuccessFlag(bool v) override { in->setBSuccessFlag(v); }
    void RecvBufClear() override { in->RecvBufClear(); }
    void SendBufClear() override { in->SendBufClear(); }
    void PortClose() override { in->PortClose(); }
    void setOutputBuffer(const QString& v) override { in->setOutputBuffer(v); }
    QString OutputBuffer() const override { return in->OutputBuffer(); }
    QString InputBuffer() override { return in->InputBuffer(); }
    void setRecvError(const QString& v) override { in->setRecvError(v); }
    QString RecvError() const override { return in->RecvError(); }
    void setTimeOut(qint32 v) override { in->setTimeOut(v); }
    void setOutputBufSize(qint32 v) override { in->setOutputBufSize(v); }
    qint32 OutputBufSize() override { return in->OutputBufSize(); }
    void setInputBufSize(qint32 v) override { in->setInputBufSize(v); }
    qint32 InputBufSize() override { return in->InputBufSize(); }
    void setFlow(const QString& v) override { in->setFlow(v); }
    QString Flow() override { return in->Flow(); }
    void setStopBit(const QString& v) override { in->setStopBit(v); }
    QString StopBit() const override { return in->StopBit(); }
    void setPality(const QString& v) override { in->setPality(v); }
    QString Pality() const override { return in->Pality(); }
    void setDataBit(const QString& v) override { in->setDataBit(v); }
    QString DataBit() const override { return in->DataBit(); }
    void setBaudRate(const QString& v) override { in->setBaudRate(v); }
    QString BaudRate() const override { return in->BaudRate(); }
    void setRThreshold(qint32 v) override { in->setRThreshold(v); }
    qint32 RThreshold() override { return in->RThreshold(); }
    qint32 CommID() override { return in->CommID(); }
    bool PortOpen() override { return in->PortOpen(); }
    void setPort(const QString& v) override { in->setPort(v); }
    QString Port() const override { return in->Port(); }
    QString GetNData(const QString& s, qint16 n) const override { return in->GetNData(s, n); }
    qint16 isDataNum(const QString& s) const override { return in->isDataNum(s); }
    bool EventsCheck() const override { return in->EventsCheck(); }
    void setEventsCheck(bool v) override { in->setEventsCheck(v); }
    void setPortDevice(const QString& v) override { in->setPortDevice(v); }
    QString PortDevice() const override { return in->PortDevice(); }
    OpenFailureInfo LastOpenFailure() const override { return in->LastOpenFailure(); }

private:
    std::unique_ptr<ISTDComm> in;
};
