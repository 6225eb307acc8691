#include "publish/JsonText.h"

#include <QRegularExpression>

QByteArray JsonString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (const char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

QByteArray JsonNumberText(const QString& formatted) {
    static const QRegularExpression number(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]+)?$"));
    return number.match(formatted).hasMatch() ? formatted.toLatin1() : QByteArrayLiteral("null");
}

QByteArray JsonArray(const QList<QByteArray>& items) {
    QByteArray out = "[";
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0) out += ',';
        out += items[i];
    }
    out += ']';
    return out;
}

JsonObject& JsonObject::AddRaw(const char* key, const QByteArray& json) {
    if (!body_.isEmpty()) body_ += ',';
    body_ += '"';
    body_ += key;
    body_ += "\":";
    body_ += json;
    return *this;
}

JsonObject& JsonObject::AddString(const char* key, const QString& text) { return AddRaw(key, JsonString(text)); }

JsonObject& JsonObject::AddInt(const char* key, qint64 value) { return AddRaw(key, QByteArray::number(value)); }

JsonObject& JsonObject::AddBool(const char* key, bool value) {
    return AddRaw(key, value ? QByteArrayLiteral("true") : QByteArrayLiteral("false"));
}

JsonObject& JsonObject::AddNull(const char* key) { return AddRaw(key, QByteArrayLiteral("null")); }

JsonObject& JsonObject::AddNumberText(const char* key, const QString& formatted) {
    return AddRaw(key, JsonNumberText(formatted));
}

QByteArray JsonObject::Text() const { return '{' + body_ + '}'; }
