// One block's answer to one request frame, byte for byte as the controllers give it.
#pragma once

#include "LineModel.h"
#include "SimClock.h"

#include <QByteArray>
#include <QString>

namespace rdxsim {

enum class Outcome {
    ReadAck,         // ACK with 20 fields
    WriteAck,        // ACK without data, values stored
    FactoryAck,      // ACK without data, chosen pairs reset
    NakChecksum,     // request checksum wrong
    NakUnknownItem,  // item code not served
    NakBadRequest,   // wrong data for the command, read-only item, unknown command type
    SilentAbsent,    // addressed block absent or silenced
    SilentForeign,   // address not one of the 16 blocks, or frame too short to answer
};

struct Response {
    Outcome outcome = Outcome::SilentForeign;
    QByteArray reply;  // empty = no answer
    int block = -1;
    char command = 0;
    QString item;
};

class Responder {
public:
    Responder(LineModel& model, const SimClock& clock) : model_(model), clock_(clock) {}

    // frame: STX .. ETX inclusive, as read from the line.
    Response Respond(const QByteArray& frame);

private:
    Response Read(Response r, QStringView head);
    Response WriteParam(Response r, int param, QStringView data, QStringView head);
    Response Factory(Response r, QStringView data, QStringView head);

    LineModel& model_;
    const SimClock& clock_;
};

// ACK or NAK, the echoed header (address, sub-address, command type, item), data,
// checksum and ETX.
QByteArray BuildReply(char16_t first, QStringView head, QStringView data);

}  // namespace rdxsim
