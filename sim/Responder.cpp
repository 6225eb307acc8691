#include "Responder.h"

#include "protocol/Framing.h"
#include "protocol/HexCodec.h"

namespace rdxsim {

namespace {

constexpr char kRead = 0x22;
constexpr char kWrite = 0x52;
constexpr int kDataChars = kChannelsPerBlock * 4;

// 20 fields of exactly four hexadecimal digits.
bool ParseFields(QStringView data, Fields& out) {
    if (data.size() != kDataChars) return false;
    for (QChar c : data) {
        const char16_t u = c.unicode();
        const bool hex = (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
        if (!hex) return false;
    }
    for (int k = 0; k < kChannelsPerBlock; ++k) out[k] = HexCodec::Decode(data.mid(4 * k, 4));
    return true;
}

Response Refuse(Response r, Outcome why, QStringView head) {
    r.outcome = why;
    r.reply = BuildReply(Framing::NAK, head, {});
    return r;
}

}  // namespace

QByteArray BuildReply(char16_t first, QStringView head, QStringView data) {
    QString body;
    body.reserve(head.size() + data.size());
    body.append(head).append(data);
    QString text;
    text.reserve(body.size() + 4);
    text.append(QChar(first)).append(body).append(Framing::Checksum(body)).append(QChar(Framing::ETX));
    return text.toLatin1();
}

Response Responder::Respond(const QByteArray& frame) {
    Response r;
    // STX, address, sub-address, command type, four item characters, checksum, ETX.
    if (frame.size() < 11 || frame.front() != char(Framing::STX) ||
        frame.back() != char(Framing::ETX))
        return r;
    const QString text = QString::fromLatin1(frame);
    const int block = int(uchar(frame[1])) - 0x20;
    r.block = block;
    r.command = frame[3];
    r.item = text.mid(4, 4);
    if (block < 0 || block >= kBlocks) return r;

    model_.AdvanceTo(clock_.Now());
    if (!model_.BlockAnswers(block)) {
        r.outcome = Outcome::SilentAbsent;
        return r;
    }
    const QStringView body = QStringView(text).mid(1, text.size() - 4);
    const QStringView head = body.left(7);
    const QStringView data = body.mid(7);
    if (Framing::Checksum(body) != QStringView(text).mid(text.size() - 3, 2))
        return Refuse(r, Outcome::NakChecksum, head);
    if (r.command == kWrite && model_.WritesRefused(block))
        return Refuse(r, Outcome::NakBadRequest, head);
    if (r.command == kWrite && r.item == QStringView(kFactoryInitCode)) return Factory(r, data, head);
    const std::optional<ItemInfo> info = FindItem(r.item);
    if (!info)
        return Refuse(r, Outcome::NakUnknownItem, head);
    if (r.command == kRead && data.isEmpty()) return Read(r, head);
    if (r.command == kWrite && IsWritable(*info)) return WriteParam(r, info->param, data, head);
    return Refuse(r, Outcome::NakBadRequest, head);
}

Response Responder::Read(Response r, QStringView head) {
    const Fields values = model_.Read(r.block, *FindItem(r.item));
    QString data;
    data.reserve(kDataChars);
    for (qint16 v : values) data.append(HexCodec::Encode(v));
    r.outcome = Outcome::ReadAck;
    r.reply = BuildReply(Framing::ACK, head, data);
    return r;
}

Response Responder::WriteParam(Response r, int param, QStringView data, QStringView head) {
    Fields values{};
    if (!ParseFields(data, values))
        return Refuse(r, Outcome::NakBadRequest, head);
    model_.Write(r.block, param, values);
    r.outcome = Outcome::WriteAck;
    r.reply = BuildReply(Framing::ACK, head, {});
    return r;
}

// Field 2k + 1 (counted from 1) set to 1 selects pair k; every other field is ignored.
Response Responder::Factory(Response r, QStringView data, QStringView head) {
    Fields values{};
    if (!ParseFields(data, values))
        return Refuse(r, Outcome::NakBadRequest, head);
    PairMask pairs{};
    for (int k = 0; k < kPairsPerBlock; ++k) pairs[k] = values[2 * k] == 1;
    model_.FactoryInit(r.block, pairs);
    r.outcome = Outcome::FactoryAck;
    r.reply = BuildReply(Framing::ACK, head, {});
    return r;
}

}  // namespace rdxsim
