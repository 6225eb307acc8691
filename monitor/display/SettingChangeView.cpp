#include "display/SettingChangeView.h"

#include "display/NameLists.h"
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

#include <optional>

namespace {

constexpr int RowHeight = 26;
constexpr int RowSpacing = 2;
// The "変更" buttons: narrow, so that the notes beside them show whole.
constexpr int ChangeButtonWidth = 52;
constexpr int RowsPerColumn = SettingChangeView::RowCount / 2;

// Row controls keep their place when hidden, so the three columns of a row stay aligned.
template <class W>
W* Retained(W* w) {
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
    return w;
}

template <class W>
W* RowWidget(W* w) {
    w->setFixedHeight(RowHeight);
    return Retained(w);
}

QLabel* FixedValueLabel(QWidget* parent, int width) {
    QLabel* l = RowWidget(NewValueLabel(parent));
    l->setFixedWidth(width);
    return l;
}

QGridLayout* PanelGrid(QWidget* panel) {
    auto* g = new QGridLayout(panel);
    g->setContentsMargins(0, 0, 0, 0);
    g->setVerticalSpacing(RowSpacing);
    return g;
}

QVBoxLayout* RowColumn() {
    auto* v = new QVBoxLayout;
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(RowSpacing);
    return v;
}

bool IsChoiceSetting(int s) {
    return s == 14 || s == 15 || s == 20 || s == 21 || s == 28 || s == 34 || s == 35;
}

// Display item of a numeric setting; none for a choice or a switch.
std::optional<int> NumericItem(int s) {
    if ((s >= 1 && s <= 13) || (s >= 16 && s <= 19) || s == 22 || s == 23) return s + 2;
    if (s >= 25 && s <= 27) return s + 1;
    switch (s) {
    case 29: return 30;
    case 30: return 35;
    case 31: return 36;
    case 32: return 31;
    case 33: return 32;
    default: return std::nullopt;
    }
}

}  // namespace

SettingChangeView::SettingChangeView(RDX_INC& data, QWidget* parent) : TabView(parent), d(data) {
    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("ﾌﾞﾛｯｸ選択"), this));
    tb4_BName = new QComboBox(this);
    tb4_BName->setMinimumWidth(160);
    top->addWidget(tb4_BName);
    tb4_Contact = new ContactMark(this);
    top->addWidget(tb4_Contact);
    top->addStretch(1);
    outer->addLayout(top);

    Frame_main = new QGroupBox(this);
    auto* columns = new QHBoxLayout(Frame_main);
    columns->setContentsMargins(8, 4, 8, 8);
    columns->addWidget(BuildColumn(0), 1);
    columns->addSpacing(16);
    columns->addWidget(BuildColumn(1), 1);
    outer->addWidget(Frame_main);
    outer->addStretch(1);

    ShowPanel(0);
    tb4_BName->addItems(BlockNames());
    tb4_BName->setCurrentIndex(0);
    connect(tb4_BName, &QComboBox::currentIndexChanged, this, [this] { tb4_BName_Click(); });
    tb4_BName_Click();
}

QWidget* SettingChangeView::BuildColumn(int column) {
    auto* box = new QWidget(Frame_main);
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    auto* names = RowColumn();
    auto* notes = RowColumn();
    auto* panelArea = new QGridLayout;
    panelArea->setContentsMargins(0, 0, 0, 0);
    auto& panels = column == 0 ? Frame_sub1 : Frame_sub2;
    for (int k = 0; k < PanelCount; ++k) {
        panels[k] = new QWidget(box);
        PanelGrid(panels[k]);
        // The three panels take the same place; one of them is shown at a time.
        panelArea->addWidget(panels[k], 0, 0, Qt::AlignTop);
    }
    for (int r = 0; r < RowsPerColumn; ++r) {
        const int row = column * RowsPerColumn + r;
        // Long names and notes are shortened (whole in their tool tips), never the window
        // widened.
        label_setdata[row] = RowWidget(NewNameLabel(box));
        label_setdata[row]->setFixedWidth(90);
        names->addWidget(label_setdata[row]);
        BuildRowPanels(row, panels);
        settin_inf[row] = RowWidget(NewNameLabel(box));
        settin_inf[row]->setMinimumWidth(80);
        notes->addWidget(settin_inf[row]);
    }
    names->addStretch(1);
    notes->addStretch(1);
    h->addLayout(names);
    h->addLayout(panelArea);
    h->addLayout(notes, 1);
    return box;
}

void SettingChangeView::BuildRowPanels(int row, const std::array<QWidget*, PanelCount>& panels) {
    const int r = row % RowsPerColumn;
    const QString tip = QStringLiteral("このﾎﾞﾀﾝを押すと設定値変更画面が表示されます。");

    auto* numeric = static_cast<QGridLayout*>(panels[0]->layout());
    Setdata_Para[row] = FixedValueLabel(panels[0], 90);
    Command_change[row] = RowWidget(new QPushButton(QStringLiteral("変更"), panels[0]));
    Command_change[row]->setFixedWidth(ChangeButtonWidth);
    Command_change[row]->setToolTip(tip);
    numeric->addWidget(Setdata_Para[row], r, 0);
    numeric->addWidget(Command_change[row], r, 1);

    auto* choice = static_cast<QGridLayout*>(panels[1]->layout());
    Select_comand[row] = FixedValueLabel(panels[1], 136);
    Select_comand[row]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Command_change2[row] = RowWidget(new QPushButton(QStringLiteral("変更"), panels[1]));
    Command_change2[row]->setFixedWidth(ChangeButtonWidth);
    Command_change2[row]->setToolTip(tip);
    choice->addWidget(Select_comand[row], r, 0);
    choice->addWidget(Command_change2[row], r, 1);

    auto* sw = static_cast<QGridLayout*>(panels[2]->layout());
    Command_OUT[row] = RowWidget(new QPushButton(QStringLiteral("制御 ON/OFF"), panels[2]));
    Shape_OUT[row] = Retained(new Lamp(panels[2]));
    Command_AT[row] = RowWidget(new QPushButton(QStringLiteral("AT ON/OFF"), panels[2]));
    Shape_AT[row] = Retained(new Lamp(panels[2]));
    sw->setRowMinimumHeight(r, RowHeight);
    sw->addWidget(Command_OUT[row], r, 0);
    sw->addWidget(Shape_OUT[row], r, 1);
    sw->addWidget(Command_AT[row], r, 2);
    sw->addWidget(Shape_AT[row], r, 3);

    connect(Command_change[row], &QPushButton::clicked, this, [this, row] {
        emit settingChangeRequested(row, 20 * Block() + row, d.SelectedItem);
    });
    connect(Command_change2[row], &QPushButton::clicked, this, [this, row] {
        emit choiceChangeRequested(row, 20 * Block() + row, d.SelectedItem);
    });
    connect(Command_OUT[row], &QPushButton::clicked, this,
            [this, row] { emit outputSwitchRequested(row, 20 * Block() + row); });
    connect(Command_AT[row], &QPushButton::clicked, this,
            [this, row] { emit autoTuningSwitchRequested(row, 20 * Block() + row); });
}

int SettingChangeView::Block() const {
    return ListIndexOrZero(tb4_BName->currentIndex(), BlockCount);
}

std::array<QWidget*, 9> SettingChangeView::RowControls(int i) const {
    return {Select_comand[i], Command_change2[i], Setdata_Para[i], Command_change[i], settin_inf[i],
            Command_OUT[i],   Command_AT[i],      Shape_OUT[i],    Shape_AT[i]};
}

void SettingChangeView::tb4_BName_Click() {
    const int base = 20 * Block();
    const int s = d.SelectedItem;
    for (int i = 0; i < RowCount; ++i) {
        const int c = base + i;
        label_setdata[i]->setText(ChannelName(c));
        const bool present = d.ChPresent[c] != 0;
        for (QWidget* w : std::initializer_list<QWidget*>{Setdata_Para[i], Command_change[i],
                                                          Select_comand[i], Command_change2[i],
                                                          Command_OUT[i], Command_AT[i]})
            w->setEnabled(present);
        const bool cooling = d.ChOption[c] & OptionBit::Cooling;
        const bool hidden = (!cooling && s >= 25 && s <= 29) || (cooling && (i % 2) == 1) ||
                            (s >= 32 && s <= 35 && !IsLinearInput(d, c));
        for (QWidget* w : RowControls(i)) w->setVisible(!hidden);
        // The unit is shown and changed on the first channel of each pair.
        if (s == 21 && (i % 2) == 1) {
            Select_comand[i]->hide();
            Command_change2[i]->hide();
        }
    }
}

QString SettingChangeView::ShownValue(int s, int c) const {
    if (const std::optional<int> item = NumericItem(s)) return FormatItemValue(d, *item, c);
    switch (s) {
    case 14: return AlarmTypeName(d.ChAlarm1Type[c]);
    case 15: return AlarmTypeName(d.ChAlarm2Type[c]);
    case 20: return FormatItemValue(d, 22, c);
    case 21: return TempUnitName(d.ChUnitShown[c]);
    case 28: return FormatItemValue(d, 29, c);
    case 34: return FormatItemValue(d, 33, c);
    case 35: return FormatItemValue(d, 34, c);
    default: return QString();
    }
}

QString SettingChangeView::SettingNote(const RDX_INC& d, int s, int c, int row) {
    if (c < 0 || c >= ChannelCount) return QString();
    const quint16 option = quint16(d.ChOption[c]);
    QString note;
    if ((s == 2 && d.ChAlarm1Type[c] == 0) || (s == 3 && d.ChAlarm2Type[c] == 0))
        note = QStringLiteral("設定不可：警報動作なし。");
    else if (s == 4 && !(option & OptionBit::HeaterBreak))
        note = QStringLiteral("設定不可：ﾋｰﾀ断線ｵﾌﾟｼｮﾝなし。");
    else if (s >= 25 && s <= 29 && !(option & OptionBit::Cooling))
        note = QStringLiteral("設定不可：加熱冷却出力機能なし。");
    else if (s >= 25 && s <= 29 && (row % 2) == 1)
        note = QStringLiteral("設定不可");
    else if (s >= 32 && s <= 35 && !IsLinearInput(d, c))
        note = QStringLiteral("設定不可：入力仕様が違います。");
    if (quint16(d.ChStatus[c]) & StatusBit::AutoTuning) note = QStringLiteral("設定不可：ＡＴ中。");
    if (d.ChPresent[c] == 0) note = QStringLiteral("RDX-410が未接続のﾁｬﾝﾈﾙ。");
    return note;
}

void SettingChangeView::Refresh() {
    const int base = 20 * Block();
    const int s = d.SelectedItem;
    const bool silent = d.BlockOutOfContact[size_t(Block())];
    tb4_Contact->setOutOfContact(silent);
    const ValueMark mark = silent ? ValueMark::OutOfContact : ValueMark::None;
    for (int i = 0; i < RowCount; ++i) {
        SetValueMark(Setdata_Para[i], mark);
        SetValueMark(Select_comand[i], mark);
        Shape_OUT[i]->setStale(silent);
        Shape_AT[i]->setStale(silent);
    }
    if (s == 24) {
        // The switch panel shows lamps only; the notes stay as they are.
        for (int i = 0; i < RowCount; ++i) {
            const quint16 status = quint16(d.ChStatus[base + i]);
            Shape_OUT[i]->setColor((status & StatusBit::OutputOn) ? Lamp::Green() : Lamp::White());
            Shape_AT[i]->setColor((status & StatusBit::AutoTuning) ? Lamp::Yellow() : Lamp::White());
        }
        return;
    }
    const bool numeric = NumericItem(s).has_value();
    const bool choice = IsChoiceSetting(s);
    for (int i = 0; i < RowCount; ++i) {
        const int c = base + i;
        if (numeric) Setdata_Para[i]->setText(ShownValue(s, c));
        else if (choice) Select_comand[i]->setText(ShownValue(s, c));
        settin_inf[i]->setText(SettingNote(d, s, c, i));
    }
}

void SettingChangeView::ShowPanel(int panel) {
    for (int k = 0; k < PanelCount; ++k) {
        Frame_sub1[k]->setVisible(k == panel);
        Frame_sub2[k]->setVisible(k == panel);
    }
}

void SettingChangeView::SetFrameCaption(const QString& caption) { Frame_main->setTitle(caption); }

void SettingChangeView::ResetView() {
    ShowPanel(0);
    d.SelectedItem = 0;
    SetFrameCaption(QString());
    for (int i = 0; i < RowCount; ++i) {
        Setdata_Para[i]->clear();
        settin_inf[i]->clear();
    }
}

void SettingChangeView::RegisterNames(NameLists& lists) {
    lists.AddBlockList(tb4_BName, [this] { tb4_BName_Click(); });
    lists.AddRowLabels(tb4_BName, std::vector<QLabel*>(label_setdata.begin(), label_setdata.end()));
}
