#include "display/LineOverview.h"

#include "display/ContactMark.h"
#include "display/NameLists.h"
#include "display/ViewLabels.h"
#include "display/ViewParts.h"
#include "format/ValueFormat.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

LineOverview::LineOverview(RDX_INC& data, QWidget* parent) : QScrollArea(parent), d(data) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    auto* inner = new QWidget(this);
    blocks_ = new QGridLayout(inner);
    blocks_->setContentsMargins(2, 2, 2, 2);
    blocks_->setSpacing(4);
    for (int b = 0; b < BlockCount; ++b) {
        Frame[b] = new QGroupBox(inner);
        auto* grid = new QGridLayout(Frame[b]);
        grid->setVerticalSpacing(1);
        grid->setHorizontalSpacing(3);
        grid->setContentsMargins(4, 2, 4, 4);
        for (int k = 0; k < ChannelsPerBlock; ++k) {
            const int c = b * ChannelsPerBlock + k;
            Name[c] = NewNameLabel(Frame[b]);
            Value[c] = NewValueLabel(Frame[b]);
            Value[c]->setMinimumWidth(56);
            Name[c]->setFixedHeight(RowHeight);
            Value[c]->setFixedHeight(RowHeight);
            grid->addWidget(Name[c], k, 0);
            grid->addWidget(Value[c], k, 1);
        }
        grid->setColumnStretch(0, 3);
        grid->setColumnStretch(1, 2);
        Contact[b] = ContactMark::OnFrame(Frame[b]);
    }
    for (int column = 0; column < Columns; ++column) blocks_->setColumnStretch(column, 1);
    blocks_->setRowStretch(BlockCount / Columns, 1);
    PlaceFrames();
    setWidget(inner);
}

void LineOverview::PlaceFrames() {
    placed_ = true;
    placedAbsent_ = d.BlockAbsent;
    for (QGroupBox* frame : Frame) blocks_->removeWidget(frame);
    int slot = 0;
    for (int b = 0; b < BlockCount; ++b) {
        // Blocks not on the line take no room.
        const bool absent = d.BlockAbsent[size_t(b)] != 0;
        SetHiddenIfChanged(Frame[b], absent);
        if (absent) continue;
        blocks_->addWidget(Frame[b], slot / Columns, slot % Columns, Qt::AlignTop);
        ++slot;
    }
}

void LineOverview::Refresh(int item) {
    if (!placed_ || placedAbsent_ != d.BlockAbsent) PlaceFrames();
    for (int b = 0; b < BlockCount; ++b) Contact[b]->setOutOfContact(OutOfContact(d, b * ChannelsPerBlock));
    for (int c = 0; c < ChannelCount; ++c) {
        if (d.BlockAbsent[size_t(c / ChannelsPerBlock)] != 0) continue;
        SetTextIfChanged(Value[c], FormatItemValue(d, item, c));
        ValueMark mark = InAlarm(d, c) ? ValueMark::Alarm : ValueMark::None;
        if (OutOfContact(d, c)) mark = ValueMark::OutOfContact;
        SetValueMark(Value[c], mark);
    }
    ForEachChannelPair(d, 0, ChannelCount, [this](int i, bool present, bool hidden) {
        SetEnabledIfChanged(Value[i - 1], present);
        SetEnabledIfChanged(Value[i], present);
        SetHiddenIfChanged(Value[i], hidden);
        SetHiddenIfChanged(Name[i], hidden);
    });
}

void LineOverview::ShowNames() {
    for (int b = 0; b < BlockCount; ++b) {
        const QString name = BlockName(b);
        if (Frame[b]->title() != name) Frame[b]->setTitle(name);
    }
    for (int c = 0; c < ChannelCount; ++c) SetTextIfChanged(Name[c], ChannelName(c));
}
