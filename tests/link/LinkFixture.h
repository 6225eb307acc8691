// A link object from the library's factory, with COM1 mapped to a scripted pseudo-terminal.
#pragma once

#include "ISTDComm.h"
#include "PtyPeer.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QtGlobal>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

class LinkOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("TESMARCOMM_COM1", peer.SlavePath().toLocal8Bit());
        link.reset(TesmarCreateObject(TesmarIds::Class));
        ASSERT_TRUE(link);
        link->setTimeOut(300);
        link->setPort(QStringLiteral("COM1"));
        link->setEventsCheck(true);
    }
    void TearDown() override {
        if (link) link->PortClose();
        link.reset();
        qunsetenv("TESMARCOMM_COM1");
    }

    // The monitor's read request for block 0.
    QString ReadBlock0(const char* item, qint16 attempts = 1) {
        return link->RWcomm(QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("\""),
                            QString::fromLatin1(item), QString(), attempts);
    }

    PtyPeer peer;
    std::unique_ptr<ISTDComm> link;
};

inline QString Latin1(const QByteArray& bytes) { return QString::fromLatin1(bytes); }

// Root ignores the terminal's exclusive flag and every file permission, so what an
// ordinary user meets shows only under another uid. As root this runs the current test
// again in a child as uid 65534 and reports its result; true then, and the caller returns.
inline bool RanAsOrdinaryUser() {
    if (::geteuid() != 0) return false;
    [] {
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty()) GTEST_SKIP() << "setpriv is missing: no other uid to run as";
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                              QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
                              QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString out = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("[  PASSED  ] 1 test"))) << out.toStdString();
    }();
    return true;
}
