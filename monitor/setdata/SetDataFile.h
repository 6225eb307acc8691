// Opening, reading and writing of set-data files. Each operation opens the file, does
// its work and closes it again; a read takes the whole file at once, so nothing is
// applied from a file that fails part way.
#pragma once

#include "setdata/SetDataFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct SetDataText {
    SetDataOutcome outcome;
    QString text;  // the whole file as text, when outcome is Ok
};

// The bytes as text, provided their length is of the given size class and they are
// code page 932 text.
SetDataText SetDataTextOf(QByteArrayView bytes, int sizeClass);
// The same for the contents of a file.
SetDataText ReadSetDataText(const QString& path, int sizeClass);

// Creates or replaces the file with the bytes. The new contents take the file's place
// only once completely written, so a failed write leaves an existing file as it was.
SetDataOutcome WriteSetDataBytes(const QString& path, const QByteArray& bytes);
