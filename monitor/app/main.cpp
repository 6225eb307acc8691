// RDX410_Monitor: the entry point. SIGTERM and SIGINT end the program in order.
#include "ISTDComm.h"
#include "app/StartApplication.h"
#include "app/MainDisp.h"
#include "services/EndSignals.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("RDX-410 Monitor"));
    QApplication::setOrganizationName(QStringLiteral("TESMAR KORVEX"));
    RDXApplication program(&TesmarCreateObject);

    // Ends in order between steps, as the menu's quit does without its question.
    CatchEndSignals(&app, [&program] { program.mainWindow().QuitWithoutAsking(); });
    program.StartApplication();
    return 0;
}
