// Runs rdx410-sim and RDX410_Monitor as the operator would, in folders of the test's own.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class ProgramRun {
public:
    ProgramRun();
    ~ProgramRun();

    QString Home() const { return dir_.path() + "/home"; }
    QString Config() const { return dir_.path() + "/config"; }
    QString LinkPath() const { return dir_.path() + "/ttyRDX"; }
    QString StatsPath() const { return dir_.path() + "/stats.txt"; }

    // Starts the simulator with these extra options; true once its link exists.
    bool StartSimulator(const QStringList& options);
    // Sends one control command line to the simulator.
    void Control(const QByteArray& line);
    bool StopSimulator();
    // Sends a control command and returns the simulator's answer line ("ok: ...").
    QString SimulatorCommand(const QByteArray& line, int waitMs = 2000);
    // The simulator's request count, asked over its control input.
    quint64 SimulatorRequests();
    // Starts the monitor offscreen on COM1 = the simulator's link, with these variables
    // added to its environment.
    bool StartMonitor();
    QProcessEnvironment MonitorExtraEnvironment;
    QProcess& Monitor() { return *monitor_; }
    // Sends SIGTERM and waits; true when the program ended by itself with code 0.
    bool TerminateMonitor(int waitMs = 10000);
    // CPU seconds (user + system) the monitor process has used so far.
    double MonitorCpuSeconds() const;

    // The one history file of the run, decoded from CP932; empty when none.
    QString HistoryText() const;
    QStringList HistoryFiles() const;
    // Waits (up to timeoutMs) until pred is true, letting time pass.
    static bool WaitFor(const std::function<bool()>& pred, int timeoutMs);

private:
    QTemporaryDir dir_;
    std::unique_ptr<QProcess> sim_;
    std::unique_ptr<QProcess> monitor_;
};

// CPU seconds (user + system) a process has used so far; 0 when it is not there.
double ProcessCpuSeconds(qint64 pid);
