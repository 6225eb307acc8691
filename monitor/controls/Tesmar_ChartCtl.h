// Four-pen strip chart. The host sets scale, pens, start time and interval, then per sample
// the four pen values and the next plot position; each position draws one short segment
// per shown pen onto a retained picture, so what was drawn stays until the next start.
#pragma once

#include "controls/PropertyBag.h"

#include <QColor>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class Tesmar_ChartCtl : public QWidget {
    Q_OBJECT

public:
    static constexpr int PenCount = 4;
    // Offset of the plot area's own coordinate system.
    static constexpr int ScaleLeft = 0;
    static constexpr int ScaleTop = 0;

    using MessageHandler = std::function<void(const QString& text)>;

    explicit Tesmar_ChartCtl(QWidget* parent = nullptr);

    // Validates the applied scale and draws grid, scale labels and time labels.
    void ScaleSet();

    qint16 SclMax() const { return sclMax_; }
    void setSclMax(qint16 value);
    qint16 SclMin() const { return sclMin_; }
    void setSclMin(qint16 value);
    qint16 G_Val1() const { return gVal_[0]; }
    void setG_Val1(qint16 value) { setPenValue(0, value); }
    qint16 G_Val2() const { return gVal_[1]; }
    void setG_Val2(qint16 value) { setPenValue(1, value); }
    qint16 G_Val3() const { return gVal_[2]; }
    void setG_Val3(qint16 value) { setPenValue(2, value); }
    qint16 G_Val4() const { return gVal_[3]; }
    void setG_Val4(qint16 value) { setPenValue(3, value); }
    const QString& StartTim() const { return startTim_; }
    void setStartTim(const QString& value);
    qint16 CountTim() const { return countTim_; }
    void setCountTim(qint16 value);
    // Writing a new position plots one segment per shown pen.
    qint16 ProtterNo() const { return protterNo_; }
    void setProtterNo(qint16 value);
    // Writing true clears the plot and draws the scale; false leaves the drawing as it is.
    bool Startflg() const { return startflg_; }
    void setStartflg(bool value);
    quint8 G_Vis1() const { return gVis_[0]; }
    void setG_Vis1(quint8 value) { setPenVisible(0, value); }
    quint8 G_Vis2() const { return gVis_[1]; }
    void setG_Vis2(quint8 value) { setPenVisible(1, value); }
    quint8 G_Vis3() const { return gVis_[2]; }
    void setG_Vis3(quint8 value) { setPenVisible(2, value); }
    quint8 G_Vis4() const { return gVis_[3]; }
    void setG_Vis4(quint8 value) { setPenVisible(3, value); }

    // The same pen properties by index 0..3 (pens 1..4).
    qint16 PenValue(int pen) const { return gVal_.at(pen); }
    void setPenValue(int pen, qint16 value);
    quint8 PenVisible(int pen) const { return gVis_.at(pen); }
    void setPenVisible(int pen, quint8 value);
    // A lifted pen draws nothing at the following positions and shows no value: its
    // source is out of contact, and a line would claim a value nobody read. Once put
    // down again it starts afresh at its new value, with no line across the gap.
    bool PenLifted(int pen) const { return lifted_.at(pen); }
    void setPenLifted(int pen, bool lifted);

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // How a refused scale is told to the operator; a message box unless replaced.
    void setMessageHandler(MessageHandler handler);

    // What the control shows, for the host and for checks.
    static QColor PenColor(int pen);
    float ValuePerUnit() const { return valuePerUnit_; }
    qint16 LastY(int pen) const { return lastY_.at(pen); }
    const QString& ScaleLabel(int index) const { return scaleLabels_.at(index); }
    const QString& TimeLabel(int index) const { return timeLabels_.at(index); }
    const QString& StartLabel() const { return startLabel_; }
    const QString& DataLabel(int pen) const { return dataLabels_.at(pen); }
    QColor LampColor(int pen) const;
    // The plot area in widget pixels, and where a plot coordinate lands inside the widget.
    QRect PlotRect() const;
    QPoint PlotToWidget(int x, int y) const;
    QRect LampRect(int pen) const;

    QSize sizeHint() const override;

signals:
    // Every property write, so that the host rewrites its stored copy.
    void propertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlotStep(int position);
    void ClearStep();
    void ShowMessage(const QString& text);
    void FitPlotImage();
    // A painter on the retained picture, in plot coordinates.
    void BeginPlotPainter(QPainter& painter);
    // A rectangle or line of the design table, scaled to the control's size.
    QPointF PixelsPerTwip() const;
    QRect LayoutRect(const QRect& twips) const;
    QLine LayoutLine(const QLine& twips) const;

    qint16 sclMax_ = 400;
    qint16 sclMin_ = 0;
    std::array<qint16, PenCount> gVal_{};
    QString startTim_ = QStringLiteral("0");
    qint16 countTim_ = 1;
    qint16 protterNo_ = 0;
    bool startflg_ = false;
    std::array<quint8, PenCount> gVis_{1, 1, 1, 1};

    qint16 appliedSclMax_ = 0;
    qint16 appliedSclMin_ = 0;
    float valuePerUnit_ = 0.0f;
    std::array<qint16, PenCount> lastY_{};
    std::array<bool, PenCount> lifted_{};
    // The pen drew at the position before: the next segment joins it.
    std::array<bool, PenCount> drawnBefore_{};
    // The position last plotted; a start forgets it, so position 0 plots again after it.
    std::optional<int> plottedPosition_;

    std::array<QString, 3> scaleLabels_;
    std::array<QString, 9> timeLabels_;
    QString startLabel_;
    std::array<QString, PenCount> dataLabels_;
    std::array<bool, PenCount> lampRed_{};

    QPixmap plot_;
    MessageHandler messageHandler_;
};
