// SetDataRecord: the settings of one channel as table values, the unit of block and
// all-channel files. Fields 0..31 are the tables below, not converted; field 23 is the
// presence flag, taken when the record is made and never written back.
#pragma once

#include "exchange/RDX_INC.h"

#include <QString>
#include <array>
#include <vector>

inline constexpr int SetDataFieldCount = 32;       // current version
inline constexpr int OlderSetDataFieldCount = 24;  // older version: fields 0..23, no unit text
inline constexpr int PresentField = 23;

struct SetDataRecord {
    std::array<qint16, SetDataFieldCount> Fields{};
    QString UnitText;

    bool operator==(const SetDataRecord&) const = default;
};

// The table of field 0..31 (ChSV, ChAlarm1, ... ChPresent for 23, ... ChDecimal).
ChannelTable RDX_INC::* SetDataFieldTable(int field);

// Fields 24..31 and the unit text of a record read from an older file.
void FillOlderRecordDefaults(SetDataRecord& record);

SetDataRecord TakeSetDataRecord(const RDX_INC& inc, int channel);
// Stores every field except 23, and the unit text, into the channel's tables.
void ApplySetDataRecord(RDX_INC& inc, int channel, const SetDataRecord& record);

// 20 records of a block (positions 0..19) or 320 of all channels (index 0..319).
std::vector<SetDataRecord> TakeBlockRecords(const RDX_INC& inc, int block);
std::vector<SetDataRecord> TakeAllRecords(const RDX_INC& inc);

// Writes back every record whose field 23 is non-zero into the block's channels (or
// all channels) and keeps their scaling in the settings store. Returns the number of
// channels written, or -1 (nothing written) when the count of records is wrong.
int ApplyBlockRecords(RDX_INC& inc, int block, const std::vector<SetDataRecord>& records);
int ApplyAllRecords(RDX_INC& inc, const std::vector<SetDataRecord>& records);

// True when any of `count` channels from `firstChannel` has the auto-tuning status bit:
// the loaders and savers refuse to act then.
bool AnyAutoTuning(const RDX_INC& inc, int firstChannel, int count);
