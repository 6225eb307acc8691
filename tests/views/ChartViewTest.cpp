#include "services/SettingsStore.h"
#include "display/ChartView.h"
#include "controls/Tesmar_ChartCtl.h"
#include "controls/ChartMath.h"
#include "../controls/PixelProbe.h"
#include "TestClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

class ChartViewTest : public ::testing::Test {
protected:
    RDX_INC data;
    TestClock clock{QDateTime(QDate(2007, 3, 9), QTime(8, 5, 3))};
    std::unique_ptr<ChartView> view;
    QStringList panel3;

    void SetUp() override {
        SaveChartSettings(ChartSettings{});
        SaveChartRunning(false);
        view = std::make_unique<ChartView>(data);
        view->Time = &clock;
        view->SetPanel3 = [this](const QString& t) { panel3 << t; };
        view->LoadChartSettings();
    }
    void TearDown() override { SaveChartRunning(false); }

    // Stores settings as the dialog would and loads them as start-up does.
    void Configure(const ChartSettings& s) {
        SaveChartSettings(s);
        view->LoadChartSettings();
    }
    Tesmar_ChartCtl& chart() { return *view->Tesmar_ChartCtl1; }
    bool Enabled(int button) const { return view->ChartStart[button]->isEnabled(); }
    bool FinishedShown() const { return !view->Label_protend->isHidden(); }
};

TEST_F(ChartViewTest, BeforeAnySettingsOnlyTheSettingsButtonWorksAndNothingRuns) {
    EXPECT_FALSE(Enabled(0));
    EXPECT_FALSE(Enabled(1));
    EXPECT_TRUE(Enabled(2));
    EXPECT_EQ(view->ChartStart[0]->text(), "開始");
    EXPECT_EQ(view->ChartStart[1]->text(), "停止");
    EXPECT_EQ(view->ChartStart[2]->text(), "ﾁｬｰﾄ描写条件設定");
    EXPECT_FALSE(FinishedShown());
    EXPECT_EQ(view->Label_protend->text(), "描写終了");
    EXPECT_FALSE(view->IsRunning());
    EXPECT_EQ(view->Timer2.interval(), 5000);
}

TEST_F(ChartViewTest, StartScalesTheChartAndDrawsTheFirstSampleAtOnce) {
    ChartSettings s;
    s.ChartMin = -400;
    s.ChartMax = 3400;
    s.ChartTim = 2;
    Configure(s);
    data.ChPV[0] = 250;
    data.ChPV[3] = -12;
    view->ChartStart_Click(0);

    EXPECT_TRUE(chart().Startflg());
    EXPECT_EQ(chart().SclMax(), 3400);
    EXPECT_EQ(chart().SclMin(), -400);
    EXPECT_EQ(chart().CountTim(), 2);
    EXPECT_EQ(chart().StartLabel(), "08:05");
    EXPECT_EQ(chart().ScaleLabel(0), "3400");
    EXPECT_EQ(chart().ScaleLabel(2), "-400");
    EXPECT_EQ(chart().ProtterNo(), 0);
    EXPECT_EQ(chart().DataLabel(0), "250");
    EXPECT_EQ(chart().DataLabel(3), "-12");
    EXPECT_EQ(view->ChartPosition(), 1);
    EXPECT_TRUE(view->IsRunning());
    EXPECT_EQ(view->Timer2.interval(), 2000);
    EXPECT_FALSE(Enabled(0));
    EXPECT_FALSE(Enabled(2));
    EXPECT_EQ(GetSetting("Chart_start", ""), "1");
    EXPECT_EQ(panel3.last(), "ﾁｬｰﾄ 実行中");

    data.ChPV[0] = 260;
    view->Timer2_Timer();
    EXPECT_EQ(chart().ProtterNo(), 1);
    EXPECT_EQ(chart().DataLabel(0), "260");
    EXPECT_EQ(view->ChartPosition(), 2);
}

TEST_F(ChartViewTest, StopKeepsTheDrawingAndReturnsToReady) {
    view->ChartStart_Click(0);
    view->Timer2_Timer();
    view->ChartStart_Click(1);
    EXPECT_FALSE(view->IsRunning());
    EXPECT_FALSE(chart().Startflg());
    EXPECT_EQ(chart().ProtterNo(), 1);  // nothing erased, nothing reset
    EXPECT_TRUE(Enabled(0));
    EXPECT_TRUE(Enabled(2));
    EXPECT_EQ(GetSetting("Chart_start", ""), "0");
    EXPECT_EQ(panel3.last(), "ﾁｬｰﾄ 待機中");
}

TEST_F(ChartViewTest, TheTickPlotsTenthsAndOutputHalfToEven) {
    ChartSettings s;
    s.PenItem = {ChartItemPV, ChartItemSV, ChartItemPV, ChartItemMV};
    s.PenChannel = {0, 1, 2, 3};
    Configure(s);
    for (int c = 0; c < 3; ++c) data.ChInputType[c] = 6;
    data.ChPV[0] = 1234;
    data.ChSV[1] = 1235;
    data.ChPV[2] = 1245;
    data.ChHeatMV[3] = 555;
    view->ChartStart_Click(0);
    EXPECT_EQ(chart().DataLabel(0), "123");
    EXPECT_EQ(chart().DataLabel(1), "124");
    EXPECT_EQ(chart().DataLabel(2), "124");
    EXPECT_EQ(chart().DataLabel(3), "56");
    // A temperature input in whole degrees is plotted as it is.
    data.ChInputType[0] = 5;
    view->Timer2_Timer();
    EXPECT_EQ(chart().DataLabel(0), "1234");
}

TEST_F(ChartViewTest, APenOfABlockOutOfContactLeavesAGapAndStartsAfreshWhenItAnswers) {
    ChartSettings s;
    s.ChartMax = 400;
    s.ChartMin = 0;
    s.PenItem = {ChartItemPV, ChartItemPV, ChartItemNone, ChartItemNone};
    s.PenChannel = {0, ChannelsPerBlock, 0, 0};  // blocks 1 and 2
    Configure(s);
    const QColor magenta(255, 0, 255), blue(0, 0, 255);
    data.ChPV[0] = 250;  // y 2250
    data.ChPV[ChannelsPerBlock] = 150;
    view->ChartStart_Click(0);
    for (int i = 1; i <= 10; ++i) view->Timer2_Timer();
    data.BlockOutOfContact[0] = true;
    for (int i = 11; i <= 30; ++i) view->Timer2_Timer();
    EXPECT_EQ(chart().DataLabel(0), "");
    EXPECT_EQ(chart().DataLabel(1), "150");
    data.BlockOutOfContact[0] = false;
    data.ChPV[0] = 50;  // y 5250
    for (int i = 31; i <= 50; ++i) view->Timer2_Timer();
    EXPECT_EQ(chart().DataLabel(0), "50");

    const QImage image = Snapshot(chart());
    const auto area = [this](int fromPosition, int toPosition, int top, int bottom) {
        return QRect(chart().PlotToWidget(ChartMath::PositionX(fromPosition), top),
                     chart().PlotToWidget(ChartMath::PositionX(toPosition), bottom));
    };
    EXPECT_EQ(CountColor(image, area(13, 29, 0, 6000), magenta), 0) << "no pen during the outage";
    EXPECT_GT(CountColor(image, area(13, 29, 0, 6000), blue), 0) << "the answering block's pen goes on";
    EXPECT_EQ(CountColor(image, area(29, 33, 2600, 4900), magenta), 0) << "no line across the gap";
    EXPECT_GT(CountColor(image, area(33, 49, 5000, 5500), magenta), 0);
}

TEST_F(ChartViewTest, APenWithoutDrawingIsGreyedAndShowsNoValue) {
    ChartSettings s;
    s.PenItem = {ChartItemPV, ChartItemNone, ChartItemPV, ChartItemPV};
    Configure(s);
    data.ChPV[1] = 99;
    view->ChartStart_Click(0);
    view->Timer2_Timer();
    EXPECT_TRUE(view->Label_protname[0]->isEnabled());
    EXPECT_FALSE(view->Label_protname[1]->isEnabled());
    EXPECT_EQ(chart().PenVisible(1), 0);
    EXPECT_EQ(chart().DataLabel(1), "");
    EXPECT_EQ(chart().PenValue(1), 0);
}

TEST_F(ChartViewTest, TheThousandthPositionFillsTheChartAndLaterTicksStayAtTheEnd) {
    view->ChartStart_Click(0);  // position 0
    for (int i = 1; i < 999; ++i) view->Timer2_Timer();
    EXPECT_EQ(chart().ProtterNo(), 998);
    EXPECT_FALSE(FinishedShown());
    EXPECT_EQ(panel3.last(), "ﾁｬｰﾄ 実行中");

    view->Timer2_Timer();  // position 999, the thousandth
    EXPECT_EQ(chart().ProtterNo(), 999);
    EXPECT_TRUE(FinishedShown());
    EXPECT_EQ(panel3.last(), "描写終了");
    EXPECT_EQ(view->ChartPosition(), 999);
    EXPECT_TRUE(view->IsRunning());

    data.ChPV[0] = 77;
    view->Timer2_Timer();
    EXPECT_EQ(chart().ProtterNo(), 999);
    EXPECT_EQ(view->ChartPosition(), 999);

    // Stop leaves the mark; a new start removes it and begins at position 0.
    view->ChartStart_Click(1);
    EXPECT_TRUE(FinishedShown());
    clock.now = clock.now.addSecs(3600);
    view->ChartStart_Click(0);
    EXPECT_FALSE(FinishedShown());
    EXPECT_EQ(chart().ProtterNo(), 0);
    EXPECT_EQ(chart().StartLabel(), "09:05");
    EXPECT_EQ(view->ChartPosition(), 1);
    EXPECT_EQ(chart().DataLabel(0), "77");
}

TEST_F(ChartViewTest, AChartThatRanWhenTheProgramClosedStartsAgainAtStartUp) {
    SaveSetting("Chart_start", "1");
    view->ResumeAtStartup();
    EXPECT_TRUE(view->IsRunning());
    EXPECT_TRUE(chart().Startflg());
    EXPECT_EQ(chart().ProtterNo(), 0);
    EXPECT_FALSE(Enabled(0));
    EXPECT_TRUE(Enabled(1));
    EXPECT_FALSE(Enabled(2));
    EXPECT_EQ(panel3.last(), "ﾁｬｰﾄ 実行中");
    EXPECT_EQ(GetSetting("Chart_start", ""), "1");
}

TEST_F(ChartViewTest, AStoppedChartStaysStoppedAtStartUp) {
    SaveSetting("Chart_start", "0");
    view->ResumeAtStartup();
    EXPECT_FALSE(view->IsRunning());
    EXPECT_FALSE(Enabled(1));
    EXPECT_TRUE(panel3.isEmpty());
}

TEST_F(ChartViewTest, TheTimerDrivesTheSamples) {
    ChartSettings s;
    s.ChartTim = 1;
    Configure(s);
    view->ChartStart_Click(0);
    // Run the real timer once rather than calling the handler.
    view->Timer2.setInterval(1);
    QElapsedTimer waited;
    waited.start();
    while (view->ChartPosition() < 2 && waited.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_GE(view->ChartPosition(), 2);
    view->ChartStart_Click(1);
}

}  // namespace
