// JSON text written by hand: numbers keep exactly the decimals the value formatter gives
// ("12.30" stays 12.30), which a general JSON library would turn into doubles.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A quoted JSON string, UTF-8, with the characters JSON requires escaped.
QByteArray JsonString(const QString& text);
// The formatted text itself when it reads as a JSON number, else null.
QByteArray JsonNumberText(const QString& formatted);
// "[a,b,...]" from items that are JSON already.
QByteArray JsonArray(const QList<QByteArray>& items);

// One object, members in the order they are added.
class JsonObject {
public:
    JsonObject& AddRaw(const char* key, const QByteArray& json);
    JsonObject& AddString(const char* key, const QString& text);
    JsonObject& AddInt(const char* key, qint64 value);
    JsonObject& AddBool(const char* key, bool value);
    JsonObject& AddNull(const char* key);
    // A value from the formatter: a number when it reads as one, else null.
    JsonObject& AddNumberText(const char* key, const QString& formatted);
    QByteArray Text() const;

private:
    QByteArray body_;
};
