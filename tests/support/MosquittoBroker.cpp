#include "MosquittoBroker.h"

#include "ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <arpa/inet.h>
#include <csignal>
#include <sys/prctl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(fd);
    return port;
}

bool PortAccepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(quint16(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

MosquittoBroker::MosquittoBroker(const QString& folder) : folder_(folder) { QDir().mkpath(folder_); }

MosquittoBroker::~MosquittoBroker() {
    Thaw();
    Stop();
}

QString MosquittoBroker::Executable() {
    const QString found = QStandardPaths::findExecutable(QStringLiteral("mosquitto"),
                                                         {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    return found;
}

QString MosquittoBroker::Url() const {
    return QStringLiteral("%1://127.0.0.1:%2").arg(tls_ ? QStringLiteral("mqtts") : QStringLiteral("mqtt")).arg(port_);
}

bool MosquittoBroker::Start(const BrokerSetup& setup) {
    Stop();
    if (Executable().isEmpty()) return false;
    if (port_ == 0) port_ = FreeLoopbackPort();
    tls_ = !setup.certFile.isEmpty();
    QStringList conf{QStringLiteral("listener %1 127.0.0.1").arg(port_),
                     QStringLiteral("allow_anonymous %1").arg(setup.allowAnonymous ? "true" : "false"),
                     QStringLiteral("log_dest stderr"),
                     QStringLiteral("log_type error"), QStringLiteral("log_type warning"),
                     QStringLiteral("log_type notice")};
    // Started by root, mosquitto would drop to its own user and could not read the test's
    // files; it stays the user that started it.
    if (const passwd* me = ::getpwuid(::geteuid())) conf << QStringLiteral("user ") + QString::fromLocal8Bit(me->pw_name);
    if (!setup.users.isEmpty()) {
        const QString passwd = folder_ + QStringLiteral("/passwd");
        QFile::remove(passwd);
        for (const QString& entry : setup.users) {
            const QString user = entry.section(u':', 0, 0), password = entry.section(u':', 1);
            QStringList args{QStringLiteral("-b")};
            if (!QFileInfo::exists(passwd)) args << QStringLiteral("-c");
            args << passwd << user << password;
            if (QProcess::execute(QStringLiteral("mosquitto_passwd"), args) != 0) return false;
        }
        QFile(passwd).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        conf << QStringLiteral("password_file ") + passwd;
    }
    if (setup.persistence)
        conf << QStringLiteral("persistence true") << QStringLiteral("persistence_location ") + folder_ + u'/';
    else
        conf << QStringLiteral("persistence false");
    if (tls_) conf << QStringLiteral("certfile ") + setup.certFile << QStringLiteral("keyfile ") + setup.keyFile;
    if (tls_ && !setup.clientCaFile.isEmpty())
        conf << QStringLiteral("cafile ") + setup.clientCaFile << QStringLiteral("require_certificate true");
    QFile f(folder_ + QStringLiteral("/mosquitto.conf"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    f.write(conf.join(u'\n').toUtf8() + '\n');
    f.close();
    process_ = std::make_unique<QProcess>();
    // A test that dies leaves no broker or gateway behind.
    process_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process_->setStandardOutputFile(folder_ + QStringLiteral("/broker.log"), QIODevice::Append);
    process_->setStandardErrorFile(folder_ + QStringLiteral("/broker.log"), QIODevice::Append);
    process_->start(Executable(), {QStringLiteral("-c"), f.fileName()});
    if (!process_->waitForStarted(5000)) return false;
    return ProgramRun::WaitFor([this] { return PortAccepts(port_) || process_->state() == QProcess::NotRunning; },
                               10000) &&
           process_->state() == QProcess::Running;
}

void MosquittoBroker::Stop() {
    if (!process_ || process_->state() == QProcess::NotRunning) return;
    ::kill(pid_t(process_->processId()), SIGTERM);
    if (!process_->waitForFinished(5000)) {
        process_->kill();
        process_->waitForFinished(2000);
    }
}

void MosquittoBroker::Freeze() {
    if (process_ && process_->state() == QProcess::Running) ::kill(pid_t(process_->processId()), SIGSTOP);
}

void MosquittoBroker::Thaw() {
    if (process_ && process_->state() == QProcess::Running) ::kill(pid_t(process_->processId()), SIGCONT);
}

QString MosquittoBroker::Log() const {
    QFile f(folder_ + QStringLiteral("/broker.log"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool MakeTestCertificates(const QString& folder, TestCertificates* out) {
    QDir().mkpath(folder);
    const QString ca = folder + "/ca.crt", caKey = folder + "/ca.key";
    const QString key = folder + "/server.key", csr = folder + "/server.csr", crt = folder + "/server.crt";
    const QString ext = folder + "/san.ext";
    QFile e(ext);
    if (!e.open(QIODevice::WriteOnly)) return false;
    e.write("subjectAltName=IP:127.0.0.1,DNS:localhost\n");
    e.close();
    auto run = [](const QStringList& args) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("openssl"), args);
        return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    const bool ok =
        run({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=RDX test CA", "-keyout",
             caKey, "-out", ca}) &&
        run({"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=localhost", "-keyout", key, "-out", csr}) &&
        run({"x509", "-req", "-in", csr, "-CA", ca, "-CAkey", caKey, "-CAcreateserial", "-days", "2", "-extfile",
             ext, "-out", crt});
    const QString clientKey = folder + "/client.key", clientCsr = folder + "/client.csr",
                  clientCrt = folder + "/client.crt";
    const bool clientOk =
        ok && run({"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=rdx410-gateway", "-keyout", clientKey, "-out",
                   clientCsr}) &&
        run({"x509", "-req", "-in", clientCsr, "-CA", ca, "-CAkey", caKey, "-CAcreateserial", "-days", "2", "-out",
             clientCrt});
    if (clientOk && out) *out = TestCertificates{ca, crt, key, clientCrt, clientKey};
    return clientOk;
}
