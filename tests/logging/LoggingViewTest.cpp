#include "services/SettingsStore.h"
#include "history/LoggingView.h"
#include "ToldMessages.h"
#include "TestClock.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class LoggingViewTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    TestClock clock{QDateTime(QDate(2007, 3, 9), QTime(8, 5, 3))};
    std::unique_ptr<LoggingView> view;
    QString panel2;
    QStringList asked, shown;
    ToldMessages ticks;
    const QStringList& ticked = ticks.told;
    bool answer = true;

    void SetUp() override {
        SaveSetting("log_start", "0");
        SaveSetting("log_restart", "0");
        QDir(home.path()).mkdir("logging");
        view = std::make_unique<LoggingView>([](int ch) { return QString::number(ch); }, home.path());
        view->Logger.Time = &clock;
        view->SetPanel2 = [this](const QString& t) { panel2 = t; };
        view->AskYesNo = [this](const QString& t) { asked << t; return answer; };
        view->ShowMessage = [this](const QString& t) { shown << t; };
        view->TickMessages = &ticks;
    }
    QString LogPath() const { return home.path() + "/logging/run.txt"; }
    // A log file left by an earlier run, chosen as the file to log to.
    bool ChooseExistingLog(const QByteArray& content) {
        QFile f(LogPath());
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size()) return false;
        f.close();
        view->Savename_text->setText(LogPath());
        return true;
    }
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

}  // namespace

TEST_F(LoggingViewTest, NothingStartsUntilAFileIsRegistered) {
    view->Command1_Click(0);
    EXPECT_FALSE(view->IsLogging());
    EXPECT_EQ(GetSetting("log_start", ""), "0");
}

TEST_F(LoggingViewTest, StartWritesHeaderAndFirstRecordThenStopIsRemembered) {
    view->Savename_text->setText(LogPath());
    view->log_Check1[1]->setChecked(true);
    view->Command1_Click(0);
    ASSERT_TRUE(view->IsLogging());
    EXPECT_EQ(panel2, "ﾛｷﾞﾝｸﾞ実行中");
    EXPECT_EQ(GetSetting("log_start", ""), "1");
    EXPECT_FALSE(view->Command1[0]->isEnabled());
    EXPECT_FALSE(view->Frame_logging->isEnabled());
    // No other file while it runs: its records would follow without a header.
    EXPECT_FALSE(view->Command1[2]->isEnabled());
    int chooserOpened = 0;
    view->ChooseFile = [&](const QString&) { ++chooserOpened; return home.path() + "/logging/other.txt"; };
    view->Command1_Click(2);
    EXPECT_EQ(chooserOpened, 0);
    EXPECT_EQ(view->Savename_text->text(), LogPath());
    const QList<QByteArray> lines = Read(LogPath()).split('\n');
    ASSERT_EQ(lines.size(), 5);  // three header lines, one record, the empty rest
    EXPECT_TRUE(lines[0].startsWith("\"RDX-410 "));
    EXPECT_TRUE(lines[2].contains("\"Ch021\""));
    EXPECT_TRUE(lines[3].contains("\"20\""));
    EXPECT_TRUE(lines[3].contains("\"39\"\r"));
    view->Command1_Click(1);
    EXPECT_FALSE(view->IsLogging());
    EXPECT_EQ(panel2, "ﾛｷﾞﾝｸﾞ待機中");
    EXPECT_EQ(GetSetting("log_start", ""), "0");
    EXPECT_TRUE(view->Frame_logging->isEnabled());
    EXPECT_TRUE(view->Command1[2]->isEnabled());
    view->Command1_Click(2);
    EXPECT_EQ(chooserOpened, 1);
}

TEST_F(LoggingViewTest, AnExistingFileIsOverwrittenOnlyWhenTheOperatorAgrees) {
    ASSERT_TRUE(ChooseExistingLog("keep me\r\n"));
    answer = false;
    view->Command1_Click(0);
    EXPECT_EQ(asked, QStringList{"同じﾌｧｲﾙ名のﾌｧｲﾙが存在します。上書きしてもいいですか。"});
    EXPECT_EQ(shown, QStringList{"新しいﾌｧｲﾙを指定してください。"});
    EXPECT_FALSE(view->IsLogging());
    EXPECT_EQ(Read(LogPath()), "keep me\r\n");
    // Resuming into the same file appends without asking and without a new header.
    asked.clear();
    view->Check1->setChecked(true);
    view->Command1_Click(0);
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_TRUE(view->IsLogging());
    const QByteArray text = Read(LogPath());
    EXPECT_TRUE(text.startsWith("keep me\r\n\""));
    EXPECT_FALSE(text.contains("RDX-410"));
}

TEST_F(LoggingViewTest, AnAgreedOverwriteStartsTheFileAfresh) {
    ASSERT_TRUE(ChooseExistingLog("old run\r\n"));
    answer = true;
    view->Command1_Click(0);
    EXPECT_EQ(asked.size(), 1);
    ASSERT_TRUE(view->IsLogging());
    const QByteArray text = Read(LogPath());
    EXPECT_FALSE(text.contains("old run"));
    EXPECT_TRUE(text.startsWith("\"RDX-410 "));
}

TEST_F(LoggingViewTest, AFailedStartIsNotRememberedAsRunning) {
    view->Savename_text->setText(home.path() + "/missing/folder/run.txt");
    view->Command1_Click(0);
    EXPECT_FALSE(view->IsLogging());
    EXPECT_EQ(GetSetting("log_start", ""), "0");
    EXPECT_TRUE(panel2.isEmpty());
}

TEST_F(LoggingViewTest, StartUpResumesIntoTheStoredFileWhenAsked) {
    SaveSetting("log_start", "1");
    SaveSetting("log_restart", "1");
    SaveSetting("log_name", LogPath());
    view->LoadResumeChoice();
    EXPECT_TRUE(view->Check1->isChecked());
    view->ResumeAtStartup();
    EXPECT_EQ(view->Savename_text->text(), LogPath());
    EXPECT_TRUE(view->IsLogging());
    EXPECT_FALSE(view->Command1[0]->isEnabled());
    // Without the resume choice a fresh name from the start time is used.
    view->Command1_Click(1);
    SaveSetting("log_restart", "0");
    view->ResumeAtStartup();
    EXPECT_EQ(QDir::cleanPath(view->Savename_text->text()),
              QDir::cleanPath(home.path() + "/logging/2007_3_9_8_5_3.txt"));
}

TEST_F(LoggingViewTest, AResumeThatCannotStartLeavesStartEnabledAndSaysWhy) {
    const QString folder = home.path() + "/gone";
    SaveSetting("log_start", "1");
    SaveSetting("log_restart", "1");
    SaveSetting("log_name", folder + "/run.txt");
    view->LoadResumeChoice();
    view->ResumeAtStartup();
    EXPECT_FALSE(view->IsLogging());
    EXPECT_TRUE(view->Command1[0]->isEnabled());
    EXPECT_TRUE(view->Frame_logging->isEnabled());
    // Told without waiting (this runs inside a polling step), naming the file.
    EXPECT_TRUE(shown.isEmpty());
    ASSERT_EQ(ticked.size(), 1);
    EXPECT_TRUE(ticked[0].startsWith("ロギングを再開できませんでした。"));
    EXPECT_TRUE(ticked[0].contains(QDir::toNativeSeparators(folder + "/run.txt")));
    // Once the folder is there, 開始 starts the log.
    ASSERT_TRUE(QDir().mkpath(folder));
    view->Command1[0]->click();
    EXPECT_TRUE(view->IsLogging());
    EXPECT_FALSE(view->Command1[0]->isEnabled());
}

TEST_F(LoggingViewTest, ChoicesRoundTripThroughTheStoreAndCancelKeepsTheFile) {
    view->Logging_time->setCurrentIndex(7);
    view->log_Check1[15]->setChecked(true);
    view->SaveChoices();
    EXPECT_EQ(GetSetting("Logtim", ""), "7");
    EXPECT_EQ(GetSetting("LogBlock15", ""), "1");
    EXPECT_EQ(GetSetting("LogBlock0", ""), "0");
    LoggingView other([](int) { return QString(); }, home.path());
    other.LoadChoices();
    EXPECT_EQ(other.Logging_time->currentIndex(), 7);
    EXPECT_TRUE(other.log_Check1[15]->isChecked());
    SaveSetting("Logtim", "12");
    other.LoadChoices();
    EXPECT_EQ(other.Logging_time->currentIndex(), 0);

    view->Savename_text->setText(LogPath());
    view->ChooseFile = [](const QString&) { return QString(); };
    view->Command1_Click(2);
    EXPECT_EQ(view->Savename_text->text(), LogPath());
    view->Check1->setChecked(true);
    view->Check1_Click();
    EXPECT_EQ(GetSetting("log_restart", ""), "1");
    EXPECT_EQ(GetSetting("log_name", ""), LogPath());
}

// Choosing the logging tab shows the stored choices; a tick not yet saved at unload
// survives the re-read, and a running log keeps the choices its header was written for.
TEST_F(LoggingViewTest, ChoosingTheTabShowsTheStoredChoicesWithoutLosingTicks) {
    QTabWidget tabs;
    tabs.addTab(new QWidget, "other");
    LoggingView* logging = view.release();
    tabs.addTab(logging, "logging");
    tabs.show();
    auto reactivate = [&] {
        tabs.setCurrentIndex(0);
        tabs.setCurrentIndex(1);
    };
    for (int n = 0; n < 16; ++n) SaveSetting("LogBlock" + QString::number(n), n == 4 ? "1" : "0");
    SaveSetting("Logtim", "3");
    reactivate();
    EXPECT_EQ(logging->Logging_time->currentIndex(), 3);
    EXPECT_TRUE(logging->log_Check1[4]->isChecked());
    // The operator's changes, not yet saved by an unload.
    logging->log_Check1[7]->click();
    logging->log_Check1[4]->click();
    logging->Logging_time->setCurrentIndex(6);
    reactivate();
    EXPECT_EQ(logging->TickedBlocks(), (BlockSelection{false, false, false, false, false, false, false, true}));
    EXPECT_EQ(logging->Logging_time->currentIndex(), 6);
    logging->Savename_text->setText(LogPath());
    logging->Command1_Click(0);
    ASSERT_TRUE(logging->IsLogging());
    SaveSetting("Logtim", "1");
    SaveSetting("LogBlock7", "0");
    reactivate();
    EXPECT_EQ(logging->Logging_time->currentIndex(), 6);
    EXPECT_TRUE(logging->log_Check1[7]->isChecked());
}

// The real file dialog behind 参照: the file the operator chose, or nothing when cancelled.
TEST_F(LoggingViewTest, TheFileDialogGivesTheChosenFileOrNothingWhenCancelled) {
    const QString folder = home.path() + "/logging";
    const QString chosen = folder + "/chosen.txt";
    for (const bool accept : {true, false}) {
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            answer.stop();
            // Typed into the name field, as the operator would.
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(QStringLiteral("chosen.txt"));
            QDialog* asDialog = dialog;
            asDialog->done(accept ? QDialog::Accepted : QDialog::Rejected);
        });
        answer.start(20);
        EXPECT_EQ(view->ChooseFile(folder).toStdString(), (accept ? chosen : QString()).toStdString()) << accept;
    }
}
