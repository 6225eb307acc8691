// rdx_screen_walk: the monitor's own start procedure on a real X display, driven through
// every tab, every tool-bar setting and every dialog, with one PNG of the whole screen
// per step. scripts/screens runs it against rdx410-sim; the pictures are for people to
// look at.
//
//   rdx_screen_walk <folder>      environment: DISPLAY, TESMARCOMM_COM1, and optionally
//                                 RDX_SIM_CONTROL (the simulator's control FIFO)
#include "ISTDComm.h"
#include "app/StartApplication.h"
#include "app/SubDisp_Block.h"
#include "app/SubDisp_Chname.h"
#include "app/SubDisp_Mqtt.h"
#include "app/SubDisp_comm.h"
#include "display/LineDiagnosticsWindow.h"
#include "exchange/PollEngine.h"
#include "display/ChartView.h"
#include "controls/SubDisp_Chartset.h"
#include "controls/UpDown.h"
#include "display/FourBlockView.h"
#include "app/MainDisp.h"
#include "display/MainMenus.h"
#include "display/OneBlockView.h"
#include "display/OneChannelView.h"
#include "display/SettingChangeView.h"
#include "display/SettingToolbars.h"
#include "display/SubDisp_About.h"
#include "display/TwoBlockView.h"
#include "editing/Setting_Disp.h"
#include "history/LoggingView.h"
#include "setdata/SubDisp_AllSaveLoad.h"
#include "setdata/SubDisp_BlockSaveLoad.h"
#include "setdata/RecordFile.h"
#include "setdata/SubDisp_Compare.h"
#include "setdata/SubDisp_Factoryadj.h"
#include "setdata/SubDisp_SaveLoad.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <cstdio>
#include <functional>

namespace {

struct Step {
    QString name;                   // empty: no picture
    std::function<void()> act;      // may block in a dialog's exec(); the walk goes on
    std::function<void()> after;    // after the picture: close what act opened
    int settleMs = 700;
};

class Walk : public QObject {
public:
    Walk(RDXApplication& program, QString folder) : p(program), folder_(std::move(folder)) {}

    void Shoot(const QString& name) {
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
        const QString file = QStringLiteral("%1/%2-%3.png").arg(folder_).arg(++count_, 2, 10, QLatin1Char('0')).arg(name);
        if (!shot.save(file)) std::fprintf(stderr, "screen walk: cannot write %s\n", qPrintable(file));
        else std::printf("%s\n", qPrintable(file));
        std::fflush(stdout);
    }

    void Add(const QString& name, std::function<void()> act, std::function<void()> after = {},
             int settleMs = 700) {
        steps_.append({name, std::move(act), std::move(after), settleMs});
    }

    // Waits for the end of start-up, then runs the steps one after another.
    void Start() {
        auto* poll = new QTimer(this);
        poll->setInterval(200);
        connect(poll, &QTimer::timeout, this, [this, poll] {
            if (!p.mainWindow().isVisible() || p.mainWindow().engine().state() != PollEngine::State::Polling) return;
            poll->stop();
            // A few polling rounds, so that every value and lamp is in.
            QTimer::singleShot(4000, this, [this] { Next(); });
        });
        poll->start();
    }

private:
    void Next() {
        if (index_ >= steps_.size()) {
            p.mainWindow().QuitWithoutAsking();
            return;
        }
        const Step step = steps_[index_++];
        if (step.act) QTimer::singleShot(0, this, step.act);
        QTimer::singleShot(step.settleMs, this, [this, step] {
            if (!step.name.isEmpty()) Shoot(step.name);
            if (step.after) step.after();
            QTimer::singleShot(100, this, [this] { Next(); });
        });
    }

    RDXApplication& p;
    QString folder_;
    QList<Step> steps_;
    int index_ = 0;
    int count_ = 0;
};

// The dialog that exec() is waiting for, closed as Cancel/No/Escape would.
void RejectModal() {
    if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) modal->reject();
}

template <class T>
T* Find(QWidget& root) {
    return root.findChild<T*>();
}

void CloseVisible(QWidget& root, const QString& title) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != &root && (title.isEmpty() || w->windowTitle() == title)) w->close();
}

void SimControl(const QByteArray& line) {
    const QString path = qEnvironmentVariable("RDX_SIM_CONTROL");
    if (path.isEmpty()) return;
    QFile fifo(path);
    if (fifo.open(QIODevice::WriteOnly)) fifo.write(line + '\n');
}

void AddSteps(Walk& walk, RDXApplication& p) {
    MainDisp& w = p.mainWindow();
    auto tab = [&w](int index) { return [&w, index] { w.SSTab1->setCurrentIndex(index); }; };
    SettingToolbars& bars = *w.settingToolbars;

    walk.Add("tab0-page1", tab(0));
    for (int page = 2; page <= 4; ++page)
        walk.Add(QStringLiteral("tab0-page%1").arg(page),
                 [&w, page] { w.fourBlockView()->Toolbar1Button[page - 1]->trigger(); });
    // The whole line at once (at 1024x768 it scrolls).
    walk.Add("tab0-overview", [&w] { w.fourBlockView()->OverviewButton->trigger(); });
    walk.Add({}, [&w] { w.fourBlockView()->Toolbar1Button[0]->trigger(); }, {}, 100);
    walk.Add("tab1-two-blocks", tab(1));
    walk.Add("tab2-one-block", tab(2));
    walk.Add("tab2-one-block-heating-cooling", [&w] { w.oneBlockView()->tb2_BName->setCurrentIndex(2); });
    walk.Add({}, [&w] { w.oneBlockView()->tb2_BName->setCurrentIndex(0); }, {}, 100);
    walk.Add("tab3-one-channel", tab(3));
    walk.Add("tab3-one-channel-heating-cooling", [&w] { w.oneChannelView->tb3_CHName->setCurrentIndex(40); });
    walk.Add("tab3-one-channel-cooling-second", [&w] { w.oneChannelView->tb3_CHName->setCurrentIndex(41); });
    walk.Add("tab3-one-channel-absent", [&w] { w.oneChannelView->tb3_CHName->setCurrentIndex(60); });
    walk.Add({}, [&w] { w.oneChannelView->tb3_CHName->setCurrentIndex(0); }, {}, 100);
    walk.Add("tab4-setting-change", tab(4));

    // The access code shows Toolbar3, so that all 35 settings can be chosen.
    walk.Add("about", [&w] { w.menus->numabout_Click(); });
    walk.Add("about-access-code", [&w] {
        if (SubDisp_About* about = w.menus->aboutDialog())
            about->AccessCode_Text->setText(QString::fromLatin1(SubDisp_About::AccessCode));
    }, [&w] {
        if (SubDisp_About* about = w.menus->aboutDialog()) about->Command1_Click();
    });
    struct Bar { QToolBar* bar; std::span<const SettingButton> buttons; };
    for (const Bar& b : {Bar{bars.Toolbar2, Toolbar2Buttons()}, Bar{bars.Toolbar4, Toolbar4Buttons()},
                         Bar{bars.Toolbar3, Toolbar3Buttons()}}) {
        for (int i = 0; i < int(b.buttons.size()); ++i) {
            QToolBar* bar = b.bar;
            const QString name = QStringLiteral("tab4-setting%1-%2")
                                     .arg(b.buttons[i].selectedItem, 2, 10, QLatin1Char('0'))
                                     .arg(QString::fromUtf8(b.buttons[i].text).replace('/', '-'));
            walk.Add(name, [bar, i] { SettingToolbars::Button(bar, i + 1)->trigger(); }, {}, 500);
        }
    }
    // Setting entry dialogs from tab 4: numeric (SV) with its refusal of an empty entry,
    // and choice (alarm 1 type).
    walk.Add({}, [&bars] { SettingToolbars::Button(bars.Toolbar2, 1)->trigger(); }, {}, 300);
    walk.Add("dialog-setting-entry", [&w] { w.settingChangeView->Command_change[0]->click(); });
    walk.Add("dialog-setting-entry-empty", [&w] {
        if (auto* entry = Find<Setting_Disp>(w)) entry->Command3->click();
    }, [&w] {
        RejectModal();
        CloseVisible(w, {});
    });
    walk.Add({}, [&bars] { SettingToolbars::Button(bars.Toolbar2, 14)->trigger(); }, {}, 300);
    walk.Add("dialog-choice-entry", [&w] { w.settingChangeView->Command_change2[0]->click(); },
             [&w] { CloseVisible(w, {}); });
    walk.Add("dialog-sv-from-one-channel", [&w] {
        w.SSTab1->setCurrentIndex(3);
        w.oneChannelView->Command_1channe_sv->click();
    }, [&w] { CloseVisible(w, {}); });

    walk.Add("tab5-chart", tab(5));
    walk.Add("dialog-chart-settings", [&w] {
        if (auto* chart = qobject_cast<ChartView*>(w.tabView(5))) chart->ChartStart_Click(2);
    });
    walk.Add("tab5-chart-running", [&w] {
        auto* chart = qobject_cast<ChartView*>(w.tabView(5));
        if (!chart) return;
        if (SubDisp_Chartset* dialog = chart->chartsetDialog()) {
            dialog->UpDown1[2]->SetValue(1);
            dialog->Command1_Click(0);
        }
        chart->ChartStart_Click(0);
    }, {}, 6000);
    walk.Add("tab6-logging", tab(6));
    walk.Add("dialog-log-file", [&w] { w.loggingView->Command1[2]->click(); }, RejectModal);

    walk.Add("dialog-block-names", [&w] { w.menus->mnuDevno->trigger(); }, [&w] { Find<SubDisp_Block>(w)->close(); });
    walk.Add("dialog-channel-names", [&w] { w.menus->mnuCHname->trigger(); }, [&w] { Find<SubDisp_Chname>(w)->close(); });
    walk.Add("dialog-mqtt", [&w] { w.menus->mnuMqtt->trigger(); });
    // Switched on with TLS, and a line name the topic tree refuses: the message line.
    walk.Add("dialog-mqtt-refused", [&w] {
        auto* dlg = Find<SubDisp_Mqtt>(w);
        dlg->Check_Publish->setChecked(true);
        dlg->Check_Tls->setChecked(true);
        dlg->Text_Line->setText(QStringLiteral("ﾌﾟﾚｽ/3"));
        dlg->Command_OK->click();
    }, [&w] { Find<SubDisp_Mqtt>(w)->Command_Cancel_Click(); });
    walk.Add("dialog-port", [&w] { Find<SubDisp_comm>(w)->ShowWith(QStringLiteral("COM1"), QStringLiteral("9600")); },
             [&w] { Find<SubDisp_comm>(w)->hide(); });
    walk.Add("dialog-save-load-channel", [&w] { w.menus->mnuSave_CH->trigger(); });
    walk.Add("dialog-save-load-channel-save-file", [&w] {
        auto* dlg = Find<SubDisp_SaveLoad>(w);
        dlg->Command1[SubDisp_SaveLoad::MoveToWorkButton]->click();
        dlg->Command1[SubDisp_SaveLoad::SaveButton]->click();
    }, RejectModal, 1200);
    walk.Add("dialog-save-load-channel-load-file", [&w] {
        Find<SubDisp_SaveLoad>(w)->Command1[SubDisp_SaveLoad::LoadButton]->click();
    }, [&w] {
        RejectModal();
        Find<SubDisp_SaveLoad>(w)->close();
    }, 1200);
    walk.Add("dialog-save-load-block", [&w] { w.menus->mnuSave_BLK->trigger(); },
             [&w] { Find<SubDisp_BlockSaveLoad>(w)->close(); });
    walk.Add("dialog-save-load-all", [&w] { w.menus->mnuSave_ALL->trigger(); });
    walk.Add("dialog-save-load-all-load-file", [&w] {
        Find<SubDisp_AllSaveLoad>(w)->Command1[SubDisp_AllSaveLoad::LoadButton]->click();
    }, [&w] {
        RejectModal();
        Find<SubDisp_AllSaveLoad>(w)->close();
    }, 1200);
    // The compare dialog on a file saved from the line with two settings changed since.
    walk.Add("dialog-compare-settings", [&w, &p] {
        std::vector<SetDataRecord> records = TakeAllRecords(p.data());
        records[3].Fields[0] = qint16(records[3].Fields[0] + 15);
        records[21].Fields[4] = qint16(records[21].Fields[4] + 7);
        const QString file = QDir::temp().filePath(QStringLiteral("rdx-screen-compare.dat"));
        if (!WriteRecordFile(file, RecordFileKind::AllChannels, records).ok()) return;
        w.menus->mnuCompare->trigger();
        if (auto* dialog = Find<SubDisp_Compare>(w)) {
            dialog->Prompts.ChooseFile = [file](QWidget*, FileDialogMode) { return file; };
            dialog->ChooseFile();
        }
    }, [&w] { Find<SubDisp_Compare>(w)->close(); });
    walk.Add("dialog-factory-init", [&w] { w.menus->mnuFactory->trigger(); });
    // The confirmation, answered No: nothing is sent.
    walk.Add("dialog-factory-init-confirm", [&w] {
        if (auto* factory = Find<SubDisp_Factoryadj>(w)) {
            factory->Check1[0]->click();
            factory->Command1[0]->click();
        }
    }, [&w] {
        RejectModal();
        if (auto* factory = Find<SubDisp_Factoryadj>(w)) factory->close();
    });
    walk.Add("dialog-alarm-history", [&w] { w.menus->numhyst->trigger(); },
             [&w] { CloseVisible(w, QStringLiteral("ｱﾗｰﾑﾋｽﾄﾘ画面")); });
    walk.Add("dialog-line-diagnostics", [&w] { w.menus->mnuLineDiag->trigger(); }, {}, 2500);
    walk.Add("dialog-line-diagnostics-paused", [&w] { Find<LineDiagnosticsWindow>(w)->pause->click(); },
             [&w] { CloseVisible(w, QStringLiteral("回線診断")); });
    walk.Add("help", [&w] { w.menus->numhelp2_Click(); }, [&w] { CloseVisible(w, {}); });

    // The block that stops answering, and the same block back again.
    walk.Add({}, [&w] {
        w.SSTab1->setCurrentIndex(0);
        SimControl("silent 1");
    }, {}, 100);
    walk.Add("tab0-block-silent", {}, {}, 4000);
    walk.Add("tab0-overview-block-silent", [&w] { w.fourBlockView()->OverviewButton->trigger(); });
    walk.Add({}, [&w] { w.fourBlockView()->Toolbar1Button[0]->trigger(); }, {}, 100);
    walk.Add("tab1-block-silent", tab(1));
    walk.Add("tab2-block-silent", [&w] {
        w.SSTab1->setCurrentIndex(2);
        w.oneBlockView()->tb2_BName->setCurrentIndex(1);
    });
    walk.Add("tab3-block-silent", [&w] {
        w.SSTab1->setCurrentIndex(3);
        w.oneChannelView->tb3_CHName->setCurrentIndex(20);
    });
    walk.Add("tab4-block-silent", [&w] {
        w.SSTab1->setCurrentIndex(4);
        w.settingChangeView->tb4_BName->setCurrentIndex(1);
    });
    // A setting sent to the silent block: the operator is told it did not go out.
    walk.Add("message-write-unanswered", [&w] { w.RequestSettingWrite(21, QStringLiteral("0001")); },
             [&w] { CloseVisible(w, {}); }, 5000);
    walk.Add({}, [] { SimControl("answer 1"); }, {}, 100);
    walk.Add("tab4-block-back", {}, {}, 3000);
    // A block silent on a page not shown: its page button and panel 1 tell it.
    walk.Add({}, [&w] {
        w.SSTab1->setCurrentIndex(0);
        w.fourBlockView()->Toolbar1Button[0]->trigger();
        SimControl("silent 4");
    }, {}, 100);
    walk.Add("tab0-other-page-silent", {}, {}, 4000);
    walk.Add("tab6-other-page-silent", tab(6));
    walk.Add({}, [&w] {
        w.SSTab1->setCurrentIndex(0);
        SimControl("answer 4");
    }, {}, 100);
    walk.Add("tab0-other-page-back", {}, {}, 3000);

    // The port goes away (an adapter pulled out: the device vanishes with the port open)
    // and comes back: told as a lost port, then the read of the line with its progress.
    const QString device = qEnvironmentVariable("TESMARCOMM_COM1");
    walk.Add({}, [&w, device] {
        w.SSTab1->setCurrentIndex(0);
        if (device.isEmpty() || !QFile::rename(device, device + QStringLiteral(".away"))) return;
        try {
            w.RDXCom()->PortClose();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "screen walk: closing the port: %s\n", e.what());
        }
    }, {}, 100);
    walk.Add("port-lost", {}, {}, 3000);
    walk.Add("port-lost-overview", [&w] { w.fourBlockView()->OverviewButton->trigger(); });
    walk.Add({}, [&w, device] {
        w.fourBlockView()->Toolbar1Button[0]->trigger();
        if (!device.isEmpty()) QFile::rename(device + QStringLiteral(".away"), device);
    }, {}, 100);
    // "port-back-reading" is taken during the read (main); then the line is back.
    walk.Add("port-back", {}, {}, 15000);

    // Maximised, every block tab again.
    walk.Add("maximised-tab0", [&w] {
        w.menus->mnuMax_Click();
        w.SSTab1->setCurrentIndex(0);
    }, {}, 1500);
    walk.Add("maximised-tab0-overview", [&w] { w.fourBlockView()->OverviewButton->trigger(); });
    walk.Add({}, [&w] { w.fourBlockView()->Toolbar1Button[0]->trigger(); }, {}, 100);
    for (int t = 1; t <= 6; ++t) walk.Add(QStringLiteral("maximised-tab%1").arg(t), tab(t));
    walk.Add({}, [&w] { w.menus->mnunom_Click(); }, {}, 1000);
    walk.Add("quit-question", [&w] { w.menus->mnuEnd->trigger(); }, RejectModal);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("RDX-410 Monitor"));
    QApplication::setOrganizationName(QStringLiteral("TESMAR KORVEX"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: rdx_screen_walk <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    RDXApplication program(&TesmarCreateObject);
    Walk walk(program, folder);
    // The opening form, caught in the middle of the start-up read.
    bool openingShot = false;
    // The read after the port came back blocks the event loop too: caught the same way,
    // once the first block is read.
    bool rereadShot = false;
    program.OnStartupProgress = [&](int count) {
        if (openingShot && !rereadShot && count >= 16 + 37 && program.mainWindow().isVisible()) {
            rereadShot = true;
            walk.Shoot(QStringLiteral("port-back-reading"));
        }
        if (openingShot || count < 3) return;
        openingShot = true;
        walk.Shoot(QStringLiteral("opening"));
    };
    QTimer::singleShot(0, &walk, [&] {
        AddSteps(walk, program);
        walk.Start();
    });
    program.StartApplication();
    return 0;
}
