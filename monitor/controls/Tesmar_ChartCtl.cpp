#include "controls/Tesmar_ChartCtl.h"

#include "controls/ChartMath.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>

namespace {

// Layout of the control, in the plot's units (twips).
constexpr int DesignWidth = 11760;
constexpr int DesignHeight = 6435;
constexpr int TwipsPerPixel = 15;
constexpr int PictureLeft = 1200;
constexpr int PictureTop = 100;
constexpr int ScaleLabelLeft = 360;
constexpr std::array<int, 3> ScaleLabelTops = {80, 3000, 5950};
constexpr int LabelWidth = 735;
constexpr int LabelHeight = 255;
constexpr std::array<int, 4> PenRowTops = {600, 960, 1320, 1680};
constexpr int LegendRight = 120;
constexpr int DataLabelLeft = 240;
constexpr int DataLabelWidth = 615;
constexpr int LampLeft = 960;
constexpr int LampWidth = 135;
constexpr int TickTop = 6120;
constexpr int TickBottom = 6240;
constexpr int StartLabelLeft = 1320;
constexpr std::array<int, 9> TimeLabelLefts = {2280, 3285, 4275, 5280, 6285,
                                               7275, 8280, 9285, 10275};
constexpr int TimeLabelWidth = 700;
constexpr int MinCaptionLeft = 11235;

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
    return QSize(DesignWidth / TwipsPerPixel, DesignHeight / TwipsPerPixel);
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
        dataLabels_[pen] = QString::number(gVal_[pen]);
        const ChartMath::PenPoint point =
            ChartMath::PenY(gVal_[pen], sclMax_, sclMin_, valuePerUnit_);
        lampRed_[pen] = point.offScale;
        if (!point.y)
            continue;  // no valid scale yet: nothing to draw against
        const qint16 y = qint16(*point.y);
        if (position == 0)
            lastY_[pen] = y;
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
    ScaleSet();
    update();
}

// ---- drawing surface ----

QRect Tesmar_ChartCtl::LayoutRect(int left, int top, int width, int height) const
{
    const double sx = double(this->width()) / DesignWidth;
    const double sy = double(this->height()) / DesignHeight;
    return QRectF(left * sx, top * sy, width * sx, height * sy).toRect();
}

QRect Tesmar_ChartCtl::PlotRect() const
{
    return LayoutRect(PictureLeft, PictureTop, ChartMath::PlotWidth, ChartMath::PlotHeight);
}

QRect Tesmar_ChartCtl::LampRect(int pen) const
{
    return LayoutRect(LampLeft, PenRowTops.at(pen), LampWidth, LabelHeight);
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

    const QColor text = palette().color(QPalette::WindowText);
    for (int i = 0; i < 3; ++i)
        painter.drawText(LayoutRect(ScaleLabelLeft, ScaleLabelTops[i], LabelWidth, LabelHeight),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip,
                         scaleLabels_[i]);

    for (int pen = 0; pen < PenCount; ++pen) {
        const int rowMiddle = PenRowTops[pen] + 120;
        painter.setPen(PenColor(pen));
        painter.drawLine(LayoutRect(0, rowMiddle, 0, 0).topLeft(),
                         LayoutRect(LegendRight, rowMiddle, 0, 0).topLeft());
        painter.drawText(LayoutRect(DataLabelLeft, PenRowTops[pen], DataLabelWidth, LabelHeight),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip,
                         dataLabels_[pen]);
        const QRect lamp = LampRect(pen);
        painter.fillRect(lamp, LampColor(pen));
        painter.setPen(text);
        painter.drawRect(lamp.adjusted(0, 0, -1, -1));
    }

    painter.setPen(text);
    for (int i = 0; i <= 10; ++i) {
        const int x = PictureLeft + 1000 * i;
        painter.drawLine(LayoutRect(x, TickTop, 0, 0).topLeft(),
                         LayoutRect(x, TickBottom, 0, 0).topLeft());
    }
    const auto belowAxis = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip;
    painter.drawText(LayoutRect(StartLabelLeft, TickTop, LabelWidth, LabelHeight), belowAxis,
                     startLabel_);
    for (int i = 0; i < 9; ++i)
        painter.drawText(LayoutRect(TimeLabelLefts[i], TickTop, TimeLabelWidth, LabelHeight),
                         belowAxis, timeLabels_[i]);
    painter.drawText(LayoutRect(MinCaptionLeft, TickTop, LabelWidth, LabelHeight), belowAxis,
                     QStringLiteral("Min"));
}
