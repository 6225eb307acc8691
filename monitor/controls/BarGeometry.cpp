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

const char* LabelText(int k)
{
    static constexpr std::array<const char*, 3> texts = {"0", "50", "100"};
    return texts.at(k);
}

int LabelTick(int k) { return 5 * k; }

}  // namespace BarGeometry
