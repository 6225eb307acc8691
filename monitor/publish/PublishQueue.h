// What waits for the broker, bounded. Documents (one retained topic each) wait in a slot
// per topic: a newer document replaces the one still waiting there, since only the latest
// state matters. Events wait in order, up to a fixed number; when full, the oldest is
// dropped and counted. So the queue never holds more than slots + capacity messages, however
// long the broker stays away. Not thread-safe by itself; MqttConnection guards it.
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <deque>
#include <optional>
#include <vector>

struct OutMessage {
    QByteArray topic;
    QByteArray payload;
    int qos = 0;
    bool retain = false;
};

class PublishQueue {
public:
    PublishQueue(int documentSlots, int eventCapacity);

    void PutDocument(int slot, OutMessage message);
    void PutEvent(OutMessage message);
    // The message that has waited longest (documents keep the place of the first one
    // that waited in their slot), or nothing.
    std::optional<OutMessage> Take();

    int Waiting() const;
    int WaitingEvents() const { return int(events_.size()); }
    // Removes the events that wait (the end came before they could go); returns how many.
    int DiscardEvents();
    int EventCapacity() const { return capacity_; }
    quint64 DroppedEvents() const { return droppedEvents_; }
    quint64 ReplacedDocuments() const { return replacedDocuments_; }

private:
    struct Pending {
        quint64 seq = 0;
        OutMessage message;
    };

    std::vector<std::optional<Pending>> slots_;
    std::deque<Pending> events_;
    int capacity_;
    quint64 seq_ = 0;
    quint64 droppedEvents_ = 0;
    quint64 replacedDocuments_ = 0;
};
