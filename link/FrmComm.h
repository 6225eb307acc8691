// The link's serial-port layer: a small wrapper around QSerialPort offering what the
// link needs of a serial communications control (port number, line settings text,
// handshake code, open/close, CTS, buffer sizes and counts, read and write). QSerialPort
// opens and sets up the port; on Unix the layer writes, waits and reads on its handle
// itself, which spares a reply Qt's buffers and event-loop signals.
#pragma once

#include "OpenFailure.h"

#include <QByteArray>
#include <QChar>
#include <QSerialPort>
#include <QString>
#include <QtGlobal>
#include <memory>

// The device a port number maps to: the environment variable TESMARCOMM_COM<n> when set,
// else portDevice when not empty, else the n-th standard serial device.
QString PortDeviceFor(int commPort, const QString& portDevice);

// The slave side of a pseudo-terminal: Unix98 majors 136..143, or the legacy BSD major 3.
bool IsPseudoTerminalMajor(unsigned int major);
bool IsPseudoTerminal(const QString& device);

class FrmComm {
public:
    FrmComm();
    ~FrmComm();
    FrmComm(const FrmComm&) = delete;
    FrmComm& operator=(const FrmComm&) = delete;

    void setCommPort(int number) { commPort_ = number; }
    int CommPort() const { return commPort_; }

    // "speed,parity letter,data bits,stop bits", e.g. "9600,E,7,1"; false when malformed
    // or when an open port refuses it.
    bool setSettings(const QString& text);
    QString Settings() const { return settings_; }

    // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both; false for any other code.
    bool setHandshaking(int code);
    int Handshaking() const { return handshaking_; }

    // Opens the given device with the current settings; false on failure, with the
    // reason in LastFailure().
    bool Open(const QString& device);
    // Why the last Open failed; kind None after one that opened.
    const OpenFailureInfo& LastFailure() const { return failure_; }
    void Close();
    bool PortOpen() const { return port_.isOpen(); }

    // CTS line state; a driver that cannot report modem lines counts as asserted.
    bool CTSHolding() const;

    void setInBufferSize(qint16 size) { inBufferSize_ = size; }
    qint16 InBufferSize() const { return inBufferSize_; }
    void setOutBufferSize(qint16 size) { outBufferSize_ = size; }
    qint16 OutBufferSize() const { return outBufferSize_; }
    void setRThreshold(qint16 value) { rThreshold_ = value; }
    qint16 RThreshold() const { return rThreshold_; }

    // Characters one Input() returns; 0 = everything waiting.
    void setInputLen(int count) { inputLen_ = count < 0 ? 0 : count; }
    int InputLen() const { return inputLen_; }

    // Characters waiting to be read, and discarding them.
    qint64 InBufferCount();
    // Hands the characters already taken from the device to take(QChar), oldest first,
    // until it answers true; those handed on are gone. True when take answered true.
    template <typename Take>
    bool TakeBuffered(Take take);
    void DiscardInput();
    // Characters not yet on the line (ours and the driver's), and discarding them.
    qint64 OutBufferCount() const;
    void DiscardOutput();

    // Writes single-byte characters; false when the port is not open or refuses them.
    bool Output(const QString& text);
    QString Input();

    // Blocks in the operating system until at least atLeast characters (at most 64) are
    // waiting in the device or msecs pass, and takes them; true when any came. A driver
    // that refuses to count them wakes at the first character, as a wait for one does.
    bool WaitForInput(int msecs, int atLeast = 1);
    // Waits at most msecs for pending output to reach the line; true when drained.
    bool WaitForOutputDrained(int msecs);

    // Operating-system handle of the open port, -1 when closed.
    qint64 CommID() const { return port_.isOpen() ? qint64(port_.handle()) : -1; }

    // Closes the port when its device has gone away; true when it did.
    bool CloseIfLost();

private:
    // Notes the reason for the failed open; always false.
    bool Fail(OpenFailure kind, const QString& systemText);
    bool ApplySettings();
    bool ClearStickParity();
    bool ApplyHandshaking();
    // The driver wakes a waiting reader only once count characters are in (VMIN); 1 puts
    // back what the port had, so that asking what is waiting sees every character.
    void SetReadMinimum(int count);
    // Waits at most msecs for the device to hold input and takes it; true when any came.
    bool WaitOnDevice(int msecs);
    // Takes what the device holds without waiting.
    void ReadWithoutWaiting();
    // Appends what the device holds to received_; true when anything came. A device that
    // has gone closes the port.
    bool ReadDevice();
    // Moves what Qt's own reader took (in an event-loop pass, or in its waits) behind
    // what the link took before it.
    void TakeQtBuffered();
    // Qt's reader would take characters in every event-loop pass; the link reads itself.
    void StopQtReader();
    // Every change of the line settings outdates the copy the read minimum keeps.
    void ForgetTermios();

    QSerialPort port_;
    // Characters taken from the device and not yet handed on, oldest first.
    QByteArray received_;
    int commPort_ = 1;
    QString settings_ = QStringLiteral("9600,N,8,1");
    int handshaking_ = 0;
    qint16 inBufferSize_ = 1024;
    qint16 outBufferSize_ = 512;
    qint16 rThreshold_ = 0;
    int inputLen_ = 0;
    OpenFailureInfo failure_;
    // The minimum the device has now (1: the port's own); whether this open's driver
    // refused one, and what the port had before the first.
    int readMinimum_ = 1;
    bool minimumRefused_ = false;
    unsigned char ownMin_ = 0;
    unsigned char ownTime_ = 0;
    // The device's settings as the read minimum last read or set them.
    struct TermiosCopy;
    std::unique_ptr<TermiosCopy> termios_;
};

template <typename Take>
bool FrmComm::TakeBuffered(Take take) {
    TakeQtBuffered();
    qsizetype handed = 0;
    bool done = false;
    while (!done && handed < received_.size()) done = take(QChar::fromLatin1(received_[handed++]));
    // Keeps the capacity: the next reply is read into the same storage.
    received_.remove(0, handed);
    return done;
}
