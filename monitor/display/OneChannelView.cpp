#include "display/OneChannelView.h"

#include "display/NameLists.h"
#include "services/SettingsStore.h"
#include "controls/MV_BerGraph.h"
#include "format/DisplayTables.h"
#include "display/Lamp.h"
#include "format/ValueFormat.h"
#include "display/ContactMark.h"
#include "display/ViewLabels.h"
#include "display/ViewParts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Bar colours as the bar control takes them: red in the lowest byte, blue in the third.
constexpr qint32 HeatingBarColor = 0xFF0000;  // blue
constexpr qint32 CoolingBarColor = 0x00FFFF;  // yellow

QLabel* ValueField(QWidget* parent) {
    QLabel* l = NewValueLabel(parent);
    l->setMinimumWidth(90);
    l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return l;
}

// A frame's fields stay at their own height and gather at the top of the frame.
QGridLayout* FrameGrid(QGroupBox* frame) {
    auto* g = new QGridLayout(frame);
    g->setAlignment(Qt::AlignTop);
    return g;
}

QLabel* Caption(const char* text, QWidget* parent) {
    return new QLabel(QString::fromUtf8(text), parent);
}

// One line of a frame: caption, value field and, when given, a unit label.
QLabel* AddField(QGridLayout* g, int row, const char* caption, QWidget* frame,
                 QLabel* unit = nullptr) {
    g->addWidget(Caption(caption, frame), row, 0);
    QLabel* field = ValueField(frame);
    g->addWidget(field, row, 1);
    if (unit) g->addWidget(unit, row, 2);
    return field;
}

Lamp* AddLamp(QGridLayout* g, int row, const char* caption, QWidget* frame) {
    g->addWidget(Caption(caption, frame), row, 0);
    auto* lamp = new Lamp(frame);
    g->addWidget(lamp, row, 1, Qt::AlignLeft);
    return lamp;
}

void SetLamp(Lamp* lamp, bool on, const QColor& onColor) {
    lamp->setColor(on ? onColor : Lamp::White());
}

}  // namespace

OneChannelView::OneChannelView(RDX_INC& data, QWidget* parent) : TabView(parent), d(data) {
    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(Caption("ﾁｬﾝﾈﾙ選択", this));
    tb3_CHName = new QComboBox(this);
    tb3_CHName->setMinimumWidth(160);
    top->addWidget(tb3_CHName);
    tb3_Contact = new ContactMark(this);
    top->addWidget(tb3_Contact);
    top->addStretch(1);
    outer->addLayout(top);
    BuildFrames();
    tb3_CHName->addItems(ChannelNames());
    tb3_CHName->setCurrentIndex(0);
    connect(tb3_CHName, &QComboBox::currentIndexChanged, this, [this] { tb3_CHName_Click(); });
    valueBoxes_ = findChildren<ValueLabel*>();
    lamps_ = findChildren<Lamp*>();
}

void OneChannelView::BuildFrames() {
    for (int i = 0; i < 11; ++i) Label_CF[i] = new QLabel(QStringLiteral("ﾟC"), this);
    BuildFrame1();
    BuildFrame2();
    BuildAlarmFrames();
    BuildLowerFrames();

    Label14[0] = new QLabel(QStringLiteral("このﾁｬﾝﾈﾙはRDX-410が未接続です。"), this);
    Label14[1] = new QLabel(
        QStringLiteral("このﾁｬﾝﾈﾙのRDX-410は加熱冷却ユニットの為、チャンネルが無効となります。"),
        this);
    for (QLabel* l : Label14) {
        QFont f = l->font();
        f.setPointSize(f.pointSize() + 4);
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
        l->hide();
    }

    // The frames and the two messages share one area: a channel that cannot be shown
    // hides every frame, and the message takes their place.
    auto* area = new QGridLayout;
    area->addWidget(Frame1, 0, 0);
    area->addWidget(Frame3, 1, 0);
    area->addWidget(Frame4, 2, 0);
    area->addWidget(Frame2, 0, 1, 2, 1);
    area->addWidget(Frame5, 2, 1);
    area->addWidget(Frame6, 0, 2);
    area->addWidget(Frame7, 1, 2);
    area->addWidget(Frame8, 2, 2);
    area->addWidget(Label14[0], 0, 0, 3, 3, Qt::AlignCenter);
    area->addWidget(Label14[1], 0, 0, 3, 3, Qt::AlignCenter);
    static_cast<QVBoxLayout*>(layout())->addLayout(area);
    static_cast<QVBoxLayout*>(layout())->addStretch(1);
}

void OneChannelView::BuildFrame1() {
    Frame1 = new QGroupBox(QStringLiteral("制御情報"), this);
    auto* g = FrameGrid(Frame1);
    Text_PV = AddField(g, 0, "PV値", Frame1, Label_CF[0]);
    Text_SV = AddField(g, 1, "SV値", Frame1, Label_CF[1]);
    Command_1channe_sv = new QPushButton(QStringLiteral("SV変更"), Frame1);
    Command_1channe_sv->setToolTip(
        QStringLiteral("このﾎﾞﾀﾝを押すと設定値変更画面が表示されます。"));
    g->addWidget(Command_1channe_sv, 1, 3);
    g->addWidget(Caption("入力ﾚﾝｼﾞ", Frame1), 2, 0);
    Label11 = new QLabel(Frame1);
    g->addWidget(Label11, 2, 1, 1, 3);
    Lamp_up = AddLamp(g, 3, "ｱｯﾌﾟｽｹｰﾙ警報", Frame1);
    Lamp_down = AddLamp(g, 4, "ﾀﾞｳﾝｽｹｰﾙ警報", Frame1);
    connect(Command_1channe_sv, &QPushButton::clicked, this,
            [this] { emit svChangeRequested(Channel()); });
}

void OneChannelView::BuildFrame2() {
    Frame2 = new QGroupBox(QStringLiteral("出力操作量情報"), this);
    auto* g = FrameGrid(Frame2);
    Text_MV[0] = AddField(g, 0, "主出力操作量(MV)", Frame2, new QLabel(QStringLiteral("%"), Frame2));
    MV_BerGraph1 = new MV_BerGraph(Frame2);
    g->addWidget(MV_BerGraph1, 1, 0, 1, 3);
    g->addWidget(Caption("Control", Frame2), 2, 0);
    Lamp_CONT[0] = new Lamp(Frame2);
    g->addWidget(Lamp_CONT[0], 2, 1, Qt::AlignLeft);

    Label59 = Caption("冷却出力操作量(MV)", Frame2);
    g->addWidget(Label59, 3, 0);
    Text_MV[1] = ValueField(Frame2);
    g->addWidget(Text_MV[1], 3, 1);
    MV_BerGraph2 = new MV_BerGraph(Frame2);
    g->addWidget(MV_BerGraph2, 4, 0, 1, 3);
    Label58 = Caption("Control", Frame2);
    g->addWidget(Label58, 5, 0);
    Lamp_CONT[1] = new Lamp(Frame2);
    g->addWidget(Lamp_CONT[1], 5, 1, Qt::AlignLeft);

    Text_HLIM = AddField(g, 6, "制御出力上限設定値", Frame2, new QLabel(QStringLiteral("%"), Frame2));
    Text_LLIM = AddField(g, 7, "制御出力下限設定値", Frame2, new QLabel(QStringLiteral("%"), Frame2));
    Lamp_AT = AddLamp(g, 8, "PIDｵｰﾄﾁｭｰﾆﾝｸﾞ動作", Frame2);
    Label_HEETCOOL = new QLabel(Frame2);
    g->addWidget(Label_HEETCOOL, 9, 0);
    Label_OUTOFF = new QLabel(Frame2);
    g->addWidget(Label_OUTOFF, 10, 0);
    tb3_OUTOFF = new QPushButton(QStringLiteral("制御ON/OFF"), Frame2);
    g->addWidget(tb3_OUTOFF, 10, 1);
    connect(tb3_OUTOFF, &QPushButton::clicked, this,
            [this] { emit outputSwitchRequested(Channel()); });
}

void OneChannelView::BuildAlarmFrames() {
    Frame3 = new QGroupBox(QStringLiteral("警報1情報"), this);
    auto* g3 = FrameGrid(Frame3);
    Text_A1 = AddField(g3, 0, "警報1設定値", Frame3, Label_CF[2]);
    Text_A1HYS = AddField(g3, 1, "警報1動作ｽｷﾏ", Frame3, Label_CF[3]);
    Text_A1ACT = AddField(g3, 2, "警報1動作", Frame3);
    Lamp_A1 = AddLamp(g3, 3, "警報1状態", Frame3);

    Frame4 = new QGroupBox(QStringLiteral("警報2情報"), this);
    auto* g4 = FrameGrid(Frame4);
    Text_A2 = AddField(g4, 0, "警報2設定値", Frame4, Label_CF[4]);
    Text_A2HYS = AddField(g4, 1, "警報2動作ｽｷﾏ", Frame4, Label_CF[5]);
    Text_A2ACT = AddField(g4, 2, "警報2動作", Frame4);
    Lamp_A2 = AddLamp(g4, 3, "警報2状態", Frame4);

    Frame5 = new QGroupBox(QStringLiteral("ﾋｰﾀ断線警報情報"), this);
    auto* g5 = FrameGrid(Frame5);
    Text_MHB = AddField(g5, 0, "ﾋｰﾀ電流値", Frame5, new QLabel(QStringLiteral("A"), Frame5));
    Text_SHB = AddField(g5, 1, "ﾋｰﾀ断線警報設定値", Frame5, new QLabel(QStringLiteral("A"), Frame5));
    Lamp_HB = AddLamp(g5, 2, "ﾋｰﾀ断線警報状態", Frame5);
}

void OneChannelView::BuildLowerFrames() {
    Frame6 = new QGroupBox(QStringLiteral("ﾙｰﾌﾟ異常警報情報"), this);
    auto* g6 = FrameGrid(Frame6);
    Text_LPTIM = AddField(g6, 0, "ﾙｰﾌﾟ異常警報動作時間設定値", Frame6);
    Text_LPHYS = AddField(g6, 1, "ﾙｰﾌﾟ異常警報動作巾設定値", Frame6, Label_CF[6]);
    Lamp_LP = AddLamp(g6, 2, "ﾙｰﾌﾟ異常警報状態", Frame6);

    Frame7 = new QGroupBox(QStringLiteral("その他の情報"), this);
    auto* g7 = FrameGrid(Frame7);
    Text_P = AddField(g7, 0, "比例帯設定値", Frame7);
    Text_I = AddField(g7, 1, "積分時間設定値", Frame7);
    Text_D = AddField(g7, 2, "微分時間設定値", Frame7);
    Text_ARW = AddField(g7, 3, "ｱﾝﾁﾘｾｯﾄﾜｲﾝﾄﾞｱｯﾌﾟ設定値", Frame7);
    Text_CYC = AddField(g7, 4, "比例周期設定値", Frame7);
    Text_PD = AddField(g7, 5, "PD(手動)ﾘｾｯﾄ設定値", Frame7, Label_CF[7]);
    Text_HYS = AddField(g7, 6, "主出力ON/OFF動作すきま設定値", Frame7, Label_CF[8]);
    Text_FILT = AddField(g7, 7, "入力ﾌｨﾙﾀ設定値", Frame7);
    Text_SO = AddField(g7, 8, "ｾﾝｻ補正設定値", Frame7, Label_CF[9]);

    Frame8 = new QGroupBox(QStringLiteral("冷却出力情報"), this);
    auto* g8 = FrameGrid(Frame8);
    Cool[0] = AddField(g8, 0, "冷却比例帯設定値", Frame8);
    Cool[1] = AddField(g8, 1, "冷却比例周期設定値", Frame8);
    Cool[2] = AddField(g8, 2, "冷却動作モード選択値", Frame8);
    Cool[3] = AddField(g8, 3, "ｵｰﾊﾞｰﾗｯﾌﾟﾊﾞﾝﾄﾞ／ﾃﾞｯﾄﾞﾊﾞﾝﾄﾞ設定値", Frame8, Label_CF[10]);
    Cool[4] = AddField(g8, 4, "冷却出力ON/OFF動作すきま設定値", Frame8);
}

int OneChannelView::Channel() const {
    return ListIndexOrZero(tb3_CHName->currentIndex(), ChannelCount);
}

void OneChannelView::tb3_CHName_Click() {
    SaveSetting(QStringLiteral("tab3name"), QString::number(tb3_CHName->currentIndex()));
}

void OneChannelView::RegisterNames(NameLists& lists) {
    lists.AddChannelList(tb3_CHName, [this] { tb3_CHName_Click(); });
}

void OneChannelView::Refresh() {
    const int c = Channel();
    const bool cooling = d.ChOption[c] & OptionBit::Cooling;
    // The second channel of a heating/cooling pair carries the pair's cooling output.
    const bool shown = d.ChPresent[c] != 0 && !(cooling && (c % 2) == 1);
    SetVisibility(c, shown);
    FillControlFields(c);
    FillCoolingOutput(c);
    FillAlarmFields(c);
    FillLowerFields(c, shown);
    ShowContact(c);
}

void OneChannelView::ShowContact(int c) {
    const bool silent = OutOfContact(d, c);
    tb3_Contact->setOutOfContact(silent);
    const ValueMark mark = silent ? ValueMark::OutOfContact : ValueMark::None;
    for (ValueLabel* value : valueBoxes_) value->setMark(mark);
    for (Lamp* lamp : lamps_) lamp->setStale(silent);
}

void OneChannelView::SetVisibility(int c, bool shown) {
    for (QGroupBox* f : {Frame1, Frame2, Frame3, Frame4, Frame6, Frame7}) f->setVisible(shown);
    // The messages sit where the frames are, so they are hidden whenever the frames show.
    Label14[0]->setVisible(!shown && d.ChPresent[c] == 0);
    Label14[1]->setVisible(!shown && d.ChPresent[c] != 0);
}

void OneChannelView::FillControlFields(int c) {
    const QString unit = UnitLabelText(d, c);
    for (QLabel* l : Label_CF) l->setText(unit);
    Label11->setText(MakeRange(d, c));
    const quint16 status = quint16(d.ChStatus[c]);
    Text_PV->setText(FormatItemValue(d, 0, c));
    Text_SV->setText(FormatItemValue(d, 3, c));
    SetLamp(Lamp_up, status & StatusBit::OverScale, Lamp::Red());
    SetLamp(Lamp_down, status & StatusBit::UnderScale, Lamp::Red());
    Text_MV[0]->setText(FormatItemValue(d, 1, c));
    MV_BerGraph1->setMvColor(HeatingBarColor);
    MV_BerGraph1->setMvValue(d.ChHeatMV[c]);
    Text_HLIM->setText(FormatItemValue(d, 18, c));
    Text_LLIM->setText(FormatItemValue(d, 19, c));
    Label_HEETCOOL->setText(d.ChAction[c] != 0 ? QStringLiteral("冷却(正動作)")
                                               : QStringLiteral("加熱(逆動作)"));
    Label_OUTOFF->setText((status & StatusBit::OutputOn) ? QStringLiteral("制御出力 ON")
                                                         : QStringLiteral("制御出力 OFF"));
    SetLamp(Lamp_CONT[0], status & StatusBit::Control, Lamp::Green());
    SetLamp(Lamp_AT, status & StatusBit::AutoTuning, Lamp::Yellow());
}

void OneChannelView::FillCoolingOutput(int c) {
    const bool cooling = d.ChOption[c] & OptionBit::Cooling;
    // The last channel has no partner: nothing to show as its cooling output.
    const bool shown = cooling && c + 1 < ChannelCount;
    for (QWidget* w : std::initializer_list<QWidget*>{Label58, Label59, Text_MV[1], Lamp_CONT[1],
                                                      MV_BerGraph2})
        w->setVisible(shown);
    if (!shown) return;
    const int partner = c + 1;
    Text_MV[1]->setText(FormatItemValue(d, 1, partner));
    SetLamp(Lamp_CONT[1], quint16(d.ChStatus[partner]) & StatusBit::Control, Lamp::Yellow());
    MV_BerGraph2->setMvColor(CoolingBarColor);
    MV_BerGraph2->setMvValue(d.ChHeatMV[partner]);
}

void OneChannelView::FillAlarmFields(int c) {
    const quint16 status = quint16(d.ChStatus[c]);
    Text_A1->setText(FormatItemValue(d, 4, c));
    Text_A1HYS->setText(FormatItemValue(d, 14, c));
    Text_A1ACT->setText(AlarmTypeName(d.ChAlarm1Type[c]));
    SetLamp(Lamp_A1, status & StatusBit::Alarm1, Lamp::Red());
    Text_A2->setText(FormatItemValue(d, 5, c));
    Text_A2HYS->setText(FormatItemValue(d, 15, c));
    Text_A2ACT->setText(AlarmTypeName(d.ChAlarm2Type[c]));
    SetLamp(Lamp_A2, status & StatusBit::Alarm2, Lamp::Red());
}

void OneChannelView::FillLowerFields(int c, bool shown) {
    const quint16 status = quint16(d.ChStatus[c]);
    const quint16 option = quint16(d.ChOption[c]);
    // Frames 5 and 8 also stay away while a message stands in for the channel.
    if (shown && (option & OptionBit::HeaterBreak)) {
        Frame5->show();
        Text_MHB->setText(FormatItemValue(d, 2, c));
        Text_SHB->setText(FormatItemValue(d, 6, c));
        SetLamp(Lamp_HB, status & StatusBit::HeaterBreak, Lamp::Red());
    } else {
        Frame5->hide();
    }

    Text_LPTIM->setText(FormatItemValue(d, 24, c));
    Text_LPHYS->setText(FormatItemValue(d, 25, c));
    SetLamp(Lamp_LP, status & StatusBit::LoopBreak, Lamp::Red());
    const std::array<std::pair<QLabel*, int>, 9> others{{{Text_P, 7}, {Text_I, 8}, {Text_D, 9},
                                                         {Text_ARW, 10}, {Text_CYC, 11},
                                                         {Text_PD, 12}, {Text_HYS, 13},
                                                         {Text_FILT, 20}, {Text_SO, 21}}};
    for (const auto& [field, item] : others) field->setText(FormatItemValue(d, item, c));

    if (!shown || !(option & OptionBit::Cooling) || (c % 2) == 1) {
        Frame8->hide();
        return;
    }
    Frame8->show();
    const std::array<int, 5> coolItems{26, 27, 29, 28, 30};
    for (int i = 0; i < 5; ++i) Cool[i]->setText(FormatItemValue(d, coolItems[i], c));
}
