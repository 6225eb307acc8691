#include "history/LocaleText.h"

QString DefaultDateText(const QLocale& locale, const QDate& date) {
    return locale.toString(date, QLocale::ShortFormat);
}

QString DefaultTimeText(const QLocale& locale, const QTime& time) {
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1Char('s'))) {
        const qsizetype minutes = format.indexOf(QLatin1String("mm"));
        if (minutes != -1)
            format.insert(minutes + 2, QLatin1String(":ss"));
        else
            format = locale.timeFormat(QLocale::LongFormat);
    }
    return locale.toString(time, format);
}
