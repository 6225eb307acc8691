// --save-settings and --compare-settings: the line's settings read once, as the start-up
// read reads them, into an all-channel set-data file or against one, and the program
// ends. Nothing is ever written to the line. The port is opened as the gateway opens it,
// so a port held by another program (its lock) is refused with the holder named; a
// gateway running as a service must be stopped first (the README shows how).
#pragma once

#include <QString>
#include <functional>

class ISTDComm;
struct GatewayOptions;

// Exit statuses of --compare-settings (--save-settings: 0 saved, 2 not saved).
inline constexpr int SettingsEqual = 0;
inline constexpr int SettingsDiffer = 1;
inline constexpr int SettingsNotCompared = 2;

enum class SettingsCommandKind { Save, Compare };

struct SettingsCommandIo {
    // One line per difference (standard output).
    std::function<void(const QString&)> Print;
    // What happened and why it could not (standard error).
    std::function<void(const QString&)> Tell;
    // True once the run is to end (a signal): the read stops between exchanges.
    std::function<bool()> EndPending;
};

// Runs the command on a link that is not open yet; port "COM1"/"COM2" and speed as for
// the gateway (empty: the stored ones).
int RunSettingsCommand(SettingsCommandKind kind, const QString& path, ISTDComm& link, const QString& port,
                       const QString& speed, const SettingsCommandIo& io);

// The command the options ask for, on the link library the gateway uses; -1 when they
// ask for none.
int RunSettingsCommand(const GatewayOptions& options, const std::function<bool()>& endPending);
