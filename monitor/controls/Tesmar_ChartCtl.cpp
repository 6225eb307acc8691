#include "controls/Tesmar_ChartCtl.h"

#include "controls/ChartLayout.h"
#include "controls/ChartMath.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>

namespace {

constexpr int TwipsPerPixel = 15;

const QColor PlotBackground(255, 255, 255);
const QColor GridColor(192, 192, 192);
const QColor LampOff(255, 255, 255);
const QColor LampOn(255, 0, 0);

const QString ScalingError = QStringLiteral("ｽｹｰﾘﾝｸﾞ設定ｴﾗｰです。");

QString PenName(const char* stem, int pen)
{
    return QString::fromLatin1(stem) + QString::number(pen + 1);
}

}  // namespace

Tesmar_ChartCtl::Tesmar_ChartCtl(QWidget* parent) : QWidget(parent)
{
    scaleLabels_.fill(QStringLiteral("***"));
    timeLabels_.fill(QStringLiteral("****"));
    startLabel_ = QStringLiteral("**:**");
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    resize(sizeHint());
    FitPlotImage();
}

QSize Tesmar_ChartCtl::sizeHint() const
{
    return ChartLayout::Twips().control / TwipsPerPixel;
}

QColor Tesmar_ChartCtl::PenColor(int pen)
{
    static const std::array<QColor, PenCount> colors = {
        QColor(255, 0, 255), QColor(0, 0, 255), QColor(0, 255, 0), QColor(0, 0, 0)};
    return colors.at(pen);
}

QColor Tesmar_ChartCtl::LampColor(int pen) const
{
    return lampRed_.at(pen) ? LampOn : LampOff;
}

void Tesmar_ChartCtl::setMessageHandler(MessageHandler handler)
{
    messageHandler_ = std::move(handler);
}

void Tesmar_ChartCtl::ShowMessage(const QString& text)
{
    if (messageHandler_) {
        messageHandler_(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, this);
    box.exec();
}

// ---- properties ----

void Tesmar_ChartCtl::setSclMax(qint16 value)
{
    sclMax_ = value;
    appliedSclMax_ = value;
    emit propertyChanged(QStringLiteral("SclMax"));
}

void Tesmar_ChartCtl::setSclMin(qint16 value)
{
    sclMin_ = value;
    appliedSclMin_ = value;
    emit propertyChanged(QStringLiteral("SclMin"));
}

void Tesmar_ChartCtl::setPenValue(int pen, qint16 value)
{
    gVal_.at(pen) = value;
    emit propertyChanged(PenName("G_Val", pen));
}

void Tesmar_ChartCtl::setPenVisible(int pen, quint8 value)
{
    gVis_.at(pen) = value;
    emit propertyChanged(PenName("G_Vis", pen));
}

void Tesmar_ChartCtl::setPenLifted(int pen, bool lifted)
{
    lifted_.at(pen) = lifted;
}

void Tesmar_ChartCtl::setStartTim(const QString& value)
{
    startTim_ = value;
    emit propertyChanged(QStringLiteral("StartTim"));
}

void Tesmar_ChartCtl::setCountTim(qint16 value)
{
    countTim_ = value;
    emit propertyChanged(QStringLiteral("CountTim"));
}

void Tesmar_ChartCtl::setProtterNo(qint16 value)
{
    protterNo_ = value;
    emit propertyChanged(QStringLiteral("ProtterNo"));
    // A position plots once; writing the same one again (the host does at the last
    // position) adds nothing.
    if (plottedPosition_ != int(value)) {
        plottedPosition_ = value;
        PlotStep(value);
    }
}

void Tesmar_ChartCtl::setStartflg(bool value)
{
    startflg_ = value;
    emit propertyChanged(QStringLiteral("Startflg"));
    if (value)
        ClearStep();
}

void Tesmar_ChartCtl::ReadProperties(const PropertyBag& bag)
{
    // Restored values are taken as they are: the scale reaches ScaleSet only through the
    // setters, and no position is plotted or plot cleared.
    sclMax_ = ReadInt16(bag, QStringLiteral("SclMax"), 400);
    sclMin_ = ReadInt16(bag, QStringLiteral("SclMin"), 0);
    for (int pen = 0; pen < PenCount; ++pen)
        gVal_[pen] = ReadInt16(bag, PenName("G_Val", pen), 0);
    startTim_ = ReadString(bag, QStringLiteral("StartTim"), QStringLiteral("0"));
    countTim_ = ReadInt16(bag, QStringLiteral("CountTim"), 1);
    protterNo_ = ReadInt16(bag, QStringLiteral("ProtterNo"), 0);
    startflg_ = ReadBool(bag, QStringLiteral("Startflg"), false);
    for (int pen = 0; pen < PenCount; ++pen)
        gVis_[pen] = ReadByte(bag, PenName("G_Vis", pen), 1);
}

void Tesmar_ChartCtl::WriteProperties(PropertyBag& bag) const
{
    WriteInt16(bag, QStringLiteral("SclMax"), sclMax_, 400);
    WriteInt16(bag, QStringLiteral("SclMin"), sclMin_, 0);
    for (int pen = 0; pen < PenCount; ++pen)
        WriteInt16(bag, PenName("G_Val", pen), gVal_[pen], 0);
    WriteString(bag, QStringLiteral("StartTim"), startTim_, QStringLiteral("0"));
    WriteInt16(bag, QStringLiteral("CountTim"), countTim_, 1);
    WriteInt16(bag, QStringLiteral("ProtterNo"), protterNo_, 0);
    WriteBool(bag, QStringLiteral("Startflg"), startflg_, false);
    for (int pen = 0; pen < PenCount; ++pen)
        WriteByte(bag, PenName("G_Vis", pen), gVis_[pen], 1);
}

// ---- scale, plot and clear ----

void Tesmar_ChartCtl::ScaleSet()
{
    const std::optional<float> perUnit =
        ChartMath::ValuePerUnitFor(appliedSclMax_, appliedSclMin_);
    if (!perUnit) {
        ShowMessage(ScalingError);
        return;
    }
    valuePerUnit_ = *perUnit;
    scaleLabels_ = ChartMath::ScaleLabels(appliedSclMax_, appliedSclMin_);

    {
        QPainter painter;
        BeginPlotPainter(painter);
        painter.setPen(QPen(GridColor, 0));
        for (int y : ChartMath::GridLines)
            painter.drawLine(QPoint(ScaleLeft, ScaleTop + y),
                             QPoint(ScaleLeft + ChartMath::PlotWidth, ScaleTop + y));
    }

    startLabel_ = startTim_;
    timeLabels_ = ChartMath::TimeLabels(countTim_);
    for (int pen = 0; pen < PenCount; ++pen) {
        dataLabels_[pen].clear();
        lampRed_[pen] = false;
    }
    update();
}

void Tesmar_ChartCtl::PlotStep(int position)
{
    const int x = ChartMath::PositionX(position);
    const int x1 = ChartMath::PositionX(position + 1);
    QPainter painter;
    BeginPlotPainter(painter);
    for (int pen = 0; pen < PenCount; ++pen) {
        if (gVis_[pen] == 0)
            continue;
        if (lifted_[pen]) {
            dataLabels_[pen].clear();
            lampRed_[pen] = false;
            drawnBefore_[pen] = false;
            continue;
        }
        dataLabels_[pen] = QString::number(gVal_[pen]);
        const ChartMath::PenPoint point =
            ChartMath::PenY(gVal_[pen], sclMax_, sclMin_, valuePerUnit_);
        lampRed_[pen] = point.offScale;
        if (!point.y)
            continue;  // no valid scale yet: nothing to draw against
        const qint16 y = qint16(*point.y);
        if (position == 0 || !drawnBefore_[pen])
            lastY_[pen] = y;
        drawnBefore_[pen] = true;
        painter.setPen(QPen(PenColor(pen), 0));
        painter.drawLine(QPoint(ScaleLeft + x, ScaleTop + lastY_[pen]),
                         QPoint(ScaleLeft + x1, ScaleTop + y));
        lastY_[pen] = y;
    }
    painter.end();
    update();
}

void Tesmar_ChartCtl::ClearStep()
{
    plot_ = QPixmap();
    FitPlotImage();
    plottedPosition_.reset();
    drawnBefore_.fill(false);
    ScaleSet();
    update();
}

// ---- drawing surface ----

QPointF Tesmar_ChartCtl::PixelsPerTwip() const
{
    const QSize design = ChartLayout::Twips().control;
    return QPointF(double(width()) / design.width(), double(height()) / design.height());
}

QRect Tesmar_ChartCtl::LayoutRect(const QRect& twips) const
{
    const QPointF scale = PixelsPerTwip();
    return QRectF(twips.left() * scale.x(), twips.top() * scale.y(), twips.width() * scale.x(),
                  twips.height() * scale.y())
        .toRect();
}

QLine Tesmar_ChartCtl::LayoutLine(const QLine& twips) const
{
    const QPointF scale = PixelsPerTwip();
    const auto place = [&](QPoint p) { return QPointF(p.x() * scale.x(), p.y() * scale.y()).toPoint(); };
    return QLine(place(twips.p1()), place(twips.p2()));
}

QRect Tesmar_ChartCtl::PlotRect() const
{
    return LayoutRect(ChartLayout::Twips().picture);
}

QRect Tesmar_ChartCtl::LampRect(int pen) const
{
    return LayoutRect(ChartLayout::Twips().lamps.at(pen));
}

QPoint Tesmar_ChartCtl::PlotToWidget(int x, int y) const
{
    // The plot's far edges fall on the picture's last column and row, so that a pen held
    // at the bottom of the scale stays visible.
    const QRect plot = PlotRect();
    const double px = double(x - ScaleLeft) * (plot.width() - 1) / ChartMath::PlotWidth;
    const double py = double(y - ScaleTop) * (plot.height() - 1) / ChartMath::PlotHeight;
    return plot.topLeft() + QPointF(px, py).toPoint();
}

void Tesmar_ChartCtl::FitPlotImage()
{
    const QSize size = PlotRect().size().expandedTo(QSize(1, 1));
    if (plot_.size() == size)
        return;
    QPixmap fitted(size);
    fitted.fill(PlotBackground);
    if (!plot_.isNull()) {
        QPainter painter(&fitted);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(fitted.rect(), plot_);
    }
    plot_ = fitted;
}

void Tesmar_ChartCtl::BeginPlotPainter(QPainter& painter)
{
    FitPlotImage();
    painter.begin(&plot_);
    painter.setWindow(ScaleLeft, ScaleTop, ChartMath::PlotWidth, ChartMath::PlotHeight);
    painter.setViewport(0, 0, plot_.width() - 1, plot_.height() - 1);
}

void Tesmar_ChartCtl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FitPlotImage();
}

void Tesmar_ChartCtl::paintEvent(QPaintEvent*)
{
    FitPlotImage();
    QPainter painter(this);
    const QRect plot = PlotRect();
    painter.drawPixmap(plot.topLeft(), plot_);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(plot.adjusted(-1, -1, 0, 0));

    const ChartLayout::Design& layout = ChartLayout::Twips();
    const QColor text = palette().color(QPalette::WindowText);
    for (std::size_t i = 0; i < layout.scaleLabels.size(); ++i)
        painter.drawText(LayoutRect(layout.scaleLabels[i]),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip,
                         scaleLabels_[i]);

    for (int pen = 0; pen < PenCount; ++pen) {
        painter.setPen(PenColor(pen));
        painter.drawLine(LayoutLine(layout.legendStrokes[pen]));
        painter.drawText(LayoutRect(layout.dataLabels[pen]),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip,
                         dataLabels_[pen]);
        const QRect lamp = LampRect(pen);
        painter.fillRect(lamp, LampColor(pen));
        painter.setPen(text);
        painter.drawRect(lamp.adjusted(0, 0, -1, -1));
    }

    painter.setPen(text);
    for (const QLine& tick : layout.ticks)
        painter.drawLine(LayoutLine(tick));
    const auto belowAxis = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip;
    painter.drawText(LayoutRect(layout.startLabel), belowAxis, startLabel_);
    for (std::size_t i = 0; i < layout.timeLabels.size(); ++i)
        painter.drawText(LayoutRect(layout.timeLabels[i]), belowAxis, timeLabels_[i]);
    painter.drawText(LayoutRect(layout.minuteCaption), belowAxis, QStringLiteral("Min"));
}
