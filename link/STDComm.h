// The link object: owns one serial port, keeps its settings as text properties,
// validates them on opening, and runs request/reply exchanges over the port.
#pragma once

#include "FrmComm.h"
#include "ISTDComm.h"
#include "ReplyWait.h"

#include <memory>

class STDComm final : public ISTDComm {
public:
    STDComm();
    ~STDComm() override;

    bool BSuccessFlag() const override { return m_BSuccessFlag; }
    void setBSuccessFlag(bool value) override { m_BSuccessFlag = value; }
    QString RWcomm(const QString& StrAddr, const QString& StrSubAddr, const QString& StrCmdType,
                   const QString& StrItem, const QString& StrData, qint16 Inttry) override;
    void RecvBufClear() override;
    void SendBufClear() override;
    void PortClose() override;
    void setOutputBuffer(const QString& value) override { m_OutputBuffer = value; }
    QString OutputBuffer() const override { return m_OutputBuffer; }
    QString InputBuffer() override;
    void setRecvError(const QString& value) override { m_RecvError = value; }
    QString RecvError() const override { return m_RecvError; }
    void setTimeOut(qint32 value) override { m_TimeOut = value; }
    void setOutputBufSize(qint32 value) override;
    qint32 OutputBufSize() override;
    void setInputBufSize(qint32 value) override;
    qint32 InputBufSize() override;
    void setFlow(const QString& value) override;
    QString Flow() override;
    void setStopBit(const QString& value) override { m_StopBit = value; }
    QString StopBit() const override { return m_StopBit; }
    void setPality(const QString& value) override { m_Pality = value; }
    QString Pality() const override { return m_Pality; }
    void setDataBit(const QString& value) override { m_DataBit = value; }
    QString DataBit() const override { return m_DataBit; }
    void setBaudRate(const QString& value) override { m_BaudRate = value; }
    QString BaudRate() const override { return m_BaudRate; }
    void setRThreshold(qint32 value) override;
    qint32 RThreshold() override;
    qint32 CommID() override;
    bool PortOpen() override;
    void setPort(const QString& value) override;
    QString Port() const override;
    QString GetNData(const QString& StrRecv, qint16 n) const override;
    qint16 isDataNum(const QString& StrRecv) const override;
#ifndef TESMAR_OLDER_BUILD
    bool EventsCheck() const override { return m_EventsCheck; }
    void setEventsCheck(bool value) override { m_EventsCheck = value; }
    void setPortDevice(const QString& value) override { m_PortDevice = value; }
    QString PortDevice() const override { return m_PortDevice; }
    OpenFailureInfo LastOpenFailure() const override { return m_LastOpenFailure; }
#endif

private:
    // One send and receive; the reply, ESC or empty text (time-out).
    QString Exchange(const QString& frame);
    // Feeds what the port layer has already read; true when that completed the reply.
    bool FeedBuffered(ReplyCollector& collector);
    bool YieldsWhileWaiting() const;
    QString DeviceForPort() const;
    void OpenConfigured();

    std::unique_ptr<FrmComm> m_Form;
    FrmComm& MSComm1;

    bool m_BSuccessFlag = false;
    QString m_OutputBuffer;
    QString m_RecvError;
    qint32 m_TimeOut = 100;
    qint32 m_OutputBufSize = 512;
    qint32 m_InputBufSize = 1024;
    qint32 m_RThreshold = 4;
    QString m_Flow = QStringLiteral("NONE");
    QString m_StopBit = QStringLiteral("1");
    QString m_Pality = QStringLiteral("EVEN");
    QString m_DataBit = QStringLiteral("7");
    QString m_BaudRate = QStringLiteral("9600");
    QString m_Port = QStringLiteral("COM1");
    // The CTS-low box was shown and CTS has not been seen asserted since.
    bool ctsLowShown_ = false;
    OpenFailureInfo m_LastOpenFailure;
    ReplyWait::ReplyLengths m_ReplyLengths;
#ifndef TESMAR_OLDER_BUILD
    bool m_EventsCheck = false;
    QString m_PortDevice;
#endif
};
