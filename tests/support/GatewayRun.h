// Runs rdx410-gateway as a process of its own, with a settings store and program folder
// of the test's own, its messages collected in a file.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

class GatewayRun {
public:
    explicit GatewayRun(const QString& folder);
    ~GatewayRun();

    QString Home() const { return folder_ + "/home"; }
    QString Config() const { return folder_ + "/config"; }
    // Writes a key into the gateway's settings store (before Start).
    void Store(const QString& key, const QString& value);

    // A command the gateway runs under (e.g. setpriv and its options); empty: none.
    QStringList RunAs;

    bool Start(const QStringList& arguments, const QStringList& environment = {});
    // Everything the gateway wrote to standard output and error so far.
    QString Output() const;
    int Count(const QString& text) const { return int(Output().count(text)); }
    // SIGTERM and wait; true when it ended by itself with status 0.
    bool Terminate(int waitMs = 10000);
    void Kill();
    // Waits for the gateway to end by itself; true when it did.
    bool WaitForEnd(int waitMs);
    bool Running() const;
    int ExitCode() const;
    QStringList HistoryFiles() const;
    // CPU seconds (user + system) and resident memory (kB) of the running gateway.
    double CpuSeconds() const;
    long RssKb() const;

    // Runs the gateway to its end with these arguments (for --help and the like).
    static int RunToEnd(const QStringList& arguments, QString* output);

private:
    QString folder_;
    std::unique_ptr<QProcess> process_;
};
