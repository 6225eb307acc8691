#include "EditingFixture.h"

#include "services/SettingsStore.h"
#include "editing/SettingEditor.h"
#include "editing/Setting_Disp.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class SettingDispTest : public EditingTest {
protected:
    SettingEditor editor{d, writes, nullptr};

    void SetUp() override {
        EditingTest::SetUp();
        editor.prompts = prompts.Make();
    }
    // Opens the numeric entry of tab 4 for `setting` of channel c.
    Setting_Disp* Open(int setting, int c, const QString& current = QStringLiteral("now")) {
        d.SelectedItem = setting;
        editor.Command_change_Click(c, current);
        return editor.settingDialog();
    }
    static void Keys(Setting_Disp* dlg, std::initializer_list<int> digits) {
        for (int k : digits) dlg->Ten_key[k]->click();
    }
    static QString Shown(Setting_Disp* dlg) { return dlg->Disp_setdata->text(); }
};

TEST_F(SettingDispTest, TenthsEntryShowsEachDigitSignAndStoresTheStoredUnits) {
    d.ChInputType[7] = 8;  // Pt100, -199.9 .. 850.0
    d.ChSV[7] = 55;
    Setting_Disp* dlg = Open(1, 7, QStringLiteral("5.5"));
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("設定値変更画面"));
    EXPECT_EQ(dlg->Now_data->text(), QStringLiteral("5.5"));
    EXPECT_EQ(dlg->Limit_data->text(), QStringLiteral("-199.9 ～ 850.0"));
    EXPECT_EQ(Shown(dlg), QString());

    QStringList shown;
    for (int k : {1, 2, 3}) {
        dlg->Ten_key[k]->click();
        shown << Shown(dlg);
    }
    EXPECT_EQ(shown, (QStringList{"0.1", "1.2", "12.3"}));
    dlg->Command1->click();
    EXPECT_EQ(Shown(dlg), QStringLiteral("-12.3"));
    EXPECT_EQ(dlg->change_data->text(), QStringLiteral("-123"));

    dlg->Command3->click();
    EXPECT_EQ(d.ChSV[7], -123);
    EXPECT_EQ(writes.item, QStringLiteral("0001"));
    EXPECT_EQ(writes.block, 0);
    EXPECT_TRUE(writes.Took());
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

// The dialog says where the value goes: the channel, its name when it has one, the setting.
TEST_F(SettingDispTest, TheEntryNamesItsChannelAndSetting) {
    d.ChInputType[44] = 8;
    d.ChAlarm1Type[44] = 1;
    EXPECT_EQ(Open(1, 7)->Target_data->text(), QStringLiteral("Ch008  主設定"));
    editor.settingDialog()->Command4->click();
    SaveSetting(QStringLiteral("Chname045"), QStringLiteral("乾燥炉"));
    EXPECT_EQ(Open(2, 44)->Target_data->text(), QStringLiteral("Ch045（乾燥炉）  警報１設定"));
}

TEST_F(SettingDispTest, DigitAboveTheUpperLimitIsRefusedAndThePreviousEntryStays) {
    d.ChInputType[47] = 8;
    Setting_Disp* dlg = Open(1, 47);
    Keys(dlg, {8, 5, 0, 0});
    EXPECT_EQ(Shown(dlg), QStringLiteral("850.0"));
    EXPECT_TRUE(prompts.messages.isEmpty());
    dlg->Ten_key[1]->click();
    EXPECT_EQ(prompts.messages, QStringList{kOutOfRange});
    EXPECT_EQ(Shown(dlg), QStringLiteral("850.0"));
    EXPECT_EQ(dlg->change_data->text(), QStringLiteral("8500"));
    dlg->Command2->click();
    Keys(dlg, {9, 0, 0, 0});
    EXPECT_EQ(prompts.messages.size(), 2);  // 9000 > 8500
    EXPECT_EQ(Shown(dlg), QStringLiteral("90.0"));
    dlg->Command3->click();
    EXPECT_EQ(d.ChSV[47], 900);
    EXPECT_EQ(writes.block, 2);
}

TEST_F(SettingDispTest, OkWithNothingEnteredBeepsAndRefuses) {
    d.ChInputType[3] = 8;
    d.ChSV[3] = 77;
    Setting_Disp* dlg = Open(1, 3);
    dlg->Command3->click();
    EXPECT_EQ(prompts.beeps, 2);
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("入力値を確認してください。")});
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(d.ChSV[3], 77);
    EXPECT_FALSE(writes.Took());
    // "CE" after an entry empties the display again: OK is refused the same way.
    Keys(dlg, {4});
    dlg->Command2->click();
    EXPECT_EQ(Shown(dlg), QString());
    dlg->Command3->click();
    EXPECT_EQ(prompts.beeps, 4);
    EXPECT_FALSE(writes.Took());
}

TEST_F(SettingDispTest, LowerLimitIsCheckedWhenOkIsPressedSoValuesPassingBelowItCanBeTyped) {
    // Output high limit: ChOutLow .. 105.
    d.ChOutLow[10] = 50;
    d.ChOutHigh[10] = 100;
    Setting_Disp* dlg = Open(16, 10);
    EXPECT_EQ(dlg->Limit_data->text(), QStringLiteral("50 ～ 105"));
    Keys(dlg, {1, 0, 0});
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(Shown(dlg), QStringLiteral("100"));

    dlg->Command2->click();
    Keys(dlg, {3});
    dlg->Command3->click();
    EXPECT_EQ(prompts.messages, QStringList{kOutOfRange});
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(Shown(dlg), QStringLiteral("3"));  // kept for correction
    EXPECT_EQ(d.ChOutHigh[10], 100);
    EXPECT_FALSE(writes.Took());

    Keys(dlg, {0, 0});  // 300 > 105
    EXPECT_EQ(Shown(dlg), QStringLiteral("30"));
    dlg->Command2->click();
    Keys(dlg, {1, 0, 0});
    dlg->Command3->click();
    EXPECT_EQ(d.ChOutHigh[10], 100);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(writes.item, QStringLiteral("000E"));
    EXPECT_TRUE(writes.Took());

    // Down to the 16-bit floor a negative entry waits for OK; past it no digit is taken.
    dlg = Open(16, 10);
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_3);
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_Minus);
    QTest::keyClicks(dlg->Disp_setdata, QStringLiteral("2768"));
    EXPECT_EQ(Shown(dlg), QStringLiteral("-32768"));
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_0);
    EXPECT_EQ(Shown(dlg), QStringLiteral("-32768"));
}

TEST_F(SettingDispTest, KeyboardEntryInTheDisplayField) {
    d.ChInputType[0] = 8;
    Setting_Disp* dlg = Open(1, 0);
    QTest::keyClicks(dlg->Disp_setdata, QStringLiteral("4x2"));
    EXPECT_EQ(Shown(dlg), QStringLiteral("4.2"));
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_Minus);
    EXPECT_EQ(Shown(dlg), QStringLiteral("-4.2"));
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_Backspace);
    EXPECT_EQ(Shown(dlg), QString());
    QTest::keyClicks(dlg->Disp_setdata, QStringLiteral("31"));
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_Return);
    EXPECT_EQ(d.ChSV[0], 31);
    EXPECT_FALSE(dlg->isVisible());
}

// "." is the decimal point of the value typed: digits before it are the whole part, digits
// after it fill the display's decimals; without it digits shift in from the right. A key
// with no place in the value beeps; Enter writes what the display showed.
TEST_F(SettingDispTest, DecimalPointTypedOnTenthsWholeAndTwoDecimalRanges) {
    d.ChInputType[0] = 8;   // tenths, -199.9 .. 850.0
    d.ChInputType[1] = 0;   // whole degrees, -320 .. 2500 (K in F)
    d.ChUnitShown[1] = 1;
    Linear(2, -1000, 20000, 100);  // -10.00 .. 200.00
    struct Case { int channel; const char* keys; const char* shown; int stored; int beeps; };
    const Case cases[] = {
        {0, "155.0", "155.0", 1550, 0}, {0, "15.5", "15.5", 155, 0}, {0, "155.", "155.0", 1550, 0},
        {0, "1550", "155.0", 1550, 0}, {0, "-5.5", "-5.5", -55, 0}, {0, "5.5-", "-5.5", -55, 0},
        {0, "1.5.5", "1.5", 15, 2}, {0, "15.5\b7", "0.7", 7, 0},
        {1, "155.0", "1550", 1550, 1}, {1, "15.5", "155", 155, 1}, {1, "155.", "155", 155, 1},
        {1, "1550", "1550", 1550, 0}, {1, "-5.5", "-55", -55, 1},
        {2, "155.0", "155.00", 15500, 0}, {2, "15.5", "15.50", 1550, 0}, {2, "155.", "155.00", 15500, 0},
        {2, "1550", "15.50", 1550, 0}, {2, "-5.5", "-5.50", -550, 0}, {2, "1.234", "1.23", 123, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.channel) + " " + k.keys);
        d.ChSV[k.channel] = 999;
        Setting_Disp* dlg = Open(1, k.channel);
        prompts.beeps = 0;
        prompts.messages.clear();
        QTest::keyClicks(dlg->Disp_setdata, QString::fromLatin1(k.keys));
        EXPECT_EQ(Shown(dlg), QString::fromLatin1(k.shown));
        EXPECT_EQ(prompts.beeps, k.beeps);
        QTest::keyClick(dlg->Disp_setdata, Qt::Key_Return);
        EXPECT_EQ(d.ChSV[k.channel], k.stored);
        EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(' ').toStdString();
    }
    // A point that would take the value past the upper limit is refused like a digit.
    Setting_Disp* dlg = Open(1, 0);
    QTest::keyClicks(dlg->Disp_setdata, QStringLiteral("900."));
    EXPECT_EQ(prompts.messages, QStringList{kOutOfRange});
    EXPECT_EQ(Shown(dlg), QStringLiteral("90.0"));
    // The point was not taken: 5 shifts in to 900.5, above the limit.
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_5);
    EXPECT_EQ(Shown(dlg), QStringLiteral("90.0"));
}

TEST_F(SettingDispTest, ThePadHoldsTenDigitsSignClearOkAndCancel) {
    d.ChInputType[2] = 0;
    Setting_Disp* dlg = Open(1, 2);
    ASSERT_NE(dlg, nullptr);
    QStringList captions;
    for (const QPushButton* b : dlg->findChildren<QPushButton*>()) captions << b->text();
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"+/-", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "CE",
                                     "Cancel", "OK"}));
    for (int digit = 0; digit < 10; ++digit) EXPECT_EQ(dlg->Ten_key[digit]->text(), QString::number(digit));
    // Each digit key types its own digit, on the pad and on the keyboard.
    for (int digit = 9; digit >= 1; --digit) {
        dlg->Command2->click();
        dlg->Ten_key[digit]->click();
        EXPECT_EQ(Shown(dlg), QString::number(digit));
        dlg->Command2->click();
        QTest::keyClicks(dlg->Disp_setdata, QString::number(digit));
        EXPECT_EQ(Shown(dlg), QString::number(digit)) << "typed";
    }
}

// The keys stand as on a calculator: 7 8 9 / 4 5 6 / 1 2 3 / 0 +/- CE, in even rows and
// columns.
TEST_F(SettingDispTest, ThePadReadsLikeACalculator) {
    Setting_Disp* dlg = Open(1, 2);
    ASSERT_NE(dlg, nullptr);
    const std::vector<std::vector<QPushButton*>> rows = {
        {dlg->Ten_key[7], dlg->Ten_key[8], dlg->Ten_key[9]},
        {dlg->Ten_key[4], dlg->Ten_key[5], dlg->Ten_key[6]},
        {dlg->Ten_key[1], dlg->Ten_key[2], dlg->Ten_key[3]},
        {dlg->Ten_key[0], dlg->Command1, dlg->Command2}};
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t k = 0; k < 3; ++k) {
            SCOPED_TRACE(rows[r][k]->text().toStdString());
            const QRect key = rows[r][k]->geometry();
            EXPECT_EQ(key.top(), rows[r][0]->geometry().top());
            EXPECT_EQ(key.left(), rows[0][k]->geometry().left());
            if (r > 0) {
                EXPECT_GT(key.top(), rows[r - 1][k]->geometry().bottom());
            }
            if (k > 0) {
                EXPECT_GT(key.left(), rows[r][k - 1]->geometry().right());
            }
        }
}

TEST_F(SettingDispTest, EnterConfirmsLikeOk) {
    for (Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(enter == Qt::Key_Return ? "Return" : "keypad Enter");
        d.ChInputType[1] = 0;
        d.ChSV[1] = 0;
        writes.requested = 0;
        Setting_Disp* dlg = Open(1, 1);
        ASSERT_NE(dlg, nullptr);
        // Nothing typed: refused the way OK refuses it, and the dialog stays.
        QTest::keyClick(dlg->Disp_setdata, enter);
        EXPECT_EQ(prompts.messages.size(), 1);
        EXPECT_TRUE(dlg->isVisible());
        QTest::keyClicks(dlg->Disp_setdata, QStringLiteral("250"));
        EXPECT_EQ(d.ChSV[1], 0) << "digits alone confirm nothing";
        QTest::keyClick(dlg->Disp_setdata, enter);
        EXPECT_EQ(d.ChSV[1], 250);
        EXPECT_EQ(writes.item, QStringLiteral("0001"));
        EXPECT_TRUE(writes.Took());
        EXPECT_FALSE(dlg->isVisible());
        prompts.messages.clear();
        prompts.beeps = 0;
    }
    // Wherever the focus is in the dialog, Enter presses OK, the dialog's default button.
    writes.requested = 0;
    Setting_Disp* dlg = Open(1, 1);
    dlg->show();
    Keys(dlg, {1, 2});
    QTest::keyClick(dlg, Qt::Key_Return);
    EXPECT_EQ(d.ChSV[1], 12);
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(SettingDispTest, WholeDegreeSettingShowsTheEntryAsTyped) {
    d.ChInputType[5] = 0;  // K, -200 .. 1370
    Setting_Disp* dlg = Open(1, 5);
    EXPECT_EQ(dlg->Limit_data->text(), QStringLiteral("-200 ～ 1370"));
    Keys(dlg, {0, 0, 7});
    EXPECT_EQ(Shown(dlg), QStringLiteral("7"));
    dlg->Command4->click();  // Cancel
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(d.ChSV[5], 0);
    EXPECT_FALSE(writes.Took());
}

TEST_F(SettingDispTest, ScalingHighLimitIsSavedOnThePcWithTheNotice) {
    Linear(6, 0, 10000, 100);
    Setting_Disp* dlg = Open(32, 6);
    Keys(dlg, {5, 0, 0, 0});
    EXPECT_EQ(Shown(dlg), QStringLiteral("50.00"));
    dlg->Command3->click();
    EXPECT_EQ(d.ChScaleHigh[6], 5000);
    EXPECT_EQ(GetSetting(QStringLiteral("STLH007"), QString()), QStringLiteral("5000"));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].startsWith(QStringLiteral("本ソフトウェアはスケーリング変換機能を装備し、")));
    EXPECT_TRUE(prompts.messages[0].endsWith(QStringLiteral("また、変更した場合は上記の各設定値を再設定してください。")));
    EXPECT_FALSE(writes.Took());  // nothing for the controller
}

TEST_F(SettingDispTest, ScalingLimitsMayNotMeet) {
    // Equal limits leave a linear input without a conversion back to controller units.
    Linear(8, 200, 900, 1);
    Setting_Disp* dlg = Open(33, 8);
    Keys(dlg, {9, 0, 0});
    dlg->Command3->click();
    EXPECT_EQ(prompts.messages, QStringList{kOutOfRange});
    EXPECT_EQ(d.ChScaleLow[8], 200);
    dlg->Command2->click();
    Keys(dlg, {8, 9, 9});
    dlg->Command3->click();
    EXPECT_EQ(d.ChScaleLow[8], 899);
    EXPECT_EQ(GetSetting(QStringLiteral("STLL009"), QString()), QStringLiteral("899"));
}

TEST_F(SettingDispTest, OnlyTheScalingLimitsMayNotMeetEachOther) {
    // Any other setting may take the value of a scaling limit: here the main setting and
    // alarm 1 of a channel scaled 300..900 take 300.
    Linear(11, 300, 900, 1);
    d.ChAlarm1Type[11] = 1;
    for (int s : {1, 2}) {
        SCOPED_TRACE(s);
        writes.requested = 0;
        Setting_Disp* dlg = Open(s, 11);
        ASSERT_NE(dlg, nullptr);
        Keys(dlg, {3, 0, 0});
        dlg->Command3->click();
        EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(' ').toStdString();
        EXPECT_EQ(s == 1 ? d.ChSV[11] : d.ChAlarm1[11], 300);
        EXPECT_TRUE(writes.Took());
    }
}

TEST_F(SettingDispTest, OkWritesTheChannelTheDialogWasOpenedFor) {
    d.ChInputType.fill(8);
    Setting_Disp* dlg = Open(1, 21);
    Keys(dlg, {4, 0});
    // Meanwhile the operator switches another channel's output and picks another setting.
    editor.Command_OUT_Click(59);
    d.SelectedItem = 5;
    dlg->Command3->click();
    EXPECT_EQ(d.ChSV[21], 40);
    EXPECT_EQ(d.ChSV[59], 0);
    EXPECT_EQ(d.ChPBand[59], 0);
    EXPECT_EQ(writes.item, QStringLiteral("0001"));
    EXPECT_EQ(writes.block, 1);
}

}  // namespace

// Keys the number field does not take (Escape, Tab) go on to the dialog: Escape closes it
// without writing, as the operator expects of any dialog. Editing keys of a text field
// change nothing: the pad's rules alone make the number.
TEST_F(SettingDispTest, EscapeInTheNumberFieldClosesTheDialogWithoutWriting) {
    Setting_Disp* dlg = Open(1, 10);
    dlg->show();
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_5);
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_7);
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_Left);
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_Delete);
    EXPECT_EQ(Shown(dlg), QStringLiteral("57"));  // what OK would write
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_Backspace);  // the pad's CE
    EXPECT_EQ(Shown(dlg), QString());
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_5);
    EXPECT_EQ(Shown(dlg), QStringLiteral("5"));
    QTest::keyClick(dlg->Disp_setdata, Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(writes.Took());
    EXPECT_NE(d.ChSV[10], 5);
}
