// rdx410-gateway: the line without a desk. SIGTERM and SIGINT end it in order.
#include "gateway/Gateway.h"
#include "gateway/GatewayOptions.h"
#include "gateway/Report.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};
// Seen at once by the start-up read, which handles no events while it runs.
volatile std::sig_atomic_t endSignalled = 0;

void OnSignal(int) {
    endSignalled = 1;
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The monitor's names: the same settings store and per-user data folder.
    QCoreApplication::setApplicationName(QStringLiteral("RDX-410 Monitor"));
    QCoreApplication::setOrganizationName(QStringLiteral("TESMAR KORVEX"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RDX_VERSION));

    GatewayOptions options;
    if (const QString problem = ParseGatewayOptions(app.arguments(), &options); !problem.isEmpty()) {
        Report(problem);
        return 2;
    }
    if (options.help) {
        std::fputs(GatewayHelpText().toUtf8().constData(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s %s\n", GatewayProgramName, RDX_VERSION);
        return 0;
    }

    Gateway gateway(options);
    // A signal only writes a byte; the event loop ends the program between steps.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [&gateway] {
            char byte;
            [[maybe_unused]] ssize_t n = ::read(signalPipe[0], &byte, 1);
            gateway.RequestEnd();
        });
        gateway.EndPending = [] { return endSignalled != 0; };
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
    }
    return gateway.Run();
}
