// The program's own folder, where "logging", "hystory" and "Setdata" live.
#pragma once

#include <QString>

// RDX410_MONITOR_HOME when set; else the executable's folder when writable; else the
// per-user data folder.
QString ProgramFolder();
// Creates the folder (and the three subfolders) where missing; failures are not reported.
void PrepareProgramFolders(const QString& folder);
