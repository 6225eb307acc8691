#include "setdata/SubDisp_SaveLoad.h"

#include "display/NameLists.h"
#include "display/Shell.h"
#include "format/ValueFormat.h"
#include "exchange/RDX_INC.h"
#include "setdata/ActivationRefresh.h"
#include "setdata/BulkWriteRequest.h"
#include "setdata/ChannelFile.h"
#include "setdata/SetDataFile.h"
#include "setdata/MoveSaveLoadButtons.h"
#include "setdata/SetDataMessages.h"
#include "setdata/SetDataRecord.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Row captions of fields 0..31.
const char* const kRowCaptions[ChannelFieldCount] = {
    "主設定", "警報1設定", "警報2設定", "ﾋｰﾀ断線警報設定", "比例帯設定", "積分時間設定",
    "微分時間設定", "ｱﾝﾁﾘｾｯﾄﾜｲﾝﾄﾞｱｯﾌﾟ設定", "比例周期設定", "PD（手動）ﾘｾｯﾄ設定",
    "制御ON/OFF動作すきま設定", "警報1動作すきま設定", "警報2動作すきま設定", "警報1動作選択",
    "警報2動作選択", "制御出力上限設定", "制御出力下限設定", "入力ﾌｨﾙﾀ設定", "ｾﾝｻ補正設定",
    "制御動作選択（加熱/冷却）", "温度単位選択(゜C/゜F)", "ﾙｰﾌﾟ異常警報動作時間設定",
    "ﾙｰﾌﾟ異常警報動作巾設定", "冷却比例帯設定", "冷却比例周期設定",
    "ｵｰﾊﾞﾗｯﾌﾟﾊﾞﾝﾄﾞ/ﾃﾞｯﾄﾞﾊﾞﾝﾄﾞ設定", "冷却動作ﾓｰﾄﾞ選択", "冷却出力ON-OFF動作すきま設定",
    "ｽｹｰﾘﾝｸﾞ上限設定", "ｽｹｰﾘﾝｸﾞ下限設定", "小数点位置選択", "ﾚﾝｼﾞ単位選択"};

// First and one-past-last field of each page.
constexpr int kPageFirst[3] = {0, 23, 28};
constexpr int kPageEnd[3] = {23, 28, ChannelFieldCount};

QString U8(const char* text) { return QString::fromUtf8(text); }

// One frame of a page: a captioned row per field, the value label filled into `labels`.
QGroupBox* BuildFrame(QWidget* parent, const QString& title, int page,
                      std::array<QLabel*, ChannelFieldCount>& labels) {
    auto* frame = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(frame);
    for (int k = kPageFirst[page]; k < kPageEnd[page]; ++k) {
        const int row = k - kPageFirst[page];
        grid->addWidget(new QLabel(U8(kRowCaptions[k]), frame), row, 0);
        labels[k] = new QLabel(frame);
        labels[k]->setMinimumWidth(110);
        labels[k]->setFrameShape(QFrame::StyledPanel);
        labels[k]->setFrameShadow(QFrame::Sunken);
        labels[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(labels[k], row, 1);
    }
    grid->setRowStretch(kPageEnd[page] - kPageFirst[page], 1);
    return frame;
}

}  // namespace

SubDisp_SaveLoad::SubDisp_SaveLoad(RDX_INC& inc, Shell& shell, QWidget* parent)
    : QDialog(parent), Prompts(StandardSetDataPrompts()), d(inc), shell_(shell), lists_(shell.nameLists()) {
    setWindowTitle(U8(SetDataMsg::ChannelCaption));
    setModal(false);
    // The left column shows what the channel holds now each time the operator comes back.
    new ActivationRefresh(this, [this] { Form_Activate(); });

    SaveLoad_CHname = new QComboBox(this);
    SaveLoad_CHname->addItems(ChannelNames());
    SaveLoad_CHname->setMinimumWidth(200);
    connect(SaveLoad_CHname, &QComboBox::currentIndexChanged, this, [this] { SaveLoad_CHname_Click(); });
    lists_.AddChannelList(SaveLoad_CHname, [this] { SaveLoad_CHname_Click(); });

    auto* pages = new QButtonGroup(this);
    const char* const optionCaptions[3] = {"標準項目", "加熱冷却制御項目", "DC入力項目"};
    auto* top = new QHBoxLayout;
    top->addWidget(SaveLoad_CHname);
    for (int i = 0; i < 3; ++i) {
        Option1[i] = new QRadioButton(U8(optionCaptions[i]), this);
        pages->addButton(Option1[i], i);
        top->addWidget(Option1[i]);
    }
    top->addStretch(1);
    connect(pages, &QButtonGroup::idClicked, this, &SubDisp_SaveLoad::Option1_Click);

    const QString work = QStringLiteral("ﾜｰｸﾃﾞｰﾀ領域");
    std::array<QGroupBox*, 2>* pairs[3] = {&Frame1, &Frame2, &Frame3};
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    for (int p = 0; p < 3; ++p) {
        (*pairs[p])[0] = BuildFrame(this, QString(), p, Labeldata);
        (*pairs[p])[1] = BuildFrame(this, work, p, Labeldata_work);
        left->addWidget((*pairs[p])[0]);
        right->addWidget((*pairs[p])[1]);
    }

    QVBoxLayout* buttons = BuildMoveSaveLoadButtons(this, Command1, [this](int i) { Command1_Click(i); });

    auto* middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    middle->addLayout(buttons);
    middle->addLayout(right, 1);

    Msg_Label = new QLabel(this);
    Msg_Label->setWordWrap(true);
    Msg_Label->setStyleSheet(QStringLiteral("QLabel { color: rgb(255,0,0); }"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addWidget(Msg_Label);

    shell_.OnBulkWriteFinished(this, [this] { BulkWriteFinished(); });
    ShowPage(StandardPage);
    Unload();
}

int SubDisp_SaveLoad::SelectedChannel() const { return ListIndexOrZero(SaveLoad_CHname->currentIndex()); }

void SubDisp_SaveLoad::Open() {
    lists_.RefreshNameLists(NameLists::ChannelNamesChanged);
    SetListIndexQuietly(SaveLoad_CHname, 0);
    show();
    raise();
    activateWindow();
    Form_Activate();
}

void SubDisp_SaveLoad::Form_Activate() {
    SaveLoad_CHname_Click();
    ShowPage(StandardPage);
}

void SubDisp_SaveLoad::ShowPage(int index) {
    if (index < StandardPage || index > DcInputPage) return;
    page_ = index;
    Option1[index]->setChecked(true);
    std::array<QGroupBox*, 2>* pairs[3] = {&Frame1, &Frame2, &Frame3};
    for (int p = 0; p < 3; ++p)
        for (QGroupBox* frame : *pairs[p]) frame->setVisible(p == index);
}

void SubDisp_SaveLoad::Option1_Click(int index) {
    if (index >= 0 && index < 3 && Option1[index]->isEnabled()) ShowPage(index);
}

void SubDisp_SaveLoad::SaveLoad_CHname_Click() {
    const int c = SelectedChannel();
    shown_ = TakeChannelTexts(d, c);
    for (int k = 0; k < ChannelFieldCount; ++k) Labeldata[k]->setText(shown_[k]);
    const bool cooling = (quint16(d.ChOption[c]) & OptionBit::Cooling) != 0;
    Option1[CoolingPage]->setEnabled(cooling);
    if (!cooling) ShowPage(StandardPage);
    const bool linear = IsLinearInput(d, c);
    Option1[DcInputPage]->setEnabled(linear);
    if (!linear) ShowPage(StandardPage);
}

void SubDisp_SaveLoad::Command1_Click(int index) {
    switch (index) {
    case MoveToWorkButton: MoveToWork(); break;
    case MoveToChannelButton: MoveToChannel(); break;
    case SaveButton: SaveWork(); break;
    case LoadButton: LoadWork(); break;
    case ReturnButton: ReturnClick(); break;
    default: break;
    }
}

void SubDisp_SaveLoad::ShowWorkTexts() {
    for (int k = 0; k < ChannelFieldCount; ++k) Labeldata_work[k]->setText(workTexts_[k]);
    workFilled_ = true;
    Command1[MoveToChannelButton]->setEnabled(true);
    Command1[SaveButton]->setEnabled(true);
}

void SubDisp_SaveLoad::MoveToWork() {
    const int c = SelectedChannel();
    if (d.ChPresent[c] == 0) {
        Msg_Label->setText(U8(SetDataMsg::ChannelNotConnectedTake));
        return;
    }
    workTexts_ = shown_;
    Msg_Label->clear();
    ShowWorkTexts();
}

void SubDisp_SaveLoad::MoveToChannel() {
    if (!workFilled_) return;
    const int c = SelectedChannel();
    if (d.ChPresent[c] == 0) {
        Msg_Label->setText(U8(SetDataMsg::ChannelNotConnectedPut));
        return;
    }
    if (AnyAutoTuning(d, c, 1)) {
        Prompts.Tell(this, U8(SetDataMsg::AutoTuningLoad));
        return;
    }
    if (LoadRefused(shell_, Prompts, this)) return;
    Msg_Label->clear();
    if (!Prompts.Ask(this, U8(SetDataMsg::ChannelOverwrite), AskIcon::Warning)) return;
    const quint32 kept = ApplyChannelTexts(d, c, workTexts_);
    // A text the channel could not take leaves its table alone; the left column then
    // shows what the channel really holds rather than the refused text.
    const ChannelTexts held = kept ? TakeChannelTexts(d, c) : ChannelTexts{};
    for (int k = 0; k < ChannelFieldCount; ++k) {
        shown_[k] = (kept & (quint32(1) << k)) ? held[k] : workTexts_[k];
        Labeldata[k]->setText(shown_[k]);
    }
    EnableButtons(false);
    RequestBlockWrite(shell_, c / ChannelsPerBlock);
}

void SubDisp_SaveLoad::SaveWork() {
    if (!workFilled_) return;
    const int c = SelectedChannel();
    if (AnyAutoTuning(d, c, 1)) {
        Prompts.Tell(this, U8(SetDataMsg::AutoTuningSave));
        return;
    }
    // Texts the file could not give back (a double quote in the unit, say) are refused
    // before the operator picks a file.
    const ChannelFileBytes encoded = EncodeChannelFile(workTexts_);
    SaveEncodedToChosenFile(Prompts, this, encoded.outcome, encoded.bytes);
}

void SubDisp_SaveLoad::LoadWork() {
    const QString path = ChooseLoadSource(Prompts, this);
    if (path.isEmpty()) return;
    const ChannelFileRead read = ReadChannelFile(path);
    if (read.outcome.status == SetDataStatus::WrongSizeClass) {
        Prompts.Tell(this, U8(SetDataMsg::NotChannelData));
        return;
    }
    if (!read.outcome.ok()) {
        Prompts.Tell(this, SetDataOutcomeMessage(read.outcome));
        return;
    }
    Msg_Label->clear();
    workTexts_ = read.texts;
    ShowWorkTexts();
}

void SubDisp_SaveLoad::ReturnClick() {
    lists_.RefreshNameLists(NameLists::StartUp);
    Unload();
}

void SubDisp_SaveLoad::closeEvent(QCloseEvent* event) {
    Unload();
    event->accept();
}

void SubDisp_SaveLoad::EnableButtons(bool enabled) {
    for (QPushButton* b : Command1) b->setEnabled(enabled);
}

void SubDisp_SaveLoad::BulkWriteFinished() {
    EnableButtons(true);
    // An emptied work area (the dialog was unloaded meanwhile) has nothing to copy or save.
    Command1[MoveToChannelButton]->setEnabled(workFilled_);
    Command1[SaveButton]->setEnabled(workFilled_);
}

void SubDisp_SaveLoad::Unload() {
    workTexts_ = {};
    workFilled_ = false;
    for (QLabel* l : Labeldata_work) l->clear();
    Msg_Label->clear();
    EnableButtons(true);
    Command1[MoveToChannelButton]->setEnabled(false);
    Command1[SaveButton]->setEnabled(false);
    hide();
}
