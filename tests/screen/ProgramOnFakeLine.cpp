#include "exchange/PollEngine.h"
#include "ProgramOnFakeLine.h"

#include "FakeLink.h"
#include "app/MainDisp.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTimer>

namespace {

void Fill(FakeLink& link, int block, const char* item, std::array<qint16, 20> values) {
    link.values[block][QString::fromLatin1(item)] = values;
}

std::array<qint16, 20> Same(qint16 v) {
    std::array<qint16, 20> a;
    a.fill(v);
    return a;
}

// Input type and option code of each pair: field 2j is the type, 2j+1 the option.
std::array<qint16, 20> Pairs(qint16 type, qint16 option) {
    std::array<qint16, 20> a;
    for (int j = 0; j < 10; ++j) {
        a[2 * j] = type;
        a[2 * j + 1] = option;
    }
    return a;
}

ISTDComm* CreateFakeLine(const char*) {
    auto* link = new FakeLink;
    for (int b = 0; b < 3; ++b) {
        link->present[b] = true;
        Fill(*link, b, "00A0", Same(1));
        Fill(*link, b, "0080", Same(qint16(200 + b)));
        Fill(*link, b, "0001", Same(200));
        Fill(*link, b, "0083", Same(0x0001));
    }
    Fill(*link, 0, "00A1", Pairs(0, 0x0001));
    Fill(*link, 1, "00A1", Pairs(0, 0x0401));
    Fill(*link, 2, "00A1", Pairs(10, 0x0000));
    return link;
}

}  // namespace

void Settle(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(qMax<qint64>(1, deadline.remainingTime())));
}

void RunProgram(const std::function<void(RDXApplication&)>& whenRunning,
                const std::function<void(RDXApplication&)>& beforeStart) {
    QTemporaryDir home;
    qputenv("RDX410_MONITOR_HOME", home.path().toLocal8Bit());
    RDXApplication program(&CreateFakeLine);
    if (beforeStart) beforeStart(program);
    QTimer watch;
    watch.setInterval(50);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!program.mainWindow().isVisible() || program.mainWindow().engine().state() != PollEngine::State::Polling) return;
        watch.stop();
        whenRunning(program);
        program.mainWindow().QuitWithoutAsking();
    });
    watch.start();
    program.StartApplication();
}
