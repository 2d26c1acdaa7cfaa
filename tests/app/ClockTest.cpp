// The millisecond clock runs on wall time, also while the process sleeps.
#include "app/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(Clock, CountsWallTimeWhileTheProcessSleeps) {
    const int before = korvath::millisecondsSinceStart();
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    const int after = korvath::millisecondsSinceStart();
    EXPECT_GE(after - before, 120);
    EXPECT_LT(after - before, 2000);
    EXPECT_GE(before, 0);
}
