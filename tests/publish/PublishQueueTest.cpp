// What waits for the broker: bounded, oldest events dropped first and counted, documents
// replaced by newer ones of the same topic, everything taken in the order it came.
#include "publish/PublishQueue.h"

#include <gtest/gtest.h>

namespace {

OutMessage Event(int n) { return OutMessage{"e", QByteArray::number(n), 1, false}; }
OutMessage Doc(int slot, int n) { return OutMessage{"d" + QByteArray::number(slot), QByteArray::number(n), 0, true}; }

}  // namespace

TEST(PublishQueue, FullEventQueueDropsTheOldestAndCountsThem) {
    PublishQueue q(2, 5);
    for (int n = 1; n <= 12; ++n) q.PutEvent(Event(n));
    EXPECT_EQ(q.Waiting(), 5);
    EXPECT_EQ(q.DroppedEvents(), 7u);
    for (int n = 8; n <= 12; ++n) {
        const std::optional<OutMessage> m = q.Take();
        ASSERT_TRUE(m);
        EXPECT_EQ(m->payload, QByteArray::number(n));
    }
    EXPECT_FALSE(q.Take());
}

TEST(PublishQueue, NewerDocumentReplacesTheOneWaitingAndKeepsItsPlace) {
    PublishQueue q(3, 10);
    q.PutDocument(2, Doc(2, 1));
    q.PutEvent(Event(100));
    q.PutDocument(0, Doc(0, 1));
    q.PutDocument(2, Doc(2, 2));  // replaces the first, which had waited longest
    q.PutDocument(2, Doc(2, 3));
    EXPECT_EQ(q.Waiting(), 3);
    EXPECT_EQ(q.ReplacedDocuments(), 2u);
    std::vector<QByteArray> order;
    while (std::optional<OutMessage> m = q.Take()) order.push_back(m->topic + ':' + m->payload);
    EXPECT_EQ(order, (std::vector<QByteArray>{"d2:3", "e:100", "d0:1"}));
}

TEST(PublishQueue, NothingGrowsPastSlotsAndCapacityHoweverLongTheBrokerIsAway) {
    PublishQueue q(17, 256);
    for (int n = 0; n < 100000; ++n) {
        q.PutDocument(n % 17, Doc(n % 17, n));
        if (n % 3 == 0) q.PutEvent(Event(n));
        ASSERT_LE(q.Waiting(), 17 + 256);
    }
    EXPECT_EQ(q.Waiting(), 17 + 256);
    EXPECT_EQ(q.DroppedEvents(), 33334u - 256u);
    // What comes out after the outage is each topic's newest document and the newest events.
    int documents = 0, events = 0;
    while (std::optional<OutMessage> m = q.Take()) {
        if (m->retain) {
            ++documents;
            EXPECT_GE(m->payload.toInt(), 100000 - 17) << m->topic.constData();
        } else {
            ++events;
        }
    }
    EXPECT_EQ(documents, 17);
    EXPECT_EQ(events, 256);
}

TEST(PublishQueue, SlotsOutsideTheRangeAreRefused) {
    PublishQueue q(2, 4);
    q.PutDocument(-1, Doc(0, 1));
    q.PutDocument(2, Doc(2, 1));
    EXPECT_EQ(q.Waiting(), 0);
}
