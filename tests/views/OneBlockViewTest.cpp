#include "ViewTestSupport.h"
#include "display/NameLists.h"
#include "display/Lamp.h"
#include "display/OneBlockView.h"

#include <QComboBox>
#include <algorithm>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class OneBlockViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        AllPresent(d);
        view.tb2_BName->addItems(BlockNames());
        view.SetBNameIndex(7);  // channels 140..159
    }
    RDX_INC d;
    OneBlockView view{d};
};

TEST_F(OneBlockViewTest, SelectorsStoreTheirKeys) {
    view.tb2_BName->setCurrentIndex(9);
    EXPECT_EQ(GetSetting(QStringLiteral("tab2name"), QString()), QStringLiteral("9"));
    EXPECT_EQ(view.tb2_label[0]->text(), QStringLiteral("Ch181"));
    view.tb2_Block_P[0]->setCurrentIndex(8);
    view.tb2_Block_P[1]->setCurrentIndex(9);
    view.tb2_Block_P[2]->setCurrentIndex(10);
    EXPECT_EQ(GetSetting(QStringLiteral("tab2block0"), QString()), QStringLiteral("8"));
    EXPECT_EQ(GetSetting(QStringLiteral("tab2block1"), QString()), QStringLiteral("9"));
    EXPECT_EQ(GetSetting(QStringLiteral("tab2block2"), QString()), QStringLiteral("10"));
}

TEST_F(OneBlockViewTest, RefreshShowsPvSvAndTheThreeItems) {
    const int c = 140 + 4;
    d.ChInputType[c] = 6;  // tenths
    d.ChPV[c] = 2503;
    d.ChSV[c] = 2500;
    d.ChHeatMV[c] = 1000;
    d.ChAlarm1[c] = 50;
    d.ChAlarm1Type[c] = 2;
    view.SetBlockPIndex(0, 1);
    view.SetBlockPIndex(1, 4);
    view.SetBlockPIndex(2, 16);
    for (int none : {3, -1}) {  // there are three item lists
        view.SetBlockPIndex(none, 2);
        view.tb2_Block_P_Click(none);
    }
    view.Refresh();
    EXPECT_EQ(view.tb2_PV[4]->text(), QStringLiteral("250.3"));
    EXPECT_EQ(view.tb2_SV[4]->text(), QStringLiteral("250.0"));
    EXPECT_EQ(view.tb2_Para1[4]->text(), QStringLiteral("100.0"));
    EXPECT_EQ(view.tb2_Para2[4]->text(), QStringLiteral("5.0"));
    EXPECT_EQ(view.tb2_Para3[4]->text(), QStringLiteral("H  W"));
}

TEST_F(OneBlockViewTest, SevenLampsByStatusBits) {
    d.ChStatus[140] = StatusBit::Control | StatusBit::AutoTuning;
    d.ChStatus[141] = StatusBit::Alarm1 | StatusBit::HeaterBreak;
    d.ChStatus[142] = StatusBit::Alarm2 | StatusBit::LoopBreak;
    d.ChStatus[143] = StatusBit::OverScale;
    d.ChStatus[144] = StatusBit::UnderScale | StatusBit::OutputOn | StatusBit::Changed;
    view.Refresh();
    EXPECT_EQ(view.tb2_staCONT[0]->color(), Lamp::Green());
    EXPECT_EQ(view.tb2_staAT[0]->color(), Lamp::Yellow());
    EXPECT_EQ(view.tb2_staA1[0]->color(), Lamp::White());
    EXPECT_EQ(view.tb2_staA1[1]->color(), Lamp::Red());
    EXPECT_EQ(view.tb2_staHB[1]->color(), Lamp::Red());
    EXPECT_EQ(view.tb2_staCONT[1]->color(), Lamp::White());
    EXPECT_EQ(view.tb2_staA2[2]->color(), Lamp::Red());
    EXPECT_EQ(view.tb2_staLP[2]->color(), Lamp::Red());
    EXPECT_EQ(view.tb2_staSB[2]->color(), Lamp::White());
    EXPECT_EQ(view.tb2_staSB[3]->color(), Lamp::Red());
    EXPECT_EQ(view.tb2_staSB[4]->color(), Lamp::Red());
    for (const auto* lamps : {&view.tb2_staCONT, &view.tb2_staA1, &view.tb2_staA2, &view.tb2_staHB,
                              &view.tb2_staLP, &view.tb2_staAT})
        EXPECT_EQ((*lamps)[4]->color(), Lamp::White());
    d.ChStatus[140] = 0;
    view.Refresh();
    EXPECT_EQ(view.tb2_staCONT[0]->color(), Lamp::White());
    EXPECT_EQ(view.tb2_staAT[0]->color(), Lamp::White());
}

TEST_F(OneBlockViewTest, CaptionsUnitsHiddenAndGreyedRows) {
    d.ChOutputSwitch[140] = 1;
    d.ChOutputSwitch[141] = 2;
    d.ChInputType[142] = d.ChInputType[143] = 11;
    d.ChUnitText[142] = QStringLiteral("%RH");
    d.ChUnitShown[142] = 0;
    d.ChOption[150] = d.ChOption[151] = OptionBit::Cooling;
    d.ChPresent[158] = d.ChPresent[159] = 0;
    view.tb2_BName_Click();
    EXPECT_EQ(view.tb2_OUT[0]->text(), QStringLiteral("ON "));
    EXPECT_EQ(view.tb2_OUT[1]->text(), QStringLiteral("OFF"));
    EXPECT_EQ(view.Tab2_Label_CF[2]->text(), QStringLiteral("%RH"));
    EXPECT_EQ(view.Tab2_Label_CF[0]->text(), QStringLiteral("ﾟC"));
    for (QWidget* w : std::initializer_list<QWidget*>{
             view.tb2_PV[11], view.tb2_SV[11], view.tb2_Para1[11], view.tb2_Para2[11], view.tb2_Para3[11],
             view.tb2_OUT[11], view.Tab2_Label_CF[11], view.tb2_staCONT[11], view.tb2_staA1[11],
             view.tb2_staA2[11], view.tb2_staHB[11], view.tb2_staLP[11], view.tb2_staSB[11], view.tb2_staAT[11]})
        EXPECT_TRUE(w->isHidden());
    EXPECT_FALSE(view.tb2_label[11]->isHidden());
    EXPECT_FALSE(view.tb2_PV[10]->isHidden());
    for (int k : {18, 19}) {
        EXPECT_FALSE(view.tb2_PV[k]->isEnabled());
        EXPECT_FALSE(view.tb2_SV[k]->isEnabled());
        EXPECT_FALSE(view.tb2_OUT[k]->isEnabled());
    }
    // Choosing a block without those pairs shows and enables the rows again.
    view.tb2_BName->setCurrentIndex(0);
    EXPECT_FALSE(view.tb2_PV[11]->isHidden());
    EXPECT_TRUE(view.tb2_PV[18]->isEnabled());
}

TEST_F(OneBlockViewTest, OutputButtonForwardsItsChannel) {
    QSignalSpy spy(&view, &OneBlockView::outputSwitchRequested);
    view.tb2_OUT[19]->click();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 159);
}

}  // namespace

namespace {

// The tab as a person sees it at the window's size.
class OneBlockViewOnScreen : public OneBlockViewTest {
protected:
    void SetUp() override {
        OneBlockViewTest::SetUp();
        view.resize(1000, 640);
        view.show();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
};

TEST_F(OneBlockViewOnScreen, TheThreeItemColumnsShareTheWidthEvenly) {
    const int w1 = view.tb2_Para1[0]->width();
    const int w2 = view.tb2_Para2[0]->width();
    const int w3 = view.tb2_Para3[0]->width();
    EXPECT_GT(w1, view.tb2_Para1[0]->minimumSizeHint().width()) << "the columns take the spare width";
    EXPECT_NEAR(w2, w1, 2);
    EXPECT_NEAR(w3, w1, 2);
    EXPECT_NEAR(view.tb2_PV[0]->width(), w1, 2);
}

TEST_F(OneBlockViewOnScreen, OneBlockSelectorAndThreeItemSelectors) {
    const QList<QComboBox*> selectors = view.findChildren<QComboBox*>();
    EXPECT_EQ(selectors.size(), 4);
    for (QComboBox* item : view.tb2_Block_P) {
        EXPECT_TRUE(selectors.contains(item));
        EXPECT_EQ(item->count(), 31);
    }
    EXPECT_TRUE(selectors.contains(view.tb2_BName));
}

TEST_F(OneBlockViewOnScreen, RowsStandInChannelOrderUnderTheirHeadings) {
    const QList<QLabel*> labels = view.findChildren<QLabel*>();
    const auto heading = std::find_if(labels.begin(), labels.end(),
                                      [](const QLabel* l) { return l->text() == QStringLiteral("PV"); });
    ASSERT_NE(heading, labels.end());
    int above = (*heading)->geometry().bottom();
    for (int k = 0; k < OneBlockView::Rows; ++k) {
        const QRect pv = view.tb2_PV[k]->geometry();
        EXPECT_GT(pv.top(), above) << "row " << k;
        EXPECT_EQ(view.tb2_label[k]->geometry().center().y(), pv.center().y()) << "row " << k;
        EXPECT_EQ(view.tb2_OUT[k]->geometry().center().y(), pv.center().y()) << "row " << k;
        above = pv.bottom();
    }
}

TEST_F(OneBlockViewOnScreen, ValueFieldsAreWhite) {
    view.Refresh();
    const QImage shot = view.grab().toImage();
    for (QLabel* field : {view.tb2_PV[3], view.tb2_SV[3], view.tb2_Para2[3]}) {
        // Inside the frame, left of the right-aligned value.
        const QPoint p = field->mapTo(&view, QPoint(4, field->height() / 2));
        EXPECT_EQ(shot.pixelColor(p), QColor(255, 255, 255)) << field->text().toStdString();
    }
}

}  // namespace
