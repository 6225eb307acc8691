#include "publish/StoredBlocks.h"

#include <QList>

bool IsCoolingOutput(const RDX_INC& inc, int c) {
    return c % 2 == 1 && (quint16(inc.ChOption[c]) & OptionBit::Cooling) != 0;
}

StoredBlocks StoredBlocks::FromTables(const RDX_INC& inc) {
    StoredBlocks s;
    for (int b = 0; b < BlockCount; ++b) {
        if (inc.BlockAbsent[b] != 0) continue;
        s.present[size_t(b)] = true;
        for (int k = 0; k < ChannelsPerBlock; ++k) {
            const int c = b * ChannelsPerBlock + k;
            if (inc.ChPresent[c] != 0) s.channels[size_t(b)] |= 1u << k;
            if (IsCoolingOutput(inc, c)) s.cooling[size_t(b)] |= 1u << k;
        }
    }
    return s;
}

QByteArray StoredBlocks::Text() const {
    QByteArray out;
    for (int b = 0; b < BlockCount; ++b)
        if (present[size_t(b)])
            out += QByteArray::number(b + 1) + ',' + QByteArray::number(channels[size_t(b)], 16) + ',' +
                   QByteArray::number(cooling[size_t(b)], 16) + "\r\n";
    return out;
}

std::optional<StoredBlocks> StoredBlocks::Parse(const QByteArray& text) {
    StoredBlocks s;
    constexpr quint32 kAll = (1u << ChannelsPerBlock) - 1;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty()) continue;
        const QList<QByteArray> f = line.split(',');
        if (f.size() != 3) return std::nullopt;
        bool ok[3] = {};
        const int block = f[0].toInt(&ok[0]) - 1;
        const quint32 channels = f[1].toUInt(&ok[1], 16), cooling = f[2].toUInt(&ok[2], 16);
        if (!ok[0] || !ok[1] || !ok[2] || block < 0 || block >= BlockCount || (channels | cooling) > kAll)
            return std::nullopt;
        s.present[size_t(block)] = true;
        s.channels[size_t(block)] = channels;
        s.cooling[size_t(block)] = cooling;
    }
    return s;
}

QString StoredBlocksPath(const QString& programFolder, const QString& line) {
    return programFolder + QStringLiteral("/MqttBlocks_") + line + QStringLiteral(".txt");
}
