// How far the read of the whole line has come, from the engine's running count (one for
// each block's inquiry, then 37 for each block's items, present or not).
#pragma once

#include "exchange/RDX_INC.h"

#include <array>

// 0..100, over the work the present blocks really take: absent blocks cost no time, so
// counting them would leave the bar low while the read runs and jump at its end.
int StartupReadPercent(int count, const std::array<qint16, BlockCount>& blockAbsent);
