// The JSON payloads: a block's values as one retained document, an entry of the alarm
// history as one event, the alarms on now, the serial line's state, and what the publisher
// itself reports. Values are the texts the views show (the one value formatter), written
// as JSON numbers.
#pragma once

#include "exchange/RDX_INC.h"
#include "publish/StoredBlocks.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <array>

// ISO 8601 with milliseconds and the offset from UTC.
QString DocumentTime(const QDateTime& time);

// The unit a historian or dashboard takes: "°C", "°F", "%", "A" for the ways an operator
// or the monitor writes them (ﾟC, ℃, full-width letters), any other text as it is.
QString StandardUnit(const QString& shown);

// Whether a channel's PV is a measurement: "stale" while its values are the last ones
// read, "overScale" / "underScale" when the status word says the input is beyond its
// scale, else "good".
QString PvQuality(const RDX_INC& inc, int channel, bool stale);

struct BlockFacts {
    QString line;
    QDateTime time;
    QDateTime readAt;  // when the values were last read; invalid: not by this run (null)
    bool outOfContact = false;
    // The values are the last ones read (the block out of contact, the port lost): every
    // present channel is "stale" and its PV moves to "lastPv".
    bool stale = false;
    QString blockName;
    std::array<QString, ChannelsPerBlock> channelNames;
};

// Block 0..15, all 20 channels; channels without a controller carry only their number,
// name and "present": false. A channel whose PV is not a measurement (stale, over or
// under the scale) has "pv": null and the value read in "lastPv".
QByteArray BlockDocument(const RDX_INC& inc, int block, const BlockFacts& facts);
// A block an earlier run published, before this run has read it: its channels as stored,
// every present one "stale" with no value.
QByteArray StoredBlockDocument(const StoredBlocks& stored, int block, const BlockFacts& facts);

struct EventFacts {
    QString line;
    QString run;
    quint64 seq = 0;
    QDateTime time;
    QString code;      // the history's code: "Alarm1" .. "DOWNS", "NAK", "CHKSUM", ...
    int state = 0;     // 0: ended; other: began (alarm codes only)
    int block = -1;    // 0..15 or -1 when not known
    int channel = -1;  // 0..319 for the channel codes, -1 otherwise
    QString channelText;  // the history's channel column ("----" for protocol errors)
    QString text;         // the history's content column
    bool initial = false;  // on already when the run began, not a transition
};

// Whether a history code concerns one channel (and so has a channel and an on/off state).
bool IsChannelCode(const QString& code);
// Whether a history code begins and ends (the channel codes and the block's contact).
bool CodeHasState(const QString& code);
QByteArray EventDocument(const EventFacts& facts);

struct AlarmOn {
    QString code;
    int channel = 0;  // 0..319
    QString name;     // the channel's registered name
};
QByteArray AlarmsDocument(const QString& line, const QString& run, const QDateTime& time,
                          const QList<AlarmOn>& alarms);

struct LinkFacts {
    QString state;  // "open", "lost", "missing"
    QString device;
    QDateTime since;

    bool operator==(const LinkFacts&) const = default;
};
QByteArray LinkDocument(const QString& line, const LinkFacts& facts);

struct PublisherFacts {
    QString program;
    QString version;
    QString host;
    QString run;
    QDateTime started;
    QDateTime time;
    quint64 droppedEvents = 0;
    quint64 replacedDocuments = 0;
    quint64 unsentAtEnd = 0;
    int eventQueueLimit = 0;
};
QByteArray PublisherDocument(const PublisherFacts& facts);
