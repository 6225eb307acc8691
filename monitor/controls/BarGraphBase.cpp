#include "controls/BarGraphBase.h"

#include <QApplication>
#include <QPainter>

namespace {
constexpr qint16 DefaultMaxValue = 1050;
constexpr qint16 DefaultMinValue = -50;
const QColor BackgroundColor(255, 255, 255);
const QColor OutlineColor(0, 0, 0);
}  // namespace

BarGraphBase::BarGraphBase(const BarGeometry::Layout& layout, const QColor& layoutColor,
                           QWidget* parent)
    : QWidget(parent), layout_(layout), barColor_(layoutColor)
{
    font_ = AmbientFont();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    resize(sizeHint());
    RedrawBar();
}

QFont BarGraphBase::AmbientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void BarGraphBase::setBackColor(quint32 value)
{
    backColor_ = value;
    emit propertyChanged(QStringLiteral("BackColor"));
}

void BarGraphBase::setForeColor(quint32 value)
{
    foreColor_ = value;
    emit propertyChanged(QStringLiteral("ForeColor"));
}

void BarGraphBase::setEnabledProperty(bool value)
{
    enabled_ = value;
    emit propertyChanged(QStringLiteral("Enabled"));
}

void BarGraphBase::setFontProperty(const QFont& value)
{
    font_ = value;
    emit propertyChanged(QStringLiteral("Font"));
}

void BarGraphBase::setBackStyle(qint16 value)
{
    backStyle_ = value;
    emit propertyChanged(QStringLiteral("BackStyle"));
}

void BarGraphBase::setBorderStyle(qint16 value)
{
    borderStyle_ = value;
    emit propertyChanged(QStringLiteral("BorderStyle"));
}

void BarGraphBase::setMaxValue(qint16 value)
{
    maxValue_ = value;
    emit propertyChanged(QStringLiteral("MaxValue"));
}

void BarGraphBase::setMinValue(qint16 value)
{
    minValue_ = value;
    emit propertyChanged(QStringLiteral("MinValue"));
}

void BarGraphBase::setMvValue(qint16 value)
{
    mvValue_ = value;
    emit propertyChanged(QStringLiteral("MvValue"));
    RedrawBar();
}

void BarGraphBase::RedrawBar()
{
    barWidth_ = BarGeometry::BarWidth(mvValue_);
    update();
}

void BarGraphBase::ApplyBarColor(const QColor& color)
{
    barColor_ = color;
    update();
}

void BarGraphBase::ReadProperties(const PropertyBag& bag)
{
    backColor_ = ReadUInt32(bag, QStringLiteral("BackColor"), 0);
    foreColor_ = ReadUInt32(bag, QStringLiteral("ForeColor"), 0);
    enabled_ = ReadBool(bag, QStringLiteral("Enabled"), false);
    const QVariant font = bag.ReadProperty(QStringLiteral("Font"), QVariant());
    font_ = font.canConvert<QFont>() ? font.value<QFont>() : AmbientFont();
    backStyle_ = ReadInt16(bag, QStringLiteral("BackStyle"), 0);
    borderStyle_ = ReadInt16(bag, QStringLiteral("BorderStyle"), 0);
    maxValue_ = ReadInt16(bag, QStringLiteral("MaxValue"), DefaultMaxValue);
    minValue_ = ReadInt16(bag, QStringLiteral("MinValue"), DefaultMinValue);
    mvValue_ = ReadInt16(bag, QStringLiteral("MvValue"), 0);
    RedrawBar();
}

void BarGraphBase::WriteProperties(PropertyBag& bag) const
{
    WriteUInt32(bag, QStringLiteral("BackColor"), backColor_, 0);
    WriteUInt32(bag, QStringLiteral("ForeColor"), foreColor_, 0);
    WriteBool(bag, QStringLiteral("Enabled"), enabled_, false);
    bag.WriteProperty(QStringLiteral("Font"), QVariant(font_), QVariant(AmbientFont()));
    WriteInt16(bag, QStringLiteral("BackStyle"), backStyle_, 0);
    WriteInt16(bag, QStringLiteral("BorderStyle"), borderStyle_, 0);
    WriteInt16(bag, QStringLiteral("MaxValue"), maxValue_, DefaultMaxValue);
    WriteInt16(bag, QStringLiteral("MinValue"), minValue_, DefaultMinValue);
    WriteInt16(bag, QStringLiteral("MvValue"), mvValue_, 0);
}

QSize BarGraphBase::sizeHint() const
{
    return QSize(layout_.width / BarGeometry::TwipsPerPixel,
                 layout_.height / BarGeometry::TwipsPerPixel);
}

QRectF BarGraphBase::ToPixels(double left, double top, double width, double height) const
{
    const double sx = double(this->width()) / layout_.width;
    const double sy = double(this->height()) / layout_.height;
    return QRectF(left * sx, top * sy, width * sx, height * sy);
}

QRect BarGraphBase::BackRect() const
{
    return ToPixels(layout_.left, layout_.top, layout_.backWidth, layout_.backHeight)
        .toRect();
}

QRect BarGraphBase::BarRect() const
{
    return ToPixels(layout_.left, layout_.top, barWidth_, layout_.barHeight).toRect();
}

void BarGraphBase::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect back = BackRect();
    painter.fillRect(back, BackgroundColor);
    if (barWidth_ > 0)
        painter.fillRect(BarRect(), barColor_);
    painter.setPen(OutlineColor);
    painter.drawRect(back.adjusted(0, 0, -1, -1));

    const QRectF firstTick = ToPixels(0, layout_.top + layout_.backHeight, 0, layout_.tickLength);
    for (int i = 0; i <= 10; ++i) {
        const double x = ToPixels(BarGeometry::TickX(layout_, i), 0, 0, 0).left();
        painter.drawLine(QPointF(x, firstTick.top()), QPointF(x, firstTick.bottom()));
    }

    // Each label is centred on its tick: its box runs from its left to as far past the tick.
    for (int i = 0; i < 3; ++i) {
        const int left = layout_.labelLefts[i];
        const int tick = BarGeometry::TickX(layout_, BarGeometry::LabelTick(i));
        const QRectF box = ToPixels(left, layout_.labelTop, 2 * (tick - left),
                                    layout_.height - layout_.labelTop);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
                         QString::fromLatin1(BarGeometry::LabelText(i)));
    }
}
