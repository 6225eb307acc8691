#include "display/LineTrouble.h"

#include "display/ViewParts.h"

#include <QStringList>

LineTrouble TroubleOf(const RDX_INC& d, int firstBlock, int blockCount) {
    LineTrouble t;
    for (int b = qMax(firstBlock, 0); b < qMin(firstBlock + blockCount, BlockCount); ++b) {
        if (d.BlockAbsent[size_t(b)] != 0) continue;
        if (d.BlockOutOfContact[size_t(b)]) {
            ++t.silentBlocks;
            continue;
        }
        for (int c = b * ChannelsPerBlock; c < (b + 1) * ChannelsPerBlock; ++c)
            if (InAlarm(d, c)) ++t.alarms;
    }
    return t;
}

QString TroubleSummary(const LineTrouble& trouble) {
    QStringList parts;
    if (trouble.alarms > 0) parts << QStringLiteral("警報 %1").arg(trouble.alarms);
    if (trouble.silentBlocks > 0) parts << QStringLiteral("通信異常 %1").arg(trouble.silentBlocks);
    return parts.join(QStringLiteral(" / "));
}

QString ContactTroubleText(bool portLost, const QString& port, const QString& device,
                           const QStringList& silentBlockNames) {
    if (portLost) {
        const QString where = device.isEmpty() || device == port ? port : QStringLiteral("%1 (%2)").arg(port, device);
        return QStringLiteral("ﾎﾟｰﾄ切断: %1  接続を確認してください").arg(where);
    }
    if (silentBlockNames.isEmpty()) return QStringLiteral("通信異常");
    return QStringLiteral("通信異常: ") + silentBlockNames.join(QStringLiteral(", "));
}
