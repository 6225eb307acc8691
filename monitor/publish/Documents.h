// The JSON payloads: a block's values as one retained document, an entry of the alarm
// history as one event, and what the publisher itself reports. Values are the texts the
// views show (the one value formatter), written as JSON numbers.
#pragma once

#include "exchange/RDX_INC.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>

// ISO 8601 with milliseconds and the offset from UTC.
QString DocumentTime(const QDateTime& time);

struct BlockFacts {
    QString line;
    QDateTime time;
    bool outOfContact = false;
    QString blockName;
    std::array<QString, ChannelsPerBlock> channelNames;
};

// Block 0..15, all 20 channels; channels without a controller carry only their number,
// name and "present": false.
QByteArray BlockDocument(const RDX_INC& inc, int block, const BlockFacts& facts);

struct EventFacts {
    QString line;
    quint64 seq = 0;
    QDateTime time;
    QString code;      // the history's code: "Alarm1" .. "DOWNS", "NAK", "CHKSUM", ...
    int state = 0;     // 0: ended; other: began (alarm codes only)
    int block = -1;    // 0..15 or -1 when not known
    int channel = -1;  // 0..319 for the channel codes, -1 otherwise
    QString channelText;  // the history's channel column ("----" for protocol errors)
    QString text;         // the history's content column
};

// Whether a history code concerns one channel (and so has a channel and an on/off state).
bool IsChannelCode(const QString& code);
// Whether a history code begins and ends (the channel codes and the block's contact).
bool CodeHasState(const QString& code);
QByteArray EventDocument(const EventFacts& facts);

struct PublisherFacts {
    QString program;
    QString version;
    QString host;
    QDateTime started;
    QDateTime time;
    quint64 droppedEvents = 0;
    quint64 replacedDocuments = 0;
    int eventQueueLimit = 0;
};
QByteArray PublisherDocument(const PublisherFacts& facts);
