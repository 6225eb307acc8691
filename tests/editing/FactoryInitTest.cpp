#include "LineFixture.h"

#include "display/NameLists.h"
#include "setdata/FactoryMask.h"
#include "setdata/SubDisp_Factoryadj.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>

namespace {

TEST(FactoryMaskTest, UnitsTakeTheEvenFieldsOfTheBlock) {
    FactoryMask mask;
    EXPECT_EQ(mask.Text(), QString(80, u'0'));
    mask.SetUnit(0, true);
    mask.SetUnit(9, true);
    const QString t = mask.Text();
    ASSERT_EQ(t.size(), 80);
    EXPECT_EQ(t.mid(0, 4), QStringLiteral("0001"));
    EXPECT_EQ(t.mid(72, 4), QStringLiteral("0001"));
    QString rest = t;
    rest.remove(72, 4).remove(0, 4);
    EXPECT_EQ(rest, QString(72, u'0'));
    mask.SetUnit(9, false);
    EXPECT_EQ(t.mid(0, 8) + QString(72, u'0'), mask.Text());
    mask.SetUnit(10, true);  // there is no unit 10
    mask.SetUnit(-1, true);
    EXPECT_EQ(mask.Text().count(u'1'), 1);
}

class FactoryDialogTest : public LineTest {
protected:
    NameLists names;
    SubDisp_Factoryadj dialog{d, names, [this] { return &engine; }};

    void SetUp() override {
        LineTest::SetUp();
        dialog.prompts = prompts.Make();
        StartUp({0, 2});
        dialog.Open();
    }
};

// Enter in the dialog (on a tick box, say) is no way to reset a block: only the button is.
TEST_F(FactoryDialogTest, EnterNeverStartsAReset) {
    dialog.show();
    dialog.Check1[0]->click();
    dialog.Check1[0]->setFocus();
    QTest::keyClick(&dialog, Qt::Key_Return);
    QTest::keyClick(dialog.Check1[0], Qt::Key_Enter);
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_TRUE(engine.queuedWrites().empty());
}

TEST_F(FactoryDialogTest, ConfirmedResetSendsTheTickedUnitsToTheChosenBlock) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ﾃﾞｰﾀ初期化(工場出荷初期値)"));
    EXPECT_EQ(dialog.Factory_Bname->count(), 16);
    EXPECT_EQ(dialog.Factory_Bname->currentIndex(), 0);
    dialog.Factory_Bname->setCurrentIndex(2);
    dialog.Check1[0]->click();
    dialog.Check1[9]->click();
    dialog.Command1[0]->click();
    EXPECT_EQ(prompts.questions, QStringList{QStringLiteral("ﾃﾞｰﾀを初期化します。よろしいですか？")});
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(Queued(WriteKind::FactoryInit, 2));

    const auto sent = Tick();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].block, 2);
    EXPECT_EQ(sent[0].cmd, QStringLiteral("R"));
    EXPECT_EQ(sent[0].item, QStringLiteral("0040"));
    EXPECT_EQ(sent[0].data, QStringLiteral("0001") + QString(68, u'0') + QStringLiteral("0001") + QString(4, u'0'));
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
}

// The picture: the block's MGU-500, then its ten RDX-410 units, each with its tick box
// under it.
TEST_F(FactoryDialogTest, EachTickBoxStandsUnderItsUnit) {
    QList<QLabel*> units;
    for (QLabel* l : dialog.findChildren<QLabel*>())
        if (l->text() == QStringLiteral("RDX-410")) units << l;
    std::sort(units.begin(), units.end(), [](QLabel* a, QLabel* b) { return a->x() < b->x(); });
    ASSERT_EQ(units.size(), FactoryMask::UnitCount);
    for (int i = 0; i < FactoryMask::UnitCount; ++i) {
        const QRect unit = units[i]->geometry();
        const QRect box = dialog.Check1[i]->geometry();
        EXPECT_GT(box.top(), unit.bottom()) << i;
        EXPECT_GE(box.center().x(), unit.left()) << i;
        EXPECT_LE(box.center().x(), unit.right()) << i;
    }
}

TEST_F(FactoryDialogTest, TheDialogLeavesTheMainWindowUsable) {
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(FactoryDialogTest, OnlyABlockOfTheLineCanBeRequested) {
    FactoryMask mask;
    mask.SetUnit(0, true);
    for (int block : {16, -1}) EXPECT_EQ(engine.RequestFactoryInit(block, mask.Text()), 0u) << block;
    EXPECT_TRUE(engine.queuedWrites().empty());
    EXPECT_NE(engine.RequestFactoryInit(15, mask.Text()), 0u);
    EXPECT_TRUE(Queued(WriteKind::FactoryInit, 15));
    // Nor is a unit outside the ten ticked from the dialog.
    dialog.Check1[9]->setChecked(true);
    for (int unit : {FactoryMask::UnitCount, -1}) dialog.Check1_Click(unit);
    EXPECT_EQ(dialog.mask().Text(), QString(72, u'0') + QStringLiteral("00010000"));
    for (int unit : {FactoryMask::UnitCount, -1}) EXPECT_FALSE(dialog.mask().UnitSelected(unit)) << unit;
}

TEST_F(FactoryDialogTest, NoAnswerSendsNothingAndReopeningStartsWithNoUnit) {
    dialog.Check1[3]->click();
    prompts.answer = false;
    dialog.Command1[0]->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    EXPECT_TRUE(engine.queuedWrites().empty());
    EXPECT_TRUE(dialog.mask().UnitSelected(3));

    dialog.Command1[1]->click();  // Return
    EXPECT_FALSE(dialog.isVisible());
    dialog.Open();
    EXPECT_EQ(dialog.mask().Text(), QString(80, u'0'));
    for (QCheckBox* box : dialog.Check1) EXPECT_FALSE(box->isChecked());
    // No unit ticked: nothing to reset, so nothing is asked or sent, and the operator is told.
    prompts.answer = true;
    prompts.questions.clear();
    dialog.Command1[0]->click();
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("初期化するRDX-410にﾁｪｯｸを付けてください。")});
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
    for (const auto& r : Tick()) EXPECT_NE(r.item, QStringLiteral("0040"));
}

TEST_F(FactoryDialogTest, EveryActivationStartsWithNoUnitButItsOwnBoxesKeepTheTicks) {
    QWidget other;
    other.show();
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }));
    dialog.Check1[3]->click();
    // A box of the dialog's own (its question, its refusal) comes and goes: ticks stay.
    QDialog box(&dialog);
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &box; }));
    box.close();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }));
    EXPECT_TRUE(dialog.Check1[3]->isChecked());
    EXPECT_TRUE(dialog.mask().UnitSelected(3));
    // The operator goes to another window and comes back: a fresh start.
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &other; }));
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }));
    EXPECT_FALSE(dialog.Check1[3]->isChecked());
    EXPECT_EQ(dialog.mask().Text(), QString(80, u'0'));
}

TEST_F(FactoryDialogTest, AutoTuningInTheBlockIsRefusedBeforeTheQuestion) {
    dialog.Factory_Bname->setCurrentIndex(2);
    d.ChATSwitch[59] = 1;
    d.ChStatus[10] = StatusBit::AutoTuning;  // another block; the status word is not asked
    dialog.Check1[1]->click();
    dialog.Command1[0]->click();
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("ｵｰﾄﾁｭｰﾆﾝｸﾞ中のﾁｬﾝﾈﾙがあります。")});
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);

    dialog.Factory_Bname->setCurrentIndex(0);
    dialog.Command1[0]->click();
    EXPECT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(Queued(WriteKind::FactoryInit, 0));
}

// While a load's alarm values wait, a reset would be undone by them: refused before the
// question, with the engine's own word.
TEST_F(FactoryDialogTest, ALoadStillWritingRefusesTheResetBeforeTheQuestion) {
    engine.RequestAllBlocksWrite();
    Tick();
    dialog.Check1[0]->click();
    dialog.Command1[0]->click();
    EXPECT_EQ(prompts.messages, QStringList{QString::fromUtf8(EngineMsg::BulkWriteBusy)});
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
}

TEST_F(FactoryDialogTest, AutoTuningOfTheNextBlockDoesNotConcernThisOne) {
    d.ChATSwitch[40] = 1;  // first channel of block 2
    d.ChATSwitch[39] = 0;
    EXPECT_TRUE(AutoTuningInBlock(d, 2));
    EXPECT_FALSE(AutoTuningInBlock(d, 1));
    // The first and last blocks of the line are blocks like any other.
    d.ChATSwitch[0] = 1;
    d.ChATSwitch[319] = 1;
    EXPECT_TRUE(AutoTuningInBlock(d, 0));
    EXPECT_TRUE(AutoTuningInBlock(d, 15));
    EXPECT_FALSE(AutoTuningInBlock(d, 16));
    d.ChATSwitch[0] = 0;
    d.ChATSwitch[319] = 0;
    dialog.Factory_Bname->setCurrentIndex(1);
    dialog.Check1[0]->click();
    dialog.Command1[0]->click();
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(Queued(WriteKind::FactoryInit, 1));
}

}  // namespace
