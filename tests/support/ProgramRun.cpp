#include "ProgramRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QThread>
#include <csignal>
#include <unistd.h>

ProgramRun::ProgramRun() {
    QDir(dir_.path()).mkpath("home");
    QDir(dir_.path()).mkpath("config");
}

ProgramRun::~ProgramRun() {
    if (monitor_ && monitor_->state() != QProcess::NotRunning) {
        monitor_->kill();
        monitor_->waitForFinished(3000);
    }
    StopSimulator();
}

bool ProgramRun::WaitFor(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > timeoutMs) return false;
        QThread::msleep(50);
    }
    return true;
}

bool ProgramRun::StartSimulator(const QStringList& options) {
    sim_ = std::make_unique<QProcess>();
    sim_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim_->start(RDX_SIM_EXE, QStringList{"--link", LinkPath(), "--stats", StatsPath(),
                                         "--control", "-"} + options);
    if (!sim_->waitForStarted(5000)) return false;
    return WaitFor([this] { return QFileInfo(LinkPath()).isSymLink(); }, 5000);
}

void ProgramRun::Control(const QByteArray& line) {
    if (!sim_) return;
    sim_->write(line + "\n");
    sim_->waitForBytesWritten(1000);
}

bool ProgramRun::StopSimulator() {
    if (!sim_ || sim_->state() == QProcess::NotRunning) return true;
    ::kill(pid_t(sim_->processId()), SIGTERM);
    const bool ended = sim_->waitForFinished(5000);
    if (!ended) sim_->kill();
    return ended;
}

QString ProgramRun::SimulatorCommand(const QByteArray& line, int waitMs) {
    if (!sim_) return {};
    sim_->readAllStandardOutput();
    Control(line);
    // The answer is the next line that starts with "ok:" or "error"; anything else the
    // simulator printed before (its start-up line) is skipped.
    QByteArray out;
    QString answer;
    WaitFor([&] {
        sim_->waitForReadyRead(20);
        out += sim_->readAllStandardOutput();
        qsizetype nl;
        while ((nl = out.indexOf('\n')) >= 0) {
            const QByteArray l = out.left(nl);
            out.remove(0, nl + 1);
            if (l.startsWith("ok:") || l.startsWith("error")) {
                answer = QString::fromUtf8(l);
                return true;
            }
        }
        return false;
    }, waitMs);
    return answer;
}

quint64 ProgramRun::SimulatorRequests() {
    const QString answer = SimulatorCommand("stats");
    for (const QString& field : answer.split(' '))
        if (field.startsWith("requests=")) return field.mid(9).toULongLong();
    return 0;
}

double ProgramRun::MonitorCpuSeconds() const { return monitor_ ? ProcessCpuSeconds(monitor_->processId()) : 0; }

double ProcessCpuSeconds(qint64 pid) {
    QFile f(QString("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QByteArray text = f.readAll();
    // Fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return 0;
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return (fields[11].toDouble() + fields[12].toDouble()) / ticks;
}

bool ProgramRun::StartMonitor() {
    monitor_ = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", Config());
    env.insert("RDX410_MONITOR_HOME", Home());
    env.insert("TESMARCOMM_COM1", LinkPath());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert(MonitorExtraEnvironment);
    monitor_->setProcessEnvironment(env);
    monitor_->setProcessChannelMode(QProcess::MergedChannels);
    monitor_->start(RDX_MONITOR_EXE, {});
    return monitor_->waitForStarted(5000);
}

bool ProgramRun::TerminateMonitor(int waitMs) {
    if (!monitor_) return false;
    ::kill(pid_t(monitor_->processId()), SIGTERM);
    if (!monitor_->waitForFinished(waitMs)) return false;
    return monitor_->exitStatus() == QProcess::NormalExit && monitor_->exitCode() == 0;
}

QStringList ProgramRun::HistoryFiles() const {
    return QDir(Home() + "/hystory").entryList({"*.hys"}, QDir::Files, QDir::Name);
}

QString ProgramRun::HistoryText() const {
    const QStringList files = HistoryFiles();
    if (files.size() != 1) return {};
    QFile f(Home() + "/hystory/" + files.first());
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringDecoder cp932("Shift_JIS");
    return cp932.decode(f.readAll());
}
