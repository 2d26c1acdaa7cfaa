// The scripted flight: its timetable and its independence from the frame rate.
#include "app/CameraState.h"

#include <gtest/gtest.h>

using namespace korvath;

namespace {

CameraState fly(float seconds, int framesPerSecond) {
    CameraState camera;
    const int frames = static_cast<int>(seconds * static_cast<float>(framesPerSecond) + 0.5f);
    for (int i = 0; i < frames; ++i) {
        advanceFlight(camera, 1.0f / static_cast<float>(framesPerSecond));
    }
    return camera;
}

} // namespace

TEST(FlightTimetable, BoundariesTwoSevenAndTenAreStrict) {
    CameraState atTwo;
    advanceFlight(atTwo, 2.0f);
    EXPECT_EQ(atTwo.rotY, -10.0f);

    CameraState atSeven;
    atSeven.flightTime = 6.5f;
    advanceFlight(atSeven, 0.5f);
    EXPECT_EQ(atSeven.rotX, 30.0f);
    EXPECT_FLOAT_EQ(atSeven.transZ, -20.0f - 3.0f * 0.5f * flightFrameRate);

    CameraState atTen;
    atTen.flightTime = 9.5f;
    advanceFlight(atTen, 0.5f);
    EXPECT_EQ(atTen.transZ, -20.0f);
    EXPECT_FLOAT_EQ(atTen.rotY, -10.0f + 0.8f * 0.5f * flightFrameRate);

    CameraState stopped;
    stopped.flightStopped = true;
    advanceFlight(stopped, 5.0f);
    EXPECT_EQ(stopped.flightTime, 0.0f);
}

TEST(FlightPath, DoesNotDependOnTheFrameRateAndEndsLevel) {
    const CameraState slow = fly(12.0f, 30);
    const CameraState fast = fly(12.0f, 200);
    EXPECT_NEAR(slow.transZ, fast.transZ, 6.0f);
    EXPECT_NEAR(slow.rotY, fast.rotY, 1.6f);
    const CameraState reference = fly(12.0f, static_cast<int>(flightFrameRate));
    EXPECT_NEAR(reference.transZ, -20.0f - 3.0f * flightFrameRate * 8.0f, 3.0f);
    EXPECT_NEAR(reference.rotX, 0.0f, 0.5f);
}
