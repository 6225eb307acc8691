#include "history/HistoryFile.h"

#include "services/Cp932File.h"
#include "history/LocaleText.h"

#include <QDir>
#include <QFile>

namespace {

constexpr int kMaxNameAttempts = 1000;

QString BaseName(const QDateTime& t) {
    const QDate d = t.date();
    const QTime h = t.time();
    return QStringLiteral("%1_%2_%3_%4_%5").arg(d.year()).arg(d.month()).arg(d.day()).arg(h.hour()).arg(h.minute());
}

}  // namespace

QByteArray HistoryHeaderBytes(const QDate& startDate, const QLocale& locale) {
    return QuotedLine({QStringLiteral("RDX-410 Alarm hystory"), QStringLiteral("    Data  : "),
                       DefaultDateText(locale, startDate)}) +
           QuotedLine({QStringLiteral("Time"), QStringLiteral("Channel"), QStringLiteral("Contain")});
}

QString CreateHistoryFile(const QString& programFolder, const QDateTime& startTime, const QLocale& locale) {
    const QString folder = QDir(programFolder).filePath(QStringLiteral("hystory"));
    QDir().mkpath(folder);
    const QString base = QDir(folder).filePath(BaseName(startTime));
    const QString firstName = base + QStringLiteral(".hys");
    const QByteArray header = HistoryHeaderBytes(startTime.date(), locale);

    for (int n = 1; n <= kMaxNameAttempts; ++n) {
        const QString name = n == 1 ? firstName : base + QStringLiteral("-%1.hys").arg(n);
        // NewOnly claims the name atomically, so two programs starting together cannot
        // pick the same file.
        QFile file(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            file.write(header);
            file.close();
            return name;
        }
        if (!QFile::exists(name)) break;  // not a taken name: the folder refuses files
    }
    return firstName;
}
