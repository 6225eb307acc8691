#include "display/ViewParts.h"

#include "format/DisplayTables.h"
#include "format/ValueFormat.h"
#include "display/ViewLabels.h"

#include <QAbstractButton>
#include <QEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

QString UnitLabelText(const RDX_INC& d, int c) { return ChannelUnitText(d, c); }

QString OutputButtonCaption(const RDX_INC& d, int c) {
    const bool on = c >= 0 && c < ChannelCount && d.ChOutputSwitch[c] == 1;
    return on ? QStringLiteral("ON ") : QStringLiteral("OFF");
}

bool StatusHas(const RDX_INC& d, int c, quint16 mask) {
    if (c < 0 || c >= ChannelCount) return false;
    return (quint16(d.ChStatus[c]) & mask) != 0;
}

bool InAlarm(const RDX_INC& d, int c) { return StatusHas(d, c, AlarmMask); }

bool OutOfContact(const RDX_INC& d, int c) {
    if (c < 0 || c >= ChannelCount) return false;
    return d.BlockOutOfContact[c / ChannelsPerBlock];
}

bool IsCoolingSecond(const RDX_INC& d, int c) {
    if (c < 0 || c >= ChannelCount) return false;
    return (quint16(d.ChOption[c]) & OptionBit::Cooling) != 0;
}

void ForEachChannelPair(const RDX_INC& d, int first, int count,
                        const std::function<void(int second, bool present, bool secondHidden)>& show) {
    for (int pair = 0; pair < count / 2; ++pair) {
        const int second = 2 * pair + 1;
        const int c = first + second;
        show(second, d.ChPresent[c] != 0, IsCoolingSecond(d, c));
    }
}

void SetTextIfChanged(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

void SetTextIfChanged(QAbstractButton* button, const QString& text) {
    if (button->text() != text) button->setText(text);
}

void SetEnabledIfChanged(QWidget* widget, bool enabled) {
    // WA_ForceDisabled is the widget's own setting, whatever its parents say.
    if (widget->testAttribute(Qt::WA_ForceDisabled) == enabled) widget->setEnabled(enabled);
}

void SetHiddenIfChanged(QWidget* widget, bool hidden) {
    if (widget->isHidden() != hidden) widget->setHidden(hidden);
}

QLabel* NewValueLabel(QWidget* parent) { return new ValueLabel(parent); }

QLabel* NewNameLabel(QWidget* parent) { return new ElidedLabel(parent); }

QPushButton* NewOutputButton(QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setFixedSize(40, BlockRowHeight);
    return button;
}

QLabel* NewColumnHeading(const QString& text, QWidget* parent) {
    auto* heading = new QLabel(text, parent);
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    return heading;
}

namespace {
// A selector as wide as `characters` whatever its entries: long names never widen the
// window; the opened list is as wide as its longest entry.
QComboBox* NewSelector(QWidget* parent, int characters) {
    auto* box = new QComboBox(parent);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(characters);
    return box;
}
}  // namespace

QComboBox* NewItemSelector(QWidget* parent) {
    QComboBox* box = NewSelector(parent, 16);
    for (int item = 0; item < DisplayItemListCount; ++item) box->addItem(DisplayItemListText(item));
    return box;
}

namespace {

// Sets the tool tip just before it is shown, so it is never stale whatever changed the text
// (selectors are often set with their signals blocked).
class WholeTextTip : public QObject {
public:
    WholeTextTip(QWidget* widget, std::function<QString()> whole) : QObject(widget), whole_(std::move(whole)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ToolTip)
            if (auto* w = qobject_cast<QWidget*>(watched)) w->setToolTip(whole_());
        return false;
    }

private:
    std::function<QString()> whole_;
};

}  // namespace

void ShowWholeTextAsTip(QWidget* widget, std::function<QString()> whole) {
    widget->installEventFilter(new WholeTextTip(widget, std::move(whole)));
}

QComboBox* NewBlockSelector(QWidget* parent) {
    QComboBox* box = NewSelector(parent, 12);
    ShowWholeTextAsTip(box, [box] { return box->currentText(); });
    return box;
}
