// The program's own folder, where "logging", "hystory" and "Setdata" live.
#pragma once

#include <QString>

// RDX410_MONITOR_HOME when set; else the executable's folder when it is writable and
// already holds a "hystory" (a copied program folder) or lies in a build tree; else the
// per-user data folder (an installed program never writes beside its executable).
QString ProgramFolder();
// Creates the folder (and the three subfolders) where missing; failures are not reported.
void PrepareProgramFolders(const QString& folder);
