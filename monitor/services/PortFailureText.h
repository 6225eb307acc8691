// What the operator is told when the line cannot be used: one text for each cause, the
// same in the monitor's port dialog and in the gateway's messages.
#pragma once

#include "OpenFailure.h"

#include <QString>

// The port ("COM1") and speed that were tried and why the port failed; kind None: it
// opened, but block 0 did not answer.
QString PortFailureText(const QString& port, const QString& speed, const OpenFailureInfo& failure);

// The group that may use the device; "dialout" when it is root's or unknown, since
// advising to join root would be wrong.
QString DeviceGroup(const QString& device);
