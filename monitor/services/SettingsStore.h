// The per-user settings store: string values under one application name and section.
#pragma once

#include <QString>

inline constexpr char SettingsAppName[] = "TESMAR KORVEX";
inline constexpr char SettingsSection[] = "RDX-410 Monitor";

// The stored string, or the default when the key is missing; never creates the key.
QString GetSetting(const QString& key, const QString& defaultValue);
// Stores the string, creating or replacing the key. Failures are ignored. The file is
// written when the event loop next runs (so a load that saves hundreds of keys writes
// it once), and at the latest by FlushSettings() or at exit.
void SaveSetting(const QString& key, const QString& value);
// Writes pending values to the file now.
void FlushSettings();

// A stored number; a value that is not a 16-bit decimal number yields the default.
int GetSettingInt(const QString& key, int defaultValue);
// A stored start-up flag, read as a floating-point number and compared with 1.
bool GetSettingFlag(const QString& key);
