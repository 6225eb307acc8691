#include "LineSettingsProbe.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <map>
#include <mutex>
#include <sys/ioctl.h>

namespace {

// The bits a pseudo-terminal does not keep.
constexpr tcflag_t kForgotten = CSIZE | PARENB;

std::mutex& Lock() {
    static std::mutex m;
    return m;
}

// -1: the driver's own answer.
std::atomic<int> modemLines{-1};
std::atomic<int> outputQueue{-1};

std::function<bool(const termios&)>& Refusal() {
    static std::function<bool(const termios&)> refuse;
    return refuse;
}

std::map<int, termios>& Requested() {
    static std::map<int, termios> requested;
    return requested;
}

template <class Fn>
Fn Real(const char* name) {
    return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

// Both are exported from the test program (ENABLE_EXPORTS), so the serial library's calls
// land here. Only pseudo-terminals are opened by these tests.
extern "C" int tcsetattr(int fd, int optionalActions, const termios* settings) noexcept {
    static const auto real = Real<int (*)(int, int, const termios*)>("tcsetattr");
    if (!settings) return real(fd, optionalActions, settings);
    {
        std::lock_guard lock(Lock());
        if (Refusal() && Refusal()(*settings)) {
            errno = EINVAL;
            return -1;
        }
    }
    // The terminal gets what it can hold; the C library would call the rest a failure.
    termios held = *settings;
    held.c_cflag = (held.c_cflag & ~kForgotten) | CS8;
    const int result = real(fd, optionalActions, &held);
    if (result == 0) {
        std::lock_guard lock(Lock());
        Requested()[fd] = *settings;
    }
    return result;
}

extern "C" int tcgetattr(int fd, termios* settings) noexcept {
    static const auto real = Real<int (*)(int, termios*)>("tcgetattr");
    const int result = real(fd, settings);
    if (result == 0 && settings) {
        std::lock_guard lock(Lock());
        const auto it = Requested().find(fd);
        if (it != Requested().end())
            settings->c_cflag = (settings->c_cflag & ~kForgotten) | (it->second.c_cflag & kForgotten);
    }
    return result;
}

// The serial layer's requests pass a pointer or nothing, so one pointer is forwarded.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
    static const auto real = Real<int (*)(int, unsigned long, void*)>("ioctl");
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    const int lines = modemLines.load();
    if (request == TIOCMGET && lines >= 0 && argument) {
        *static_cast<int*>(argument) = lines;
        return 0;
    }
    const int queued = outputQueue.load();
    if (request == TIOCOUTQ && queued >= 0 && argument) {
        *static_cast<int*>(argument) = queued;
        return 0;
    }
    return real(fd, request, argument);
}

namespace LineSettingsProbe {

void ReportModemLines(int lines) { modemLines = lines; }
void ReportOutputQueue(int bytes) { outputQueue = bytes; }
void Real() {
    modemLines = -1;
    outputQueue = -1;
}

void RefuseRequests(std::function<bool(const termios&)> refuse) {
    std::lock_guard lock(Lock());
    Refusal() = std::move(refuse);
}

std::optional<termios> LastRequested(int fd) {
    std::lock_guard lock(Lock());
    const auto it = Requested().find(fd);
    if (it == Requested().end()) return std::nullopt;
    return it->second;
}

}  // namespace LineSettingsProbe
