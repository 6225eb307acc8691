// rdx410-gateway: the line without a desk. SIGTERM and SIGINT end it in order.
#include "gateway/Gateway.h"
#include "gateway/GatewayOptions.h"
#include "gateway/Report.h"
#include "gateway/SettingsCommand.h"
#include "services/EndSignals.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    // Qt's own event loop instead of GLib's: the loop is passed once per exchange, and
    // GLib's pass (its sources, locks and timer bookkeeping) cost as much again as Qt's.
    // The gateway has no widgets or desktop services that would need GLib's loop; an
    // operator who sets QT_NO_GLIB keeps their choice.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    RouteQtMessagesToReport();
    // The monitor's names: the same settings store and per-user data folder.
    QCoreApplication::setApplicationName(QStringLiteral("RDX-410 Monitor"));
    QCoreApplication::setOrganizationName(QStringLiteral("TESMAR KORVEX"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RDX_VERSION));

    GatewayOptions options;
    if (const QString problem = ParseGatewayOptions(app.arguments(), &options); !problem.isEmpty()) {
        Report(problem);
        return ExitConfigError;
    }
    if (options.help) {
        std::fputs(GatewayHelpText().toUtf8().constData(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s %s\n", GatewayProgramName, RDX_VERSION);
        return 0;
    }

    if (!options.saveSettings.isEmpty() || !options.compareSettings.isEmpty()) {
        // A signal stops the read between exchanges; the command then ends with status 2.
        CatchEndSignals(&app, [] {});
        return RunSettingsCommand(options, EndSignalled);
    }

    Gateway gateway(options);
    // Ends in order after the exchange that runs; the start-up read asks between exchanges.
    CatchEndSignals(&app, [&gateway] { gateway.RequestEnd(); });
    gateway.EndPending = EndSignalled;
    return gateway.Run();
}
