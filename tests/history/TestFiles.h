// Small helpers shared by the history tests.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QString>

inline QByteArray FileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// Hand-written bytes: "hex" with spaces allowed.
inline QByteArray Hex(const char* hex) { return QByteArray::fromHex(QByteArray(hex)); }

inline QLocale JapaneseLocale() { return QLocale(QLocale::Japanese, QLocale::Japan); }

inline QDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}
