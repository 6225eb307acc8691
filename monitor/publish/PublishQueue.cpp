#include "publish/PublishQueue.h"

#include <algorithm>

PublishQueue::PublishQueue(int documentSlots, int eventCapacity)
    : slots_(size_t(std::max(0, documentSlots))), capacity_(std::max(1, eventCapacity)) {}

void PublishQueue::PutDocument(int slot, OutMessage message) {
    if (slot < 0 || size_t(slot) >= slots_.size()) return;
    std::optional<Pending>& s = slots_[size_t(slot)];
    if (s) {
        s->message = std::move(message);
        ++replacedDocuments_;
    } else {
        s = Pending{seq_++, std::move(message)};
    }
}

void PublishQueue::PutEvent(OutMessage message) {
    if (int(events_.size()) >= capacity_) {
        events_.pop_front();
        ++droppedEvents_;
    }
    events_.push_back(Pending{seq_++, std::move(message)});
}

std::optional<OutMessage> PublishQueue::Take() {
    std::optional<Pending>* oldestSlot = nullptr;
    for (std::optional<Pending>& s : slots_)
        if (s && (!oldestSlot || s->seq < (*oldestSlot)->seq)) oldestSlot = &s;
    const bool eventFirst = !events_.empty() && (!oldestSlot || events_.front().seq < (*oldestSlot)->seq);
    if (eventFirst) {
        OutMessage m = std::move(events_.front().message);
        events_.pop_front();
        return m;
    }
    if (!oldestSlot) return std::nullopt;
    OutMessage m = std::move((*oldestSlot)->message);
    oldestSlot->reset();
    return m;
}

int PublishQueue::Waiting() const {
    return int(events_.size()) + int(std::count_if(slots_.begin(), slots_.end(), [](const auto& s) { return s.has_value(); }));
}

int PublishQueue::DiscardEvents() {
    const int n = int(events_.size());
    events_.clear();
    return n;
}
