#include "services/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// A folder inside a CMake build tree: the program runs where it was built.
bool InBuildTree(const QString& folder) {
    for (QDir dir(folder);; ) {
        if (dir.exists(QStringLiteral("CMakeCache.txt"))) return true;
        if (!dir.cdUp()) return false;
    }
}

// The executable's folder keeps the data only where it already does (a "hystory" there,
// as a copied program folder has) or in the build tree. An installed program in /usr/bin
// would otherwise write there when run by root and fail for everyone else.
bool ExecutableFolderHoldsData(const QString& exeDir) {
    if (exeDir.isEmpty() || !QFileInfo(exeDir).isWritable()) return false;
    return QFileInfo::exists(exeDir + QStringLiteral("/hystory")) || InBuildTree(exeDir);
}

}  // namespace

QString ProgramFolder() {
    const QString env = qEnvironmentVariable("RDX410_MONITOR_HOME");
    if (!env.isEmpty()) return QDir(env).absolutePath();
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (ExecutableFolderHoldsData(exeDir)) return exeDir;
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

void PrepareProgramFolders(const QString& folder) {
    QDir dir(folder);
    dir.mkpath(QStringLiteral("."));
    for (const char* sub : {"logging", "hystory", "Setdata"})
        if (!dir.exists(QString::fromLatin1(sub))) dir.mkdir(QString::fromLatin1(sub));
}
