// Mouse drags and the view matrix composed from the camera values.
#include "app/CameraState.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

using namespace korvath;

namespace {

CameraState stoppedCamera() {
    CameraState camera;
    camera.flightStopped = true;
    return camera;
}

} // namespace

TEST(MouseBeforeSpace, ButtonsAndMotionChangeNothing) {
    CameraState camera;
    pressButton(camera, GLUT_LEFT_BUTTON, GLUT_DOWN, 10, 10);
    pressButton(camera, GLUT_RIGHT_BUTTON, GLUT_DOWN, 10, 10);
    EXPECT_FALSE(camera.leftDrag);
    EXPECT_FALSE(camera.rightDrag);
    EXPECT_FALSE(movePointer(camera, 300, 200));
    const CameraState untouched;
    EXPECT_EQ(camera.rotX, untouched.rotX);
    EXPECT_EQ(camera.rotY, untouched.rotY);
    EXPECT_EQ(camera.transZ, untouched.transZ);
}

TEST(MouseAfterSpace, LeftDragTurnsOneDegreePerPixelStepByStep) {
    CameraState camera = stoppedCamera();
    pressButton(camera, GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100);
    EXPECT_TRUE(movePointer(camera, 110, 95));
    EXPECT_TRUE(movePointer(camera, 120, 95));
    EXPECT_EQ(camera.rotY, -10.0f + 20.0f);
    EXPECT_EQ(camera.rotX, 30.0f - 5.0f);
    pressButton(camera, GLUT_LEFT_BUTTON, GLUT_UP, 120, 95);
    movePointer(camera, 500, 500);
    EXPECT_EQ(camera.rotY, 10.0f);
}

TEST(MouseAfterSpace, RightDragDownMovesTheSceneAway) {
    CameraState camera = stoppedCamera();
    pressButton(camera, GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 50);
    movePointer(camera, 0, 80);
    movePointer(camera, 0, 90);
    EXPECT_EQ(camera.transZ, -20.0f - 40.0f);
    EXPECT_EQ(camera.rotY, -10.0f);
}

TEST(MouseAfterSpace, MiddleDragReappliesTheWholeOffsetFromThePress) {
    CameraState camera = stoppedCamera();
    pressButton(camera, GLUT_MIDDLE_BUTTON, GLUT_DOWN, 100, 100);
    movePointer(camera, 150, 100);
    EXPECT_FLOAT_EQ(camera.transX, 5.0f);
    movePointer(camera, 150, 100);
    EXPECT_FLOAT_EQ(camera.transX, 0.0f);
    movePointer(camera, 150, 130);
    EXPECT_FLOAT_EQ(camera.transX, -5.0f);
    EXPECT_FLOAT_EQ(camera.transY, -50.0f + 3.0f);
}

TEST(MouseAfterSpace, SeveralDragsApplyTogetherAndOtherButtonsDoNothing) {
    CameraState camera = stoppedCamera();
    pressButton(camera, GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    pressButton(camera, GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0);
    pressButton(camera, 7, GLUT_DOWN, 0, 0);
    movePointer(camera, 4, 6);
    EXPECT_EQ(camera.rotY, -6.0f);
    EXPECT_EQ(camera.rotX, 36.0f);
    EXPECT_EQ(camera.transZ, -26.0f);
    EXPECT_FALSE(camera.middleDrag);
}

TEST(ViewMatrix, RotatesAboutYThenXThenTranslates) {
    CameraState camera;
    camera.rotY = 90.0f;
    camera.rotX = 90.0f;
    camera.transX = 1.0f;
    camera.transY = 2.0f;
    camera.transZ = 3.0f;
    // (1,0,0): rotY 90 -> (0,0,-1); rotX 90 -> (0,1,0); + (1,2,3) -> (1,3,3).
    const Vector3 p = transformPoint(composeViewMatrix(camera), Vector4(1, 0, 0, 1));
    EXPECT_NEAR(p.x, 1.0f, 1e-5f);
    EXPECT_NEAR(p.y, 3.0f, 1e-5f);
    EXPECT_NEAR(p.z, 3.0f, 1e-5f);
}

TEST(ViewMatrix, LightIsTransformedWithItsW) {
    const Matrix4 shift = Matrix4::translation(1, 2, 3, 1);
    const Vector3 point = transformPoint(shift, Vector4(125, 250, 68, 1));
    EXPECT_EQ(point.x, 126.0f);
    EXPECT_EQ(point.y, 252.0f);
    EXPECT_EQ(point.z, 71.0f);
    const Vector3 direction = transformPoint(shift, Vector4(1, 1, 1, 0));
    EXPECT_EQ(direction.x, 1.0f);
}

TEST(ShadowSceneCamera, ResetIgnoresEarlierDragsAndStopsTheFlight) {
    CameraState camera = stoppedCamera();
    camera.rotY = 123.0f;
    camera.transZ = -400.0f;
    CameraState running;
    resetForShadowScene(running);
    resetForShadowScene(camera);
    for (const CameraState* c : {&camera, &running}) {
        EXPECT_TRUE(c->flightStopped);
        EXPECT_EQ(c->rotY, -237.0f);
        EXPECT_EQ(c->rotX, -39.0f);
        EXPECT_EQ(c->transX, 3.0f);
        EXPECT_EQ(c->transY, -1.7f);
        EXPECT_EQ(c->transZ, -3.0f);
    }
}
