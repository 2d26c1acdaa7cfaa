// Mouse drags: nothing before space, then rotation, zoom and translation.
#include "app/CameraState.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

using namespace korvath;

TEST(Mouse, ChangesNothingBeforeSpace) {
    CameraState camera;
    pressButton(camera, GLUT_LEFT_BUTTON, GLUT_DOWN, 10, 10);
    EXPECT_FALSE(camera.leftDrag);
    EXPECT_FALSE(movePointer(camera, 300, 200));
    EXPECT_EQ(camera.rotY, CameraState().rotY);
}

TEST(Mouse, DragsAfterSpaceRotateZoomAndTranslate) {
    CameraState camera;
    camera.flightStopped = true;
    pressButton(camera, GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100);
    pressButton(camera, GLUT_RIGHT_BUTTON, GLUT_DOWN, 100, 100);
    movePointer(camera, 110, 95);
    movePointer(camera, 120, 105);
    EXPECT_EQ(camera.rotY, -10.0f + 20.0f); // one degree per pixel, step by step
    EXPECT_EQ(camera.rotX, 30.0f + 5.0f);
    EXPECT_EQ(camera.transZ, -20.0f - 5.0f); // dragging down moves the scene away
    pressButton(camera, GLUT_LEFT_BUTTON, GLUT_UP, 0, 0);
    pressButton(camera, GLUT_RIGHT_BUTTON, GLUT_UP, 0, 0);

    // The middle drag applies the whole offset from the press at every event.
    pressButton(camera, GLUT_MIDDLE_BUTTON, GLUT_DOWN, 100, 100);
    movePointer(camera, 150, 100);
    movePointer(camera, 150, 130);
    EXPECT_FLOAT_EQ(camera.transX, 0.0f);
    EXPECT_FLOAT_EQ(camera.transY, -47.0f);
    EXPECT_EQ(camera.rotY, 10.0f);
}
