// The real file dialogs and message boxes behind the set-data dialogs, answered as the
// operator would: the chosen file or nothing, Yes or No, and the program's title.
#include "setdata/SetDataPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

namespace {

// Runs `answer` on the modal window of type W once it is up.
template <class W>
void AnswerWhenShown(QTimer& timer, std::function<void(W*)> answer) {
    QObject::connect(&timer, &QTimer::timeout, [&timer, answer] {
        auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!window) return;
        timer.stop();
        answer(window);
    });
    timer.start(20);
}

QString ChooseTyping(FileDialogMode mode, const QString& name, bool accept, QFileDialog::AcceptMode* seen = nullptr) {
    QTimer timer;
    AnswerWhenShown<QFileDialog>(timer, [&](QFileDialog* dialog) {
        if (seen) *seen = dialog->acceptMode();
        if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) edit->setText(name);
        QDialog* asDialog = dialog;
        asDialog->done(accept ? QDialog::Accepted : QDialog::Rejected);
    });
    return StandardSetDataPrompts().ChooseFile(nullptr, mode);
}

}  // namespace

TEST(StandardPrompts, TheFileDialogsGiveTheChosenFileInTheSetdataFolderOrNothing) {
    ASSERT_TRUE(QDir().mkpath(SetDataFolder()));
    const QString existing = SetDataFolder() + "/line1.dat";
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    // Saving: a new name takes the default extension.
    EXPECT_EQ(ChooseTyping(FileDialogMode::Save, "new", true, &mode), SetDataFolder() + "/new.dat");
    EXPECT_EQ(mode, QFileDialog::AcceptSave);
    EXPECT_EQ(ChooseTyping(FileDialogMode::Save, "new", false), QString());
    EXPECT_EQ(ChooseTyping(FileDialogMode::Open, "line1.dat", true, &mode), existing);
    EXPECT_EQ(mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(ChooseTyping(FileDialogMode::Open, "line1.dat", false), QString());
}

TEST(StandardPrompts, QuestionsAnswerYesOrNoUnderTheProgramsTitle) {
    for (const AskIcon icon : {AskIcon::Warning, AskIcon::Question}) {
        for (const bool yes : {true, false}) {
            QTimer timer;
            QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
            QString title, text;
            bool noIsDefault = false;
            AnswerWhenShown<QMessageBox>(timer, [&](QMessageBox* box) {
                noIsDefault = box->defaultButton() && box->defaultButton() == box->button(QMessageBox::No);
                shownIcon = box->icon();
                title = box->windowTitle();
                text = box->text();
                box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            EXPECT_EQ(StandardSetDataPrompts().Ask(nullptr, QStringLiteral("上書きしますか？"), icon), yes);
            EXPECT_EQ(shownIcon, icon == AskIcon::Warning ? QMessageBox::Warning : QMessageBox::Question);
            EXPECT_EQ(title, QStringLiteral("RDX-410 Monitor"));
            EXPECT_EQ(text, QStringLiteral("上書きしますか？"));
            // Every question here overwrites: Enter answers No.
            EXPECT_TRUE(noIsDefault);
        }
    }
    QTimer timer;
    QString title, text;
    AnswerWhenShown<QMessageBox>(timer, [&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    StandardSetDataPrompts().Tell(nullptr, QStringLiteral("保存しました。"));
    EXPECT_EQ(text, QStringLiteral("保存しました。"));
    EXPECT_EQ(title, QStringLiteral("RDX-410 Monitor"));
}
