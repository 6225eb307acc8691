// The blocks of a line as its last start-up read found them, kept in the program folder.
// A program that starts again (after a power cut, a kill) knows from it which block
// documents an earlier run left retained on the broker, and marks them stale before it has
// read anything: a dead line must not look live.
#pragma once

#include "exchange/RDX_INC.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

struct StoredBlocks {
    std::array<bool, BlockCount> present{};
    // Per block, bit k: channel k of the block has a controller / is a cooling output.
    std::array<quint32, BlockCount> channels{};
    std::array<quint32, BlockCount> cooling{};

    bool operator==(const StoredBlocks&) const = default;

    static StoredBlocks FromTables(const RDX_INC& inc);
    // One line per present block: "block,channels,cooling" (1..16, two hex masks), CR LF.
    QByteArray Text() const;
    // Nothing when the text is not such a list.
    static std::optional<StoredBlocks> Parse(const QByteArray& text);
};

// "<folder>/MqttBlocks_<line>.txt": one file per line, as several lines may be published
// from one program folder.
QString StoredBlocksPath(const QString& programFolder, const QString& line);

// The second channel of a heating/cooling pair: the pair's cooling output only.
bool IsCoolingOutput(const RDX_INC& inc, int channel);
