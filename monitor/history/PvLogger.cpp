#include "history/PvLogger.h"

#include "services/SettingsStore.h"
#include "history/LocaleText.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QStringList>

Q_LOGGING_CATEGORY(lcPvLog, "rdx.pvlog", QtWarningMsg)

namespace {

constexpr int kNameLength = 12;

constexpr std::array<TimeOfDay, 8> kIntervals{{
    {0, 0, 10}, {0, 0, 30}, {0, 1, 0}, {0, 5, 0}, {0, 10, 0}, {0, 15, 0}, {0, 30, 0}, {1, 0, 0}}};

TimeOfDay TimeOfDayOf(const QTime& t) {
    return {qint16(t.hour()), qint16(t.minute()), qint16(t.second())};
}

qint64 SecondsOf(const TimeOfDay& t) { return t.Hour * 3600 + t.Minute * 60 + t.Second; }

// Samples are taken to the whole second.
QDateTime ToSecond(const QDateTime& t) {
    QDateTime s = t;
    s.setTime(QTime(t.time().hour(), t.time().minute(), t.time().second()));
    return s;
}

QString ChannelName(int ch) {
    const QString suffix = ChannelSuffix(ch);
    return GetSetting(QStringLiteral("Chname") + suffix, QStringLiteral("Ch") + suffix);
}

}  // namespace

TimeOfDay AddTimeOfDay(const TimeOfDay& a, const TimeOfDay& b) {
    int second = a.Second + b.Second;
    int carry = second >= 60 ? 1 : 0;
    if (carry) second -= 60;
    int minute = a.Minute + b.Minute + carry;
    carry = minute >= 60 ? 1 : 0;
    if (carry) minute -= 60;
    int hour = a.Hour + b.Hour + carry;
    if (hour >= 24) hour -= 24;
    return {qint16(hour), qint16(minute), qint16(second)};
}

bool LogIntervalOf(int listIndex, TimeOfDay& interval) {
    if (listIndex < 0 || listIndex >= int(kIntervals.size())) return false;
    interval = kIntervals[listIndex];
    return true;
}

QString NewLogFileName(const QString& programFolder, const QDateTime& now) {
    QDir::setCurrent(programFolder);
    const QDate d = now.date();
    const QTime t = now.time();
    const QString name = QStringLiteral("%1_%2_%3_%4_%5_%6.txt")
                             .arg(d.year())
                             .arg(d.month())
                             .arg(d.day())
                             .arg(t.hour())
                             .arg(t.minute())
                             .arg(t.second());
    return QDir(QDir(programFolder).filePath(QStringLiteral("logging"))).filePath(name);
}

PvLogger::PvLogger(PvTextFn pvText)
    : pvText_(std::move(pvText)) {}

int PvLogger::ScheduleNextLog(int loggingTimeIndex) {
    if (!LogIntervalOf(loggingTimeIndex, LogInterval)) {
        loggingTimeIndex = 0;
        LogIntervalOf(0, LogInterval);
    }
    intervalIndex_ = loggingTimeIndex;
    intervalSeconds_ = SecondsOf(LogInterval);
    const QDateTime now = ToSecond(Time->Now());
    LogLastTime = TimeOfDayOf(now.time());
    SetNextDue(now.addSecs(intervalSeconds_));
    return loggingTimeIndex;
}

void PvLogger::SetNextDue(const QDateTime& due) {
    nextDue_ = due;
    NextLogTime = TimeOfDayOf(due.time());
}

QByteArray PvLogger::HeaderBytes(const BlockSelection& ticked, const QDate& startDate) const {
    QStringList names{QStringLiteral("保存時間")};
    for (int b = 0; b < BlockCount; ++b) {
        if (!ticked[b]) continue;
        for (int k = 0; k < ChannelsPerBlock; ++k) names << ChannelName(b * ChannelsPerBlock + k).left(kNameLength);
    }
    return QuotedLine({QStringLiteral("RDX-410 制御入力値(PV)ﾃﾞｰﾀ")}) +
           QuotedLine({QStringLiteral("日付  : ") + DefaultDateText(Locale, startDate)}) + QuotedLine(names);
}

QByteArray PvLogger::RecordBytes(const BlockSelection& ticked, const QDateTime& sampleTime) const {
    return RecordOf(ticked, sampleTime, false);
}

QByteArray PvLogger::BlankRecordBytes(const BlockSelection& ticked, const QDateTime& sampleTime) const {
    return RecordOf(ticked, sampleTime, true);
}

QByteArray PvLogger::RecordOf(const BlockSelection& ticked, const QDateTime& sampleTime, bool blank) const {
    QStringList fields{DefaultDateText(Locale, sampleTime.date()) + QLatin1Char(' ') +
                       DefaultTimeText(Locale, sampleTime.time())};
    for (int b = 0; b < BlockCount; ++b) {
        if (!ticked[b]) continue;
        const bool frozen = blank || (BlockOutOfContact && BlockOutOfContact(b));
        for (int k = 0; k < ChannelsPerBlock; ++k) fields << (frozen ? QString() : pvText_(b * ChannelsPerBlock + k));
    }
    return QuotedLine(fields);
}

FileWriteResult PvLogger::StartLog(const QString& path, bool resume, const BlockSelection& ticked,
                                   int loggingTimeIndex) {
    const auto fail = [&](FileWriteResult result) {
        if (OperatorShouldBeTold(result)) ScheduleNextLog(loggingTimeIndex);
        return result;
    };
    if (path.isEmpty()) return FileWriteResult::Failed;
    if (!resume || !QFile::exists(path)) {
        const FileWriteResult header = WriteNewFile(path, HeaderBytes(ticked, Time->Now().date()));
        if (header != FileWriteResult::Ok) return fail(header);
    }
    ScheduleNextLog(loggingTimeIndex);
    const QDateTime first = ToSecond(Time->Now());
    const FileWriteResult record = AppendToFile(path, RecordBytes(ticked, first));
    return record == FileWriteResult::Ok ? record : fail(record);
}

PvLogger::TickResult PvLogger::LogTick(const QString& path, const BlockSelection& ticked) {
    if (!nextDue_.isValid()) return TickResult::NotDue;
    const QDateTime now = ToSecond(Time->Now());
    const qint64 late = nextDue_.secsTo(now);
    if (late < 0) {
        // The clock was set back by more than an interval: wait one interval from now
        // rather than until the old time comes round again.
        if (-late > intervalSeconds_) SetNextDue(now.addSecs(intervalSeconds_));
        return TickResult::NotDue;
    }
    const qint64 missed = late / intervalSeconds_;
    QByteArray records;
    const qint64 firstBlank = qMax<qint64>(0, missed - MaxBlankRecords);
    if (firstBlank > 0)
        qCWarning(lcPvLog) << "the clock moved on by" << late << "s:" << firstBlank
                           << "missed samples get no record of their own";
    for (qint64 k = firstBlank; k < missed; ++k)
        records += BlankRecordBytes(ticked, nextDue_.addSecs(k * intervalSeconds_));
    records += RecordBytes(ticked, now);
    SetNextDue(nextDue_.addSecs((missed + 1) * intervalSeconds_));
    if (AppendToFile(path, records) == FileWriteResult::Ok) return TickResult::Written;
    ScheduleNextLog(intervalIndex_);
    return TickResult::Failed;
}
