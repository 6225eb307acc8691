#include "publish/PasswordFile.h"

#include "publish/BrokerMessages.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString ReadPasswordFile(const QString& path, QByteArray* password) {
    const QByteArray native = QFile::encodeName(path);
    // The checks and the read use the same open file, so nothing can swap it in between.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return QString::fromUtf8(PasswordFileMissingMessage);
    struct stat st {};
    QString problem;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) problem = QString::fromUtf8(PasswordFileMissingMessage);
    else if (st.st_uid != ::geteuid() || (st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        problem = QString::fromUtf8(PasswordFileModeMessage);
    QByteArray text;
    if (problem.isEmpty()) {
        char buffer[1024];
        ssize_t n;
        while (text.size() < 4096 && (n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, n);
        if (n < 0) problem = QString::fromUtf8(PasswordFileMissingMessage);
    }
    ::close(fd);
    if (!problem.isEmpty()) return problem;
    const qsizetype end = text.indexOf('\n');
    if (end >= 0) text.truncate(end);
    if (text.endsWith('\r')) text.chop(1);
    if (password) *password = text;
    return {};
}
