// Serves the line on the master side of a pseudo-terminal, on a thread of its own.
#pragma once

#include "Delivery.h"
#include "LineService.h"

#include <QString>

#include <atomic>
#include <thread>

namespace rdxsim {

struct ServerOptions {
    int baud = 9600;         // 0 = no pacing
    double turnaroundMs = 3;
    Delivery delivery = Delivery::Char;
};

class PtyServer {
public:
    PtyServer(LineService& line, ServerOptions options);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates a pseudo-terminal in raw mode; the slave stays open here too, so that a
    // client may come and go without the master seeing a hang-up.
    bool Open(QString* error = nullptr);
    // Serves on a master that the caller created (the caller keeps the slave side).
    void AdoptMaster(int masterFd);
    QString SlavePath() const { return slavePath_; }

    // A symlink at path to the slave; an existing symlink there is replaced, anything
    // else is left alone and reported. Removed again by Stop/destructor.
    bool PublishLink(const QString& path, QString* error = nullptr);

    bool Start();
    void Stop();
    bool Running() const { return thread_.joinable(); }

private:
    void Run();
    void Serve(const QByteArray& frame);
    bool WriteAll(const char* data, qsizetype size);
    // Sleeps until the deadline or until Stop; false when stopped.
    bool SleepUntilMs(double deadlineMs);
    double NowMs() const;
    void RemoveLink();

    LineService& line_;
    ServerOptions options_;
    int master_ = -1;
    int slave_ = -1;
    bool ownsMaster_ = false;
    int wake_[2] = {-1, -1};
    QString slavePath_;
    QString linkPath_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    QByteArray pending_;
};

}  // namespace rdxsim
