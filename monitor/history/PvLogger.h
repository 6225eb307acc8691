// PV data logging: the process values of the ticked blocks go to a text file at a fixed
// interval, one line per sample with the date and time first.
#pragma once

#include "services/Clock.h"
#include "exchange/RDX_INC.h"
#include "services/Cp932File.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <array>
#include <functional>

inline constexpr char LogWriteFailedMessage[] =
    "ファイルに書き込み出来ません。ロギングファイルが開かれていないか確認してください。";

// A time of day; the schedule texts of the logging view are kept in this form.
struct TimeOfDay {
    qint16 Hour = 0;
    qint16 Minute = 0;
    qint16 Second = 0;
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// a + b, carrying seconds into minutes and minutes into hours, hours modulo 24.
TimeOfDay AddTimeOfDay(const TimeOfDay& a, const TimeOfDay& b);
// The interval of a list index of the interval list (0: 10 s ... 7: 1 h); false when
// the index is outside the list.
bool LogIntervalOf(int listIndex, TimeOfDay& interval);

// "<folder>/logging/Y_M_D_h_n_s.txt" from the given time, numbers without leading zeros.
// Also makes the program folder the current directory.
QString NewLogFileName(const QString& programFolder, const QDateTime& now);

using BlockSelection = std::array<bool, BlockCount>;

class PvLogger {
public:
    // Text of a channel's PV, the same text the views show (the display formatter).
    using PvTextFn = std::function<QString(int channel)>;

    explicit PvLogger(PvTextFn pvText);

    // Stamps the records; replaced by tests.
    const Clock* Time = &SystemClock();
    // Date and time texts of the file; the platform's unless a test sets another.
    QLocale Locale = QLocale::system();
    // True while a block is out of contact: its table values are frozen, not fresh, so a
    // record carries an empty field for each of its channels (and keeps its columns).
    std::function<bool(int block)> BlockOutOfContact;

    TimeOfDay LogInterval;
    TimeOfDay LogLastTime;
    TimeOfDay NextLogTime;

    // Takes the interval from the list index, LogLastTime = now and NextLogTime = now +
    // interval. Returns the list index used: 0 when the given one is outside the list.
    int ScheduleNextLog(int loggingTimeIndex);

    // Header lines 1 to 3: title, start date, "保存時間" and the ticked blocks' channel
    // names cut to 12 characters.
    QByteArray HeaderBytes(const BlockSelection& ticked, const QDate& startDate) const;
    // One sample: date and time, then the 20 PV texts of every ticked block (empty ones
    // for a block out of contact).
    QByteArray RecordBytes(const BlockSelection& ticked, const QDateTime& sampleTime) const;

    // Starts a log: writes the header unless resuming into an existing file, schedules,
    // and appends the first record. Any failure ends the start; after a refusal the
    // schedule is made again, and the caller shows LogWriteFailedMessage. An empty or
    // unusable name gives Failed, which has no message.
    FileWriteResult StartLog(const QString& path, bool resume, const BlockSelection& ticked,
                             int loggingTimeIndex);

    enum class TickResult { NotDue, Written, Failed };
    // One logging tick. Writes a record when the scheduled second has come or passed; a
    // late tick still writes at once and keeps the interval grid. Each whole interval that
    // passed entirely meanwhile (the program held by a re-read of the line) gets a record
    // of its own, at its time, with empty fields: no value was sampled then, and a reader
    // must see the hole rather than a row missing. Failed: the caller shows LogWriteFailedMessage;
    // the schedule then starts again from now, and logging stays on.
    TickResult LogTick(const QString& path, const BlockSelection& ticked);

private:
    void SetNextDue(const QDateTime& due);
    // A record with empty fields for every ticked channel.
    QByteArray BlankRecordBytes(const BlockSelection& ticked, const QDateTime& sampleTime) const;
    QByteArray RecordOf(const BlockSelection& ticked, const QDateTime& sampleTime, bool blank) const;

    PvTextFn pvText_;
    int intervalIndex_ = 0;
    qint64 intervalSeconds_ = 10;
    QDateTime nextDue_;  // absolute time of the next sample; invalid until scheduled
public:
    // More missed intervals than this (the clock set forward) get one blank record each
    // for the last ones only; the rest is noted in the program's log.
    static constexpr qint64 MaxBlankRecords = 8640;
};
