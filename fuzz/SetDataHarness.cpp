#include "FuzzHarness.h"

#include "exchange/RDX_INC.h"
#include "setdata/ChannelFile.h"
#include "setdata/ChannelText.h"
#include "setdata/RecordFile.h"
#include "setdata/SetDataRecord.h"
#include "setdata/SetDataValues.h"

#include <QByteArrayView>

namespace {

// Channels of every kind of input, each with its own decimal setting (some of them
// not one of the five listed), so that every text rule meets each case.
constexpr qint16 kInputTypes[] = {0, 5, 6, 9, 10, 12, 15, -1};
constexpr qint16 kDecimals[] = {1, 10, 100, 1000, 10000, 0, 7, -100};
constexpr int kProbeChannels = 8;

void SetUpProbeChannels(RDX_INC& inc) {
    for (int c = 0; c < kProbeChannels; ++c) {
        inc.ChInputType[c] = kInputTypes[c];
        inc.ChDecimal[c] = kDecimals[c];
        inc.ChScaleHigh[c] = qint16(c % 2 ? 32767 : 10000);
        inc.ChScaleLow[c] = qint16(c % 3 ? -32768 : 0);
    }
}

std::string CheckChannelFile(QByteArrayView bytes) {
    const ChannelFileRead read = DecodeChannelFile(bytes);
    if (!read.outcome.ok()) return {};
    // Whatever the reader accepted and the writer takes must read back the same.
    const ChannelFileBytes again = EncodeChannelFile(read.texts, read.version);
    if (again.outcome.ok()) {
        const ChannelFileRead back = DecodeChannelFile(again.bytes);
        if (!back.outcome.ok() || back.texts != read.texts || back.version != read.version)
            return "a channel file written from a read one does not read back the same";
    }
    RDX_INC inc;
    SetUpProbeChannels(inc);
    for (int c = 0; c < kProbeChannels; ++c) {
        for (int item = FirstChannelFileItem; item <= LastChannelFileItem; ++item)
            (void)ItemTextToValue(inc, item, c, read.texts[item - FirstChannelFileItem]);
        (void)ApplyChannelTexts(inc, c, read.texts);
        (void)TakeChannelTexts(inc, c);
    }
    return {};
}

std::string CheckRecordFile(RecordFileKind kind, QByteArrayView bytes) {
    const RecordFileRead read = DecodeRecordFile(kind, bytes);
    if (!read.outcome.ok()) {
        if (!read.records.empty()) return "a refused file still handed over records";
        return {};
    }
    if (int(read.records.size()) != RecordCountOf(kind)) return "an accepted file has the wrong record count";
    const RecordFileBytes again = EncodeRecordFile(kind, read.records, read.version);
    if (again.outcome.ok()) {
        const RecordFileRead back = DecodeRecordFile(kind, again.bytes);
        if (!back.outcome.ok() || back.records != read.records)
            return "a record file written from a read one does not read back the same";
    }
    RDX_INC inc;
    const int written = kind == RecordFileKind::Block ? ApplyBlockRecords(inc, 15, read.records)
                                                      : ApplyAllRecords(inc, read.records);
    if (written < 0) return "an accepted file was not applied";
    const int first = kind == RecordFileKind::Block ? 15 * ChannelsPerBlock : 0;
    for (int i = 0; i < int(read.records.size()); ++i) {
        const SetDataRecord& r = read.records[std::size_t(i)];
        if (r.Fields[PresentField] == 0) continue;
        SetDataRecord taken = TakeSetDataRecord(inc, first + i);
        taken.Fields[PresentField] = r.Fields[PresentField];
        if (taken != r) return "an applied record did not reach the channel's tables";
    }
    return {};
}

std::string CheckValueReader(QByteArrayView bytes) {
    const std::optional<QString> text = DecodeCp932(bytes);
    if (!text) return {};
    SetDataValueReader reader(*text);
    RDX_INC inc;
    SetUpProbeChannels(inc);
    qsizetype values = 0;
    int line = 0;
    while (const std::optional<QString> value = reader.Next()) {
        // Each value uses up at least one character, so a reader that loops is a finding.
        if (++values > text->size() + 1) return "the value reader does not come to an end";
        if (reader.Line() < line) return "the value reader went back a line";
        line = reader.Line();
        qint16 parsed = 0;
        (void)ParseTableValue(*value, parsed);
        (void)RoundToInt16(TextNumber(*value));
        const int c = int(values % kProbeChannels);
        const int item = FirstChannelFileItem + int(values % (LastChannelFileItem - FirstChannelFileItem + 1));
        (void)ItemTextToValue(inc, item, c, *value);
        (void)ApplyItemText(inc, item, c, *value);
    }
    return {};
}

}  // namespace

std::string FuzzSetDataFile(const std::uint8_t* data, std::size_t size) {
    UseFuzzSettingsStore();  // the channel loaders keep the scaling in the store
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (auto check : {CheckChannelFile, CheckValueReader})
        if (std::string e = check(bytes); !e.empty()) return e;
    if (std::string e = CheckRecordFile(RecordFileKind::Block, bytes); !e.empty()) return e;
    return CheckRecordFile(RecordFileKind::AllChannels, bytes);
}
