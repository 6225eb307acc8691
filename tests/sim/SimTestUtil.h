// Request frames and small helpers shared by the simulator tests.
#pragma once

#include "protocol/Framing.h"
#include "LineModel.h"

#include <QByteArray>
#include <QString>

namespace simtest {

inline QByteArray Request(int block, char cmd, const QString& item, const QString& data = {}) {
    return Framing::BuildFrame(QString(QChar(0x20 + block)), u" ", QString(QChar(cmd)), item, data)
        .toLatin1();
}

inline QByteArray ReadRequest(int block, const QString& item) { return Request(block, 0x22, item); }

inline QString FieldsText(const rdxsim::Fields& values) {
    QString data;
    for (qint16 v : values) data += QString::asprintf("%04X", unsigned(quint16(v)));
    return data;
}

inline QByteArray WriteRequest(int block, const QString& item, const rdxsim::Fields& values) {
    return Request(block, 0x52, item, FieldsText(values));
}

// Field n (1..20) of a read reply, decoded.
inline qint16 Field(const QByteArray& reply, int n) {
    return qint16(Framing::GetNData(QString::fromLatin1(reply), n).toUShort(nullptr, 16));
}

}  // namespace simtest
