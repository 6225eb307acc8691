// Command line of rdx410-sim.
#pragma once

#include "FaultInjector.h"
#include "PtyServer.h"

#include <QString>
#include <QStringList>

namespace rdxsim {

struct SimOptions {
    QString link;          // symlink to publish, empty = none
    ServerOptions server;
    double timeScale = 1;
    quint64 seed = 1;
    FaultRates faults;
    QString blocks;        // empty = the built-in demo line
    QString control;       // FIFO path, "-" = stdin, empty = none
    QString stats;         // written on exit, empty = none
    double duration = 0;   // seconds, 0 = until told to stop
    double autoTune = 120; // simulated seconds of one auto-tuning
    bool help = false;
};

// args without the program name. False with a one-line reason on a bad command line.
bool ParseSimOptions(const QStringList& args, SimOptions& out, QString* error);
QString SimHelpText();

}  // namespace rdxsim
