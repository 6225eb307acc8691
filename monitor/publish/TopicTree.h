// The topics one line publishes to. Every topic starts with "rdx410/<line>/", so any
// number of lines (gateways and monitors) share one broker, each under its own name.
#pragma once

#include <QByteArray>
#include <QString>

inline constexpr char TopicRoot[] = "rdx410";
inline constexpr int LineNameMaxLength = 64;

// Why a line name cannot be a topic level (an operator message), or empty when it can.
QString LineNameProblem(const QString& line);

class TopicTree {
public:
    explicit TopicTree(const QString& line);

    // "online" / "offline" (the last will), retained.
    QByteArray Status() const { return prefix_ + "status"; }
    // The retained document of block 0..15: ".../block/01" .. ".../block/16".
    QByteArray Block(int block) const;
    // Alarm transitions and protocol errors, one message each, not retained.
    QByteArray Event() const { return prefix_ + "event"; }
    // The alarms on now, retained: the state a reader that missed events starts from.
    QByteArray Alarms() const { return prefix_ + "alarms"; }
    // The serial line's state ("open", "lost", "missing"), retained. Not "status", which
    // is the publisher's connection to the broker.
    QByteArray Link() const { return prefix_ + "link"; }
    // The exchange counters of each block, retained.
    QByteArray Diagnostics() const { return prefix_ + "diagnostics"; }
    // Who publishes and what it had to drop, retained.
    QByteArray Publisher() const { return prefix_ + "publisher"; }
    // Everything of the line, for a subscriber.
    QByteArray All() const { return prefix_ + '#'; }

private:
    QByteArray prefix_;
};
