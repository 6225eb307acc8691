// Qt's own buttons in Japanese in the running program, whatever the locale says.
#include "ProgramOnFakeLine.h"
#include "app/QtCatalogue.h"
#include "app/MainDisp.h"
#include "display/MainMenus.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>
#include <memory>

TEST(QtCatalogue, TheQuitQuestionOfTheRunningProgramHasJapaneseButtons) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QString yes, no;
    bool answered = false;
    RunProgram([&](RDXApplication& p) {
        QTimer::singleShot(300, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                if (QAbstractButton* b = box->button(QMessageBox::Yes)) yes = b->text();
                if (QAbstractButton* b = box->button(QMessageBox::No)) no = b->text();
                box->reject();  // No: the program keeps running
                answered = true;
            }
        });
        p.mainWindow().menus->mnuEnd->trigger();
    });
    QLocale::setDefault(QLocale::system());
    ASSERT_TRUE(answered);
    EXPECT_TRUE(yes.startsWith(QStringLiteral("はい"))) << yes.toStdString();
    EXPECT_TRUE(no.startsWith(QStringLiteral("いいえ"))) << no.toStdString();
}

TEST(QtCatalogue, AMissingCatalogueLeavesQtsEnglishTexts) {
    QTemporaryDir empty;
    std::unique_ptr<QTranslator> catalogue(InstallQtJapanese(empty.path()));
    EXPECT_EQ(catalogue, nullptr);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
    catalogue.reset(InstallQtJapanese());
    ASSERT_NE(catalogue, nullptr);
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
}
