// The platform's default date and time texts, as the history and log files carry them.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// The locale's short date form.
QString DefaultDateText(const QLocale& locale, const QDate& date);
// The locale's short time form, with seconds added where that form has none: samples
// ten seconds apart must not carry the same time stamp.
QString DefaultTimeText(const QLocale& locale, const QTime& time);
