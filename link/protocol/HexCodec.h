// The 4-digit two's-complement hex encoding of every item value on the line.
#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace HexCodec {

// Reads hex digits up to the first non-digit (at most 4), 16-bit wrap; empty -> 0.
inline qint16 Decode(QStringView field) {
    quint32 value = 0;
    const qsizetype n = qMin<qsizetype>(field.size(), 4);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = field[i].unicode();
        int d;
        if (c >= u'0' && c <= u'9') d = c - u'0';
        else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
        else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
        else break;
        value = (value << 4) | quint32(d);
    }
    return qint16(quint16(value & 0xFFFF));
}

// Upper-case, zero-padded, last four digits of the 16-bit pattern (-1 -> "FFFF").
inline QString Encode(qint16 value) {
    static const char digits[] = "0123456789ABCDEF";
    const quint16 v = quint16(value);
    QString out(4, QChar(u'0'));
    for (int i = 3, s = 0; i >= 0; --i, s += 4) out[i] = QChar(digits[(v >> s) & 0xF]);
    return out;
}

}  // namespace HexCodec
