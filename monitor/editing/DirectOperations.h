// The decisions of the main window's per-channel buttons, without widgets: when a button
// refuses (silently), what it changes in the channel tables and which single-item write
// it requests. The buttons themselves only find the channel and call these.
#pragma once

#include "exchange/RDX_INC.h"

class WriteRequests;

// Command_change: may the numeric entry open for `setting` of `channel`? Refused while
// the AT switch is 1 or auto-tuning runs, for no setting, for a setting the channel does
// not have (alarm type 0, no heater-burnout or heating/cooling option, scaling of a
// temperature input) and for settings the numeric entry does not edit.
bool NumericEntryApplicable(const RDX_INC& inc, int setting, int channel);

// Command_change2: may the choice entry open? Refused while the AT switch is 1, for the
// cooling mode without the heating/cooling option, for the decimal point and unit of a
// temperature input, and for settings that are not a choice.
bool ChoiceEntryApplicable(const RDX_INC& inc, int setting, int channel);

// The option the choice entry preselects for the current value: the alarm type, control
// action, unit, cooling mode or decimal-point option; -1 when none fits (and for the
// unit text, which has no options).
int PreselectedOption(const RDX_INC& inc, int setting, int channel);

// Command_1channe_sv: the main setting may be changed unless the AT switch is 1.
bool MainSettingEntryAllowed(const RDX_INC& inc, int channel);

// Command_OUT of the setting-change view: unless the AT switch is 1, toggles the output
// switch and requests the "0009" write of the channel's block. True when requested.
bool SwitchOutputOnSettingView(RDX_INC& inc, WriteRequests& writes, int channel);

// Command_AT: only with the output on, toggles the AT switch and requests the "000A"
// write. True when requested.
bool SwitchAutoTuning(RDX_INC& inc, WriteRequests& writes, int channel);

// The output buttons of the one-channel, two-block and one-block views: unless the
// controller reports auto-tuning (status bit 0x0080), toggles the output switch and
// requests the "0009" write. True when requested.
bool SwitchOutput(RDX_INC& inc, WriteRequests& writes, int channel);
