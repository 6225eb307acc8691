// A pseudo-terminal whose slave side the link opens, with a scripted controller on the
// master side: it records every byte the link sends and answers each request frame
// (one per ETX) with the next scripted reply.
#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class PtyPeer {
public:
    // One piece of a reply, written after a pause.
    struct Part {
        int delayMs = 0;
        QByteArray bytes;
    };
    using Reply = std::vector<Part>;

    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    QString SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_; }

    // Answers request k (counted from 0) with replies[k]; later requests get no answer.
    void Answer(std::vector<Reply> replies);
    // Writes bytes to the link at once, unasked.
    void Send(const QByteArray& bytes);

    // Everything the link has sent so far, and the number of complete requests in it.
    QByteArray Received() const;
    int RequestCount() const;
    // Waits until at least n requests arrived; false on time-out.
    bool WaitForRequests(int n, int timeoutMs) const;
    // Collects whatever arrives within ms.
    QByteArray ReceivedWithin(int ms) const;

private:
    void Run();

    int master_ = -1;
    QString slavePath_;
    std::vector<Reply> replies_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    QByteArray received_;
    int requests_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A reply frame: ACK or NAK, address, sub-address, command type, item, data, checksum, ETX.
QByteArray MakeReply(char head, char addr, char cmdType, const char* item, const QByteArray& data);
// The data part of a read reply: 20 four-digit fields "0001", "0002", ...
QByteArray TwentyFields();
