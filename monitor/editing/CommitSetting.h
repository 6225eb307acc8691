// Hands a changed setting on: a controller setting becomes a single-item write request
// of the exchange, a PC-side setting (scaling, decimal point, unit) goes to the store.
#pragma once

#include "exchange/RDX_INC.h"

class WriteRequests;

// The channel table already holds the new value. Settings 32..35 are saved under their
// key; a setting with an item code is requested as a write of the channel's block; any
// other number (0, 24) and a channel outside 0..319 do nothing.
void CommitSetting(RDX_INC& inc, WriteRequests& writes, int setting, int channel);
