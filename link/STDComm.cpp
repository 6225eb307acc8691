#include "STDComm.h"

#include "protocol/Framing.h"
#include "LinkLog.h"
#include "MdComm.h"
#include "ReplyCollector.h"
#include "ReplyWait.h"
#include "SettingChecks.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <algorithm>
#include <limits>

namespace {

#ifdef TESMAR_OLDER_BUILD
constexpr char kLibraryTitle[] = "TesmarComm";
#else
constexpr char kLibraryTitle[] = "TesmarComm2";
#endif

// While yielding, wait this long at most between two passes so that the user interface
// stays responsive without the loop burning the processor.
constexpr int kYieldWaitMs = 5;
// Pending output gets this long to reach the line when the port closes.
constexpr int kCloseDrainMs = 1000;

// The port layer keeps sizes and thresholds as 16-bit values; a negative one has no meaning.
qint16 To16(qint32 value) {
    return qint16(std::clamp<qint32>(value, 0, std::numeric_limits<qint16>::max()));
}

void ShowCannotOpen() {
    // Only a widget application can show a box; a console host just gets False.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    // The host opens the port inside a polling step: a box that waited would run a nested
    // event loop there, so it is shown and left to the operator.
    auto* box = new QMessageBox(QMessageBox::NoIcon, QString::fromLatin1(kLibraryTitle),
                                QStringLiteral("Communications port cannot be oprnd.(通信ポートをオープン出来ません！)"),
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

}  // namespace

STDComm::STDComm() : m_Form(std::make_unique<FrmComm>()), MSComm1(*m_Form) {
    MSComm1.setInputLen(0);
    MSComm1.setRThreshold(4);
}

// The port is not closed here on purpose: the host calls PortClose before releasing.
STDComm::~STDComm() = default;

void STDComm::setOutputBufSize(qint32 value) {
    m_OutputBufSize = value;
    MSComm1.setOutBufferSize(To16(value));
}

qint32 STDComm::OutputBufSize() { return MSComm1.OutBufferSize(); }

void STDComm::setInputBufSize(qint32 value) {
    m_InputBufSize = value;
    MSComm1.setInBufferSize(To16(value));
}

qint32 STDComm::InputBufSize() { return MSComm1.InBufferSize(); }

void STDComm::setRThreshold(qint32 value) {
    m_RThreshold = value;
    MSComm1.setRThreshold(To16(value));
}

qint32 STDComm::RThreshold() { return MSComm1.RThreshold(); }

void STDComm::setFlow(const QString& value) {
    m_Flow = value;
    MSComm1.setHandshaking(SettingChecks::HandshakeCode(value));
}

QString STDComm::Flow() {
    m_Flow = SettingChecks::HandshakeName(MSComm1.Handshaking());
    return m_Flow;
}

void STDComm::setPort(const QString& value) {
    m_Port = value;
    MSComm1.setCommPort(SettingChecks::PortNumber(value));
}

QString STDComm::Port() const { return QStringLiteral("COM%1").arg(MSComm1.CommPort()); }

qint32 STDComm::CommID() { return qint32(MSComm1.CommID()); }

QString STDComm::DeviceForPort() const {
#ifdef TESMAR_OLDER_BUILD
    return PortDeviceFor(MSComm1.CommPort(), QString());
#else
    return PortDeviceFor(MSComm1.CommPort(), m_PortDevice);
#endif
}

bool STDComm::YieldsWhileWaiting() const {
#ifdef TESMAR_OLDER_BUILD
    return true;
#else
    return !m_EventsCheck;
#endif
}

void STDComm::OpenConfigured() {
    // Closing first goes the same bounded way as PortClose.
    PortClose();
    MSComm1.setCommPort(SettingChecks::PortNumber(m_Port));
    const QString speed = SettingChecks::Speed(m_BaudRate);
    const QString parity = SettingChecks::ParityLetter(m_Pality);
    const QString dataBits = SettingChecks::DataBit(m_DataBit);
    const QString stopBits = SettingChecks::StopBit(m_StopBit);
    const int handshake = SettingChecks::HandshakeCode(m_Flow);

    const QString settings = speed + u',' + parity + u',' + dataBits + u',' + stopBits;
    if (!MSComm1.setSettings(settings) || !MSComm1.setHandshaking(handshake))
        LinkError::Raise(LinkError::Connect);
    if (MSComm1.PortOpen()) return;
    const bool opened = MSComm1.Open(DeviceForPort());
    m_LastOpenFailure = MSComm1.LastFailure();
    if (!opened) LinkError::Raise(LinkError::Connect);
}

bool STDComm::PortOpen() {
    m_LastOpenFailure = OpenFailureInfo {};
    try {
        OpenConfigured();
        if (MSComm1.CTSHolding()) {
            ctsLowShown_ = false;
            return true;
        }
        // Once per loss of CTS: a host that retries every second must not raise a box for
        // every attempt.
        if (!ctsLowShown_) ShowCannotOpen();
        ctsLowShown_ = true;
        MSComm1.Close();
        return false;
    } catch (...) {
        LinkError::Raise(LinkError::Connect);
    }
}

void STDComm::PortClose() {
    if (!MSComm1.PortOpen()) return;
    // Never repeat the last frame (an unrequested duplicate command); let what is pending
    // reach the line for a bounded time, drop the rest, then close.
    if (!MSComm1.WaitForOutputDrained(kCloseDrainMs)) MSComm1.DiscardOutput();
    MSComm1.Close();
}

void STDComm::RecvBufClear() { MSComm1.DiscardInput(); }

void STDComm::SendBufClear() { MSComm1.DiscardOutput(); }

QString STDComm::InputBuffer() {
    MSComm1.setInputLen(0);
    return MSComm1.Input();
}

QString STDComm::RWcomm(const QString& StrAddr, const QString& StrSubAddr, const QString& StrCmdType,
                        const QString& StrItem, const QString& StrData, qint16 Inttry) {
    QString result;
    for (qint16 attempts = Inttry; attempts >= 1; --attempts) {
        result = Exchange(Framing::BuildFrame(StrAddr, StrSubAddr, StrCmdType, StrItem, StrData));
        if (!result.isEmpty() && result != QChar(Framing::ESC)) return result;
    }
    return result;
}

// Contract: sends one request frame and waits at most TimeOut ms for its reply. Returns
// the whole reply (ACK or NAK first) when its checksum and form are right; ESC alone for a
// reply that came but is corrupted; empty text for silence (time-out) or a port closed
// during the wait. Throws STDCommError (PortNotOpen) when the port is not open. The wait
// sleeps in the driver until the characters the reply can still need are in (ReplyWait.h).
QString STDComm::Exchange(const QString& frame) {
    if (!MSComm1.PortOpen()) LinkError::Raise(LinkError::PortNotOpen);
    const std::int64_t sentAt = MdComm::timeGetTime();
    const std::int64_t deadline = sentAt + m_TimeOut;
    m_OutputBuffer = frame;
    // The block as the operator counts them: address character 0x20 is block 1.
    const int block = frame.size() > 1 ? frame[1].unicode() - 0x20 + 1 : 0;
    qCDebug(lcLink).noquote() << "block" << block << "sent" << Framing::Readable(frame);
    // A write the port refuses leaves nothing to answer; the wait then ends in a time-out.
    MSComm1.Output(frame);

    const bool yields = YieldsWhileWaiting();
    const int expected = m_ReplyLengths.Expected(frame);
    ReplyCollector collector;
    for (;;) {
        if (yields) QCoreApplication::processEvents();
        // An event handler run above may have closed the port; nothing can arrive then.
        if (!MSComm1.PortOpen()) {
            qCWarning(lcLink) << "block" << block << "port closed while waiting for the reply";
            return {};
        }
        // Everything read so far came in before this check.
        if (FeedBuffered(collector)) break;
        const std::int64_t left = deadline - MdComm::timeGetTime();
        if (left <= 0) {
            // Characters the device holds below the count waited for arrived in time too.
            if (MSComm1.InBufferCount() > 0 && FeedBuffered(collector)) break;
            qCDebug(lcLink).noquote() << "block" << block << "no reply in" << m_TimeOut << "ms"
                                      << Framing::Readable(collector.Reply());
            return {};
        }
        MSComm1.WaitForInput(int(yields ? std::min<std::int64_t>(left, kYieldWaitMs) : left),
                             ReplyWait::CharsToWaitFor(collector, expected));
    }
    const QString reply = ReplyCollector::Checked(collector.Reply());
    const qint64 waited = MdComm::timeGetTime() - sentAt;
    if (reply == QChar(Framing::ESC))
        qCWarning(lcLink).noquote() << "block" << block << "corrupted reply after" << waited << "ms:"
                                    << Framing::Readable(collector.Reply());
    else
        qCDebug(lcLink).noquote() << "block" << block << "received after" << waited << "ms:" << Framing::Readable(reply);
    m_ReplyLengths.Learn(frame, reply);
    return reply;
}

bool STDComm::FeedBuffered(ReplyCollector& collector) {
    // Characters after the reply's ETX stay for the next look.
    return MSComm1.TakeBuffered([&collector](QChar ch) { return collector.Feed(ch); });
}

QString STDComm::GetNData(const QString& StrRecv, qint16 n) const {
    return Framing::GetNData(StrRecv, n);
}

qint16 STDComm::isDataNum(const QString& StrRecv) const {
    return qint16(Framing::isDataNum(StrRecv));
}
