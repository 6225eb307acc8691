// The traffic view's rows and its saved file: each exchange as the request sent and the
// reply received, control characters named so the raw bytes can be read.
#pragma once

#include "exchange/LineDiagnostics.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Time to the ms, direction, block, command, item, data, verdict, raw bytes.
QList<QStringList> TrafficRows(const TrafficEntry& entry);
QStringList TrafficHeader();

enum class TrafficEncoding { Cp932, Utf8 };
// Header and rows, tab-separated, CR LF line ends, in the chosen encoding.
QByteArray TrafficFileBytes(const std::deque<TrafficEntry>& traffic, TrafficEncoding encoding);
