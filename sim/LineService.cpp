#include "LineService.h"

namespace rdxsim {

Transmission LineService::Handle(const QByteArray& frame) {
    std::lock_guard lock(mutex_);
    const Response r = responder_.Respond(frame);
    stats_.Record(r);
    Transmission t;
    if (!r.reply.isEmpty()) {
        t = faults_.Apply(r.reply);
        stats_.TakeFaults(faults_);
        if (!t.Silent()) stats_.Add("replies.sent");
    }
    if (OnTransmission) OnTransmission(r, t);
    return t;
}

void LineService::Discarded(qsizetype bytes) {
    if (bytes > 0) stats_.Add("bytes.discarded", quint64(bytes));
}

void LineService::SyncStats() {
    std::lock_guard lock(mutex_);
    stats_.TakeFaults(faults_);
}

}  // namespace rdxsim
