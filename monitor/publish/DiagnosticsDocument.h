// The line's per-block exchange counters as one retained document: what a technician
// watching from afar needs to tell a silent block from a noisy cable.
#pragma once

#include "exchange/LineDiagnostics.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>

// Blocks whose flag is set (the present ones) appear, numbered 1..16 as in the block
// documents. Times of the response in milliseconds, one decimal.
QByteArray DiagnosticsDocument(const QString& line, const QDateTime& time, const LineDiagnostics& diagnostics,
                               const std::array<bool, BlockCount>& present);
