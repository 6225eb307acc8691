// Block files (20 records) and all-channel files (320 records). Current version: the
// line "V202data", then per record 32 decimal lines and the quoted unit text; older
// version: no first line, 24 decimal lines per record, no unit text.
#pragma once

#include "setdata/SetDataFormat.h"
#include "setdata/SetDataRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <vector>

enum class RecordFileKind { Block, AllChannels };

// 20 or 320.
int RecordCountOf(RecordFileKind kind);

struct RecordFileBytes {
    SetDataOutcome outcome;  // index = the record whose unit text cannot be written
    QByteArray bytes;
};

struct RecordFileRead {
    SetDataOutcome outcome;
    SetDataVersion version = SetDataVersion::Current;
    // Every record of the file when outcome is Ok; empty otherwise, so a failed read
    // can never be applied in part.
    std::vector<SetDataRecord> records;
};

RecordFileBytes EncodeRecordFile(RecordFileKind kind, const std::vector<SetDataRecord>& records,
                                 SetDataVersion version = SetDataVersion::Current);
RecordFileRead DecodeRecordFile(RecordFileKind kind, QByteArrayView bytes);

// Writes a current-version file; nothing is written when a record is refused.
SetDataOutcome WriteRecordFile(const QString& path, RecordFileKind kind,
                               const std::vector<SetDataRecord>& records);
RecordFileRead ReadRecordFile(const QString& path, RecordFileKind kind);

// The all-channel load after the operator picked the file: reads all 320 records, asks
// `confirm` (the overwrite question) only when the whole file is valid, and then writes
// back every record of a present channel (an empty confirm counts as Yes). Returns
// Cancelled when confirm says No; on any failure the tables are untouched.
SetDataOutcome LoadAllChannelFile(RDX_INC& inc, const QString& path, const std::function<bool()>& confirm);
