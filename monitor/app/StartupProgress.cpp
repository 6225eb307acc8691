#include "app/StartupProgress.h"

#include <QtGlobal>

namespace {

constexpr int ItemsPerBlock = 37;

}  // namespace

int StartupReadPercent(int count, const std::array<qint16, BlockCount>& blockAbsent) {
    int present = 0;
    for (qint16 absent : blockAbsent) present += absent == 0 ? 1 : 0;
    const int total = BlockCount + ItemsPerBlock * present;
    int done = qBound(0, count, BlockCount);
    // Past the inquiries the count grows by 37 at the end of each block's items.
    const int blocksRead = qBound(0, (count - BlockCount) / ItemsPerBlock, BlockCount);
    for (int b = 0; b < blocksRead; ++b) done += blockAbsent[size_t(b)] == 0 ? ItemsPerBlock : 0;
    return total > 0 ? done * 100 / total : 100;
}
