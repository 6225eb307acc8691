#include "setdata/ChannelFile.h"

#include "setdata/SetDataFile.h"
#include "setdata/SetDataValues.h"

#include <algorithm>
#include <span>

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
        // The first text of the file that the code page cannot carry.
        const auto written = std::span(texts).first(std::size_t(count));
        const auto bad = std::find_if(written.begin(), written.end(),
                                      [](const QString& text) { return !EncodeCp932(text); });
        result.outcome = {SetDataStatus::NotEncodable, 0, bad == written.end() ? -1 : int(bad - written.begin())};
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
