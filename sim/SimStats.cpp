#include "SimStats.h"

#include "FaultInjector.h"
#include "Responder.h"

#include <QFile>
#include <QSaveFile>

namespace rdxsim {

namespace {

const char* OutcomeKey(Outcome o) {
    switch (o) {
    case Outcome::ReadAck: return "reply.ack-read";
    case Outcome::WriteAck: return "reply.ack-write";
    case Outcome::FactoryAck: return "reply.ack-factory";
    case Outcome::NakChecksum: return "reply.nak-checksum";
    case Outcome::NakUnknownItem: return "reply.nak-item";
    case Outcome::NakBadRequest: return "reply.nak-request";
    case Outcome::SilentAbsent: return "silent.absent";
    case Outcome::SilentForeign: return "silent.foreign";
    }
    return "reply.other";
}

}  // namespace

void SimStats::Add(const std::string& key, quint64 n) {
    std::lock_guard lock(mutex_);
    counters_[key] += n;
}

quint64 SimStats::Get(const std::string& key) const {
    std::lock_guard lock(mutex_);
    const auto it = counters_.find(key);
    return it == counters_.end() ? 0 : it->second;
}

std::map<std::string, quint64> SimStats::Snapshot() const {
    std::lock_guard lock(mutex_);
    return counters_;
}

void SimStats::Record(const Response& r) {
    std::lock_guard lock(mutex_);
    ++counters_["requests"];
    ++counters_[OutcomeKey(r.outcome)];
    if (r.outcome == Outcome::SilentForeign) return;
    const std::string item = r.item.toStdString();
    if (r.command == 0x22) ++counters_["read." + item];
    else if (r.command == 0x52) ++counters_["write." + item];
    else ++counters_["command.other"];
    if (r.block >= 0) ++counters_["block." + std::to_string(r.block)];
}

void SimStats::TakeFaults(const FaultInjector& faults) {
    std::lock_guard lock(mutex_);
    for (int f = 0; f < int(Fault::Count); ++f)
        counters_[std::string("fault.") + FaultName(Fault(f))] = faults.Count(Fault(f));
}

QByteArray SimStats::Text() const {
    std::lock_guard lock(mutex_);
    QByteArray out;
    for (const auto& [key, value] : counters_)
        out += QByteArray::fromStdString(key) + '=' + QByteArray::number(value) + '\n';
    return out;
}

bool SimStats::WriteFile(const QString& path, QString* error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(Text()) < 0 || !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace rdxsim
