#include "display/MainMenus.h"

#include "display/HelpWindow.h"
#include "display/SubDisp_About.h"

#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMetaMethod>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>

namespace {
// The progress bar's top edge sits this far below the status bar's top edge.
constexpr int ProgressBarOffsetTwips = 90;
constexpr double TwipsPerInch = 1440.0;
}  // namespace

MainMenus::MainMenus(QMainWindow& window) : QObject(&window), window_(window) {
    QMenuBar* bar = window.menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuEnd = file->addAction(QStringLiteral("ﾓﾆﾀｿﾌﾄの終了(&E)"));

    QMenu* settings = bar->addMenu(QStringLiteral("設定(&S)"));
    mnuDevno = Signalled(settings, QStringLiteral("ﾌﾞﾛｯｸ名登録(&B)"), &MainMenus::mnuDevno_Click);
    mnuCHname = Signalled(settings, QStringLiteral("ﾁｬﾝﾈﾙ名登録(&C)"), &MainMenus::mnuCHname_Click);
    settings->addSeparator();
    mnuMqtt = Signalled(settings, QStringLiteral("MQTT公開設定(&M)..."), &MainMenus::mnuMqtt_Click);

    QMenu* view = bar->addMenu(QStringLiteral("画面(&D)"));
    mnunom = view->addAction(QStringLiteral("通常(&W)"), this, &MainMenus::mnunom_Click);
    view->addSeparator();
    mnuMin = view->addAction(QStringLiteral("最小(&N)"), this, &MainMenus::mnuMin_Click);
    mnuMax = view->addAction(QStringLiteral("最大(&X)"), this, &MainMenus::mnuMax_Click);

    QMenu* user = bar->addMenu(QStringLiteral("ﾕｰｻﾞｰ(&U)"));
    QMenu* saveLoad = user->addMenu(QStringLiteral("設定値ｾｰﾌﾞとﾛｰﾄﾞ(&G)"));
    mnuSave_CH = Signalled(saveLoad, QStringLiteral("チャンネル単位(&C)"), &MainMenus::mnuSave_CH_Click);
    mnuSave_BLK = Signalled(saveLoad, QStringLiteral("ブロック単位(&B)"), &MainMenus::mnuSave_BLK_Click);
    mnuSave_ALL = Signalled(saveLoad, QStringLiteral("全チャンネル一括(&A)"), &MainMenus::mnuSave_ALL_Click);
    saveLoad->addSeparator();
    mnuCompare = Signalled(saveLoad, QStringLiteral("設定ﾃﾞｰﾀ照合(&V)..."), &MainMenus::mnuCompare_Click);
    mnuFactory = Signalled(user, QStringLiteral("ﾃﾞｰﾀ初期化（工場出荷初期値）(&K)"),
                           &MainMenus::mnuFactory_Click);
    user->addSeparator();
    numhyst = Signalled(user, QStringLiteral("ｱﾗｰﾑﾋｽﾄﾘ(&A)"), &MainMenus::numhyst_Click);
    mnuLineDiag = Signalled(user, QStringLiteral("回線診断(&L)..."), &MainMenus::mnuLineDiag_Click);

    QMenu* help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    numhelp2 = help->addAction(QStringLiteral("ﾍﾙﾌﾟ(&M)"), this, &MainMenus::numhelp2_Click);
    help->addSeparator();
    numabout = help->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)"), this, &MainMenus::numabout_Click);

    UpdateCommandStates();
}

HelpWindow* MainMenus::helpWindow() const { return help_; }
SubDisp_About* MainMenus::aboutDialog() const { return about_; }

void MainMenus::connectNotify(const QMetaMethod&) { UpdateCommandStates(); }

// Runs before the connection is gone; look again once it is.
void MainMenus::disconnectNotify(const QMetaMethod&) {
    QMetaObject::invokeMethod(this, &MainMenus::UpdateCommandStates, Qt::QueuedConnection);
}

QAction* MainMenus::Signalled(QMenu* menu, const QString& caption, void (MainMenus::*signal)()) {
    QAction* a = menu->addAction(caption);
    connect(a, &QAction::triggered, this, [this, signal] { emit(this->*signal)(); });
    signalled_.append({a, signal});
    return a;
}

void MainMenus::UpdateCommandStates() {
    for (const auto& [action, signal] : signalled_)
        action->setEnabled(isSignalConnected(QMetaMethod::fromSignal(signal)));
}

void MainMenus::SetWindowState(Qt::WindowStates state) {
    window_.setWindowState(state);
    if (!ProgressBar1) return;
    // The status bar lays the bar out again whenever the window's size settles; from the
    // first window-size command on, the bar keeps its place through those moves. (A filter
    // installed again is still called once.)
    ProgressBar1->installEventFilter(this);
    PlaceProgressBar();
}

int MainMenus::ProgressBarTop() const {
    QWidget* parent = ProgressBar1->parentWidget();
    const int offset = qRound(ProgressBarOffsetTwips * window_.logicalDpiY() / TwipsPerInch);
    return parent->mapFromGlobal(window_.statusBar()->mapToGlobal(QPoint(0, 0))).y() + offset;
}

void MainMenus::PlaceProgressBar() {
    if (!ProgressBar1 || !ProgressBar1->parentWidget()) return;
    const int top = ProgressBarTop();
    if (ProgressBar1->y() != top) ProgressBar1->move(ProgressBar1->x(), top);
}

bool MainMenus::eventFilter(QObject* watched, QEvent* event) {
    // Only the progress bar is watched.
    if (event->type() == QEvent::Move) PlaceProgressBar();
    return QObject::eventFilter(watched, event);
}

void MainMenus::mnunom_Click() { SetWindowState(Qt::WindowNoState); }
void MainMenus::mnuMin_Click() { SetWindowState(Qt::WindowMinimized); }
void MainMenus::mnuMax_Click() { SetWindowState(Qt::WindowMaximized); }

void MainMenus::numhelp2_Click() {
    if (!help_) help_ = new HelpWindow(&window_);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void MainMenus::numabout_Click() {
    if (!about_) {
        about_ = new SubDisp_About(&window_);
        connect(about_, &SubDisp_About::toolbar3VisibleChanged, this, [this](bool visible) {
            if (Toolbar3) Toolbar3->setVisible(visible);
        });
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}
