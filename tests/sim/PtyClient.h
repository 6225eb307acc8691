// A raw POSIX client on the slave side of a pseudo-terminal, reading replies the way the
// link does: drop everything before ACK/NAK, end at the ETX after it.
#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace simtest {

struct ClientReply {
    QByteArray reply;      // from ACK/NAK to ETX; empty on time-out
    QByteArray prefix;     // characters dropped before the reply started
    double lastByteMs = 0; // from the end of the request to the last character
};

class PtyClient {
public:
    explicit PtyClient(int fd) : fd_(fd) {}
    static int OpenRaw(const QString& path) {
        const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        if (fd >= 0) {
            termios t{};
            tcgetattr(fd, &t);
            cfmakeraw(&t);
            tcsetattr(fd, TCSANOW, &t);
        }
        return fd;
    }

    ClientReply Exchange(const QByteArray& frame, int timeoutMs) {
        tcflush(fd_, TCIFLUSH);
        [[maybe_unused]] const ssize_t w = ::write(fd_, frame.constData(), size_t(frame.size()));
        const auto start = std::chrono::steady_clock::now();
        const auto elapsed = [&] {
            return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        };
        ClientReply r;
        bool started = false;
        while (elapsed() < timeoutMs) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 2) <= 0) continue;
            char c;
            while (::read(fd_, &c, 1) == 1) {
                if (c == '\x06' || c == '\x15') {
                    if (!started) r.prefix += r.reply;
                    r.reply = QByteArray(1, c);
                    started = true;
                } else {
                    r.reply += c;
                    if (c == '\x03' && started) {
                        r.lastByteMs = elapsed();
                        return r;
                    }
                }
                pollfd q{fd_, POLLIN, 0};
                if (poll(&q, 1, 0) <= 0) break;
            }
        }
        r.prefix += started ? QByteArray() : r.reply;
        r.reply.clear();
        return r;
    }

private:
    int fd_;
};

}  // namespace simtest
