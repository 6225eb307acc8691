// Channel files: the display texts of one channel. Current version: the line
// "V202data", then the 32 texts; older version: the first 23 texts only.
#pragma once

#include "setdata/ChannelText.h"
#include "setdata/SetDataFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct ChannelFileBytes {
    SetDataOutcome outcome;  // index = the field whose text cannot be written
    QByteArray bytes;
};

struct ChannelFileRead {
    SetDataOutcome outcome;
    SetDataVersion version = SetDataVersion::Current;
    ChannelTexts texts;  // an older file's fields 23..31 hold the older-version defaults
};

ChannelFileBytes EncodeChannelFile(const ChannelTexts& texts, SetDataVersion version = SetDataVersion::Current);
ChannelFileRead DecodeChannelFile(QByteArrayView bytes);

// Writes a current-version channel file; nothing is written when a text is refused.
SetDataOutcome WriteChannelFile(const QString& path, const ChannelTexts& texts);
ChannelFileRead ReadChannelFile(const QString& path);
