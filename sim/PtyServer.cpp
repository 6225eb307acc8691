#include "PtyServer.h"

#include "protocol/Framing.h"
#include "Pacing.h"

#include <QFile>

#include <cerrno>
#include <cmath>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace rdxsim {

namespace {

constexpr qsizetype kMaxFrame = 512;  // longer "frames" are noise

void SetRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return;
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
}

void SetNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

PtyServer::PtyServer(LineService& line, ServerOptions options)
    : line_(line), options_(options) {
    if (pipe(wake_) == 0) {
        SetNonBlocking(wake_[0]);
        SetNonBlocking(wake_[1]);
    }
}

PtyServer::~PtyServer() {
    Stop();
    RemoveLink();
    if (ownsMaster_) CloseFd(master_);
    CloseFd(slave_);
    CloseFd(wake_[0]);
    CloseFd(wake_[1]);
}

bool PtyServer::Open(QString* error) {
    const auto fail = [&](const char* what) {
        if (error) *error = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(strerror(errno)));
        CloseFd(master_);
        return false;
    };
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) return fail("posix_openpt");
    if (grantpt(master_) != 0) return fail("grantpt");
    if (unlockpt(master_) != 0) return fail("unlockpt");
    const char* name = ptsname(master_);
    if (!name) return fail("ptsname");
    slavePath_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) return fail("open slave");
    SetRaw(slave_);
    SetNonBlocking(master_);
    ownsMaster_ = true;
    return true;
}

void PtyServer::AdoptMaster(int masterFd) {
    master_ = masterFd;
    ownsMaster_ = false;
    SetNonBlocking(master_);
    if (const char* name = ptsname(masterFd)) slavePath_ = QString::fromLocal8Bit(name);
}

bool PtyServer::PublishLink(const QString& path, QString* error) {
    const QByteArray p = QFile::encodeName(path);
    struct stat st {};
    if (lstat(p.constData(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            if (error) *error = QStringLiteral("%1 exists and is not a symlink").arg(path);
            return false;
        }
        ::unlink(p.constData());
    }
    if (symlink(QFile::encodeName(slavePath_).constData(), p.constData()) != 0) {
        if (error) *error = QStringLiteral("symlink %1: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    linkPath_ = path;
    return true;
}

void PtyServer::RemoveLink() {
    if (linkPath_.isEmpty()) return;
    // Only our own link: another simulator may have taken the name meanwhile.
    const QByteArray p = QFile::encodeName(linkPath_);
    char target[4096];
    const ssize_t n = readlink(p.constData(), target, sizeof target - 1);
    if (n > 0 && QByteArray(target, n) == QFile::encodeName(slavePath_)) ::unlink(p.constData());
    linkPath_.clear();
}

bool PtyServer::Start() {
    if (master_ < 0 || thread_.joinable()) return false;
    stopping_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void PtyServer::Stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    const char c = 'x';
    [[maybe_unused]] const ssize_t w = ::write(wake_[1], &c, 1);
    thread_.join();
    char buf[16];
    while (::read(wake_[0], buf, sizeof buf) > 0) {}
}

double PtyServer::NowMs() const {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool PtyServer::SleepUntilMs(double deadlineMs) {
    for (;;) {
        if (stopping_) return false;
        const double left = deadlineMs - NowMs();
        if (left <= 0) return true;
        timespec ts{time_t(left / 1000), long(std::fmod(left, 1000.0) * 1e6)};
        pollfd p{wake_[0], POLLIN, 0};
        if (ppoll(&p, 1, &ts, nullptr) > 0) return false;
    }
}

bool PtyServer::WriteAll(const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(master_, data, size_t(size));
        if (n > 0) {
            data += n;
            size -= n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        // The reader is not taking characters: wait a little, give up after a second.
        pollfd p[2] = {{master_, POLLOUT, 0}, {wake_[0], POLLIN, 0}};
        if (poll(p, 2, 1000) <= 0 || (p[1].revents & POLLIN)) return false;
    }
    return true;
}

void PtyServer::Serve(const QByteArray& frame) {
    const double start = NowMs();
    const Transmission t = line_.Handle(frame);
    if (t.Silent()) return;
    const std::vector<TimedWrite> plan =
        Deliver(PaceSchedule(t, options_.baud, options_.turnaroundMs), options_.delivery, options_.baud);
    QByteArray due;
    for (size_t i = 0; i < plan.size(); ++i) {
        due += plan[i].bytes;
        // Hand over everything due by the time of the next character in one write.
        const bool last = i + 1 == plan.size();
        if (!last && plan[i + 1].atMs <= NowMs() - start) continue;
        if (!SleepUntilMs(start + plan[i].atMs)) return;
        if (!WriteAll(due.constData(), due.size())) return;
        due.clear();
    }
}

void PtyServer::Run() {
    signal(SIGPIPE, SIG_IGN);
    char buf[512];
    while (!stopping_) {
        pollfd p[2] = {{master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(p, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (p[1].revents & POLLIN) break;
        if (p[0].revents & (POLLHUP | POLLERR) && !(p[0].revents & POLLIN)) {
            // No slave open (adopted master): wait for a client without spinning.
            pollfd w{wake_[0], POLLIN, 0};
            if (poll(&w, 1, 20) > 0) break;
            continue;
        }
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) {
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            pollfd w{wake_[0], POLLIN, 0};
            if (poll(&w, 1, 20) > 0) break;
            continue;
        }
        for (ssize_t i = 0; i < n && !stopping_; ++i) {
            const char c = buf[i];
            if (c == char(Framing::STX)) {
                line_.Discarded(pending_.size());
                pending_ = QByteArray(1, c);
            } else if (pending_.isEmpty()) {
                line_.Discarded(1);
            } else {
                pending_ += c;
                if (c == char(Framing::ETX)) {
                    const QByteArray frame = pending_;
                    pending_.clear();
                    Serve(frame);
                } else if (pending_.size() > kMaxFrame) {
                    line_.Discarded(pending_.size());
                    pending_.clear();
                }
            }
        }
    }
}

}  // namespace rdxsim
