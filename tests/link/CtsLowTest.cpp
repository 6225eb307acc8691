// A port whose CTS line is low. A pseudo-terminal has no modem lines, so this program
// answers the link's modem-line query itself: its own ioctl() stands in for the C
// library's for every caller in the process and passes everything else on unchanged.
#include "ISTDComm.h"
#include "PtyPeer.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <cstdarg>
#include <gtest/gtest.h>
#include <memory>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
std::atomic<bool> ctsLow{false};
}

extern "C" int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    if (request == TIOCMGET && ctsLow) {
        *static_cast<int*>(arg) = TIOCM_DSR | TIOCM_CAR;  // everything but CTS
        return 0;
    }
    return int(::syscall(SYS_ioctl, fd, request, arg));
}

namespace {

const QString kCannotOpen = QStringLiteral("Communications port cannot be oprnd.(通信ポートをオープン出来ません！)");

QList<QMessageBox*> VisibleBoxes() {
    QList<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible() && box->text() == kCannotOpen)
            boxes << box;
    return boxes;
}

}  // namespace

TEST(CtsLow, TheBoxDoesNotWaitAndComesOncePerLossNotPerAttempt) {
    PtyPeer peer;
    qputenv("TESMARCOMM_COM1", peer.SlavePath().toLocal8Bit());
    std::unique_ptr<ISTDComm> link(TesmarCreateObject(TesmarIds::Class));
    ASSERT_TRUE(link);
    link->setPort(QStringLiteral("COM1"));
    // A box that waited would run an event loop inside PortOpen; note it and let it go.
    int waitedIn = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* modal = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++waitedIn;
            modal->done(QMessageBox::Ok);
        }
    });
    watch.start(20);

    ctsLow = true;
    EXPECT_FALSE(link->PortOpen());
    EXPECT_EQ(link->CommID(), -1);
    QApplication::processEvents();
    EXPECT_EQ(waitedIn, 0);
    ASSERT_EQ(VisibleBoxes().size(), 1);
    // The host tries again once a second while the line stays down: no second box, even
    // after the operator closed the first one.
    for (int attempt = 0; attempt < 3; ++attempt) EXPECT_FALSE(link->PortOpen());
    QApplication::processEvents();
    EXPECT_EQ(VisibleBoxes().size(), 1);
    VisibleBoxes().first()->close();
    EXPECT_FALSE(link->PortOpen());
    QApplication::processEvents();
    EXPECT_TRUE(VisibleBoxes().isEmpty());
    // CTS comes back, then goes again: that is a new loss, told once.
    ctsLow = false;
    EXPECT_TRUE(link->PortOpen());
    ctsLow = true;
    EXPECT_FALSE(link->PortOpen());
    EXPECT_FALSE(link->PortOpen());
    QApplication::processEvents();
    EXPECT_EQ(VisibleBoxes().size(), 1);
    EXPECT_EQ(waitedIn, 0);
    ctsLow = false;
    link->PortClose();
    qunsetenv("TESMARCOMM_COM1");
    for (QMessageBox* box : VisibleBoxes()) box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
