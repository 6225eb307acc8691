// The opening form's bar and the re-read's bar follow the read of the present blocks.
#include "app/StartupProgress.h"

#include <gtest/gtest.h>

TEST(StartupProgress, RisesWithThePresentBlocksAndIsFullWhenTheLastOneIsRead) {
    std::array<qint16, BlockCount> absent{};
    absent.fill(1);
    absent[0] = absent[1] = absent[2] = absent[3] = 0;  // the demo line: four blocks
    EXPECT_LT(StartupReadPercent(16, absent), 15) << "the inquiries are a small part";
    const int afterFirst = StartupReadPercent(16 + 37, absent);
    const int afterThird = StartupReadPercent(16 + 3 * 37, absent);
    EXPECT_GT(afterFirst, StartupReadPercent(16, absent));
    EXPECT_GT(afterThird, afterFirst);
    EXPECT_LT(afterThird, 100);
    // The fourth block is the last present one: the read is all but done, whatever the
    // twelve absent blocks still add to the count.
    EXPECT_EQ(StartupReadPercent(16 + 4 * 37, absent), 100);
    EXPECT_EQ(StartupReadPercent(16 * 38, absent), 100);
    absent.fill(1);
    EXPECT_EQ(StartupReadPercent(16 * 38, absent), 100) << "an empty line";
}
