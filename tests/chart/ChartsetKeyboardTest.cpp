// The number boxes of the chart settings dialog from the keyboard: typing, Backspace and
// the arrow keys, within the up-downs' ranges and steps.
#include "services/SettingsStore.h"
#include "display/ChartView.h"
#include "controls/SubDisp_Chartset.h"
#include "controls/UpDown.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class ChartsetKeyboardTest : public ::testing::Test {
protected:
    RDX_INC data;
    std::unique_ptr<ChartView> view;
    SubDisp_Chartset* dialog = nullptr;

    void SetUp() override {
        SaveChartSettings(ChartSettings{});  // 0 to 400, every 5 s
        SaveChartRunning(false);
        view = std::make_unique<ChartView>(data);
        view->LoadChartSettings();
        view->ChartStart_Click(2);
        dialog = view->chartsetDialog();
        ASSERT_NE(dialog, nullptr);
    }
    // Replaces the field's text by typing, as an operator would after selecting it.
    void Type(int i, const QString& text) {
        QLineEdit* field = dialog->Text1[i];
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    void Key(int i, Qt::Key key) { QTest::keyClick(dialog->Text1[i], key); }
    QString Shown(int i) const { return dialog->Text1[i]->text(); }
    int Value(int i) const { return dialog->UpDown1[i]->Value(); }
};

}  // namespace

// Open, the dialog blocks no other window: the chart and the main window stay usable.
TEST_F(ChartsetKeyboardTest, TheDialogBlocksNoOtherWindow) {
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ChartsetKeyboardTest, TypedNumbersTakeEffectOnEnter) {
    for (QLineEdit* field : dialog->Text1) EXPECT_FALSE(field->isReadOnly());
    Type(1, QStringLiteral("1200"));
    EXPECT_EQ(Value(1), 400) << "not before Enter";
    Key(1, Qt::Key_Return);
    EXPECT_EQ(Value(1), 1200);
    EXPECT_EQ(Shown(1), QStringLiteral("1200"));
    Type(0, QStringLiteral("-250"));
    Key(0, Qt::Key_Enter);
    EXPECT_EQ(Value(0), -250);
    Type(2, QStringLiteral("17"));
    Key(2, Qt::Key_Return);
    EXPECT_EQ(Value(2), 17);
}

// Enter is OK: the number typed counts and the settings are handed over; a refused number
// keeps the dialog open for mending.
TEST_F(ChartsetKeyboardTest, EnterIsOkOnceTheNumberIsTaken) {
    std::vector<ChartSettings> accepted;
    QObject::connect(dialog, &SubDisp_Chartset::settingsAccepted,
                     [&](const ChartSettings& s) { accepted.push_back(s); });
    Type(2, QStringLiteral("99999"));
    Key(2, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(accepted.empty());
    Type(1, QStringLiteral("1200"));
    Key(1, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_EQ(accepted.size(), 1u);
    EXPECT_EQ(accepted[0].ChartMax, 1200);
}

TEST_F(ChartsetKeyboardTest, BackspaceEditsTheNumber) {
    QLineEdit* field = dialog->Text1[1];
    field->setFocus();
    field->end(false);
    Key(1, Qt::Key_Backspace);
    EXPECT_EQ(Shown(1), QStringLiteral("40"));
    Key(1, Qt::Key_Backspace);
    QTest::keyClicks(field, QStringLiteral("50"));
    Key(1, Qt::Key_Return);
    EXPECT_EQ(Value(1), 450);
}

TEST_F(ChartsetKeyboardTest, ArrowKeysStepByTheUpDownsIncrementAndStopAtTheEnds) {
    Key(1, Qt::Key_Up);
    EXPECT_EQ(Value(1), 500);
    EXPECT_EQ(Shown(1), QStringLiteral("500"));
    Key(1, Qt::Key_Down);
    Key(1, Qt::Key_Down);
    EXPECT_EQ(Value(1), 300);
    Key(2, Qt::Key_Up);
    EXPECT_EQ(Value(2), 6);
    Type(2, QStringLiteral("30"));
    Key(2, Qt::Key_Up);  // the typed value counts, then the step: the range ends at 30
    EXPECT_EQ(Value(2), 30);
    Type(2, QStringLiteral("1"));
    Key(2, Qt::Key_Return);
    Key(2, Qt::Key_Down);
    EXPECT_EQ(Value(2), 1);
    // Left and Right still move the cursor.
    dialog->Text1[2]->setCursorPosition(1);
    Key(2, Qt::Key_Left);
    EXPECT_EQ(dialog->Text1[2]->cursorPosition(), 0);
}

TEST_F(ChartsetKeyboardTest, NumbersOutsideTheRangeAreRefusedAndTheValueShownAgain) {
    const std::pair<int, const char*> refused[] = {{1, "3500"}, {0, "-500"}, {2, "31"}, {2, "0"}, {1, "-"}, {1, ""}};
    for (const auto& [i, text] : refused) {
        const int before = Value(i);
        Type(i, QString::fromLatin1(text));
        Key(i, Qt::Key_Return);
        EXPECT_EQ(Value(i), before) << text;
        EXPECT_EQ(Shown(i), QString::number(before)) << text;
    }
    // Letters never get into the field.
    Type(2, QStringLiteral("1a"));
    EXPECT_EQ(Shown(2), QStringLiteral("1"));
    // There are three fields: no other is committed.
    for (int none : {3, -1}) EXPECT_FALSE(dialog->Text1_Commit(none)) << none;
}

TEST_F(ChartsetKeyboardTest, ATypedMinimumKeepsBelowTheMaximum) {
    Type(0, QStringLiteral("600"));
    Key(0, Qt::Key_Return);
    EXPECT_EQ(Value(0), 300);
    EXPECT_EQ(Shown(0), QStringLiteral("300"));
    Type(1, QStringLiteral("100"));
    Key(1, Qt::Key_Return);
    EXPECT_EQ(Value(1), 400);
}

TEST_F(ChartsetKeyboardTest, OkTakesANumberStillBeingTyped) {
    QSignalSpy accepted(dialog, &SubDisp_Chartset::settingsAccepted);
    Type(1, QStringLiteral("900"));
    dialog->Command1[0]->click();
    ASSERT_EQ(accepted.count(), 1);
    EXPECT_EQ(accepted.first().first().value<ChartSettings>().ChartMax, 900);
}
