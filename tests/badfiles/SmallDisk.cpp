#include "SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {
bool Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
}  // namespace

SmallDisk::SmallDisk(int kilobytes) {
    if (geteuid() != 0) return;
    mounted_ = Run("mount", {"-t", "tmpfs", "-o", QString("size=%1k").arg(kilobytes), "tmpfs", dir_.path()});
}

SmallDisk::~SmallDisk() {
    if (!mounted_) return;
    // The logging code makes its folder the current one; a busy mount would stay behind.
    if (QDir::currentPath().startsWith(dir_.path())) QDir::setCurrent(QDir::tempPath());
    if (!Run("umount", {dir_.path()})) Run("umount", {"-l", dir_.path()});
}

bool SmallDisk::FillLeaving(qint64 leaveBytes) {
    QFile filler(dir_.path() + "/filler");
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) return false;
    const QByteArray page(4096, 'x');
    for (;;) {
        struct statvfs s {};
        if (statvfs(dir_.path().toLocal8Bit().constData(), &s) != 0) return false;
        const qint64 free = qint64(s.f_bavail) * qint64(s.f_frsize);
        if (free <= leaveBytes) return true;
        if (filler.write(page.left(int(std::min<qint64>(4096, free - leaveBytes)))) <= 0) return true;
    }
}

bool MakeReadOnly(const QString& path) {
    if (geteuid() == 0) return Run("chattr", {"+i", path});
    return QFile::setPermissions(path, QFileDevice::ReadOwner);
}

void MakeWritable(const QString& path) {
    if (geteuid() == 0) Run("chattr", {"-i", path});
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
