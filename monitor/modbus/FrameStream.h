// The frames of one Modbus TCP connection, cut from its byte stream exactly as Qt's server
// cuts them, so that a header Qt would misread (a length of 0xFFFF wraps round in its
// arithmetic and the connection hangs) ends the connection instead, and the function code
// as the client sent it is known (Qt turns an unknown one into 0 before answering).
#pragma once

#include <QByteArray>
#include <QList>

struct FrameHead {
    quint8 unit = 0;
    quint8 function = 0;
};

class FrameStream {
public:
    // The MBAP length counts the unit identifier and the PDU: at least a function code,
    // at most the 253 bytes of a PDU.
    static constexpr int MinLength = 2;
    static constexpr int MaxLength = 254;
    static constexpr int HeaderBytes = 6;  // before the unit identifier

    // Adds what arrived and appends the head of every frame it completes; false when a
    // header is not one of a Modbus TCP frame (protocol not 0, length out of range).
    bool Append(const QByteArray& bytes, QList<FrameHead>* complete);

private:
    QByteArray pending_;
};
