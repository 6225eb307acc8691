// What the operator reads when settings did not reach a controller: which block, channel
// and setting, and what to do. Port losses and a busy engine are told by the engine itself.
#pragma once

#include "exchange/RDX_INC.h"
#include "exchange/WriteRequests.h"

#include <QString>

// "Ch045（炉1） SV設定" style: the channel's number, its name when it has one, and the
// caption of the setting.
QString SettingTarget(int setting, int channel);

// The message for a finished write; empty when there is nothing to add (accepted, or an
// outcome the engine has told already).
QString WriteOutcomeText(const RDX_INC& inc, const WriteResult& result);
