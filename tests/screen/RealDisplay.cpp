#include "RealDisplay.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Runs argv with stdout and stderr sent away; `keepFd` stays open in the child.
pid_t Spawn(const std::vector<std::string>& args, int keepFd = -1) {
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    // A test program that crashes takes its display with it.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(1);
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
    }
    for (int fd = 3; fd < 256; ++fd)
        if (fd != keepFd) ::close(fd);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

void Stop(pid_t& pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
}

bool Exited(pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) == pid; }

}  // namespace

RealDisplay::~RealDisplay() {
    Stop(manager_);
    Stop(server_);
    if (!readyDir_.empty()) {
        ::unlink((readyDir_ + "/ready").c_str());
        ::rmdir(readyDir_.c_str());
    }
}

bool RealDisplay::Start(std::string* error) {
    // Xvfb chooses a free display number and writes it to the descriptor it is given.
    int numberPipe[2];
    if (::pipe(numberPipe) != 0) {
        *error = "pipe: " + std::string(std::strerror(errno));
        return false;
    }
    const std::string size = std::to_string(Width) + "x" + std::to_string(Height) + "x24";
    server_ = Spawn({"Xvfb", "-displayfd", std::to_string(numberPipe[1]), "-screen", "0", size,
                     "-nolisten", "tcp"},
                    numberPipe[1]);
    ::close(numberPipe[1]);
    std::string number;
    pollfd p{numberPipe[0], POLLIN, 0};
    while (::poll(&p, 1, 15000) > 0) {
        char buffer[16];
        const ssize_t n = ::read(numberPipe[0], buffer, sizeof buffer);
        if (n <= 0) break;
        number.append(buffer, size_t(n));
        if (number.find('\n') != std::string::npos) break;
    }
    ::close(numberPipe[0]);
    while (!number.empty() && (number.back() == '\n' || number.back() == ' ')) number.pop_back();
    if (number.empty()) {
        *error = "Xvfb did not start (is the xvfb package installed? scripts/setup installs it)";
        return false;
    }
    const std::string display = ":" + number;
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);

    // The window manager says it is up by running its start-up command.
    char dir[] = "/tmp/rdx-wm.XXXXXX";
    if (!::mkdtemp(dir)) {
        *error = "mkdtemp: " + std::string(std::strerror(errno));
        return false;
    }
    readyDir_ = dir;
    const std::string ready = readyDir_ + "/ready";
    manager_ = Spawn({"openbox", "--startup", "touch " + ready});
    for (int i = 0; i < 150; ++i) {
        struct stat st {};
        if (::stat(ready.c_str(), &st) == 0) return true;
        if (Exited(manager_)) {
            manager_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    *error = "the window manager did not start on " + display +
             " (is the openbox package installed? scripts/setup installs it)";
    return false;
}
