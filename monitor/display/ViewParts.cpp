#include "display/ViewParts.h"

#include "display/DisplayTables.h"
#include "display/ValueFormat.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>

QString UnitLabelText(const RDX_INC& d, int c) { return ChannelUnitText(d, c); }

QString OutputButtonCaption(const RDX_INC& d, int c) {
    const bool on = c >= 0 && c < ChannelCount && d.ChOutputSwitch[c] == 1;
    return on ? QStringLiteral("ON ") : QStringLiteral("OFF");
}

bool StatusHas(const RDX_INC& d, int c, quint16 mask) {
    if (c < 0 || c >= ChannelCount) return false;
    return (quint16(d.ChStatus[c]) & mask) != 0;
}

bool IsCoolingSecond(const RDX_INC& d, int c) {
    if (c < 0 || c >= ChannelCount) return false;
    return (quint16(d.ChOption[c]) & OptionBit::Cooling) != 0;
}

void SetTextIfChanged(QLabel* label, const QString& text) {
    if (label && label->text() != text) label->setText(text);
}

void SetTextIfChanged(QAbstractButton* button, const QString& text) {
    if (button && button->text() != text) button->setText(text);
}

void SetEnabledIfChanged(QWidget* widget, bool enabled) {
    // WA_ForceDisabled is the widget's own setting, whatever its parents say.
    if (widget && widget->testAttribute(Qt::WA_ForceDisabled) == enabled) widget->setEnabled(enabled);
}

void SetHiddenIfChanged(QWidget* widget, bool hidden) {
    if (widget && widget->isHidden() != hidden) widget->setHidden(hidden);
}

QLabel* NewValueLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 255));
    label->setPalette(pal);
    label->setMinimumWidth(56);
    return label;
}

QComboBox* NewItemSelector(QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (int item = 0; item < DisplayItemListCount; ++item) box->addItem(DisplayItemListText(item));
    return box;
}

QComboBox* NewBlockSelector(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setMinimumContentsLength(12);
    return box;
}
