#include "setdata/FactoryMask.h"

void FactoryMask::Reset() { text_ = QString(Length, u'0'); }

void FactoryMask::SetUnit(int unit, bool selected) {
    if (unit < 0 || unit >= UnitCount) return;
    text_.replace(8 * unit, 4, selected ? QStringLiteral("0001") : QStringLiteral("0000"));
}

bool FactoryMask::UnitSelected(int unit) const {
    return unit >= 0 && unit < UnitCount && QStringView(text_).mid(8 * unit, 4) == u"0001";
}

bool FactoryMask::AnyUnitSelected() const {
    for (int unit = 0; unit < UnitCount; ++unit)
        if (UnitSelected(unit)) return true;
    return false;
}

bool AutoTuningInBlock(const RDX_INC& inc, int block) {
    if (block < 0 || block >= BlockCount) return false;
    for (int k = 0; k < ChannelsPerBlock; ++k)
        if (inc.ChATSwitch[block * ChannelsPerBlock + k] != 0) return true;
    return false;
}

