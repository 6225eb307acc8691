#include "modbus/FrameStream.h"

namespace {

quint16 Word(const QByteArray& b, int at) { return quint16(quint8(b[at]) << 8 | quint8(b[at + 1])); }

}  // namespace

bool FrameStream::Append(const QByteArray& bytes, QList<FrameHead>* complete) {
    pending_ += bytes;
    while (pending_.size() >= HeaderBytes) {
        const quint16 protocol = Word(pending_, 2), length = Word(pending_, 4);
        if (protocol != 0 || length < MinLength || length > MaxLength) return false;
        if (pending_.size() < HeaderBytes + length) break;
        complete->append(FrameHead{quint8(pending_[6]), quint8(pending_[7])});
        pending_.remove(0, HeaderBytes + length);
    }
    return true;
}
