// The main window on a 1024x768 screen with a window manager: every tab, after every one
// of the 35 setting buttons, fits, and nothing makes the window grow by itself.
#include "ProgramOnFakeLine.h"
#include "RealDisplay.h"
#include "services/SettingsStore.h"
#include "app/MainDisp.h"
#include "display/MainMenus.h"
#include "display/SettingToolbars.h"
#include "display/SubDisp_About.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

// The widest names the dialogs allow: twelve full-width characters.
void StoreLongNames() {
    for (int c = 0; c < ChannelCount; ++c)
        SaveSetting(QStringLiteral("Chname") + ChannelSuffix(c), QStringLiteral("東側上段炉内温度測定%1").arg(c % 10));
    for (int b = 0; b < BlockCount; ++b)
        SaveSetting(QStringLiteral("DvtoN") + BlockSuffix(b), QStringLiteral("第%1号焼成炉ブロック").arg(b + 1));
}

struct Fit {
    QString where;
    QSize minimumHint, minimum, frame;
    QRect frameGeometry;
};

std::ostream& operator<<(std::ostream& os, const Fit& f) {
    return os << f.where.toStdString() << ": minimum size hint " << f.minimumHint.width() << "x"
              << f.minimumHint.height() << ", minimum size " << f.minimum.width() << "x" << f.minimum.height()
              << ", frame " << f.frameGeometry.x() << "," << f.frameGeometry.y() << " "
              << f.frame.width() << "x" << f.frame.height();
}

Fit Measure(QMainWindow& w, const QString& where) {
    return {where, w.minimumSizeHint(), w.minimumSize(), w.frameGeometry().size(), w.frameGeometry()};
}

}  // namespace

TEST(MainWindow, FitsTheScreenOnEveryTabAfterEverySettingButton) {
    const QRect screen(0, 0, RealDisplay::Width, RealDisplay::Height);
    std::vector<Fit> misfits;
    QSize first;
    RunProgram([&](RDXApplication& p) {
        MainDisp& w = p.mainWindow();
        Settle(300);
        first = w.size();
        // The access code shows Toolbar3, as an operator would make it appear.
        w.menus->numabout_Click();
        w.menus->aboutDialog()->AccessCode_Text->setText(QString::fromLatin1(SubDisp_About::AccessCode));
        w.menus->aboutDialog()->Command1_Click();
        SettingToolbars& bars = *w.settingToolbars;
        const std::pair<QToolBar*, int> toolbars[] = {{bars.Toolbar2, 24}, {bars.Toolbar4, 9}, {bars.Toolbar3, 2}};
        int settings = 0;
        for (int tab = 0; tab < w.SSTab1->count(); ++tab) {
            w.SSTab1->setCurrentIndex(tab);
            for (const auto& [bar, count] : toolbars) {
                for (int button = 1; button <= count; ++button) {
                    SettingToolbars::Button(bar, button)->trigger();
                    if (tab == 0) ++settings;
                    Settle(30);
                    const Fit f = Measure(w, QStringLiteral("tab %1, %2 button %3").arg(tab).arg(bar->objectName()).arg(button));
                    if (f.minimumHint.width() > 1024 || f.minimumHint.height() > 740 || f.minimum.width() > 1024 ||
                        f.minimum.height() > 740 || !screen.contains(f.frameGeometry) || w.size() != first)
                        misfits.push_back(f);
                }
            }
        }
        EXPECT_EQ(settings, 35);
    }, [](RDXApplication&) { StoreLongNames(); });
    EXPECT_FALSE(first.isEmpty());
    EXPECT_LE(first.width(), 1024);
    EXPECT_LE(first.height(), 740);
    for (const Fit& f : misfits) ADD_FAILURE() << f;
    EXPECT_TRUE(misfits.empty()) << misfits.size() << " misfits; the first size was " << first.width() << "x" << first.height();
}
