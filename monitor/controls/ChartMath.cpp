#include "controls/ChartMath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ChartMath {

double RoundHalfEven(double value)
{
    // Spelled out rather than left to the floating-point rounding mode.
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1.0;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::optional<float> ValuePerUnitFor(int appliedMax, int appliedMin)
{
    if (appliedMax <= appliedMin)
        return std::nullopt;
    return static_cast<float>(double(appliedMax - appliedMin) / PlotHeight);
}

PenPoint PenY(int value, int sclMax, int sclMin, float valuePerUnit)
{
    if (value > sclMax)
        return {1, true};
    if (value < sclMin)
        return {PlotHeight, true};
    if (!(valuePerUnit > 0.0f))
        return {std::nullopt, false};
    const float units = static_cast<float>(sclMax - value) / valuePerUnit;
    const double y = RoundHalfEven(double(units));
    return {static_cast<int>(std::clamp(y, 0.0, double(PlotHeight))), false};
}

std::array<QString, 3> ScaleLabels(int appliedMax, int appliedMin)
{
    const int middle = appliedMin + (appliedMax - appliedMin) / 2;
    return {QString::number(appliedMax), QString::number(middle), QString::number(appliedMin)};
}

QString TimeLabel(int k, int countTim)
{
    const double minutes = (k * 100.0 / 60.0) * countTim;
    const long long tenths = static_cast<long long>(RoundHalfEven(minutes * 10.0));
    const long long magnitude = std::llabs(tenths);
    QString text = (tenths < 0 ? QStringLiteral("-") : QString())
        + QString::number(magnitude / 10);
    if (magnitude % 10 != 0)
        text += QLatin1Char('.') + QString::number(magnitude % 10);
    return text;
}

std::array<QString, 9> TimeLabels(int countTim)
{
    std::array<QString, 9> labels;
    for (int k = 1; k <= 9; ++k)
        labels[k - 1] = TimeLabel(k, countTim);
    return labels;
}

}  // namespace ChartMath
