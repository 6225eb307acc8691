// The data of the factory-initialisation command: 20 fields of 4 characters, field 2i
// "0001" when controller unit i (block positions 2i and 2i + 1) is to be reset.
#pragma once

#include "exchange/RDX_INC.h"

#include <QString>

class FactoryMask {
public:
    static constexpr int Length = 4 * ChannelsPerBlock;  // 80 characters
    static constexpr int UnitCount = ChannelsPerBlock / 2;

    FactoryMask() { Reset(); }
    // No unit selected: 80 characters "0".
    void Reset();
    // Unit 0..9 selected or not; other numbers change nothing.
    void SetUnit(int unit, bool selected);
    bool UnitSelected(int unit) const;
    bool AnyUnitSelected() const;
    const QString& Text() const { return text_; }

private:
    QString text_;
};

// True when the AT switch of any channel of the block is on (the factory reset is then
// refused); false for a block outside 0..15.
bool AutoTuningInBlock(const RDX_INC& inc, int block);

