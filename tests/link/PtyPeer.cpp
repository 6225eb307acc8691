#include "PtyPeer.h"

#include "protocol/Framing.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PtyPeer::PtyPeer() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    slavePath_ = QString::fromLocal8Bit(::ptsname(master_));
    termios tio {};
    ::tcgetattr(master_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(master_, TCSANOW, &tio);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPeer::~PtyPeer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (master_ >= 0) ::close(master_);
}

void PtyPeer::Answer(std::vector<Reply> replies) {
    replies_ = std::move(replies);
    thread_ = std::thread([this] { Run(); });
}

void PtyPeer::Send(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) done += n;
        else if (errno != EAGAIN && errno != EINTR) return;
        else std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void PtyPeer::Run() {
    int answered = 0;
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        const int ready = ::poll(&p, 1, 10);
        if (ready <= 0) continue;
        char buf[256];
        const ssize_t n = (p.revents & POLLIN) ? ::read(master_, buf, sizeof buf) : -1;
        if (n <= 0) {
            // No slave open (yet or any more): nothing to read, look again shortly.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        int complete = 0;
        {
            std::lock_guard lock(mutex_);
            received_.append(buf, n);
            for (ssize_t i = 0; i < n; ++i)
                if (buf[i] == char(Framing::ETX)) ++complete;
            requests_ += complete;
        }
        changed_.notify_all();
        for (; complete > 0; --complete, ++answered) {
            if (answered >= int(replies_.size())) continue;
            for (const Part& part : replies_[size_t(answered)]) {
                std::this_thread::sleep_for(std::chrono::milliseconds(part.delayMs));
                Send(part.bytes);
            }
        }
    }
}

QByteArray PtyPeer::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

int PtyPeer::RequestCount() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool PtyPeer::WaitForRequests(int n, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return requests_ >= n; });
}

QByteArray PtyPeer::ReceivedWithin(int ms) const {
    QByteArray out;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0) continue;
        char buf[256];
        const ssize_t n = (p.revents & POLLIN) ? ::read(master_, buf, sizeof buf) : -1;
        if (n > 0) out.append(buf, n);
        else std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return out;
}

QByteArray MakeReply(char head, char addr, char cmdType, const char* item, const QByteArray& data) {
    QByteArray body;
    body.append(addr).append(' ').append(cmdType).append(item).append(data);
    QByteArray frame;
    frame.append(head).append(body);
    frame.append(Framing::Checksum(QString::fromLatin1(body)).toLatin1());
    frame.append(char(Framing::ETX));
    return frame;
}

QByteArray TwentyFields() {
    QByteArray data;
    for (int n = 1; n <= 20; ++n) data.append(QByteArray::number(n, 16).toUpper().rightJustified(4, '0'));
    return data;
}
