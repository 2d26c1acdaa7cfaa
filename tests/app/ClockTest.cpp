// The millisecond clock runs on wall time, also while the process sleeps.
#include "app/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(Clock, CountsWallTimeWhileTheProcessSleeps) {
    const int before = korvath::millisecondsSinceStart();
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    const int elapsed = korvath::millisecondsSinceStart() - before;
    EXPECT_GE(elapsed, 120);
    EXPECT_LT(elapsed, 2000);
}
