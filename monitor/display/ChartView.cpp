#include "display/ChartView.h"

#include "display/NameLists.h"
#include "services/OperatorMessages.h"
#include "controls/ChartMath.h"
#include "controls/SubDisp_Chartset.h"
#include "controls/Tesmar_ChartCtl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int LastPosition = ChartMath::PositionCount - 1;

}  // namespace

ChartView::ChartView(const RDX_INC& data, QWidget* parent) : TabView(parent), d(data) {
    Tesmar_ChartCtl1 = new Tesmar_ChartCtl(this);
    // A refused scale can be met at the resume inside a polling step: never wait there.
    Tesmar_ChartCtl1->setMessageHandler([this](const QString& text) {
        if (Messages) Messages->Tell(text);
    });

    auto* side = new QVBoxLayout;
    for (int k = 0; k < ChartPenCount; ++k) {
        Label_protname[k] = new QLabel(settings_.PenName[k], this);
        Label_protname[k]->setFrameShape(QFrame::StyledPanel);
        Label_protname[k]->setFrameShadow(QFrame::Sunken);
        Label_protname[k]->setMinimumWidth(160);
        // The pen's colour while enabled; a pen that draws nothing is greyed.
        QPalette palette = Label_protname[k]->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, QPalette::WindowText, Tesmar_ChartCtl::PenColor(k));
        Label_protname[k]->setPalette(palette);
        side->addWidget(Label_protname[k]);
    }
    Label_protend = new QLabel(QString::fromUtf8(ChartFinished), this);
    Label_protend->setStyleSheet(QStringLiteral("QLabel { color: rgb(255,0,0); font-weight: bold; }"));
    Label_protend->hide();
    side->addWidget(Label_protend);
    side->addStretch();
    const char* const captions[3] = {"開始", "停止", "ﾁｬｰﾄ描写条件設定"};
    for (int i = 0; i < 3; ++i) {
        ChartStart[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        side->addWidget(ChartStart[i]);
        connect(ChartStart[i], &QPushButton::clicked, this, [this, i] { ChartStart_Click(i); });
    }
    ChartStart[0]->setEnabled(false);
    ChartStart[1]->setEnabled(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Tesmar_ChartCtl1, 0, 0);
    layout->addLayout(side, 0, 1);
    layout->setColumnStretch(0, 1);

    Timer2.setInterval(settings_.ChartTim * 1000);
    connect(&Timer2, &QTimer::timeout, this, &ChartView::Timer2_Timer);

    dialog_ = new SubDisp_Chartset(this);
    connect(dialog_, &SubDisp_Chartset::settingsAccepted, this, &ChartView::AcceptSettings);
}

void ChartView::ShowPanel3(const char* text) {
    if (SetPanel3) SetPanel3(QString::fromUtf8(text));
}

void ChartView::LoadChartSettings() {
    settings_ = ReadChartSettings();
    for (int k = 0; k < ChartPenCount; ++k) Label_protname[k]->setText(settings_.PenName[k]);
}

void ChartView::RefreshPenLabels() {
    for (int k = 0; k < ChartPenCount; ++k) {
        QComboBox* list = dialog_->Chart_CHName[k];
        list->setCurrentIndex(settings_.PenChannel[k]);
        if (list->currentIndex() < 0) continue;  // lists not filled yet
        Label_protname[k]->setText(PenLabelText(list->currentText(), settings_.PenItem[k]));
    }
}

void ChartView::RegisterNames(NameLists& lists) {
    names_ = &lists;
    for (QComboBox* list : dialog_->Chart_CHName) lists.AddChannelList(list);
    connect(&lists, &NameLists::channelNamesChanged, this, &ChartView::RefreshPenLabels);
}

void ChartView::FillChannelLists() {
    if (names_) {
        // Refills every channel list of the program and, through its signal, the pen names.
        names_->RefreshNameLists(NameLists::ChannelNamesChanged);
        return;
    }
    const QStringList names = ChannelNames();
    for (QComboBox* list : dialog_->Chart_CHName) {
        list->clear();
        list->addItems(names);
    }
    RefreshPenLabels();
}

void ChartView::ChartStart_Click(int index) {
    switch (index) {
    case 0: StartChart(); break;
    case 1: StopChart(); break;
    case 2: OpenSettings(); break;
    default: break;
    }
}

void ChartView::StartChart() {
    running_ = settings_;
    Tesmar_ChartCtl1->setSclMax(running_.ChartMax);
    Tesmar_ChartCtl1->setSclMin(running_.ChartMin);
    for (int k = 0; k < ChartPenCount; ++k) Tesmar_ChartCtl1->setPenVisible(k, running_.PenItem[k]);
    Tesmar_ChartCtl1->setStartTim(Time->Now().toString(QStringLiteral("hh:mm")));
    Tesmar_ChartCtl1->setCountTim(running_.ChartTim);
    Tesmar_ChartCtl1->setStartflg(true);
    for (int k = 0; k < ChartPenCount; ++k) Label_protname[k]->setEnabled(running_.PenItem[k] != ChartItemNone);
    Timer2.setInterval(running_.ChartTim * 1000);
    position_ = 0;
    Label_protend->hide();
    ChartStart[0]->setEnabled(false);
    ChartStart[2]->setEnabled(false);
    SaveChartRunning(true);
    Timer2.start();
    ShowPanel3(ChartRunning);
    Timer2_Timer();
}

void ChartView::StopChart() {
    Tesmar_ChartCtl1->setStartflg(false);
    ChartStart[0]->setEnabled(true);
    ChartStart[2]->setEnabled(true);
    SaveChartRunning(false);
    Timer2.stop();
    ShowPanel3(ChartWaiting);
}

void ChartView::OpenSettings() {
    FillChannelLists();
    dialog_->Open(settings_);
}

void ChartView::AcceptSettings(const ChartSettings& settings) {
    settings_ = settings;
    for (int k = 0; k < ChartPenCount; ++k) Label_protname[k]->setText(settings_.PenName[k]);
    ChartStart[0]->setEnabled(true);
    ChartStart[1]->setEnabled(true);
    SaveChartSettings(settings_);
}

void ChartView::Timer2_Timer() {
    for (int k = 0; k < ChartPenCount; ++k) {
        const int channel = running_.PenChannel[k];
        const auto value = ChartSampleValue(d, channel, running_.PenItem[k]);
        if (value) Tesmar_ChartCtl1->setPenValue(k, *value);
        // A silent block's values are frozen: the pen leaves a gap for the outage.
        Tesmar_ChartCtl1->setPenLifted(k, value && d.BlockOutOfContact[size_t(channel / ChannelsPerBlock)]);
    }
    Tesmar_ChartCtl1->setProtterNo(qint16(position_));
    ++position_;
    if (position_ > LastPosition) {
        position_ = LastPosition;
        Label_protend->show();
        ShowPanel3(ChartFinished);
    }
}

void ChartView::ResumeAtStartup() {
    if (!ChartWasRunning()) return;
    ChartStart_Click(0);
    ChartStart[1]->setEnabled(true);
}
