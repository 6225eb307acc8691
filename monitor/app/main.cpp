// RDX410_Monitor: the entry point. SIGTERM and SIGINT end the program in order.
#include "ISTDComm.h"
#include "app/StartApplication.h"
#include "display/MainDisp.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("RDX-410 Monitor"));
    QApplication::setOrganizationName(QStringLiteral("TESMAR KORVEX"));
    RDXApplication program(&TesmarCreateObject);

    // A signal only writes a byte; the event loop ends the program between steps.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [&program] {
            char byte;
            [[maybe_unused]] ssize_t n = ::read(signalPipe[0], &byte, 1);
            program.mainWindow().QuitWithoutAsking();
        });
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
    }
    program.StartApplication();
    return 0;
}
