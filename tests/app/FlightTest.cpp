// The scripted flight: its timetable and its independence from the frame rate.
#include "app/CameraState.h"

#include <gtest/gtest.h>

using namespace korvath;

namespace {

// Runs the flight from its start for the given time in frames of equal length.
CameraState fly(float seconds, int framesPerSecond) {
    CameraState camera;
    const float dt = 1.0f / static_cast<float>(framesPerSecond);
    const int frames = static_cast<int>(seconds * static_cast<float>(framesPerSecond) + 0.5f);
    for (int i = 0; i < frames; ++i) {
        advanceFlight(camera, dt);
    }
    return camera;
}

} // namespace

TEST(FlightTimetable, StandsStillForTheFirstTwoSecondsInclusive) {
    CameraState camera;
    advanceFlight(camera, 2.0f);
    EXPECT_EQ(camera.flightTime, 2.0f);
    EXPECT_EQ(camera.transZ, -20.0f);
    EXPECT_EQ(camera.rotY, -10.0f);
}

TEST(FlightTimetable, AllFourValuesMoveBetweenTwoAndSeven) {
    CameraState camera;
    camera.flightTime = 3.0f;
    advanceFlight(camera, 1.0f / flightFrameRate);
    EXPECT_FLOAT_EQ(camera.transZ, -23.0f);
    EXPECT_FLOAT_EQ(camera.rotY, -9.2f);
    EXPECT_FLOAT_EQ(camera.rotX, 29.5f);
    EXPECT_FLOAT_EQ(camera.transY, -51.0f);
}

TEST(FlightTimetable, SevenAndTenAreStrictBoundaries) {
    CameraState atSeven;
    atSeven.flightTime = 6.5f;
    advanceFlight(atSeven, 0.5f); // reaches exactly 7: rotX and transY stop
    EXPECT_EQ(atSeven.rotX, 30.0f);
    EXPECT_EQ(atSeven.transY, -50.0f);
    EXPECT_FLOAT_EQ(atSeven.transZ, -20.0f - 3.0f * 0.5f * flightFrameRate);

    CameraState atTen;
    atTen.flightTime = 9.5f;
    advanceFlight(atTen, 0.5f); // reaches exactly 10: only the turn goes on
    EXPECT_EQ(atTen.transZ, -20.0f);
    EXPECT_FLOAT_EQ(atTen.rotY, -10.0f + 0.8f * 0.5f * flightFrameRate);
}

TEST(FlightTimetable, StoppedFlightNeverMovesAgain) {
    CameraState camera;
    camera.flightStopped = true;
    advanceFlight(camera, 5.0f);
    EXPECT_EQ(camera.flightTime, 0.0f);
    EXPECT_EQ(camera.rotY, -10.0f);
}

TEST(FlightTimetable, AZeroLengthFrameTakesNoStep) {
    CameraState camera;
    camera.flightTime = 4.0f;
    advanceFlight(camera, 0.0f);
    EXPECT_EQ(camera.transZ, -20.0f);
}

TEST(FlightPath, IsTheSameAtThirtyAndAtTwoHundredFramesPerSecond) {
    const CameraState slow = fly(12.0f, 30);
    const CameraState fast = fly(12.0f, 200);
    EXPECT_NEAR(slow.transZ, fast.transZ, 3.0f * 2.0f);
    EXPECT_NEAR(slow.rotY, fast.rotY, 0.8f * 2.0f);
    EXPECT_NEAR(slow.transY, fast.transY, 2.0f);
    // At the reference rate every frame takes the timetable's step: eight
    // seconds of zoom, and five of tilt that end with the gaze level.
    const CameraState reference = fly(12.0f, static_cast<int>(flightFrameRate));
    EXPECT_NEAR(reference.transZ, -20.0f - 3.0f * flightFrameRate * 8.0f, 3.0f);
    EXPECT_NEAR(reference.rotX, 0.0f, 0.5f);
    EXPECT_NEAR(reference.transY, -50.0f - flightFrameRate * 5.0f, 1.0f);
}
