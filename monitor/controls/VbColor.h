// Colours as the controls store them: one integer with red in the lowest byte, green in
// the second and blue in the third (0xFF0000 is blue).
#pragma once

#include <QColor>
#include <QtGlobal>

inline QColor ColorFromVb(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

inline quint32 VbFromColor(const QColor& color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}
