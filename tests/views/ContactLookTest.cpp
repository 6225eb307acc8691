// A block out of contact, as every view shows it: its values greyed (whatever their alarm
// state), its lamps faded and "通信異常" at its frame or selector; live again once it
// answers.
#include "../controls/PixelProbe.h"
#include "FakeLink.h"
#include "ViewTestSupport.h"
#include "display/ContactMark.h"
#include "display/FourBlockView.h"
#include "display/LineOverview.h"
#include "display/Lamp.h"
#include "app/MainDisp.h"
#include "display/OneBlockView.h"
#include "display/OneChannelView.h"
#include "display/SettingChangeView.h"
#include "display/SettingToolbars.h"
#include "display/TwoBlockView.h"
#include "display/ViewParts.h"
#include "display/ViewLabels.h"
#include "exchange/PollEngine.h"

#include <QAction>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

// Share of a widget's pixels painted in `colour`.
double Share(QWidget* w, const QColor& colour) {
    const QImage image = Snapshot(*w);
    return double(CountColor(image, image.rect(), colour)) / (image.width() * image.height());
}

double SilentShare(QWidget* w) { return Share(w, ValueLabel::SilentBox()); }

// The block lists as NameLists fills them in the program.
void FillBlockList(QComboBox* list) {
    for (int b = 0; b < BlockCount; ++b) list->addItem(QStringLiteral("Block") + BlockSuffix(b));
}

bool MarkShown(ContactMark* mark, QWidget* view) {
    return mark->isVisibleTo(view) && mark->text() == QStringLiteral("通信異常");
}

class ContactLookTest : public ::testing::Test {
protected:
    void SetUp() override {
        AllPresent(d);
        for (int c = 0; c < ChannelCount; ++c) d.ChPV[c] = qint16(100 + c);
    }
    RDX_INC d;
};

}  // namespace

TEST_F(ContactLookTest, FourBlockPageGreysTheSilentBlocksValuesAndMarksItsFrame) {
    FourBlockView view(d);
    view.resize(1000, 600);
    view.Toolbar1_ButtonClick(1);
    view.show();
    d.ChStatus[20 + 4] = StatusBit::Alarm1;  // an alarm in the block that goes silent
    d.ChStatus[3] = StatusBit::Alarm1;       // and one in a block that still answers
    d.BlockOutOfContact[1] = true;
    view.Refresh();
    EXPECT_TRUE(MarkShown(view.Frame_Contact[1], &view));
    for (int n : {0, 2, 3}) EXPECT_FALSE(view.Frame_Contact[n]->isVisibleTo(&view)) << n;
    for (int i = 20; i < 40; ++i) {
        EXPECT_GT(SilentShare(view.Para_Text[i]), 0.5) << i;
        EXPECT_EQ(view.Para_Text[i]->text(), QString::number(100 + i)) << "the last value stays readable";
    }
    EXPECT_EQ(Share(view.Para_Text[24], QColor(255, 0, 0)), 0.0) << "a frozen alarm is not shown as live";
    EXPECT_GT(Share(view.Para_Text[3], QColor(255, 0, 0)), 0.5);
    EXPECT_LT(SilentShare(view.Para_Text[19]), 0.1);
    EXPECT_LT(SilentShare(view.Para_Text[40]), 0.1);
    // The mark sits on the frame's title line, inside the frame.
    const QRect mark = view.Frame_Contact[1]->geometry();
    EXPECT_TRUE(view.Frame_Block[1]->rect().contains(mark));
    EXPECT_LT(mark.top(), view.Label1[20]->geometry().top());

    d.BlockOutOfContact[1] = false;
    view.Refresh();
    EXPECT_FALSE(view.Frame_Contact[1]->isVisibleTo(&view));
    EXPECT_LT(SilentShare(view.Para_Text[21]), 0.1);
    EXPECT_GT(Share(view.Para_Text[24], QColor(255, 0, 0)), 0.5);
}

// The whole-line overview: every present block at once, the chosen item, alarm, silence
// and normal told apart as on the pages; at 1920x1080 it needs no scrolling.
TEST_F(ContactLookTest, TheWholeLineOverviewShowsEveryPresentBlockAndTellsTroubleApart) {
    d.BlockAbsent[3] = 1;
    d.ChStatus[5] = StatusBit::Alarm1;
    d.BlockOutOfContact[7] = true;
    FourBlockView view(d);
    view.resize(1900, 900);  // a 1920x1080 screen under title, menus, tabs and status bar
    view.show();
    view.Toolbar1_ButtonClick(2);
    view.Toolbar1_ButtonClick(5);
    QCoreApplication::processEvents();
    ASSERT_TRUE(view.OverviewShown());
    const LineOverview& o = *view.overview;
    for (int b = 0; b < BlockCount; ++b) EXPECT_EQ(o.Frame[b]->isVisibleTo(&view), b != 3) << b;
    // A block not on the line takes no room: the next one stands beside the one before.
    EXPECT_LT(o.Frame[4]->geometry().left() - o.Frame[2]->geometry().right(), 12);
    EXPECT_EQ(o.Value[299]->text(), QStringLiteral("399"));
    EXPECT_GT(Share(o.Value[5], QColor(255, 0, 0)), 0.5);
    EXPECT_GT(SilentShare(o.Value[140]), 0.5);
    EXPECT_TRUE(MarkShown(o.Contact[7], &view));
    EXPECT_FALSE(o.Contact[6]->isVisibleTo(&view));
    EXPECT_LT(SilentShare(o.Value[6]) + Share(o.Value[6], QColor(255, 0, 0)), 0.1);
    const QSize needed = o.widget()->minimumSizeHint();
    EXPECT_LE(needed.width(), o.viewport()->width());
    EXPECT_LE(needed.height(), o.viewport()->height());
    const int widest = o.Value[0]->fontMetrics().horizontalAdvance(QStringLiteral("-1999.9"));
    for (int c = 0; c < 300; c += 19) EXPECT_GE(o.Value[c]->width(), widest) << c;
    // A page button shows the page again, at the page chosen before.
    view.Toolbar1_ButtonClick(0);
    EXPECT_FALSE(view.OverviewShown());
    EXPECT_EQ(d.PageIndex, 1);
}

// A long block name cut by the mark or by its selector is told whole when hovered.
TEST_F(ContactLookTest, ALongBlockNameIsToldWholeByTheFrameItsMarkAndTheSelector) {
    const QString name = QStringLiteral("第2押出機ﾊﾞﾚﾙ加熱ｿﾞｰﾝ");
    const auto tipOf = [](QWidget* w) {
        QHelpEvent ask(QEvent::ToolTip, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(w, &ask);
        return w->toolTip();
    };
    FourBlockView four(d);
    four.Frame_Block[1]->setTitle(name);
    EXPECT_EQ(tipOf(four.Frame_Block[1]), name);
    EXPECT_EQ(tipOf(four.Frame_Contact[1]), name);
    TwoBlockView two(d);
    FillBlockList(two.tb1_BName[1]);
    two.tb1_BName[1]->setItemText(3, name);
    two.SetBNameIndex(1, 3);  // restored as start-up does, its signals blocked
    EXPECT_EQ(tipOf(two.tb1_BName[1]), name);
}

TEST_F(ContactLookTest, TwoAndOneBlockViewsGreyValuesFadeLampsAndMarkTheSelector) {
    TwoBlockView two(d);
    two.resize(1000, 600);
    for (QComboBox* list : two.tb1_BName) FillBlockList(list);
    two.SetBNameIndex(0, 0);
    two.SetBNameIndex(1, 2);
    OneBlockView one(d);
    one.resize(1000, 600);
    FillBlockList(one.tb2_BName);
    one.SetBNameIndex(2);
    d.ChStatus[40] = StatusBit::Alarm1;
    d.BlockOutOfContact[2] = true;
    two.Refresh();
    one.Refresh();

    EXPECT_FALSE(two.tb1_Contact[0]->isVisibleTo(&two));
    EXPECT_TRUE(MarkShown(two.tb1_Contact[1], &two));
    EXPECT_GT(SilentShare(two.tb1_PV[20]), 0.5);
    EXPECT_GT(SilentShare(two.tb1_Para[20]), 0.5);
    EXPECT_LT(SilentShare(two.tb1_PV[0]), 0.1);
    EXPECT_TRUE(two.tb1_staA1[20]->isStale());
    EXPECT_EQ(Share(two.tb1_staA1[20], Lamp::Red()), 0.0) << "a frozen alarm lamp is faded";
    // Faded: halfway from its red to the grey of a silent value box.
    const QWidget* lamp = two.tb1_staA1[20];
    EXPECT_EQ(Snapshot(*two.tb1_staA1[20]).pixelColor(lamp->rect().center()), QColor(235, 108, 108));
    EXPECT_FALSE(two.tb1_staA1[0]->isStale());

    EXPECT_TRUE(MarkShown(one.tb2_Contact, &one));
    for (QLabel* value : {one.tb2_PV[0], one.tb2_SV[0], one.tb2_Para1[0], one.tb2_Para2[0], one.tb2_Para3[0]})
        EXPECT_GT(SilentShare(value), 0.5);
    EXPECT_TRUE(one.tb2_staA1[0]->isStale());
    EXPECT_EQ(Share(one.tb2_staA1[0], Lamp::Red()), 0.0);

    d.BlockOutOfContact[2] = false;
    two.Refresh();
    one.Refresh();
    EXPECT_FALSE(two.tb1_Contact[1]->isVisibleTo(&two));
    EXPECT_FALSE(one.tb2_Contact->isVisibleTo(&one));
    EXPECT_LT(SilentShare(one.tb2_PV[0]), 0.1);
    EXPECT_GT(Share(one.tb2_staA1[0], Lamp::Red()), 0.0);
}

TEST_F(ContactLookTest, DetailViewsGreyTheChannelsFieldsAndMarkTheSelector) {
    OneChannelView channel(d);
    channel.resize(1000, 600);
    channel.tb3_CHName->addItem(QStringLiteral("x"));
    channel.tb3_CHName->setCurrentIndex(0);
    SettingChangeView setting(d);
    setting.resize(1000, 600);
    d.SelectedItem = 1;
    setting.tb4_BName_Click();
    d.BlockOutOfContact[0] = true;
    channel.Refresh();
    setting.Refresh();
    EXPECT_TRUE(MarkShown(channel.tb3_Contact, &channel));
    for (QLabel* field : {channel.Text_PV, channel.Text_SV, channel.Text_A1, channel.Text_P})
        EXPECT_GT(SilentShare(field), 0.5);
    EXPECT_TRUE(channel.Lamp_A1->isStale());
    EXPECT_TRUE(MarkShown(setting.tb4_Contact, &setting));
    EXPECT_GT(SilentShare(setting.Setdata_Para[0]), 0.5);

    d.BlockOutOfContact[0] = false;
    channel.Refresh();
    setting.Refresh();
    EXPECT_FALSE(channel.tb3_Contact->isVisibleTo(&channel));
    EXPECT_LT(SilentShare(channel.Text_PV), 0.1);
    EXPECT_FALSE(channel.Lamp_A1->isStale());
    EXPECT_FALSE(setting.tb4_Contact->isVisibleTo(&setting));
    EXPECT_LT(SilentShare(setting.Setdata_Para[0]), 0.1);
}

// The whole path: the engine on a scripted line tells the main window, whose visible tab
// greys the block at its third unanswered request and shows it live at its first reply.
// A channel number outside the line (a row without a channel) is never shown as frozen,
// even when every block is out of contact; the first and last channels follow their blocks.
TEST(ChannelContact, FollowsItsBlockAndNoChannelOutsideTheLineIsOutOfContact) {
    RDX_INC d;
    d.BlockOutOfContact.fill(true);
    for (int c : {-1, ChannelCount}) EXPECT_FALSE(OutOfContact(d, c)) << c;
    EXPECT_TRUE(OutOfContact(d, 0));
    EXPECT_TRUE(OutOfContact(d, ChannelCount - 1));
    d.BlockOutOfContact[15] = false;
    EXPECT_FALSE(OutOfContact(d, ChannelCount - 1));
    EXPECT_TRUE(OutOfContact(d, ChannelCount - 21));
}

// The mark reads 通信異常 in red and bold, at the right end of its frame's title line.
TEST(ContactMarkLook, RedBoldAtTheRightOfTheTitle) {
    QGroupBox frame(QStringLiteral("Block01"));
    frame.resize(300, 200);
    ContactMark* mark = ContactMark::OnFrame(&frame);
    frame.show();
    mark->setOutOfContact(true);
    EXPECT_EQ(mark->text(), QStringLiteral("通信異常"));
    EXPECT_TRUE(mark->font().bold());
    EXPECT_EQ(mark->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(mark->y(), 0);
    EXPECT_GT(mark->x(), frame.width() / 2);
    EXPECT_LE(mark->geometry().right(), frame.width() - 1);
    const int gap = frame.width() - mark->geometry().right();
    for (int width : {400, 250}) {  // it follows the frame's right edge
        frame.resize(width, 200);
        EXPECT_EQ(frame.width() - mark->geometry().right(), gap) << width;
    }
}

// Where the mark stands, the frame's line is hidden behind it as behind the title (in a
// style whose frame line runs through the title).
TEST(ContactMarkLook, HidesTheFramesLineBehindIt) {
    std::unique_ptr<QStyle> lined(QStyleFactory::create(QStringLiteral("Windows")));
    ASSERT_TRUE(lined);
    QGroupBox frame(QStringLiteral("Block01"));
    frame.setStyle(lined.get());
    frame.resize(300, 200);
    ContactMark* mark = ContactMark::OnFrame(&frame);
    frame.show();
    // The mark's left margin holds no text: only what lies behind the mark shows there.
    const QRect margin(mark->x(), mark->y(), 3, mark->height());
    const QColor background = frame.palette().color(QPalette::Window);
    const int marginPixels = margin.width() * margin.height();
    ASSERT_LT(CountColor(Snapshot(frame), margin, background), marginPixels) << "no line to hide";
    mark->setOutOfContact(true);
    EXPECT_EQ(CountColor(Snapshot(frame), margin, background), marginPixels);
}

// Rows past the last channel ask about channel numbers outside the line: they show no
// output, no status, no cooling partner and no note, whatever the tables hold.
TEST(ChannelOutsideTheLine, ShowsNothingWhateverTheTablesHold) {
    RDX_INC d;
    d.ChOutputSwitch.fill(1);
    d.ChStatus.fill(qint16(-1));
    d.ChOption.fill(qint16(-1));
    for (int c : {-1, ChannelCount}) {
        EXPECT_EQ(OutputButtonCaption(d, c), QStringLiteral("OFF")) << c;
        EXPECT_FALSE(StatusHas(d, c, 0xFFFF)) << c;
        EXPECT_FALSE(IsCoolingSecond(d, c)) << c;
        EXPECT_EQ(SettingChangeView::SettingNote(d, 1, c, 0), QString()) << c;
    }
    const int last = ChannelCount - 1;
    EXPECT_EQ(OutputButtonCaption(d, last), QStringLiteral("ON "));
    EXPECT_TRUE(StatusHas(d, last, 0x0001));
    EXPECT_TRUE(IsCoolingSecond(d, last));
    EXPECT_EQ(SettingChangeView::SettingNote(d, 1, last, 0), QStringLiteral("RDX-410が未接続のﾁｬﾝﾈﾙ。"));
}

TEST(ContactOnTheMainWindow, MarkedAtTheThirdSilenceAndClearedAtTheFirstReply) {
    RDX_INC d;
    MainDisp w(d);
    FakeLink* link = nullptr;
    w.CreateLinkObject = [&link](const char*) {
        link = new FakeLink;
        return link;
    };
    ASSERT_TRUE(w.Form_Load());
    for (int b : {0, 1}) {
        link->present[b] = true;
        link->values[b][QStringLiteral("00A0")].fill(1);
    }
    w.engine().RestartStartupRead();
    w.engine().Timer4_Timer();  // the start-up read
    w.SSTab1->setCurrentIndex(0);
    FourBlockView& page = *w.fourBlockView();
    auto pollUntilAsked = [&](int times) {
        for (int guard = 0; times > 0 && guard < 100; ++guard) {
            w.engine().Timer4_Timer();
            for (const Request& r : link->take()) times -= r.block == 1;
        }
    };
    link->take();
    link->present[1] = false;
    pollUntilAsked(2);
    EXPECT_FALSE(page.Frame_Contact[1]->isVisibleTo(&page));
    EXPECT_NE(static_cast<ValueLabel*>(page.Para_Text[20])->mark(), ValueMark::OutOfContact);
    pollUntilAsked(1);
    EXPECT_TRUE(page.Frame_Contact[1]->isVisibleTo(&page));
    EXPECT_EQ(static_cast<ValueLabel*>(page.Para_Text[20])->mark(), ValueMark::OutOfContact);
    EXPECT_NE(static_cast<ValueLabel*>(page.Para_Text[0])->mark(), ValueMark::OutOfContact);
    link->present[1] = true;
    pollUntilAsked(1);
    EXPECT_FALSE(page.Frame_Contact[1]->isVisibleTo(&page));
    EXPECT_NE(static_cast<ValueLabel*>(page.Para_Text[20])->mark(), ValueMark::OutOfContact);
}
