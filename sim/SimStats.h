// Counters of every request the line received, every answer and every injected fault.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <map>
#include <mutex>
#include <string>

namespace rdxsim {

class FaultInjector;
struct Response;

class SimStats {
public:
    void Add(const std::string& key, quint64 n = 1);
    quint64 Get(const std::string& key) const;
    std::map<std::string, quint64> Snapshot() const;

    // A request and the line's answer (before any fault).
    void Record(const Response& r);
    // The fault counters, under their "fault." names.
    void TakeFaults(const FaultInjector& faults);

    // "key=value" lines, sorted by key.
    QByteArray Text() const;
    bool WriteFile(const QString& path, QString* error = nullptr) const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, quint64> counters_;
};

}  // namespace rdxsim
