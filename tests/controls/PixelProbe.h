// Reading what a widget put on screen: grab it into an image and look for colours.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <ostream>

inline void PrintTo(const QColor& color, std::ostream* os)
{
    *os << "rgb(" << color.red() << ", " << color.green() << ", " << color.blue() << ")";
}

inline QImage Snapshot(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline bool HasColorNear(const QImage& image, QPoint at, const QColor& color, int radius = 1)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (image.rect().contains(p) && image.pixelColor(p) == color)
                return true;
        }
    return false;
}

inline int CountColor(const QImage& image, const QRect& area, const QColor& color)
{
    int count = 0;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (image.pixelColor(x, y) == color)
                ++count;
    return count;
}
