#include "FrmComm.h"

#include "LinkLog.h"
#include "MdComm.h"

#include <QSocketNotifier>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>

#ifdef Q_OS_UNIX
#include <QFile>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
#endif

namespace {

// Every field is taken from the text; a text that lacks one is refused whole.
struct LineSettings {
    qint32 baud;
    QSerialPort::Parity parity;
    QSerialPort::DataBits dataBits;
    QSerialPort::StopBits stopBits;
};

std::optional<LineSettings> ParseSettings(const QString& text) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 4) return std::nullopt;
    LineSettings s {};
    bool ok = false;
    s.baud = parts[0].trimmed().toInt(&ok);
    if (!ok || s.baud <= 0) return std::nullopt;

    const QString parity = parts[1].trimmed().toUpper();
    if (parity == u"N") s.parity = QSerialPort::NoParity;
    else if (parity == u"E") s.parity = QSerialPort::EvenParity;
    else if (parity == u"O") s.parity = QSerialPort::OddParity;
    else if (parity == u"M") s.parity = QSerialPort::MarkParity;
    else if (parity == u"S") s.parity = QSerialPort::SpaceParity;
    else return std::nullopt;

    const int bits = parts[2].trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8) return std::nullopt;
    s.dataBits = QSerialPort::DataBits(bits);

    const QString stop = parts[3].trimmed();
    if (stop == u"1") s.stopBits = QSerialPort::OneStop;
    else if (stop == u"1.5") s.stopBits = QSerialPort::OneAndHalfStop;
    else if (stop == u"2") s.stopBits = QSerialPort::TwoStop;
    else return std::nullopt;
    return s;
}

// One read ends after 64 characters, whatever the minimum asks for.
constexpr int kMostReadMinimum = 64;
// What one read of the device takes at most; a reply is shorter, so one read takes it.
constexpr qsizetype kReadChunk = 512;

void SleepMs(qint64 msecs) {
    if (msecs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(msecs));
}

// "9600,E,7,1" as the operator reads it: "9600bps 7E1".
QString SettingsForOperator(const QString& text) {
    const QStringList p = text.split(u',');
    if (p.size() != 4) return text;
    return QStringLiteral("%1bps %2%3%4").arg(p[0].trimmed(), p[2].trimmed(), p[1].trimmed().toUpper(), p[3].trimmed());
}

// What QSerialPort's error says once our own handle has shown the device can be opened.
OpenFailure FailureOfPort(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError: return OpenFailure::NotFound;
    // Access is proven: a lock file held by another program, or EBUSY.
    case QSerialPort::PermissionError: return OpenFailure::Busy;
    case QSerialPort::UnsupportedOperationError: return OpenFailure::SettingsRefused;
    default: return OpenFailure::Other;
    }
}

OpenFailure FailureOfErrno(int error) {
    switch (error) {
    // A node without its device (a serial port without hardware, an unplugged adapter's
    // stale name) is as good as missing to the operator.
    case ENOENT: case ENOTDIR: case ENODEV: case ENXIO: case EIO: return OpenFailure::NotFound;
    case EACCES: case EPERM: case EROFS: return OpenFailure::NoPermission;
    case EBUSY: return OpenFailure::Busy;
    default: return OpenFailure::Other;
    }
}

#ifdef Q_OS_UNIX
// The running program that holds the device by its lock file, named as QSerialPort names
// the file (the path without "/dev/", slashes as '_': LCK..ttyUSB0, LCK..pts_3). The
// first line is the holder's PID (UUCP style, as other serial programs write it too);
// QSerialPort's lock adds the program's name on the second. Empty when none holds it.
QString LockHolder(const QString& device) {
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    name.replace(u'/', u'_');
    for (const char* dir : {"/var/lock", "/run/lock"}) {
        QFile lock(QStringLiteral("%1/LCK..%2").arg(QLatin1String(dir), name));
        if (!lock.open(QIODevice::ReadOnly)) continue;
        const QList<QByteArray> lines = lock.read(4096).split('\n');
        bool ok = false;
        const long pid = lines.value(0).trimmed().toLong(&ok);
        if (!ok || pid <= 0 || (::kill(pid_t(pid), 0) == -1 && errno != EPERM)) continue;
        QByteArray holder = lines.value(1).trimmed();
        if (holder.isEmpty()) {
            QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
            if (comm.open(QIODevice::ReadOnly)) holder = comm.readAll().trimmed();
        }
        return QString::fromLocal8Bit(holder);
    }
    return QString();
}

// A handle of our own on the device, held across QSerialPort's attempts to open it.
// QSerialPort sets the terminal's exclusive flag (TIOCEXCL) as soon as it has the device
// and, when the line settings are then refused, closes its handle without clearing it.
// On a pseudo-terminal the flag stays while the line side holds it open, and from then
// on every open by an ordinary user fails with EBUSY (root is exempt). Through this
// handle the flag goes back to what we found; its errno also says why a device cannot
// be opened at all.
class DeviceHandle {
public:
    explicit DeviceHandle(const QString& device)
        : fd_(::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)),
          error_(fd_ == -1 ? errno : 0) {
#ifdef TIOCGEXCL
        int set = 0;
        if (fd_ != -1 && ::ioctl(fd_, TIOCGEXCL, &set) == 0) foundExclusive_ = set != 0;
#endif
    }
    ~DeviceHandle() {
        if (fd_ != -1) ::close(fd_);
    }
    DeviceHandle(const DeviceHandle&) = delete;
    DeviceHandle& operator=(const DeviceHandle&) = delete;

    int Error() const { return error_; }
    // Clears the flag, unless another program had set it before us.
    void DropExclusive() const {
        if (fd_ != -1 && !foundExclusive_) ::ioctl(fd_, TIOCNXCL);
    }

private:
    int fd_;
    int error_;
    bool foundExclusive_ = false;
};
#else
QString LockHolder(const QString&) { return QString(); }

// Elsewhere the port layer leaves no flag behind, and its own error says why it failed.
class DeviceHandle {
public:
    explicit DeviceHandle(const QString&) {}
    int Error() const { return 0; }
    void DropExclusive() const {}
};
#endif

}  // namespace

bool IsPseudoTerminalMajor(unsigned int major) {
    return (major >= 136 && major <= 143) || major == 3;
}

bool IsPseudoTerminal(const QString& device) {
#ifdef Q_OS_LINUX
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) == 0 && S_ISCHR(st.st_mode))
        return IsPseudoTerminalMajor(major(st.st_rdev));
#else
    Q_UNUSED(device);
#endif
    return false;
}

QString PortDeviceFor(int commPort, const QString& portDevice) {
    const QString fromEnv =
        qEnvironmentVariable(QStringLiteral("TESMARCOMM_COM%1").arg(commPort).toLatin1().constData());
    if (!fromEnv.isEmpty()) return fromEnv;
    if (!portDevice.isEmpty()) return portDevice;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(commPort);
#else
    return QStringLiteral("/dev/ttyS%1").arg(commPort - 1);
#endif
}

#ifdef Q_OS_UNIX
struct FrmComm::TermiosCopy {
    termios tio {};
    bool valid = false;
};
#else
struct FrmComm::TermiosCopy {};
#endif

FrmComm::FrmComm() : termios_(std::make_unique<TermiosCopy>()) { ApplySettings(); }

FrmComm::~FrmComm() = default;

void FrmComm::ForgetTermios() {
#ifdef Q_OS_UNIX
    termios_->valid = false;
#endif
}

bool FrmComm::setSettings(const QString& text) {
    if (!ParseSettings(text)) return false;
    settings_ = text;
    return ApplySettings();
}

bool FrmComm::ApplySettings() {
    const std::optional<LineSettings> s = ParseSettings(settings_);
    if (!s) return false;
    ForgetTermios();
    // Every setter applies at once on an open port and is kept for the next open.
    bool ok = port_.setBaudRate(s->baud);
    ok = port_.setParity(s->parity) && ok;
    ok = port_.setDataBits(s->dataBits) && ok;
    ok = port_.setStopBits(s->stopBits) && ok;
    return ClearStickParity() && ok;
}

bool FrmComm::ClearStickParity() {
#if defined(Q_OS_UNIX) && defined(CMSPAR)
    // QSerialPort sets the stick flag for mark and space parity but never clears it, so
    // after mark or space (ours, or what the program before us left on the device) a
    // request for even or odd parity would keep sending mark or space.
    const QSerialPort::Parity parity = port_.parity();
    if (port_.isOpen() && parity != QSerialPort::MarkParity && parity != QSerialPort::SpaceParity) {
        termios tio {};
        if (::tcgetattr(port_.handle(), &tio) == -1) return false;
        if (tio.c_cflag & CMSPAR) {
            tio.c_cflag &= ~tcflag_t(CMSPAR);
            if (::tcsetattr(port_.handle(), TCSANOW, &tio) == -1) return false;
        }
    }
#endif
    return true;
}

bool FrmComm::setHandshaking(int code) {
    if (code < 0 || code > 3) return false;
    handshaking_ = code;
    return ApplyHandshaking();
}

bool FrmComm::ApplyHandshaking() {
    ForgetTermios();
    static constexpr std::array<QSerialPort::FlowControl, 4> kFlow = {
        QSerialPort::NoFlowControl, QSerialPort::SoftwareControl,
        QSerialPort::HardwareControl, QSerialPort::HardwareControl};
    if (!port_.setFlowControl(kFlow[handshaking_])) return false;
#ifdef Q_OS_UNIX
    // QSerialPort offers one flow control at a time; "both" adds XON/XOFF to RTS/CTS.
    if (handshaking_ == 3 && port_.isOpen()) {
        termios tio {};
        if (::tcgetattr(port_.handle(), &tio) == -1) return false;
        tio.c_iflag |= IXON | IXOFF;
        if (::tcsetattr(port_.handle(), TCSANOW, &tio) == -1) return false;
    }
#endif
    return true;
}

bool FrmComm::Open(const QString& device) {
    if (port_.isOpen()) return true;
    failure_ = OpenFailureInfo {};
    failure_.device = device;
    const DeviceHandle own(device);
    if (own.Error() != 0) return Fail(FailureOfErrno(own.Error()), qt_error_string(own.Error()));
    const bool pty = IsPseudoTerminal(device);
    port_.setPortName(device);
    bool opened = port_.open(QIODevice::ReadWrite);
    if (!opened && pty && port_.error() == QSerialPort::UnsupportedOperationError) {
        // A pseudo-terminal carries 8 bits without parity whatever it is asked. The C
        // library reports a request for parity or 7 bits as invalid when nothing else
        // changes, which is the case when the program before us died with the port open
        // (a crash) and left exactly our other settings behind. Ask for what it carries.
        own.DropExclusive();
        port_.setDataBits(QSerialPort::Data8);
        port_.setParity(QSerialPort::NoParity);
        opened = port_.open(QIODevice::ReadWrite);
    }
    if (opened && !(ClearStickParity() && ApplyHandshaking())) {
        port_.close();
        own.DropExclusive();
        return Fail(OpenFailure::SettingsRefused, QString());
    }
    // A real port drops the flag at its last close; a pseudo-terminal's would outlive a
    // crash of ours and lock every later start out. The lock file still keeps a second
    // program away while this one runs.
    if (!opened || pty) own.DropExclusive();
    if (!opened) return Fail(FailureOfPort(port_.error()), port_.errorString());
    // Whatever arrived before this open answers requests of an earlier owner of the port.
    port_.clear(QSerialPort::Input);
    received_.clear();
    received_.reserve(2 * kReadChunk);
    StopQtReader();
    ForgetTermios();
    readMinimum_ = 1;
    minimumRefused_ = false;
    return true;
}

bool FrmComm::Fail(OpenFailure kind, const QString& systemText) {
    failure_.kind = kind;
    if (kind == OpenFailure::Busy) failure_.holder = LockHolder(failure_.device);
    if (kind == OpenFailure::SettingsRefused) failure_.detail = SettingsForOperator(settings_);
    if (kind == OpenFailure::Other) failure_.detail = systemText;
    return false;
}

void FrmComm::Close() {
    if (port_.isOpen()) port_.close();
    received_.clear();
    ForgetTermios();
    readMinimum_ = 1;
}

bool FrmComm::CTSHolding() const {
    if (!port_.isOpen()) return false;
#ifdef Q_OS_UNIX
    int lines = 0;
    // Pseudo-terminals and the like have no modem lines to report.
    if (::ioctl(port_.handle(), TIOCMGET, &lines) == -1) return true;
    return (lines & TIOCM_CTS) != 0;
#else
    return port_.pinoutSignals().testFlag(QSerialPort::ClearToSendSignal);
#endif
}

qint64 FrmComm::InBufferCount() {
    if (!port_.isOpen()) return 0;
    TakeQtBuffered();
    if (received_.isEmpty()) ReadWithoutWaiting();
    return received_.size();
}

void FrmComm::ReadWithoutWaiting() {
#ifdef Q_OS_UNIX
    // A read that does not wait takes every character the device holds, whatever the
    // minimum says; only a wait heeds it.
    ReadDevice();
#else
    SetReadMinimum(1);
    if (!port_.waitForReadyRead(0)) CloseIfLost();
    TakeQtBuffered();
#endif
}

void FrmComm::TakeQtBuffered() {
    if (!port_.isOpen() || port_.bytesAvailable() == 0) return;
    received_.append(port_.readAll());
    // Reading Qt's buffer starts its reader again.
    StopQtReader();
}

void FrmComm::StopQtReader() {
#ifdef Q_OS_UNIX
    // Qt's reader would take each reply in an event-loop pass into buffers of its own; the
    // link reads the device itself, in its waits. Whatever Qt's reader still takes (should
    // it start again) is taken over from its buffer in order.
    for (QSocketNotifier* notifier : port_.findChildren<QSocketNotifier*>())
        if (notifier->type() == QSocketNotifier::Read) notifier->setEnabled(false);
#endif
}

bool FrmComm::ReadDevice() {
#ifdef Q_OS_UNIX
    bool any = false;
    for (;;) {
        const qsizetype before = received_.size();
        received_.resize(before + kReadChunk);
        const ssize_t n = ::read(port_.handle(), received_.data() + before, size_t(kReadChunk));
        const int error = n < 0 ? errno : 0;
        received_.resize(before + std::max<qsizetype>(n, 0));
        if (n == kReadChunk) {
            any = true;
            continue;
        }
        if (n > 0) return true;
        // Nothing more (0 is a hang-up, which only a new open would end); a wait that
        // comes back with nothing does not spin (WaitForInput).
        if (n == 0 || error == EAGAIN || error == EWOULDBLOCK || error == EINTR) return any;
        if (error == EIO || error == ENXIO || error == ENODEV || error == EBADF) {
            // An unplugged adapter or a vanished pseudo-terminal: the device will not come
            // back under this handle, so close it and let the owner open the port again.
            qCWarning(lcLink).noquote() << "the device of" << port_.portName()
                                        << "has gone:" << qt_error_string(error) << "- the port is closed";
            Close();
            return any;
        }
        qCWarning(lcLink).noquote() << "reading" << port_.portName() << "failed:" << qt_error_string(error);
        return any;
    }
#else
    return false;
#endif
}

bool FrmComm::CloseIfLost() {
    // An unplugged adapter or a vanished pseudo-terminal: the device will not come back
    // under this handle, so close it and let the owner open the port again.
    if (port_.error() != QSerialPort::ResourceError) return false;
    port_.clearError();
    Close();
    return true;
}

void FrmComm::DiscardInput() {
    received_.resize(0);
    if (port_.isOpen()) port_.clear(QSerialPort::Input);
}

qint64 FrmComm::OutBufferCount() const {
    if (!port_.isOpen()) return 0;
    qint64 pending = port_.bytesToWrite();
#ifdef Q_OS_UNIX
    int queued = 0;
    if (::ioctl(port_.handle(), TIOCOUTQ, &queued) == 0) pending += queued;
#endif
    return pending;
}

void FrmComm::DiscardOutput() {
    if (port_.isOpen()) port_.clear(QSerialPort::Output);
}

bool FrmComm::Output(const QString& text) {
    if (!port_.isOpen()) return false;
    const QByteArray bytes = text.toLatin1();
#ifdef Q_OS_UNIX
    // Straight to the driver, whose queue takes a frame at once: QSerialPort's own write
    // arms a write notifier that costs the event loop two more wake-ups per frame.
    qint64 sent = 0;
    if (port_.bytesToWrite() == 0) {
        const ssize_t n = ::write(port_.handle(), bytes.constData(), size_t(bytes.size()));
        if (n > 0) sent = n;
    }
    if (sent == bytes.size()) return true;
    // A full queue or an error: Qt's write takes the rest and meets the error as before.
    const QByteArray rest = bytes.mid(sent);
#else
    const QByteArray& rest = bytes;
#endif
    if (port_.write(rest) != rest.size()) {
        CloseIfLost();
        return false;
    }
    port_.flush();
    return true;
}

QString FrmComm::Input() {
    const qint64 waiting = InBufferCount();
    if (waiting == 0) return {};
    const qint64 count = inputLen_ == 0 ? waiting : std::min<qint64>(inputLen_, waiting);
    const QString text = QString::fromLatin1(received_.constData(), count);
    received_.remove(0, count);
    return text;
}

bool FrmComm::WaitForInput(int msecs, int atLeast) {
    if (!port_.isOpen()) return false;
    SetReadMinimum(atLeast);
    TakeQtBuffered();
    if (!received_.isEmpty()) return true;
    const std::int64_t start = MdComm::timeGetTime();
    if (WaitOnDevice(std::max(msecs, 0))) return true;
    if (!port_.isOpen()) return false;
    // A port in an error state returns at once; never let the caller spin on it.
    const std::int64_t left = msecs - (MdComm::timeGetTime() - start);
    SleepMs(std::min<std::int64_t>(left, 10));
    return false;
}

bool FrmComm::WaitOnDevice(int msecs) {
#ifdef Q_OS_UNIX
    if (port_.bytesToWrite() == 0) {
        pollfd device {port_.handle(), POLLIN, 0};
        // A signal (the gateway's SIGTERM, say) ends the wait early: wait out the rest.
        const std::int64_t deadline = MdComm::timeGetTime() + msecs;
        int ready = 0;
        while ((ready = ::poll(&device, 1, msecs)) < 0 && errno == EINTR)
            msecs = int(std::max<std::int64_t>(deadline - MdComm::timeGetTime(), 0));
        if (ready <= 0) return false;
        return ReadDevice();
    }
#endif
    // Qt's own wait, which also writes on the part of a frame the driver would not take.
    const bool got = port_.waitForReadyRead(msecs);
    if (!got) CloseIfLost();
    TakeQtBuffered();
    return got;
}

void FrmComm::SetReadMinimum(int count) {
    count = std::clamp(count, 1, kMostReadMinimum);
    if (!port_.isOpen() || minimumRefused_ || count == readMinimum_) return;
#ifdef Q_OS_UNIX
    // With VTIME 0 the driver's poll answers "readable" only once VMIN characters are in;
    // each set is one ioctl, made while the rest of the reply is still on its way.
    const int fd = port_.handle();
    // The settings are read once per open or change of them, not for every minimum.
    termios& tio = termios_->tio;
    int error = 0;
    if (!termios_->valid && ::tcgetattr(fd, &tio) != 0) {
        error = errno;
    } else {
        if (readMinimum_ == 1) {
            ownMin_ = tio.c_cc[VMIN];
            ownTime_ = tio.c_cc[VTIME];
        }
        tio.c_cc[VMIN] = count == 1 ? ownMin_ : cc_t(count);
        tio.c_cc[VTIME] = count == 1 ? ownTime_ : 0;
        if (::tcsetattr(fd, TCSANOW, &tio) != 0) error = errno;
    }
    termios_->valid = error == 0;
    bool kept = error == 0;
    // A driver may take the request and keep something else: look each time a minimum
    // follows the port's own.
    if (kept && readMinimum_ == 1 && count > 1) {
        termios back {};
        kept = ::tcgetattr(fd, &back) == 0 && back.c_cc[VMIN] == count && back.c_cc[VTIME] == 0;
    }
    if (!kept) {
        minimumRefused_ = true;
        qCWarning(lcLink).noquote() << "the driver of" << port_.portName() << "keeps no read minimum (VMIN):"
                                    << (error != 0 ? qt_error_string(error) : QStringLiteral("not kept"))
                                    << "- the link reads each character as it comes";
        // Whatever the driver holds now, a wait must wake at the first character again.
        termios_->valid = false;
        if (::tcgetattr(fd, &tio) == 0) {
            tio.c_cc[VMIN] = ownMin_;
            tio.c_cc[VTIME] = ownTime_;
            ::tcsetattr(fd, TCSANOW, &tio);
        }
        readMinimum_ = 1;
        return;
    }
    readMinimum_ = count;
#else
    // Elsewhere every wait wakes at the first character.
    minimumRefused_ = true;
#endif
}

bool FrmComm::WaitForOutputDrained(int msecs) {
    const std::int64_t deadline = MdComm::timeGetTime() + msecs;
    while (OutBufferCount() > 0) {
        const std::int64_t left = deadline - MdComm::timeGetTime();
        if (left <= 0) return false;
        // With nothing left in Qt's buffer this answers false at once.
        if (port_.waitForBytesWritten(int(left))) continue;
        // The driver's queue drains on its own; look again shortly.
        SleepMs(std::min<std::int64_t>(left, 5));
    }
    return true;
}
