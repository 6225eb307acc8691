#include "setdata/SetDataRecord.h"

#include "setdata/ScalingStore.h"

namespace {

constexpr std::array<ChannelTable RDX_INC::*, SetDataFieldCount> kFieldTables = {
    &RDX_INC::ChSV,          &RDX_INC::ChAlarm1,     &RDX_INC::ChAlarm2,      &RDX_INC::ChHBAlarm,
    &RDX_INC::ChPBand,       &RDX_INC::ChITime,      &RDX_INC::ChDTime,       &RDX_INC::ChARW,
    &RDX_INC::ChPCycle,      &RDX_INC::ChManualReset, &RDX_INC::ChOutputHys,  &RDX_INC::ChAlarm1Hys,
    &RDX_INC::ChAlarm2Hys,   &RDX_INC::ChAlarm1Type, &RDX_INC::ChAlarm2Type,  &RDX_INC::ChOutHigh,
    &RDX_INC::ChOutLow,      &RDX_INC::ChInputFilter, &RDX_INC::ChSensorCorr, &RDX_INC::ChAction,
    &RDX_INC::ChTempUnit,    &RDX_INC::ChLoopTime,   &RDX_INC::ChLoopSpan,    &RDX_INC::ChPresent,
    &RDX_INC::ChCoolPBand,   &RDX_INC::ChCoolPCycle, &RDX_INC::ChOverlapBand, &RDX_INC::ChCoolMode,
    &RDX_INC::ChCoolHys,     &RDX_INC::ChScaleHigh,  &RDX_INC::ChScaleLow,    &RDX_INC::ChDecimal,
};

constexpr qint16 kOlderDefaults[SetDataFieldCount - OlderSetDataFieldCount] = {
    10, 30, 0, 0, 10, 10000, 0, 1};

bool ValidChannel(int channel) { return channel >= 0 && channel < ChannelCount; }

std::vector<SetDataRecord> TakeRecords(const RDX_INC& inc, int first, int count) {
    std::vector<SetDataRecord> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) records.push_back(TakeSetDataRecord(inc, first + i));
    return records;
}

int ApplyRecords(RDX_INC& inc, int first, const std::vector<SetDataRecord>& records) {
    int written = 0;
    for (int i = 0; i < int(records.size()); ++i) {
        // A channel that was absent when the record was taken holds nothing to copy.
        if (records[i].Fields[PresentField] == 0) continue;
        ApplySetDataRecord(inc, first + i, records[i]);
        SaveChannelScaling(inc, first + i);
        ++written;
    }
    return written;
}

}  // namespace

ChannelTable RDX_INC::* SetDataFieldTable(int field) {
    return field >= 0 && field < SetDataFieldCount ? kFieldTables[field] : nullptr;
}

void FillOlderRecordDefaults(SetDataRecord& record) {
    for (int k = OlderSetDataFieldCount; k < SetDataFieldCount; ++k)
        record.Fields[k] = kOlderDefaults[k - OlderSetDataFieldCount];
    record.UnitText = QStringLiteral("%");
}

SetDataRecord TakeSetDataRecord(const RDX_INC& inc, int channel) {
    SetDataRecord record;
    if (!ValidChannel(channel)) return record;
    for (int k = 0; k < SetDataFieldCount; ++k) record.Fields[k] = (inc.*kFieldTables[k])[channel];
    record.UnitText = inc.ChUnitText[channel];
    return record;
}

void ApplySetDataRecord(RDX_INC& inc, int channel, const SetDataRecord& record) {
    if (!ValidChannel(channel)) return;
    for (int k = 0; k < SetDataFieldCount; ++k)
        if (k != PresentField) (inc.*kFieldTables[k])[channel] = record.Fields[k];
    inc.ChUnitText[channel] = record.UnitText;
}

std::vector<SetDataRecord> TakeBlockRecords(const RDX_INC& inc, int block) {
    if (block < 0 || block >= BlockCount) return {};
    return TakeRecords(inc, block * ChannelsPerBlock, ChannelsPerBlock);
}

std::vector<SetDataRecord> TakeAllRecords(const RDX_INC& inc) { return TakeRecords(inc, 0, ChannelCount); }

int ApplyBlockRecords(RDX_INC& inc, int block, const std::vector<SetDataRecord>& records) {
    if (block < 0 || block >= BlockCount || records.size() != std::size_t(ChannelsPerBlock)) return -1;
    return ApplyRecords(inc, block * ChannelsPerBlock, records);
}

int ApplyAllRecords(RDX_INC& inc, const std::vector<SetDataRecord>& records) {
    if (records.size() != std::size_t(ChannelCount)) return -1;
    return ApplyRecords(inc, 0, records);
}

bool AnyAutoTuning(const RDX_INC& inc, int firstChannel, int count) {
    for (int c = qMax(0, firstChannel); c < firstChannel + count && c < ChannelCount; ++c)
        if (quint16(inc.ChStatus[c]) & StatusBit::AutoTuning) return true;
    return false;
}
