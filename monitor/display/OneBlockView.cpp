#include "display/OneBlockView.h"

#include "display/NameLists.h"
#include "services/SettingsStore.h"
#include "display/Lamp.h"
#include "format/ValueFormat.h"
#include "display/ContactMark.h"
#include "display/ViewLabels.h"
#include "display/ViewParts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
enum Column { NameCol, PvCol, SvCol, Para1Col, Para2Col, Para3Col, OutCol, UnitCol, FirstLampCol };
}

OneBlockView::OneBlockView(RDX_INC& data, QWidget* parent) : TabView(parent), d(data) {
    auto* selectors = new QHBoxLayout;
    tb2_BName = NewBlockSelector(this);
    selectors->addWidget(tb2_BName, 2);
    tb2_Contact = new ContactMark(this);
    selectors->addWidget(tb2_Contact);
    for (int p = 0; p < 3; ++p) {
        tb2_Block_P[p] = NewItemSelector(this);
        selectors->addWidget(tb2_Block_P[p], 3);
    }

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(1);
    grid->setHorizontalSpacing(4);
    // Each heading stands over its own column: "PV", "SV", "Data1".."Data3" and the lamps
    // "CON A1  A2  HB  LP   SB  AT".
    const char* const valueHeadings[5] = {"PV", "SV", "Data1", "Data2", "Data3"};
    for (int v = 0; v < 5; ++v) {
        ValueHeading[v] = NewColumnHeading(QString::fromLatin1(valueHeadings[v]), this);
        grid->addWidget(ValueHeading[v], 0, PvCol + v);
    }
    const char* const lampHeadings[7] = {"CON", "A1", "A2", "HB", "LP", "SB", "AT"};
    for (int l = 0; l < 7; ++l) {
        LampHeading[l] = NewColumnHeading(QString::fromLatin1(lampHeadings[l]), this);
        grid->addWidget(LampHeading[l], 0, FirstLampCol + l, Qt::AlignHCenter);
    }
    for (int k = 0; k < Rows; ++k) {
        const int row = k + 1;
        tb2_label[k] = NewNameLabel(this);
        tb2_label[k]->setFixedHeight(BlockRowHeight);
        grid->addWidget(tb2_label[k], row, NameCol);
        Labels* values[] = {&tb2_PV, &tb2_SV, &tb2_Para1, &tb2_Para2, &tb2_Para3};
        for (int v = 0; v < 5; ++v) {
            QLabel* value = NewValueLabel(this);
            value->setFixedHeight(BlockRowHeight);
            value->setMinimumWidth(64);
            (*values[v])[k] = value;
            grid->addWidget(value, row, PvCol + v);
        }
        tb2_OUT[k] = NewOutputButton(this);
        grid->addWidget(tb2_OUT[k], row, OutCol);
        Tab2_Label_CF[k] = NewNameLabel(this);
        Tab2_Label_CF[k]->setMinimumWidth(24);
        grid->addWidget(Tab2_Label_CF[k], row, UnitCol);
        Lamps* lamps[] = {&tb2_staCONT, &tb2_staA1, &tb2_staA2, &tb2_staHB, &tb2_staLP, &tb2_staSB, &tb2_staAT};
        for (int l = 0; l < 7; ++l) {
            (*lamps[l])[k] = new Lamp(this);
            grid->addWidget((*lamps[l])[k], row, FirstLampCol + l, Qt::AlignHCenter);
        }
        connect(tb2_OUT[k], &QPushButton::clicked, this,
                [this, k] { emit outputSwitchRequested(ChannelsPerBlock * Block() + k); });
    }
    grid->setColumnStretch(NameCol, 3);
    for (int col = PvCol; col <= Para3Col; ++col) grid->setColumnStretch(col, 2);
    grid->setColumnStretch(UnitCol, 1);
    for (int l = 0; l < 7; ++l) grid->setColumnMinimumWidth(FirstLampCol + l, 24);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addLayout(selectors);
    layout->addLayout(grid);
    // Rows stay together under their headings; spare height goes below them.
    layout->addStretch(1);

    connect(tb2_BName, &QComboBox::currentIndexChanged, this, [this] { tb2_BName_Click(); });
    for (int p = 0; p < 3; ++p)
        connect(tb2_Block_P[p], &QComboBox::currentIndexChanged, this, [this, p] { tb2_Block_P_Click(p); });
}

int OneBlockView::Block() const {
    return ListIndexOrZero(tb2_BName->currentIndex(), BlockCount);
}

void OneBlockView::Refresh() {
    const int first = ChannelsPerBlock * Block();
    const int item1 = ListIndexOrZero(tb2_Block_P[0]->currentIndex());
    const int item2 = ListIndexOrZero(tb2_Block_P[1]->currentIndex());
    const int item3 = ListIndexOrZero(tb2_Block_P[2]->currentIndex());
    const bool silent = d.BlockOutOfContact[size_t(Block())];
    tb2_Contact->setOutOfContact(silent);
    const ValueMark mark = silent ? ValueMark::OutOfContact : ValueMark::None;
    for (int k = 0; k < Rows; ++k) {
        const int c = first + k;
        SetTextIfChanged(tb2_PV[k], FormatItemValue(d, 0, c));
        SetTextIfChanged(tb2_SV[k], FormatItemValue(d, 3, c));
        SetTextIfChanged(tb2_Para1[k], FormatItemValue(d, item1, c));
        SetTextIfChanged(tb2_Para2[k], FormatItemValue(d, item2, c));
        SetTextIfChanged(tb2_Para3[k], FormatItemValue(d, item3, c));
        tb2_staCONT[k]->setColor(StatusHas(d, c, StatusBit::Control) ? Lamp::Green() : Lamp::White());
        tb2_staA1[k]->setAlarm(StatusHas(d, c, StatusBit::Alarm1));
        tb2_staA2[k]->setAlarm(StatusHas(d, c, StatusBit::Alarm2));
        tb2_staSB[k]->setAlarm(StatusHas(d, c, ScaleOutMask));
        tb2_staLP[k]->setAlarm(StatusHas(d, c, StatusBit::LoopBreak));
        tb2_staHB[k]->setAlarm(StatusHas(d, c, StatusBit::HeaterBreak));
        tb2_staAT[k]->setColor(StatusHas(d, c, StatusBit::AutoTuning) ? Lamp::Yellow() : Lamp::White());
        for (QLabel* value : {tb2_PV[k], tb2_SV[k], tb2_Para1[k], tb2_Para2[k], tb2_Para3[k]}) SetValueMark(value, mark);
        for (Lamp* lamp : {tb2_staCONT[k], tb2_staA1[k], tb2_staA2[k], tb2_staHB[k], tb2_staLP[k], tb2_staSB[k],
                           tb2_staAT[k]})
            lamp->setStale(silent);
    }
}

void OneBlockView::tb2_BName_Click() {
    SaveSetting(QStringLiteral("tab2name"), QString::number(tb2_BName->currentIndex()));
    const int first = ChannelsPerBlock * Block();
    for (int k = 0; k < Rows; ++k) {
        const int c = first + k;
        SetTextIfChanged(tb2_label[k], ChannelName(c));
        SetTextIfChanged(tb2_OUT[k], OutputButtonCaption(d, c));
        SetTextIfChanged(Tab2_Label_CF[k], UnitLabelText(d, c));
    }
    ForEachChannelPair(d, first, Rows, [this](int k, bool present, bool hidden) {
        for (int j : {k - 1, k}) {
            for (QWidget* w : std::initializer_list<QWidget*>{tb2_PV[j], tb2_SV[j], tb2_Para1[j], tb2_Para2[j],
                                                              tb2_Para3[j], tb2_OUT[j], Tab2_Label_CF[j]})
                SetEnabledIfChanged(w, present);
        }
        for (QWidget* w : std::initializer_list<QWidget*>{
                 tb2_PV[k], tb2_SV[k], tb2_Para1[k], tb2_Para2[k], tb2_Para3[k], tb2_OUT[k], Tab2_Label_CF[k],
                 tb2_staCONT[k], tb2_staA1[k], tb2_staA2[k], tb2_staHB[k], tb2_staLP[k], tb2_staSB[k],
                 tb2_staAT[k]})
            SetHiddenIfChanged(w, hidden);
    });
}

void OneBlockView::tb2_Block_P_Click(int p) {
    if (p < 0 || p > 2) return;
    SaveSetting(QStringLiteral("tab2block%1").arg(p), QString::number(tb2_Block_P[p]->currentIndex()));
}

void OneBlockView::SetBNameIndex(int index) {
    SetListIndexQuietly(tb2_BName, index);
    tb2_BName_Click();
}

void OneBlockView::SetBlockPIndex(int p, int index) {
    if (p < 0 || p > 2) return;
    SetListIndexQuietly(tb2_Block_P[p], index);
    tb2_Block_P_Click(p);
}
