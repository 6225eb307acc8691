// Protocol framing shared by the link, the monitor's tests and the simulator:
// control characters, checksum, request frames and data-field cutting.
#pragma once

#include <QString>
#include <QStringView>

#include <array>

namespace Framing {

inline constexpr char16_t STX = 0x02;
inline constexpr char16_t ETX = 0x03;
inline constexpr char16_t ACK = 0x06;
inline constexpr char16_t NAK = 0x15;
inline constexpr char16_t ESC = 0x1B;

// Two's complement of the byte sum as two upper-case hex digits ("abc" -> "DA").
inline std::array<QChar, 2> ChecksumDigits(QStringView chars) {
    unsigned sum = 0;
    for (QChar c : chars) sum += c.unicode() & 0xFF;
    const unsigned value = (256u - (sum & 0xFFu)) & 0xFFu;
    static const char digits[] = "0123456789ABCDEF";
    return {QChar(digits[value >> 4]), QChar(digits[value & 0xF])};
}

inline QString Checksum(QStringView chars) {
    const std::array<QChar, 2> digits = ChecksumDigits(chars);
    return QString(digits.data(), 2);
}

// STX, the five parts as given, checksum over them, ETX.
inline QString BuildFrame(QStringView addr, QStringView subAddr, QStringView cmdType,
                          QStringView item, QStringView data) {
    QString body;
    body.reserve(addr.size() + subAddr.size() + cmdType.size() + item.size() + data.size());
    body.append(addr).append(subAddr).append(cmdType).append(item).append(data);
    QString frame;
    frame.reserve(body.size() + 4);
    const std::array<QChar, 2> sum = ChecksumDigits(body);
    frame.append(QChar(STX)).append(body).append(sum.data(), 2).append(QChar(ETX));
    return frame;
}

// A complete reply (first character ACK/NAK, last ETX) carries a valid checksum.
// A reply too short to hold one counts as a checksum failure.
inline bool ChecksumMatches(QStringView reply) {
    const qsizetype L = reply.size();
    if (L < 4) return false;
    // Compared in place: a reply is checked on every exchange.
    const std::array<QChar, 2> sum = ChecksumDigits(reply.mid(1, L - 4));
    return sum[0] == reply[L - 3] && sum[1] == reply[L - 2];
}

// Data-field width by command type character; 0 = no fields.
inline int FieldWidth(QChar cmdType) {
    switch (cmdType.unicode()) {
    case 0x20: case 0x22: case 0x60: case 0x61: case 0x72: return 4;
    case 0x21: case 0x23: return 8;
    default: return 0;
    }
}

// Whole data part: characters 9 .. L-3 (1-based).
inline QStringView DataPart(QStringView reply) {
    const qsizetype L = reply.size();
    if (L <= 14) return {};
    return reply.mid(8, L - 11);
}

// n-th field from 1, or the whole data part for n = 0; empty when absent. A view into
// the reply, for readers that decode the fields at once.
inline QStringView FieldView(QStringView reply, int n) {
    if (reply.size() <= 14 || n < 0) return {};
    const QStringView data = DataPart(reply);
    if (n == 0) return data;
    const int width = FieldWidth(reply[3]);
    if (width == 0 || data.size() < qsizetype(n) * width) return {};
    return data.mid(qsizetype(n - 1) * width, width);
}

inline QString GetNData(QStringView reply, int n) { return FieldView(reply, n).toString(); }

inline int isDataNum(QStringView reply) {
    if (reply.size() <= 14) return 0;
    const int width = FieldWidth(reply[3]);
    const QStringView data = DataPart(reply);
    if (width == 0 || data.size() % width != 0) return 0;
    return int(data.size() / width);
}

// A frame as a person reads it: printable characters as they are, the line's control
// characters by name (<STX>, <ETX>, <ACK>, <NAK>, <ESC>), any other as <hh>.
inline QString Readable(QStringView frame) {
    QString out;
    out.reserve(frame.size() + 16);
    for (const QChar c : frame) {
        switch (c.unicode()) {
        case STX: out += u"<STX>"; break;
        case ETX: out += u"<ETX>"; break;
        case ACK: out += u"<ACK>"; break;
        case NAK: out += u"<NAK>"; break;
        case ESC: out += u"<ESC>"; break;
        default:
            if (c.unicode() >= 0x20 && c.unicode() < 0x7F) out += c;
            else out += QStringLiteral("<%1>").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        }
    }
    return out;
}

}  // namespace Framing
