#include "GatewayRun.h"

#include "ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <csignal>
#include <sys/prctl.h>

GatewayRun::GatewayRun(const QString& folder) : folder_(folder) {
    QDir().mkpath(Home());
    QDir().mkpath(Config());
}

GatewayRun::~GatewayRun() { Kill(); }

void GatewayRun::Store(const QString& key, const QString& value) {
    QSettings s(Config() + "/TESMAR KORVEX/RDX-410 Monitor.ini", QSettings::IniFormat);
    s.setValue("RDX-410 Monitor/" + key, value);
    s.sync();
}

bool GatewayRun::Start(const QStringList& arguments, const QStringList& environment) {
    Kill();
    process_ = std::make_unique<QProcess>();
    // A test that dies leaves no broker or gateway behind.
    process_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", Config());
    env.insert("RDX410_MONITOR_HOME", Home());
    env.remove("RDX410_MQTT_URL");
    for (const QString& e : environment) env.insert(e.section('=', 0, 0), e.section('=', 1));
    process_->setProcessEnvironment(env);
    process_->setProcessChannelMode(QProcess::MergedChannels);
    process_->setStandardOutputFile(folder_ + "/gateway.log", QIODevice::Append);
    if (RunAs.isEmpty()) process_->start(RDX_GATEWAY_EXE, arguments);
    else process_->start(RunAs.first(), RunAs.mid(1) + QStringList{RDX_GATEWAY_EXE} + arguments);
    return process_->waitForStarted(5000);
}

QString GatewayRun::Output() const {
    QFile f(folder_ + "/gateway.log");
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool GatewayRun::Terminate(int waitMs) {
    if (!process_ || process_->state() == QProcess::NotRunning) return false;
    ::kill(pid_t(process_->processId()), SIGTERM);
    if (!process_->waitForFinished(waitMs)) return false;
    return process_->exitStatus() == QProcess::NormalExit && process_->exitCode() == 0;
}

void GatewayRun::Kill() {
    if (!process_ || process_->state() == QProcess::NotRunning) return;
    process_->kill();
    process_->waitForFinished(5000);
}

bool GatewayRun::WaitForEnd(int waitMs) {
    return process_ && (process_->state() == QProcess::NotRunning || process_->waitForFinished(waitMs));
}

bool GatewayRun::Running() const { return process_ && process_->state() == QProcess::Running; }

int GatewayRun::ExitCode() const { return process_ ? process_->exitCode() : -1; }

QStringList GatewayRun::HistoryFiles() const {
    return QDir(Home() + "/hystory").entryList({"*.hys"}, QDir::Files, QDir::Name);
}

double GatewayRun::CpuSeconds() const { return Running() ? ProcessCpuSeconds(process_->processId()) : 0; }

long GatewayRun::RssKb() const {
    if (!Running()) return 0;
    QFile f(QString("/proc/%1/status").arg(process_->processId()));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

int GatewayRun::RunToEnd(const QStringList& arguments, QString* output) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(RDX_GATEWAY_EXE, arguments);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (output) *output = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
