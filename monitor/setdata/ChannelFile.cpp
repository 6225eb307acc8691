#include "setdata/ChannelFile.h"

#include "setdata/SetDataFile.h"
#include "setdata/SetDataValues.h"

namespace {

ChannelFileRead Failed(SetDataStatus status, int line = 0) {
    ChannelFileRead read;
    read.outcome = {status, line};
    return read;
}

ChannelFileRead ParseChannelText(const QString& text) {
    SetDataValueReader reader(text);
    ChannelFileRead read;
    std::optional<QString> first = reader.Next();
    if (!first) return Failed(SetDataStatus::EndedEarly, reader.Line());
    int count = ChannelFieldCount;
    if (*first != QLatin1StringView(SetDataHeader)) {
        read.version = SetDataVersion::Older;
        count = OlderChannelFieldCount;
        reader.Rewind();
    }
    for (int k = 0; k < count; ++k) {
        std::optional<QString> value = reader.Next();
        if (!value) return Failed(SetDataStatus::EndedEarly, reader.Line());
        // Cut at the quote, the text would load as something the file does not say.
        if (reader.LastTextHeldQuote()) return Failed(SetDataStatus::QuoteInFileText, reader.Line());
        read.texts[k] = std::move(*value);
    }
    if (read.version == SetDataVersion::Older) read.texts = WithOlderChannelDefaults(read.texts);
    return read;
}

}  // namespace

ChannelFileBytes EncodeChannelFile(const ChannelTexts& texts, SetDataVersion version) {
    SetDataLineWriter writer;
    ChannelFileBytes result;
    int count = OlderChannelFieldCount;
    if (version == SetDataVersion::Current) {
        writer.AddText(QString::fromLatin1(SetDataHeader));
        count = ChannelFieldCount;
    }
    for (int k = 0; k < count; ++k) {
        const SetDataStatus status = writer.AddText(texts[k]);
        if (status != SetDataStatus::Ok) {
            result.outcome = {status, 0, k};
            return result;
        }
    }
    std::optional<QByteArray> bytes = writer.Bytes();
    if (!bytes) {
        result.outcome = {SetDataStatus::NotEncodable};
        for (int k = 0; k < count && result.outcome.index < 0; ++k)
            if (!EncodeCp932(texts[k])) result.outcome.index = k;
        return result;
    }
    // A longer file would count as a block file and no channel load could take it back.
    if (SetDataSizeClass(bytes->size()) != ChannelFileClass) {
        result.outcome = {SetDataStatus::TooLarge};
        return result;
    }
    result.bytes = std::move(*bytes);
    return result;
}

ChannelFileRead DecodeChannelFile(QByteArrayView bytes) {
    SetDataText text = SetDataTextOf(bytes, ChannelFileClass);
    if (!text.outcome.ok()) return Failed(text.outcome.status);
    return ParseChannelText(text.text);
}

SetDataOutcome WriteChannelFile(const QString& path, const ChannelTexts& texts) {
    const ChannelFileBytes encoded = EncodeChannelFile(texts);
    if (!encoded.outcome.ok()) return encoded.outcome;
    return WriteSetDataBytes(path, encoded.bytes);
}

ChannelFileRead ReadChannelFile(const QString& path) {
    SetDataText text = ReadSetDataText(path, ChannelFileClass);
    if (!text.outcome.ok()) return Failed(text.outcome.status);
    return ParseChannelText(text.text);
}
