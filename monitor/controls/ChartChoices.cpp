#include "controls/ChartChoices.h"

QString PenItemSuffix(int item) {
    static const char* const suffixes[] = {": --", ": PV", ": SV", ": MV"};
    if (item < ChartItemNone || item > ChartItemMV) return {};
    return QString::fromLatin1(suffixes[item]);
}

QString PenLabelText(const QString& channelName, int item) { return channelName + PenItemSuffix(item); }
