// The real message boxes behind the setting dialogs, answered as the operator would.
#include "editing/Prompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Seen {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title, text;
    QAbstractButton* defaultButton = nullptr;
    QAbstractButton* noButton = nullptr;
};

// Presses `button` on the message box once it is up, noting what it showed.
void PressWhenShown(QTimer& timer, Seen& seen, QMessageBox::StandardButton button) {
    QObject::connect(&timer, &QTimer::timeout, [&timer, &seen, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        timer.stop();
        seen = {box->icon(), box->windowTitle(), box->text(), box->defaultButton(), box->button(QMessageBox::No)};
        box->button(button)->click();
    });
    timer.start(20);
}

}  // namespace

TEST(EditingPrompts, TheConfirmationIsAWarningAnsweredYesOrNo) {
    for (const bool yes : {true, false}) {
        QTimer timer;
        Seen seen;
        PressWhenShown(timer, seen, yes ? QMessageBox::Yes : QMessageBox::No);
        EXPECT_EQ(Prompts::Standard().Confirm(nullptr, QStringLiteral("出力をOFFします。")), yes);
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
        EXPECT_EQ(seen.title, QStringLiteral("RDX-410 Monitor"));
        EXPECT_EQ(seen.text, QStringLiteral("出力をOFFします。"));
        // Enter must not switch anything off: No is the default.
        EXPECT_TRUE(seen.noButton && seen.defaultButton == seen.noButton);
    }
    QTimer timer;
    Seen seen;
    PressWhenShown(timer, seen, QMessageBox::Ok);
    Prompts::Standard().Message(nullptr, QStringLiteral("設定範囲外です。"));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.title, QStringLiteral("RDX-410 Monitor"));
    EXPECT_EQ(seen.text, QStringLiteral("設定範囲外です。"));
}
