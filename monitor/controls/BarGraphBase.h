// What the two output bar graphs share: the stored properties, the bar drawn from MvValue
// over a fixed -5.0 % .. 105.0 % scale, and the persistence of the common properties.
#pragma once

#include "controls/BarGeometry.h"
#include "controls/PropertyBag.h"

#include <QColor>
#include <QFont>
#include <QWidget>

class BarGraphBase : public QWidget {
    Q_OBJECT

public:
    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 value);
    quint32 ForeColor() const { return foreColor_; }
    void setForeColor(quint32 value);
    // Stored only. Named apart from QWidget::setEnabled, which this property does not drive.
    bool Enabled() const { return enabled_; }
    void setEnabledProperty(bool value);
    // Stored only; the labels keep the widget's own font. Named apart from QWidget::setFont.
    const QFont& Font() const { return font_; }
    void setFontProperty(const QFont& value);
    qint16 BackStyle() const { return backStyle_; }
    void setBackStyle(qint16 value);
    qint16 BorderStyle() const { return borderStyle_; }
    void setBorderStyle(qint16 value);
    // Kept for the host's sake; the bar is drawn over its fixed scale.
    void Refresh() {}
    qint16 MaxValue() const { return maxValue_; }
    void setMaxValue(qint16 value);
    qint16 MinValue() const { return minValue_; }
    void setMinValue(qint16 value);
    // The output shown, in tenths of a percent.
    qint16 MvValue() const { return mvValue_; }
    void setMvValue(qint16 value);

    virtual void ReadProperties(const PropertyBag& bag);
    virtual void WriteProperties(PropertyBag& bag) const;

    // What the bar shows now: its width in layout units and its colour.
    int BarWidth() const { return barWidth_; }
    QColor BarColor() const { return barColor_; }
    // The bar and its background in widget pixels (the bar is empty when it has no width).
    QRect BarRect() const;
    QRect BackRect() const;

    QSize sizeHint() const override;

signals:
    // Every property write, so that the host rewrites its stored copy.
    void propertyChanged(const QString& name);

protected:
    BarGraphBase(const BarGeometry::Layout& layout, const QColor& layoutColor, QWidget* parent);

    void ApplyBarColor(const QColor& color);
    void paintEvent(QPaintEvent* event) override;

private:
    QFont AmbientFont() const;
    void RedrawBar();
    QRectF ToPixels(double left, double top, double width, double height) const;

    const BarGeometry::Layout& layout_;
    quint32 backColor_ = 0;
    quint32 foreColor_ = 0;
    bool enabled_ = false;
    QFont font_;
    qint16 backStyle_ = 0;
    qint16 borderStyle_ = 0;
    qint16 maxValue_ = 1050;
    qint16 minValue_ = -50;
    qint16 mvValue_ = 0;
    int barWidth_ = 0;
    QColor barColor_;
};
