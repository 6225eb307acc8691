// The up-down arrows as an operator uses them: a click steps once, a held arrow keeps
// stepping, and the ends of the range hold.
#include "controls/UpDown.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

TEST(UpDown, AClickStepsOnceByTheIncrementAndTheEndsHold) {
    UpDown updown;
    updown.SetRange(-10, 10);
    updown.SetIncrement(4);
    updown.SetValue(5);
    QSignalSpy changes(&updown, &UpDown::Change);
    QTest::mouseClick(updown.UpButton(), Qt::LeftButton);
    EXPECT_EQ(updown.Value(), 9);
    QTest::mouseClick(updown.UpButton(), Qt::LeftButton);
    EXPECT_EQ(updown.Value(), 10);
    QTest::mouseClick(updown.UpButton(), Qt::LeftButton);  // at the end: no change, no signal
    EXPECT_EQ(updown.Value(), 10);
    EXPECT_EQ(changes.count(), 2);
    for (int i = 0; i < 6; ++i) QTest::mouseClick(updown.DownButton(), Qt::LeftButton);
    EXPECT_EQ(updown.Value(), -10);
}

TEST(UpDown, AHeldArrowKeepsSteppingAndLeavesTheFocusInTheField) {
    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* updown = new UpDown(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(field);
    layout->addWidget(updown);
    window.show();
    field->setFocus();
    updown->SetRange(0, 1000);
    QToolButton* up = updown->UpButton();
    QTest::mousePress(up, Qt::LeftButton);
    QTest::qWait(up->autoRepeatDelay() + 4 * up->autoRepeatInterval());
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_GE(updown->Value(), 3);
    EXPECT_EQ(up->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(updown->DownButton()->focusPolicy(), Qt::NoFocus);
}
