// A link object that could not be made: the window has no write in progress, its loop ends
// at once, and closing it afterwards asks nothing more.
#include "app/MainDisp.h"

#include <QApplication>
#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

TEST(NoLink, NoWriteInProgressTheLoopEndsAtOnceAndClosingAsksNothing) {
    RDX_INC d;
    MainDisp w(d);
    w.CreateLinkObject = [](const char*) -> ISTDComm* { return nullptr; };
    EXPECT_FALSE(w.Form_Load());
    EXPECT_FALSE(w.BulkWriteInProgress());
    w.communicate();
    EXPECT_EQ(w.RDXCom(), nullptr);

    int questions = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++questions;
            box->button(QMessageBox::No)->click();
        }
    });
    answer.start(20);
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(questions, 0);
}
