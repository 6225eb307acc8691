// The opening form as the X server shows it while the start-up read blocks the event loop.
#include "ProgramOnFakeLine.h"
#include "ServerImage.h"
#include "app/OpuningDisp.h"

#include <QApplication>
#include <QProgressBar>
#include <gtest/gtest.h>

namespace {

OpuningDisp* OpeningForm() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<OpuningDisp*>(w); form && form->isVisible()) return form;
    return nullptr;
}

}  // namespace

TEST(OpeningForm, IsPaintedAndItsBarAdvancesDuringTheStartUpRead) {
    QImage early, late;
    QRect bar;
    RunProgram([](RDXApplication&) {}, [&](RDXApplication& program) {
        program.OnStartupProgress = [&](int count) {
            OpuningDisp* form = OpeningForm();
            if (!form) return;
            // The first inquiry, and the end of the parameter read of the first block.
            if (count == 1 || count == 16 + 37) {
                (count == 1 ? early : late) = ServerImage(form->geometry());
                bar = QRect(form->ProgressBar1->mapTo(form, QPoint(0, 0)), form->ProgressBar1->size());
            }
        };
    });
    ASSERT_FALSE(early.isNull());
    ASSERT_FALSE(late.isNull());
    // A form that was never painted is one flat colour (black on a bare server).
    EXPECT_GT(DistinctColours(early), 16);
    EXPECT_GT(DistinctColours(late), 16);
    EXPECT_TRUE(early.copy(bar) != late.copy(bar)) << "the progress bar did not move on screen";
}
