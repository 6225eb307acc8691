#include "display/FourBlockView.h"

#include "display/NameLists.h"
#include "services/SettingsStore.h"
#include "format/ValueFormat.h"
#include "display/ContactMark.h"
#include "display/Lamp.h"
#include "display/LineOverview.h"
#include "display/LineTrouble.h"
#include "display/ViewLabels.h"
#include "display/ViewParts.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const char* const kPageTips[4] = {
    "MGU-500 機器番号 0 から 3番",
    "MGU-500 機器番号 4 から 7番",
    "MGU-500 機器番号 8 から B(11)番",
    "MGU-500 機器番号 C(12) から F(15)番",
};
const char* const kPageTexts[4] = {"0-3", "4-7", "8-B", "C-F"};

// A lamp beside a page button's text: red while the page has an alarm, otherwise the grey
// of a silent value box while it has a block out of contact. The words say the same.
QIcon PageLamp(const QColor& fill) {
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1, 1, 12, 12));
    return QIcon(pixmap);
}


}  // namespace

FourBlockView::FourBlockView(RDX_INC& data, QWidget* parent) : TabView(parent), d(data) {
    auto* top = new QHBoxLayout;
    Toolbar1 = new QToolBar(this);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // The page shown is the pressed button.
    auto* pages = new QActionGroup(this);
    for (int b = 0; b < 4; ++b) {
        QAction* button = Toolbar1->addAction(QString::fromUtf8(kPageTexts[b]));
        button->setToolTip(QString::fromUtf8(kPageTips[b]));
        button->setCheckable(true);
        button->setChecked(b == 0);
        pages->addAction(button);
        connect(button, &QAction::triggered, this, [this, b] { Toolbar1_ButtonClick(b + 1); });
        Toolbar1Button[b] = button;
    }
    OverviewButton = Toolbar1->addAction(QStringLiteral("全体"));
    OverviewButton->setToolTip(QStringLiteral("ﾗｲﾝの全ﾌﾞﾛｯｸを1画面に表示します"));
    OverviewButton->setCheckable(true);
    pages->addAction(OverviewButton);
    connect(OverviewButton, &QAction::triggered, this, [this] { Toolbar1_ButtonClick(5); });
    top->addWidget(Toolbar1);
    top->addStretch(1);
    Label2 = new QLabel(QStringLiteral("ﾓﾆﾀと設定項目選択"), this);
    Combo1 = NewItemSelector(this);
    top->addWidget(Label2);
    top->addWidget(Combo1);

    auto* page = new QWidget(this);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto* frames = new QHBoxLayout;
    pageLayout->addLayout(frames);
    pageLayout->addStretch(1);
    for (int n = 0; n < 4; ++n) {
        Frame_Block[n] = new QGroupBox(page);
        auto* grid = new QGridLayout(Frame_Block[n]);
        grid->setVerticalSpacing(2);
        grid->setHorizontalSpacing(4);
        grid->setContentsMargins(6, 4, 6, 6);
        for (int k = 0; k < ChannelsPerBlock; ++k) {
            const int i = n * ChannelsPerBlock + k;
            // A long name is shortened, never the value.
            Label1[i] = NewNameLabel(Frame_Block[n]);
            Para_Text[i] = NewValueLabel(Frame_Block[n]);
            Para_Text[i]->setMinimumWidth(76);
            Label1[i]->setFixedHeight(BlockRowHeight);
            Para_Text[i]->setFixedHeight(BlockRowHeight);
            grid->addWidget(Label1[i], k, 0);
            grid->addWidget(Para_Text[i], k, 1);
        }
        grid->setColumnStretch(0, 3);
        grid->setColumnStretch(1, 2);
        Frame_Contact[n] = ContactMark::OnFrame(Frame_Block[n]);
        // The four frames share the width equally whatever their names.
        frames->addWidget(Frame_Block[n], 1);
    }

    overview = new LineOverview(d, this);
    shown_ = new QStackedWidget(this);
    shown_->addWidget(page);
    shown_->addWidget(overview);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(shown_, 1);

    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { Combo1_Click(); });
}

int FourBlockView::FirstChannel() const {
    const int page = (d.PageIndex >= 0 && d.PageIndex <= 3) ? d.PageIndex : 0;
    return page * Channels;
}

bool FourBlockView::OverviewShown() const { return shown_->currentWidget() == overview; }

void FourBlockView::Refresh() {
    const int item = ListIndexOrZero(Combo1->currentIndex());
    if (OverviewShown()) {
        overview->Refresh(item);
        ShowPageMarks();
        return;
    }
    const int first = FirstChannel();
    for (int n = 0; n < 4; ++n) Frame_Contact[n]->setOutOfContact(OutOfContact(d, first + n * ChannelsPerBlock));
    for (int i = 0; i < Channels; ++i) {
        const int c = first + i;
        SetTextIfChanged(Para_Text[i], FormatItemValue(d, item, c));
        // An alarm shows at a glance whatever item the page shows; a value its block no
        // longer confirms is greyed, alarm or not.
        ValueMark mark = InAlarm(d, c) ? ValueMark::Alarm : ValueMark::None;
        if (OutOfContact(d, c)) mark = ValueMark::OutOfContact;
        SetValueMark(Para_Text[i], mark);
    }
    ShowPageMarks();
}

void FourBlockView::ShowPageMarks() {
    for (int page = 0; page < 4; ++page) {
        const LineTrouble trouble = TroubleOf(d, page * 4, 4);
        QString text = QString::fromUtf8(kPageTexts[page]);
        if (trouble.alarms > 0) text += QStringLiteral(" 警報");
        if (trouble.silentBlocks > 0) text += QStringLiteral(" 通信異常");
        QAction* button = Toolbar1Button[size_t(page)];
        if (button->text() == text) continue;
        button->setText(text);
        QString tip = QString::fromUtf8(kPageTips[page]);
        if (trouble.any()) tip += QLatin1Char('\n') + TroubleSummary(trouble);
        button->setToolTip(tip);
        if (trouble.alarms > 0) button->setIcon(PageLamp(Lamp::Red()));
        else if (trouble.silentBlocks > 0) button->setIcon(PageLamp(ValueLabel::SilentBox()));
        else button->setIcon(QIcon());
    }
}

void FourBlockView::Combo1_Click() {
    SaveSetting(QStringLiteral("tab0block"), QString::number(Combo1->currentIndex()));
    const int first = FirstChannel();
    ForEachChannelPair(d, first, Channels, [this](int i, bool present, bool hidden) {
        SetEnabledIfChanged(Para_Text[i - 1], present);
        SetEnabledIfChanged(Para_Text[i], present);
        SetHiddenIfChanged(Para_Text[i], hidden);
    });
}

void FourBlockView::Toolbar1_ButtonClick(int button) {
    if (button == 5) {
        OverviewButton->setChecked(true);
        overview->ShowNames();
        shown_->setCurrentWidget(overview);
        Refresh();
        return;
    }
    if (button >= 1 && button <= 4) d.PageIndex = button - 1;
    shown_->setCurrentIndex(0);
    Toolbar1Button[size_t(FirstChannel() / Channels)]->setChecked(true);
    ShowFrameCaptions();
    ShowChannelLabels();
    Combo1_Click();
}

void FourBlockView::SetCombo1Index(int index) {
    SetListIndexQuietly(Combo1, index);
    Combo1_Click();
}

void FourBlockView::ShowFrameCaptions() {
    const int firstBlock = FirstChannel() / ChannelsPerBlock;
    for (int n = 0; n < 4; ++n) {
        const QString name = BlockName(firstBlock + n);
        if (Frame_Block[n]->title() != name) Frame_Block[n]->setTitle(name);
    }
}

void FourBlockView::ShowChannelLabels() {
    if (OverviewShown()) overview->ShowNames();
    const int first = FirstChannel();
    for (int i = 0; i < Channels; ++i) SetTextIfChanged(Label1[i], ChannelName(first + i));
}
