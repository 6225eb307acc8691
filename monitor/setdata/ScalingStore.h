// A channel's PC-side scaling (high and low limit, decimal setting, unit text) lives in
// the settings store as well as in the tables: the start-up read reloads the tables from
// the store, so a set-data load that changes the tables must change the store too.
#pragma once

#include "exchange/RDX_INC.h"

// Saves "STLH", "STLL", "DP" and "UNIT" of the channel from its tables; keys that
// already hold the value are left alone.
void SaveChannelScaling(const RDX_INC& inc, int channel);
