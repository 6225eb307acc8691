#include "history/PvText.h"

#include "display/ValueFormat.h"

QString DisplayedPvText(const RDX_INC& inc, int channel) { return FormatItemValue(inc, 0, channel); }
