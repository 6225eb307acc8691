// rdx410-sim: a line of RDX-410 controllers on a pseudo-terminal.
#include "ControlChannel.h"
#include "LineSetup.h"
#include "PtyServer.h"
#include "SimOptions.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace rdxsim;

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char c = 's';
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

double Seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void Say(const QString& line) {
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The control input: a FIFO kept open for writing by ourselves too, so that writers may
// come and go, or stdin.
struct ControlInput {
    int fd = -1;
    int keepAlive = -1;
    QByteArray buffer;

    bool Open(const QString& path, QString* error) {
        if (path == u"-") {
            fd = STDIN_FILENO;
            return true;
        }
        const QByteArray p = QFile::encodeName(path);
        struct stat st {};
        if (stat(p.constData(), &st) != 0 && mkfifo(p.constData(), 0600) != 0) {
            *error = QStringLiteral("--control %1: cannot create FIFO").arg(path);
            return false;
        }
        fd = ::open(p.constData(), O_RDONLY | O_NONBLOCK);
        keepAlive = fd >= 0 ? ::open(p.constData(), O_WRONLY | O_NONBLOCK) : -1;
        if (fd < 0) *error = QStringLiteral("--control %1: cannot open").arg(path);
        return fd >= 0;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    SimOptions opt;
    QString error;
    if (!ParseSimOptions(args, opt, &error)) {
        std::fprintf(stderr, "rdx410-sim: %s (see --help)\n", error.toLocal8Bit().constData());
        return 2;
    }
    if (opt.help) {
        std::fputs(SimHelpText().toLocal8Bit().constData(), stdout);
        return 0;
    }

    LineModel model;
    model.SetAutoTuneSeconds(opt.autoTune);
    if (opt.blocks.isEmpty()) BuildDemoLine(model);
    else if (!BuildLineFromList(model, opt.blocks, &error)) {
        std::fprintf(stderr, "rdx410-sim: %s\n", error.toLocal8Bit().constData());
        return 2;
    }
    ScaledSteadyClock clock(opt.timeScale);
    FaultInjector faults(opt.seed, opt.faults);
    SimStats stats;
    LineService line(model, clock, faults, stats);
    ControlChannel control(line);
    ControlInput input;
    if (!opt.control.isEmpty() && !input.Open(opt.control, &error)) {
        std::fprintf(stderr, "rdx410-sim: %s\n", error.toLocal8Bit().constData());
        return 2;
    }

    PtyServer server(line, opt.server);
    if (!server.Open(&error)) {
        std::fprintf(stderr, "rdx410-sim: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    if (!opt.link.isEmpty() && !server.PublishLink(opt.link, &error)) {
        std::fprintf(stderr, "rdx410-sim: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    if (pipe(g_signalPipe) != 0) return 1;
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);

    server.Start();
    Say(QStringLiteral("rdx410-sim: serving on %1%2").arg(server.SlavePath(),
        opt.link.isEmpty() ? QString() : QStringLiteral(" (link %1)").arg(opt.link)));

    const double started = Seconds();
    bool quit = false;
    while (!quit) {
        pollfd p[2] = {{g_signalPipe[0], POLLIN, 0}, {input.fd, POLLIN, 0}};
        const int n = poll(p, input.fd >= 0 ? 2 : 1, 100);
        if (n < 0 && errno != EINTR) break;
        if (n > 0 && (p[0].revents & POLLIN)) break;
        if (input.fd >= 0 && (p[1].revents & (POLLIN | POLLHUP))) {
            char buf[512];
            const ssize_t got = ::read(input.fd, buf, sizeof buf);
            if (got > 0) {
                input.buffer.append(buf, got);
            } else if (got == 0) {
                input.fd = -1;  // stdin closed: keep serving
            }
            qsizetype nl;
            while (!quit && (nl = input.buffer.indexOf('\n')) >= 0) {
                const QString cmd = QString::fromLocal8Bit(input.buffer.left(nl));
                input.buffer.remove(0, nl + 1);
                const ControlResult r = control.Execute(cmd, Seconds());
                if (!r.message.isEmpty()) Say(r.message);
                quit = r.quit;
            }
        }
        control.Tick(Seconds());
        if (opt.duration > 0 && Seconds() - started >= opt.duration) break;
    }

    server.Stop();
    line.SyncStats();
    int rc = 0;
    if (!opt.stats.isEmpty() && !stats.WriteFile(opt.stats, &error)) {
        std::fprintf(stderr, "rdx410-sim: --stats %s: %s\n", opt.stats.toLocal8Bit().constData(),
                     error.toLocal8Bit().constData());
        rc = 1;
    }
    Say(QStringLiteral("rdx410-sim: stopped after %1 requests").arg(stats.Get("requests")));
    return rc;
}
