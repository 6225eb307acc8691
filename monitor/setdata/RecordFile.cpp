#include "setdata/RecordFile.h"

#include "setdata/SetDataFile.h"
#include "setdata/SetDataValues.h"

namespace {

int SizeClassOf(RecordFileKind kind) {
    return kind == RecordFileKind::Block ? BlockFileClass : AllChannelFileClass;
}

RecordFileRead Failed(SetDataStatus status, int line = 0) {
    RecordFileRead read;
    read.outcome = {status, line};
    return read;
}

RecordFileRead ParseRecordText(RecordFileKind kind, const QString& text) {
    SetDataValueReader reader(text);
    RecordFileRead read;
    std::optional<QString> first = reader.Next();
    if (!first) return Failed(SetDataStatus::EndedEarly, reader.Line());
    int fieldCount = SetDataFieldCount;
    if (*first != QLatin1StringView(SetDataHeader)) {
        read.version = SetDataVersion::Older;
        fieldCount = OlderSetDataFieldCount;
        reader.Rewind();
    }

    const int count = RecordCountOf(kind);
    read.records.resize(count);
    for (SetDataRecord& record : read.records) {
        for (int k = 0; k < fieldCount; ++k) {
            std::optional<QString> value = reader.Next();
            if (!value) return Failed(SetDataStatus::EndedEarly, reader.Line());
            const SetDataStatus status = ParseTableValue(*value, record.Fields[k]);
            if (status != SetDataStatus::Ok) return Failed(status, reader.Line());
        }
        if (read.version == SetDataVersion::Older) {
            FillOlderRecordDefaults(record);
            continue;
        }
        std::optional<QString> unit = reader.Next();
        if (!unit) return Failed(SetDataStatus::EndedEarly, reader.Line());
        // Cut at the quote, the unit would load as something the file does not say.
        if (reader.LastTextHeldQuote()) return Failed(SetDataStatus::QuoteInFileText, reader.Line());
        record.UnitText = std::move(*unit);
    }
    return read;
}

}  // namespace

int RecordCountOf(RecordFileKind kind) {
    return kind == RecordFileKind::Block ? ChannelsPerBlock : ChannelCount;
}

RecordFileBytes EncodeRecordFile(RecordFileKind kind, const std::vector<SetDataRecord>& records,
                                 SetDataVersion version) {
    RecordFileBytes result;
    if (records.size() != std::size_t(RecordCountOf(kind))) {
        result.outcome = {SetDataStatus::NoData};
        return result;
    }
    const bool current = version == SetDataVersion::Current;
    const int fieldCount = current ? SetDataFieldCount : OlderSetDataFieldCount;
    SetDataLineWriter writer;
    if (current) writer.AddText(QString::fromLatin1(SetDataHeader));
    for (int i = 0; i < int(records.size()); ++i) {
        for (int k = 0; k < fieldCount; ++k) writer.AddNumber(records[i].Fields[k]);
        if (!current) continue;
        SetDataStatus status = writer.AddText(records[i].UnitText);
        if (status == SetDataStatus::Ok && !EncodeCp932(records[i].UnitText))
            status = SetDataStatus::NotEncodable;
        if (status != SetDataStatus::Ok) {
            result.outcome = {status, 0, i};
            return result;
        }
    }
    std::optional<QByteArray> bytes = writer.Bytes();
    if (!bytes) {
        result.outcome = {SetDataStatus::NotEncodable};
        return result;
    }
    // A block file over 20000 bytes would count as an all-channel file and not load back.
    if (SetDataSizeClass(bytes->size()) != SizeClassOf(kind)) {
        result.outcome = {SetDataStatus::TooLarge};
        return result;
    }
    result.bytes = std::move(*bytes);
    return result;
}

RecordFileRead DecodeRecordFile(RecordFileKind kind, QByteArrayView bytes) {
    SetDataText text = SetDataTextOf(bytes, SizeClassOf(kind));
    if (!text.outcome.ok()) return Failed(text.outcome.status);
    return ParseRecordText(kind, text.text);
}

SetDataOutcome WriteRecordFile(const QString& path, RecordFileKind kind,
                               const std::vector<SetDataRecord>& records) {
    const RecordFileBytes encoded = EncodeRecordFile(kind, records);
    if (!encoded.outcome.ok()) return encoded.outcome;
    return WriteSetDataBytes(path, encoded.bytes);
}

RecordFileRead ReadRecordFile(const QString& path, RecordFileKind kind) {
    SetDataText text = ReadSetDataText(path, SizeClassOf(kind));
    if (!text.outcome.ok()) return Failed(text.outcome.status);
    return ParseRecordText(kind, text.text);
}

SetDataOutcome LoadAllChannelFile(RDX_INC& inc, const QString& path, const std::function<bool()>& confirm) {
    const RecordFileRead read = ReadRecordFile(path, RecordFileKind::AllChannels);
    if (!read.outcome.ok()) return read.outcome;
    if (confirm && !confirm()) return {SetDataStatus::Cancelled};
    ApplyAllRecords(inc, read.records);
    return {};
}
