// The 回線診断 window as a technician uses it: the counters of present blocks only, the
// frames readable, and the saved file in the encoding chosen.
#include "display/LineDiagnosticsWindow.h"
#include "services/Cp932File.h"
#include "TestClock.h"

#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(LineDiagnosticsWindowTest, ShowsPresentBlocksAndSavesReadableFramesInTheChosenEncoding) {
    const TestClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30, 0, 250))};
    LineDiagnostics diag;
    diag.Time = &clock;
    diag.Reset();
    LineDiagnosticsWindow window(diag, [](int block) { return block == 0 || block == 4; });
    window.show();  // recording starts with the window
    const QString reply = QStringLiteral("\x06\x24 \"0080") + QString(80, u'0') + QStringLiteral("CC\x03");
    diag.Note(4, QStringLiteral("\""), QStringLiteral("0080"), QString(), reply, ExchangeVerdict::Ack, 40, 10, 9600);
    diag.Note(4, QStringLiteral("R"), QStringLiteral("0001"), QString(80, u'1'), QString(),
              ExchangeVerdict::Silent, 300, 90, 9600);
    window.Refresh();

    ASSERT_EQ(window.counters->rowCount(), 2);
    EXPECT_TRUE(window.counters->item(1, 0)->text().startsWith("5 "));
    EXPECT_EQ(window.counters->item(1, 1)->text(), "2");  // requests
    EXPECT_EQ(window.counters->item(1, 3)->text(), "1");  // unanswered
    EXPECT_EQ(window.counters->item(1, 6)->text(), "29.6");  // 40 ms less 10 characters at 9600
    EXPECT_EQ(window.traffic->rowCount(), 4);
    EXPECT_EQ(window.traffic->item(0, 7)->text(), QStringLiteral("<STX>$ \"0080") +
                                                       window.traffic->item(0, 7)->text().mid(12));
    EXPECT_TRUE(window.traffic->item(1, 7)->text().startsWith("<ACK>$"));
    EXPECT_EQ(window.traffic->item(3, 6)->text(), QString::fromUtf8("応答なし"));

    QTemporaryDir dir;
    for (TrafficEncoding encoding : {TrafficEncoding::Cp932, TrafficEncoding::Utf8}) {
        const QString path = dir.filePath(encoding == TrafficEncoding::Cp932 ? "sjis.txt" : "utf8.txt");
        ASSERT_TRUE(window.SaveTraffic(path, encoding));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        const QByteArray sent = encoding == TrafficEncoding::Cp932 ? ToCp932(QString::fromUtf8("送信")) : QByteArray("送信");
        EXPECT_EQ(bytes.count(sent), 2);
        EXPECT_EQ(bytes.count("\r\n"), 5);
        EXPECT_TRUE(bytes.contains("09:30:00.250"));
    }
    // Closed, nothing more is kept; what was kept may still be cleared.
    window.hide();
    diag.Note(0, QStringLiteral("\""), QStringLiteral("0080"), QString(), reply, ExchangeVerdict::Ack, 40, 10, 9600);
    EXPECT_EQ(diag.Traffic().size(), 2u);
    window.ClearTraffic();
    EXPECT_EQ(window.traffic->rowCount(), 0);
}

}  // namespace
