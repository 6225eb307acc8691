// How the block views look, read back from the painted widgets: alarm marks on the
// four-block page, value boxes drawn whole, and channel names shortened to their place.
#include "../controls/PixelProbe.h"
#include "ViewTestSupport.h"
#include "display/FourBlockView.h"
#include "display/ViewLabels.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

const QColor kAlarmRed(255, 0, 0);

class FourBlockAlarmMarkTest : public ::testing::Test {
protected:
    void SetUp() override {
        AllPresent(d);
        for (int c = 0; c < ChannelCount; ++c) d.ChPV[c] = qint16(100 + c);
        view.resize(1000, 600);
        view.Toolbar1_ButtonClick(1);
    }
    // Share of the box painted in the alarm red.
    double RedShare(int i) {
        const QImage image = Snapshot(*view.Para_Text[i]);
        return double(CountColor(image, image.rect(), kAlarmRed)) / (image.width() * image.height());
    }
    RDX_INC d;
    FourBlockView view{d};
};

}  // namespace

TEST_F(FourBlockAlarmMarkTest, EveryAlarmBitMarksTheChannelRedWithoutChangingItsText) {
    const quint16 alarms[] = {0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x2000};
    for (quint16 bit : alarms) {
        d.ChStatus[5] = qint16(bit | 0x0001);
        view.Refresh();
        EXPECT_EQ(view.Para_Text[5]->text(), QStringLiteral("105")) << std::hex << bit;
        EXPECT_GT(RedShare(5), 0.5) << "bit 0x" << std::hex << bit;
        // The value reads in white on the red: its strokes are the box's only light pixels.
        const QImage marked = Snapshot(*view.Para_Text[5]);
        int light = 0;
        for (int y = 2; y < marked.height() - 2; ++y)
            for (int x = 2; x < marked.width() - 2; ++x) light += marked.pixelColor(x, y).green() > 160;
        EXPECT_GT(light, 0) << "bit 0x" << std::hex << bit;
        // Its neighbours stay white.
        EXPECT_EQ(RedShare(4), 0.0);
        EXPECT_EQ(RedShare(6), 0.0);
    }
    d.ChStatus[5] = 0x0001;
    view.Refresh();
    EXPECT_EQ(RedShare(5), 0.0) << "the mark stays after the alarm went";
}

TEST_F(FourBlockAlarmMarkTest, StatusBitsThatAreNoAlarmLeaveTheBoxWhite) {
    // Control, auto-tuning, output on and the change bit.
    d.ChStatus[9] = qint16(0x0001 | 0x0080 | 0x0400 | 0x1000);
    view.Refresh();
    EXPECT_EQ(RedShare(9), 0.0);
    const QImage image = Snapshot(*view.Para_Text[9]);
    EXPECT_GT(CountColor(image, image.rect(), QColor(255, 255, 255)), image.width() * image.height() / 2);
}

TEST_F(FourBlockAlarmMarkTest, TheMarkFollowsThePageShown) {
    d.ChStatus[80 + 3] = StatusBit::Alarm1;
    view.Refresh();
    EXPECT_EQ(RedShare(3), 0.0);
    view.Toolbar1_ButtonClick(2);
    view.Refresh();
    EXPECT_GT(RedShare(3), 0.5);
}

TEST(ValueBox, IsDrawnWithAllFourEdges) {
    ValueLabel box;
    box.setText(QStringLiteral("123.4"));
    box.resize(80, 22);
    const QImage image = Snapshot(box);
    const QColor edge = ValueLabel::FrameGrey();
    const int w = image.width(), h = image.height();
    EXPECT_EQ(CountColor(image, QRect(0, 0, w, 1), edge), w) << "top";
    EXPECT_EQ(CountColor(image, QRect(0, h - 1, w, 1), edge), w) << "bottom";
    EXPECT_EQ(CountColor(image, QRect(0, 0, 1, h), edge), h) << "left";
    EXPECT_EQ(CountColor(image, QRect(w - 1, 0, 1, h), edge), h) << "right";
}

// A channel name too long for its place is shortened with "…", and its tool tip is the
// whole name; a name that shows whole brings up no tool tip.
TEST(ElidedNames, OnlyAShortenedNameShowsItsWholeNameAsATip) {
    QWidget window;
    ElidedLabel whole(&window);
    whole.setText(QStringLiteral("Ch001"));
    whole.setGeometry(0, 0, 300, 20);
    ElidedLabel shortened(&window);
    shortened.setText(QStringLiteral("第１乾燥炉上段ヒーター温度"));
    shortened.setGeometry(0, 30, 50, 20);
    window.show();
    auto askForTip = [](ElidedLabel& label) {
        QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), label.mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(&label, &tip);
    };
    EXPECT_EQ(whole.shownText(), whole.text());
    askForTip(whole);
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_NE(shortened.shownText(), shortened.text());
    EXPECT_TRUE(shortened.shownText().endsWith(QChar(0x2026)));
    askForTip(shortened);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), shortened.text());
    QToolTip::hideText();
}

