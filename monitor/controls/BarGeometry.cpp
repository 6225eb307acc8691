#include "controls/BarGeometry.h"

namespace BarGeometry {

int BarWidth(int mvValue)
{
    const int width = (mvValue + 50) * 2;
    return width > 0 ? width : 0;
}

int TickX(const Layout& layout, int i)
{
    return layout.left + BarWidth(100 * i);
}

}  // namespace BarGeometry
