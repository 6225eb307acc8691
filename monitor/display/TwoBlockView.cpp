#include "display/TwoBlockView.h"

#include "display/NameLists.h"
#include "services/SettingsStore.h"
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
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
enum Column { NameCol, PvCol, ParaCol, OutCol, UnitCol, A1Col, A2Col, A3Col };
}

TwoBlockView::TwoBlockView(RDX_INC& data, QWidget* parent) : TabView(parent), d(data) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    for (int h = 0; h < 2; ++h) layout->addWidget(BuildHalf(h), 1);
}

QGroupBox* TwoBlockView::BuildHalf(int h) {
    auto* half = new QGroupBox(this);
    auto* v = new QVBoxLayout(half);
    v->setContentsMargins(6, 6, 6, 6);
    v->setSpacing(4);

    auto* selectors = new QHBoxLayout;
    tb1_BName[h] = NewBlockSelector(half);
    tb1_Block_P[h] = NewItemSelector(half);
    tb1_Contact[h] = new ContactMark(half);
    selectors->addWidget(tb1_BName[h], 2);
    selectors->addWidget(tb1_Contact[h]);
    selectors->addWidget(tb1_Block_P[h], 3);
    v->addLayout(selectors);

    A3select[h] = new QGroupBox(QStringLiteral("A3 警報選択"), half);
    auto* options = new QHBoxLayout(A3select[h]);
    options->setContentsMargins(8, 2, 8, 2);
    Option1[h] = new QRadioButton(QStringLiteral("HB"), A3select[h]);
    Option2[h] = new QRadioButton(QStringLiteral("LP"), A3select[h]);
    Option3[h] = new QRadioButton(QStringLiteral("SB"), A3select[h]);
    Option1[h]->setChecked(true);
    for (QRadioButton* o : {Option1[h], Option2[h], Option3[h]}) options->addWidget(o);
    options->addStretch(1);
    v->addWidget(A3select[h]);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(1);
    grid->setHorizontalSpacing(4);
    // The lamp headings stand over their own columns ("A1  A2   A3").
    const char* const headings[3] = {"A1", "A2", "A3"};
    for (int l = 0; l < 3; ++l) {
        A3Heading[h][l] = NewColumnHeading(QString::fromLatin1(headings[l]), half);
        grid->addWidget(A3Heading[h][l], 0, A1Col + l, Qt::AlignHCenter);
    }
    for (int k = 0; k < ChannelsPerBlock; ++k) {
        const int j = ChannelsPerBlock * h + k;
        const int row = k + 1;
        tb1_label[j] = NewNameLabel(half);
        tb1_PV[j] = NewValueLabel(half);
        tb1_Para[j] = NewValueLabel(half);
        for (QLabel* l : {tb1_label[j], tb1_PV[j], tb1_Para[j]}) l->setFixedHeight(BlockRowHeight);
        tb1_PV[j]->setMinimumWidth(64);
        tb1_Para[j]->setMinimumWidth(64);
        Comm_OUT[j] = NewOutputButton(half);
        QLabel* unit = NewNameLabel(half);
        unit->setMinimumWidth(24);
        (h == 0 ? Tab1_Label_CF1 : Tab1_Label_CF2)[k] = unit;
        tb1_staA1[j] = new Lamp(half);
        tb1_staA2[j] = new Lamp(half);
        tb1_staA3[j] = new Lamp(half);
        grid->addWidget(tb1_label[j], row, NameCol);
        grid->addWidget(tb1_PV[j], row, PvCol);
        grid->addWidget(tb1_Para[j], row, ParaCol);
        grid->addWidget(Comm_OUT[j], row, OutCol);
        grid->addWidget(unit, row, UnitCol);
        grid->addWidget(tb1_staA1[j], row, A1Col, Qt::AlignHCenter);
        grid->addWidget(tb1_staA2[j], row, A2Col, Qt::AlignHCenter);
        grid->addWidget(tb1_staA3[j], row, A3Col, Qt::AlignHCenter);
        connect(Comm_OUT[j], &QPushButton::clicked, this, [this, h, k] {
            emit outputSwitchRequested(ChannelsPerBlock * BlockOf(h) + k);
        });
    }
    grid->setColumnStretch(NameCol, 3);
    grid->setColumnStretch(PvCol, 2);
    grid->setColumnStretch(ParaCol, 2);
    grid->setColumnStretch(UnitCol, 1);
    for (int col = A1Col; col <= A3Col; ++col) grid->setColumnMinimumWidth(col, 20);
    v->addLayout(grid);
    // Rows stay together under their headings; spare height goes below them.
    v->addStretch(1);

    connect(tb1_BName[h], &QComboBox::currentIndexChanged, this, [this, h] { tb1_BName_Click(h); });
    connect(tb1_Block_P[h], &QComboBox::currentIndexChanged, this, [this, h] { tb1_Block_P_Click(h); });
    return half;
}

QLabel* TwoBlockView::UnitLabel(int j) const {
    if (j < 0 || j >= Rows) return nullptr;
    return j < ChannelsPerBlock ? Tab1_Label_CF1[j] : Tab1_Label_CF2[j - ChannelsPerBlock];
}

int TwoBlockView::BlockOf(int h) const {
    return ListIndexOrZero(tb1_BName[h]->currentIndex(), BlockCount);
}

void TwoBlockView::Refresh() {
    for (int h = 0; h < 2; ++h) {
        const int first = ChannelsPerBlock * BlockOf(h);
        const int item = ListIndexOrZero(tb1_Block_P[h]->currentIndex());
        // Which condition the third lamp shows; none chosen leaves the lamp as it is.
        quint16 a3 = 0;
        if (Option3[h]->isChecked()) a3 = ScaleOutMask;
        else if (Option2[h]->isChecked()) a3 = StatusBit::LoopBreak;
        else if (Option1[h]->isChecked()) a3 = StatusBit::HeaterBreak;
        const bool silent = d.BlockOutOfContact[size_t(BlockOf(h))];
        tb1_Contact[h]->setOutOfContact(silent);
        const ValueMark mark = silent ? ValueMark::OutOfContact : ValueMark::None;
        for (int k = 0; k < ChannelsPerBlock; ++k) {
            const int c = first + k;
            const int j = ChannelsPerBlock * h + k;
            SetTextIfChanged(tb1_PV[j], FormatItemValue(d, 0, c));
            SetTextIfChanged(tb1_Para[j], FormatItemValue(d, item, c));
            tb1_staA1[j]->setAlarm(StatusHas(d, c, StatusBit::Alarm1));
            tb1_staA2[j]->setAlarm(StatusHas(d, c, StatusBit::Alarm2));
            if (a3) tb1_staA3[j]->setAlarm(StatusHas(d, c, a3));
            SetValueMark(tb1_PV[j], mark);
            SetValueMark(tb1_Para[j], mark);
            for (Lamp* lamp : {tb1_staA1[j], tb1_staA2[j], tb1_staA3[j]}) lamp->setStale(silent);
        }
    }
}

void TwoBlockView::tb1_BName_Click(int h) {
    if (h < 0 || h > 1) return;
    const int index = tb1_BName[h]->currentIndex();
    SaveSetting(QStringLiteral("tab1name%1").arg(h), QString::number(index));
    const int first = ChannelsPerBlock * BlockOf(h);
    for (int k = 0; k < ChannelsPerBlock; ++k) {
        const int c = first + k;
        const int j = ChannelsPerBlock * h + k;
        SetTextIfChanged(tb1_label[j], ChannelName(c));
        SetTextIfChanged(Comm_OUT[j], OutputButtonCaption(d, c));
        SetTextIfChanged(UnitLabel(j), UnitLabelText(d, c));
    }
    ForEachChannelPair(d, first, ChannelsPerBlock, [this, h](int k, bool present, bool hidden) {
        const int second = ChannelsPerBlock * h + k;
        for (int j : {second - 1, second}) {
            for (QWidget* w : std::initializer_list<QWidget*>{tb1_PV[j], tb1_Para[j], UnitLabel(j), Comm_OUT[j]})
                SetEnabledIfChanged(w, present);
        }
        for (QWidget* w : std::initializer_list<QWidget*>{tb1_PV[second], tb1_Para[second], Comm_OUT[second],
                                                          UnitLabel(second), tb1_staA1[second],
                                                          tb1_staA2[second], tb1_staA3[second]})
            SetHiddenIfChanged(w, hidden);
    });
}

void TwoBlockView::tb1_Block_P_Click(int h) {
    if (h < 0 || h > 1) return;
    SaveSetting(QStringLiteral("tab1block%1").arg(h), QString::number(tb1_Block_P[h]->currentIndex()));
}

void TwoBlockView::SetBNameIndex(int h, int index) {
    if (h < 0 || h > 1) return;
    SetListIndexQuietly(tb1_BName[h], index);
    tb1_BName_Click(h);
}

void TwoBlockView::SetBlockPIndex(int h, int index) {
    if (h < 0 || h > 1) return;
    SetListIndexQuietly(tb1_Block_P[h], index);
    tb1_Block_P_Click(h);
}
