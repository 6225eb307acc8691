// Why the link could not open its port, so that the operator hears the cause (a missing
// adapter, another program on the port) instead of a line that does not answer.
#pragma once

#include <QString>
#include <QtGlobal>

enum class OpenFailure : qint32 { None, NotFound, Busy, NoPermission, SettingsRefused, Other };

struct OpenFailureInfo {
    OpenFailure kind = OpenFailure::None;
    // The device the port mapped to.
    QString device;
    // Busy: the program the port's lock file names, when it names a running one.
    QString holder;
    // SettingsRefused: what was asked, e.g. "9600bps 7E1"; Other: the system's text.
    QString detail;

    bool operator==(const OpenFailureInfo&) const = default;
};
