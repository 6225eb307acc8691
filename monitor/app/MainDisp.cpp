#include "app/MainDisp.h"

#include "app/PortDevice.h"
#include "app/StartupProgress.h"

#include "ISTDComm.h"
#include "services/SettingsStore.h"
#include "display/NameLists.h"
#include "display/FourBlockView.h"
#include "display/LineTrouble.h"
#include "display/MainMenus.h"
#include "display/OneChannelView.h"
#include "display/SettingChangeView.h"
#include "display/SettingToolbars.h"
#include "display/OneBlockView.h"
#include "display/ScreenFit.h"
#include "display/TwoBlockView.h"
#include "exchange/EngineLog.h"
#include "exchange/PollEngine.h"
#include "history/LoggingView.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLineEdit>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const std::array<const char*, 7> kTabCaptions = {"4ﾌﾞﾛｯｸ画面", "2ﾌﾞﾛｯｸ画面", "1ﾌﾞﾛｯｸ画面", "1ﾁｬﾝﾈﾙ画面",
                                                  "設定値変更画面", "ﾁｬｰﾄ画面", "ﾃﾞｰﾀﾛｷﾞﾝｸﾞ画面"};

}  // namespace

MainDisp::MainDisp(RDX_INC& data, QWidget* parent) : QMainWindow(parent), d(data) {
    setWindowTitle(QStringLiteral("RDX-410 Monitor"));
    resize(PreferredWidth, PreferredHeight);
    SSTab1 = new QTabWidget(this);
    for (int i = 0; i < 7; ++i) {
        tabs_[i] = new TabView(SSTab1);
        SSTab1->addTab(tabs_[i], QString::fromUtf8(kTabCaptions[i]));
    }
    setCentralWidget(SSTab1);
    connect(SSTab1, &QTabWidget::currentChanged, this, [this] { SelectDispItem(); });
    BuildMenus();
    BuildStatusBar();
    BuildMessages();
    BuildBlockViews();
    BuildDetailViews();
}

MainDisp::~MainDisp() = default;

void MainDisp::BuildMenus() {
    menus = new MainMenus(*this);
    connect(menus->mnuEnd, &QAction::triggered, this, &MainDisp::mnuEnd_Click);
}

void MainDisp::BuildDetailViews() {
    oneChannelView = new OneChannelView(d);
    settingChangeView = new SettingChangeView(d);
    SetTabView(3, oneChannelView, QString());
    SetTabView(4, settingChangeView, QString());
    oneChannelView->RegisterNames(*nameLists_);
    settingChangeView->RegisterNames(*nameLists_);
    settingToolbars = new SettingToolbars(d, *settingChangeView, *this);
    menus->ProgressBar1 = ProgressBar1;
    menus->Toolbar3 = settingToolbars->Toolbar3;
}

void MainDisp::BuildStatusBar() {
    for (int i = 0; i < 4; ++i) {
        StatusPanel[i] = new QLabel(this);
        StatusPanel[i]->setMinimumWidth(i == 0 ? 60 : 160);
        // Panel 1 grows with its summary: a gap keeps it apart from panel 2's text.
        StatusPanel[i]->setContentsMargins(0, 0, 16, 0);
        statusBar()->addWidget(StatusPanel[i], i == 3 ? 1 : 0);
    }
    // In the status bar, not over the tables: it stays up as long as a block is silent and
    // must hide no value meanwhile.
    Text_readmsg2 = new QLabel(QStringLiteral("通信異常"), this);
    Text_readmsg2->setStyleSheet(QStringLiteral(
        "QLabel { background: rgb(255,255,192); color: rgb(255,0,0); border: 2px solid rgb(128,0,0);"
        " padding: 0px 6px; }"));
    // Bold through the font, not the style sheet, so that the cut is measured in it.
    QFont bold = Text_readmsg2->font();
    bold.setBold(true);
    Text_readmsg2->setFont(bold);
    Text_readmsg2->setMaximumWidth(MaxTroubleWidth);
    Text_readmsg2->hide();
    statusBar()->addPermanentWidget(Text_readmsg2);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 150);
    ProgressBar1->setMaximumWidth(200);
    ProgressBar1->hide();
    statusBar()->addPermanentWidget(ProgressBar1);
    ReadProgress = new QProgressBar(this);
    ReadProgress->setRange(0, 100);
    ReadProgress->setFormat(QStringLiteral("読取り中 %p%"));
    ReadProgress->setMaximumWidth(200);
    ReadProgress->hide();
    statusBar()->addPermanentWidget(ReadProgress);
}

void MainDisp::BuildMessages() {
    Text_readmsg = new QLabel(
        QStringLiteral("ﾓﾆﾀｿﾌﾄは、RDX-410からﾃﾞｰﾀを読取り中です。\nしばらくお待ちください。"), this);
    Text_readmsg->setStyleSheet(QStringLiteral(
        "QLabel { background: rgb(255,255,192); border: 2px solid rgb(128,0,0);"
        " padding: 16px; font-size: 16pt; }"));
    Text_readmsg->setAlignment(Qt::AlignCenter);
    Text_readmsg->adjustSize();
    Text_readmsg->hide();
}

void MainDisp::PlaceMessages() {
    const QRect area = SSTab1->geometry();
    Text_readmsg->move(area.center() - Text_readmsg->rect().center());
}

void MainDisp::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    PlaceMessages();
}

void MainDisp::showEvent(QShowEvent* event) {
    if (!placed_) {
        // The first showing: as large as planned, but never larger than the screen.
        placed_ = true;
        resize(QSize(PreferredWidth, PreferredHeight).boundedTo(RoomOnScreen(this)).expandedTo(minimumSizeHint()));
        // Once the window manager has framed the window, its frame must lie on the screen.
        QTimer::singleShot(WindowManagerSettleMs, this, [this] { KeepOnScreen(this); });
    }
    QMainWindow::showEvent(event);
    Form_Activate();
}

void MainDisp::SetTabView(int index, TabView* view, const QString& caption) {
    if (index < 0 || index > 6 || !view) return;
    const bool current = SSTab1->currentIndex() == index;
    SSTab1->removeTab(index);
    delete tabs_[index];
    tabs_[index] = view;
    SSTab1->insertTab(index, view, caption.isEmpty() ? QString::fromUtf8(kTabCaptions[index]) : caption);
    if (current) SSTab1->setCurrentIndex(index);
}

bool MainDisp::Form_Load() {
    if (CreateLinkObject) link_.reset(CreateLinkObject(TesmarIds::Class));
    d.FillItemCodes();
    d.PollBlock = 0;
    d.PollPhase = 0;
    SetPanelText(2, QStringLiteral("ﾛｷﾞﾝｸﾞ 待機中"));
    SetPanelText(3, QStringLiteral("ﾁｬｰﾄ 待機中"));
    if (!link_) return false;
    engine_ = std::make_unique<PollEngine>(d, *link_, *this);
    engine_->HystoryWrite = [this](const QString& code, int ch, int state) {
        if (HystoryWrite) HystoryWrite(code, ch, state);
    };
    engine_->Messages = &messages_;
    return true;
}

void MainDisp::Form_Activate() {
    // Names, captions, enabled and visible rows follow the stored selections before the
    // first refresh.
    tab0_->Combo1_Click();
    tab1_->tb1_BName_Click(0);
    tab1_->tb1_BName_Click(1);
    tab2_->tb2_BName_Click();
    SelectDispItem();
}

void MainDisp::regRead() {
    emit storedSettingsReading();
    for (int n = 3; n >= 0; --n) tab0_->Frame_Block[n]->setTitle(BlockName(n));
    tab0_->ShowChannelLabels();
    if (loggingView) loggingView->LoadChoices();
    // Read before the lists are refilled: putting a filled list's index back runs its
    // click handler, which stores that index over the stored one (the one-channel list is
    // filled from the start).
    QHash<QString, int> stored;
    for (const char* key : {"tab1name0", "tab1name1", "tab2name", "tab3name", "tab0block", "tab1block0",
                            "tab1block1", "tab2block0", "tab2block1", "tab2block2"})
        stored.insert(QString::fromLatin1(key), GetSettingInt(QString::fromLatin1(key), -1));
    nameLists_->RefreshNameLists(NameLists::StartUp);
    RestoreBlockViewSelections(stored);
}

void MainDisp::BuildBlockViews() {
    nameLists_ = new NameLists(this);
    tab0_ = new FourBlockView(d);
    tab1_ = new TwoBlockView(d);
    tab2_ = new OneBlockView(d);
    SetTabView(0, tab0_, QString());
    SetTabView(1, tab1_, QString());
    SetTabView(2, tab2_, QString());
    for (int h = 0; h < 2; ++h) {
        nameLists_->AddBlockList(tab1_->tb1_BName[h], [this, h] { tab1_->tb1_BName_Click(h); });
        const auto first = tab1_->tb1_label.begin() + ChannelsPerBlock * h;
        nameLists_->AddRowLabels(tab1_->tb1_BName[h], {first, first + ChannelsPerBlock});
    }
    nameLists_->AddBlockList(tab2_->tb2_BName, [this] { tab2_->tb2_BName_Click(); });
    nameLists_->AddRowLabels(tab2_->tb2_BName, {tab2_->tb2_label.begin(), tab2_->tb2_label.end()});
    connect(nameLists_, &NameLists::blockNamesChanged, this, [this] {
        if (loggingView) loggingView->RefreshBlockNames();
    });
}

void MainDisp::RestoreBlockViewSelections(const QHash<QString, int>& storedIndex) {
    // A stored index that is not a number or lies outside its list falls back to the
    // key's default; the other selectors are still restored.
    auto stored = [&storedIndex](const char* key, int fallback, const QComboBox* list) {
        const int index = storedIndex.value(QString::fromLatin1(key), -1);
        return index >= 0 && index < list->count() ? index : fallback;
    };
    tab1_->SetBNameIndex(0, stored("tab1name0", 0, tab1_->tb1_BName[0]));
    tab1_->SetBNameIndex(1, stored("tab1name1", 0, tab1_->tb1_BName[1]));
    tab2_->SetBNameIndex(stored("tab2name", 0, tab2_->tb2_BName));
    oneChannelView->tb3_CHName->setCurrentIndex(stored("tab3name", 0, oneChannelView->tb3_CHName));
    // tb4_BName starts at the first block (not stored); SaveLoad_CHname and Factory_Bname
    // (index 0) belong here too, between the block selectors and the item selectors.
    settingChangeView->tb4_BName->setCurrentIndex(0);
    tab0_->SetCombo1Index(stored("tab0block", 0, tab0_->Combo1));
    tab1_->SetBlockPIndex(0, stored("tab1block0", 3, tab1_->tb1_Block_P[0]));
    tab1_->SetBlockPIndex(1, stored("tab1block1", 3, tab1_->tb1_Block_P[1]));
    tab2_->SetBlockPIndex(0, stored("tab2block0", 1, tab2_->tb2_Block_P[0]));
    tab2_->SetBlockPIndex(1, stored("tab2block1", 4, tab2_->tb2_Block_P[1]));
    tab2_->SetBlockPIndex(2, stored("tab2block2", 5, tab2_->tb2_Block_P[2]));
}

bool MainDisp::BulkWriteInProgress() const { return engine_ && engine_->BulkWriteInProgress(); }

bool MainDisp::PortLost() const { return engine_ && engine_->PortLost; }

quint64 MainDisp::RequestSettingWrite(int channel, const QString& item) {
    return engine_ ? engine_->RequestSettingWrite(channel, item) : 0;
}

quint64 MainDisp::RequestBlockWrite(int block) { return engine_ ? engine_->RequestBlockWrite(block) : 0; }

quint64 MainDisp::RequestAllBlocksWrite() { return engine_ ? engine_->RequestAllBlocksWrite() : 0; }

quint64 MainDisp::RequestFactoryInit(int block, const QString& mask) {
    return engine_ ? engine_->RequestFactoryInit(block, mask) : 0;
}

void MainDisp::communicate() {
    // A quit that came while the program was starting (a signal handled while the opening
    // form waited for the screen) must not be undone by the loop starting afresh.
    if (engine_ && !ending_) engine_->communicate();
    ending_ = true;
    link_.reset();
}

void MainDisp::SelectDispItem() {
    const int tab = SSTab1->currentIndex();
    if (tab >= 0 && tab <= 4) tabs_[tab]->Refresh();
    ShowPanel1();
}

void MainDisp::ShowPanel1() {
    // "OK" alone would hide a silent block or an alarm on a page not shown.
    const QString summary = TroubleSummary(LineTroubleOf(d));
    QString text = panel1Outcome_;
    if (!summary.isEmpty()) text += (text.isEmpty() ? QString() : QStringLiteral("  ")) + summary;
    if (StatusPanel[0]->text() == text) return;
    StatusPanel[0]->setText(text);
    // Never squeezed by the "通信異常" box: the summary is the line's state.
    StatusPanel[0]->setMinimumWidth(qMax(60, StatusPanel[0]->fontMetrics().horizontalAdvance(text) + 20));
}

void MainDisp::SaveLoggingChoices() {
    if (loggingView) loggingView->SaveChoices();
}

bool MainDisp::Form_Unload() {
    SaveLoggingChoices();
    const auto answer = QMessageBox::warning(this, QStringLiteral("RDX-410 Monitor"),
                                             QStringLiteral("ﾓﾆﾀｿﾌﾄを終了します。よろしいですか？"),
                                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) return false;
    EndProgram();
    return true;
}

void MainDisp::QuitWithoutAsking() {
    if (ending_) return;
    SaveLoggingChoices();
    EndProgram();
}

void MainDisp::EndProgram() {
    ending_ = true;
    d.EndRequested = true;
    FlushSettings();
    if (link_) {
        try {
            link_->PortClose();
        } catch (const std::exception& e) {
            LogSkippedStep("closing the port at the end", e);
        }
    }
    hide();
}

void MainDisp::mnuEnd_Click() { Form_Unload(); }

void MainDisp::closeEvent(QCloseEvent* event) {
    if (ending_ || Form_Unload()) event->accept();
    else event->ignore();
}

void MainDisp::SetPanelText(int panel, const QString& text) {
    if (panel < 1 || panel > 4) return;
    // Panel 1 is emptied at the start of every poll and set again by its reply within the
    // same step, before anything is painted: apply the emptying only if nothing follows.
    if (panel == 1 && text.isEmpty()) {
        panel1ClearPending_ = true;
        return;
    }
    if (panel == 1) {
        panel1ClearPending_ = false;
        panel1Outcome_ = text;
        ShowPanel1();
        return;
    }
    if (StatusPanel[panel - 1]->text() != text) StatusPanel[panel - 1]->setText(text);
}

void MainDisp::ShowReadMessage(bool visible) {
    if (Text_readmsg->isVisible() == visible) return;
    Text_readmsg->setVisible(visible);
    if (visible) {
        // The re-read blocks the event loop: paint now so it is seen throughout.
        PlaceMessages();
        Text_readmsg->raise();
        Text_readmsg->repaint();
    }
}

void MainDisp::ShowCommError(bool visible) {
    commErrorShown_ = visible;
    ShowContactTrouble();
}

void MainDisp::ShowContactTrouble() {
    QStringList silent;
    for (int b = 0; b < BlockCount; ++b)
        if (d.BlockAbsent[size_t(b)] == 0 && d.BlockOutOfContact[size_t(b)]) silent << BlockName(b);
    const bool portLost = PortLost();
    QString port;
    if (portLost) {
        try {
            port = link_->Port();
        } catch (const std::exception& e) {
            LogSkippedStep("naming the lost port", e);
        }
        if (port.isEmpty()) port = GetSetting(QStringLiteral("Port"), QStringLiteral("COM1"));
    }
    const QString text = ContactTroubleText(portLost, port, portLost ? DeviceOfPort(port) : QString(), silent);
    const bool visible = portLost || commErrorShown_ || !silent.isEmpty();
    // This runs after every exchange; shaping the text to fit costs more than the exchange,
    // so it is done only for a text that changed.
    if (text != troubleText_) {
        troubleText_ = text;
        // Less the frame and padding of the style sheet.
        const QFontMetrics metrics = Text_readmsg2->fontMetrics();
        const int room = MaxTroubleWidth - 24;
        // A long device path gives way first, so that the advice stays in view; the tool tip has it.
        const QString brief = portLost && metrics.horizontalAdvance(text) > room
                                  ? ContactTroubleText(true, port, QString(), silent)
                                  : text;
        const QString shown = metrics.elidedText(brief, Qt::ElideRight, room);
        if (Text_readmsg2->text() != shown) Text_readmsg2->setText(shown);
        Text_readmsg2->setToolTip(shown == text ? QString() : text);
    }
    if (Text_readmsg2->isVisible() == visible) return;
    Text_readmsg2->setVisible(visible);
    // Steps block the event loop: paint now so it is seen at once.
    if (visible) Text_readmsg2->repaint();
}

void MainDisp::SplashProgress(int count) {
    // A read after the port came back: the window is up, so its progress is shown here.
    if (isVisible()) {
        const int percent = StartupReadPercent(count, d.BlockAbsent);
        if (ReadProgress->isHidden() || count <= 1) ReadProgress->setValue(0);
        ReadProgress->setValue(qMax(ReadProgress->value(), percent));
        ReadProgress->show();
        ReadProgress->repaint();
    }
    if (OnSplashProgress) OnSplashProgress(count);
}

void MainDisp::StartupFinished() {
    ReadProgress->hide();
    if (OnStartupFinished) OnStartupFinished();
}

void MainDisp::StartupInterrupted() {
    // The opening form would stay up with its progress stuck and nothing to act on: show
    // the window with "通信異常" and its menus. Chart and log resume only once the read
    // completes (StartupFinished).
    if (OnStartupInterrupted) OnStartupInterrupted();
    show();
}

void MainDisp::ShowPortDialog(const QString& port, const QString& speed, const OpenFailureInfo& failure) {
    emit portDialogRequested(port, speed, failure);
}

void MainDisp::RefreshView() {
    if (panel1ClearPending_) {
        panel1ClearPending_ = false;
        panel1Outcome_.clear();
    }
    SelectDispItem();
}

void MainDisp::ResetSettingView() {
    // The setting-change view starts over after a block re-read.
    settingChangeView->ResetView();
}

void MainDisp::SetWriteProgress(int value) {
    ProgressBar1->setValue(qMin(value, ProgressBar1->maximum()));
}

void MainDisp::BulkWriteFinished() {
    ProgressBar1->hide();
    SetPanelText(4, QString());
    emit bulkWriteFinished();
}

void MainDisp::BlockContactChanged(int /*block*/, bool /*outOfContact*/) {
    // The views read BlockOutOfContact when they redraw.
    SelectDispItem();
    ShowContactTrouble();
}

void MainDisp::StartWriteProgress() {
    if (!ProgressBar1) return;
    ProgressBar1->setVisible(true);
    ProgressBar1->setValue(0);
}

void MainDisp::OnBulkWriteFinished(QObject* receiver, std::function<void()> handler) {
    connect(this, &MainDisp::bulkWriteFinished, receiver, std::move(handler));
}
