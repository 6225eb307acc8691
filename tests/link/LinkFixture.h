// A link object from the library's factory, with COM1 mapped to a scripted pseudo-terminal.
#pragma once

#include "ISTDComm.h"
#include "PtyPeer.h"

#include <QtGlobal>
#include <gtest/gtest.h>
#include <memory>

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
