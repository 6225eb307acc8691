// Headings over their columns and rows kept together, on the real display, in the window
// as it opens and maximised.
#include "ProgramOnFakeLine.h"
#include "display/Lamp.h"
#include "app/MainDisp.h"
#include "display/MainMenus.h"
#include "display/OneBlockView.h"
#include "display/TwoBlockView.h"

#include <QLabel>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// Where a widget lies in the coordinates of `view`.
QRect In(QWidget* view, QWidget* w) { return QRect(w->mapTo(view, QPoint(0, 0)), w->size()); }

// The heading's centre over the column's centre, and the heading right above the first row.
void ExpectOver(QWidget* view, QLabel* heading, QWidget* firstRow, const std::string& where) {
    const QRect h = In(view, heading), c = In(view, firstRow);
    EXPECT_LE(std::abs(h.center().x() - c.center().x()), 2)
        << where << ": \"" << heading->text().toStdString() << "\" at x " << h.center().x()
        << ", its column at x " << c.center().x();
    EXPECT_GE(c.top(), h.bottom()) << where << ": \"" << heading->text().toStdString() << "\"";
    EXPECT_LE(c.top() - h.bottom(), 8) << where << ": a band between \"" << heading->text().toStdString()
                                       << "\" and its column";
}

// Consecutive rows follow each other without a gap.
void ExpectRowsTogether(QWidget* view, const std::array<QLabel*, ChannelsPerBlock>& column, int first,
                        const std::string& where) {
    for (int k = first + 1; k < first + ChannelsPerBlock; ++k) {
        const int gap = In(view, column[size_t(k)]).top() - In(view, column[size_t(k - 1)]).bottom();
        EXPECT_LE(gap, 4) << where << ": gap of " << gap << " above row " << k;
    }
}

void CheckOneBlock(OneBlockView& v, const std::string& where) {
    const std::array<QLabel*, 5> firstValues{v.tb2_PV[0], v.tb2_SV[0], v.tb2_Para1[0], v.tb2_Para2[0], v.tb2_Para3[0]};
    for (int i = 0; i < 5; ++i) ExpectOver(&v, v.ValueHeading[i], firstValues[i], where);
    const std::array<Lamp*, 7> firstLamps{v.tb2_staCONT[0], v.tb2_staA1[0], v.tb2_staA2[0], v.tb2_staHB[0],
                                          v.tb2_staLP[0],   v.tb2_staSB[0], v.tb2_staAT[0]};
    for (int l = 0; l < 7; ++l) ExpectOver(&v, v.LampHeading[l], firstLamps[l], where);
    ExpectRowsTogether(&v, v.tb2_label, 0, where);
}

void CheckTwoBlock(TwoBlockView& v, const std::string& where) {
    for (int h = 0; h < 2; ++h) {
        const int j = ChannelsPerBlock * h;
        const std::array<Lamp*, 3> lamps{v.tb1_staA1[j], v.tb1_staA2[j], v.tb1_staA3[j]};
        for (int l = 0; l < 3; ++l) ExpectOver(&v, v.A3Heading[h][l], lamps[l], where);
        std::array<QLabel*, ChannelsPerBlock> names{};
        std::copy_n(v.tb1_label.begin() + j, ChannelsPerBlock, names.begin());
        ExpectRowsTogether(&v, names, 0, where);
    }
}

}  // namespace

TEST(Alignment, HeadingsStandOverTheirColumnsAsOpenedAndMaximised) {
    bool maximised = false;
    RunProgram([&](RDXApplication& p) {
        MainDisp& w = p.mainWindow();
        for (const char* state : {"as opened", "maximised"}) {
            if (std::string(state) == "maximised") {
                w.menus->mnuMax_Click();
                Settle(1000);
                maximised = w.isMaximized();
            }
            w.SSTab1->setCurrentIndex(2);
            Settle(200);
            CheckOneBlock(*w.oneBlockView(), std::string("one block, ") + state);
            w.SSTab1->setCurrentIndex(1);
            Settle(200);
            CheckTwoBlock(*w.twoBlockView(), std::string("two blocks, ") + state);
        }
        w.menus->mnunom_Click();
        Settle(300);
    });
    EXPECT_TRUE(maximised);
}
