// This run's alarm history file, created at start-up below the program folder.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

// The two header lines: title with the start date, then the column names.
QByteArray HistoryHeaderBytes(const QDate& startDate, const QLocale& locale);

// "<folder>/hystory/Y_M_D_h_n.hys" from the start time, numbers without leading zeros.
// A second start within the same minute must not empty the first run's file, so a name
// already taken gives way to "Y_M_D_h_n-2.hys", "-3" and so on. Creates the folder when
// missing and writes the header. Returns the path entries are to be appended to; when
// the file could not be created that is still the first name, and each entry then
// reports its own failure.
QString CreateHistoryFile(const QString& programFolder, const QDateTime& startTime,
                          const QLocale& locale = QLocale::system());
