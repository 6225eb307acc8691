// The link object's interface, in the member order the monitor binds to.
// Frames travel as QString of single-byte characters (code points 0..255).
#pragma once

#include "OpenFailure.h"

#include <QString>
#include <QtGlobal>
#include <stdexcept>
#include <string>

#if defined(TESMARCOMM_LIBRARY)
#define TESMARCOMM_EXPORT Q_DECL_EXPORT
#else
#define TESMARCOMM_EXPORT Q_DECL_IMPORT
#endif

namespace TesmarIds {
#ifdef TESMAR_OLDER_BUILD
inline constexpr char TypeLibrary[] = "{D633980C-4A3C-11D3-954B-0000B43794C6}";
inline constexpr char Interface[] = "{D633980F-4A3C-11D3-954B-0000B43794C6}";
inline constexpr char Class[] = "{D6339810-4A3C-11D3-954B-0000B43794C6}";
inline constexpr char EventInterface[] = "{D6339811-4A3C-11D3-954B-0000B43794C6}";
#else
inline constexpr char TypeLibrary[] = "{5EA7857C-674B-11D4-9668-0000B43794C6}";
inline constexpr char Interface[] = "{5EA7857F-674B-11D4-9668-0000B43794C6}";
inline constexpr char Class[] = "{5EA78580-674B-11D4-9668-0000B43794C6}";
inline constexpr char EventInterface[] = "{5EA78581-674B-11D4-9668-0000B43794C6}";
#endif
}  // namespace TesmarIds

// A numbered error of the link's property checks (30001..30006, 30019).
class STDCommError : public std::runtime_error {
public:
    STDCommError(int number, const QString& text)
        : std::runtime_error(text.toStdString()), number_(number), text_(text) {}
    int number() const { return number_; }
    QString text() const { return text_; }

private:
    int number_;
    QString text_;
};

class ISTDComm {
public:
    virtual ~ISTDComm() = default;

    virtual bool BSuccessFlag() const = 0;
    virtual void setBSuccessFlag(bool value) = 0;
    virtual QString RWcomm(const QString& StrAddr, const QString& StrSubAddr,
                           const QString& StrCmdType, const QString& StrItem,
                           const QString& StrData, qint16 Inttry) = 0;
    virtual void RecvBufClear() = 0;
    virtual void SendBufClear() = 0;
    virtual void PortClose() = 0;
    virtual void setOutputBuffer(const QString& value) = 0;
    virtual QString OutputBuffer() const = 0;
    virtual QString InputBuffer() = 0;
    virtual void setRecvError(const QString& value) = 0;
    virtual QString RecvError() const = 0;
    virtual void setTimeOut(qint32 value) = 0;
    virtual void setOutputBufSize(qint32 value) = 0;
    virtual qint32 OutputBufSize() = 0;
    virtual void setInputBufSize(qint32 value) = 0;
    virtual qint32 InputBufSize() = 0;
    virtual void setFlow(const QString& value) = 0;
    virtual QString Flow() = 0;
    virtual void setStopBit(const QString& value) = 0;
    virtual QString StopBit() const = 0;
    virtual void setPality(const QString& value) = 0;
    virtual QString Pality() const = 0;
    virtual void setDataBit(const QString& value) = 0;
    virtual QString DataBit() const = 0;
    virtual void setBaudRate(const QString& value) = 0;
    virtual QString BaudRate() const = 0;
    virtual void setRThreshold(qint32 value) = 0;
    virtual qint32 RThreshold() = 0;
    virtual qint32 CommID() = 0;
    virtual bool PortOpen() = 0;
    virtual void setPort(const QString& value) = 0;
    virtual QString Port() const = 0;
    virtual QString GetNData(const QString& StrRecv, qint16 n) const = 0;
    virtual qint16 isDataNum(const QString& StrRecv) const = 0;
#ifndef TESMAR_OLDER_BUILD
    virtual bool EventsCheck() const = 0;
    virtual void setEventsCheck(bool value) = 0;
    // Added for Linux: the device COMn maps to when not set by the environment.
    virtual void setPortDevice(const QString& value) = 0;
    virtual QString PortDevice() const = 0;
    // Added for Linux: why the last PortOpen failed, with the device it tried; kind None
    // after one that opened.
    virtual OpenFailureInfo LastOpenFailure() const = 0;
#endif
};

// Creates a link object from its class identity text; nullptr for any other identity.
// The monitor creates its link object only through this factory.
extern "C" TESMARCOMM_EXPORT ISTDComm* TesmarCreateObject(const char* classIdentity);
