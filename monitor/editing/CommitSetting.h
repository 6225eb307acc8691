// Hands a changed setting on: a controller setting becomes a single-item write request
// of the exchange, a PC-side setting (scaling, decimal point, unit) goes to the store.
#pragma once

#include "exchange/RDX_INC.h"

// The channel table already holds the new value. Settings 32..35 are saved under their
// key and PollState is left alone; a setting with an item code sets WriteItemCode,
// SelectedBlock and PollState 2; any other number (0, 24) requests state 2 for the
// channel's block with WriteItemCode unchanged. A channel outside 0..319 does nothing.
void CommitSetting(RDX_INC& inc, int setting, int channel);
