// The PV text of a channel as the views show it, for a PV log kept by a program without
// views (the gateway): the one value formatter, so both programs' log files agree.
#pragma once

#include "exchange/RDX_INC.h"

#include <QString>

QString DisplayedPvText(const RDX_INC& inc, int channel);
