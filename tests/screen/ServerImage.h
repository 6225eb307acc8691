// What the X server holds on screen, read over a connection of its own: only what the
// program really sent to the server shows, not what it keeps in its own buffers.
#pragma once

#include <QImage>
#include <QRect>

// The area of the root window (screen coordinates); a null image if it cannot be read.
QImage ServerImage(const QRect& area);
// How many different colours the image holds.
int DistinctColours(const QImage& image);
