// A real mosquitto broker for a test: Debian's /usr/sbin/mosquitto, started on a free
// loopback port with a configuration written into the test's own folder. Stopping and
// starting it again keeps the port, as a broker that restarts would.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

struct BrokerSetup {
    bool allowAnonymous = true;
    // user -> password; written with mosquitto_passwd.
    QStringList users;      // "user:password"
    // TLS listener instead of plain TCP.
    QString certFile;
    QString keyFile;
    // Keep sessions (and the messages queued for them) across a restart of the broker.
    bool persistence = false;
    // Set (with TLS): clients must show a certificate this CA signed.
    QString clientCaFile;
};

class MosquittoBroker {
public:
    explicit MosquittoBroker(const QString& folder);
    ~MosquittoBroker();

    static QString Executable();
    // True once the broker accepts connections.
    bool Start(const BrokerSetup& setup = {});
    // SIGTERM and wait: the broker is gone, its port closed.
    void Stop();
    // SIGSTOP / SIGCONT: the broker keeps its connections but reads nothing, as a
    // broker that hangs would.
    void Freeze();
    void Thaw();
    int Port() const { return port_; }
    QString Url() const;
    QString Log() const;

private:
    QString folder_;
    int port_ = 0;
    bool tls_ = false;
    std::unique_ptr<QProcess> process_;
};

// A certificate authority made with openssl for the test, and a certificate it signed for
// the broker on 127.0.0.1 / localhost, and one for a client. Returns false when openssl
// failed.
struct TestCertificates {
    QString caFile;
    QString certFile;
    QString keyFile;
    QString clientCertFile;
    QString clientKeyFile;
};
bool MakeTestCertificates(const QString& folder, TestCertificates* out);

// A free TCP port on 127.0.0.1 (bound, read and released).
int FreeLoopbackPort();
// True when something accepts a TCP connection on 127.0.0.1:port.
bool PortAccepts(int port);
