#include "app/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramFolder() {
    const QString env = qEnvironmentVariable("RDX410_MONITOR_HOME");
    if (!env.isEmpty()) return QDir(env).absolutePath();
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable()) return exeDir;
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

void PrepareProgramFolders(const QString& folder) {
    QDir dir(folder);
    dir.mkpath(QStringLiteral("."));
    for (const char* sub : {"logging", "hystory", "Setdata"})
        if (!dir.exists(QString::fromLatin1(sub))) dir.mkdir(QString::fromLatin1(sub));
}
