// The GLUT callbacks: one frame of the active scene, the keys and the mouse.
#include "app/Application.h"

#include "app/CameraState.h"
#include "app/Clock.h"
#include "app/FrameClock.h"
#include "diagnostics/GlErrors.h"
#include "math/Matrix4.h"
#include "scenes/SceneTime.h"
#include "scenes/ShadowScene.h"
#include "scenes/VolcanoScene.h"

#include <GL/freeglut.h>
#include <GL/glew.h>

#include <cstdlib>

namespace korvath {

namespace {

constexpr unsigned char escapeKey = 27;
constexpr unsigned char spaceKey = ' ';
constexpr unsigned char switchKey = 'n';

// Advances time by the wall time since the previous frame; returns dt.
float tick(FrameClock& clock, float& time) {
    const int reading = millisecondsSinceStart();
    const int ticks = reading - clock.lastClock;
    clock.lastClock = reading;
    const float dt = static_cast<float>(ticks / 1000.0);
    time += dt;
    return dt;
}

} // namespace

void drawActiveScene(const Matrix4& view) {
    if (application.shadowSceneActive) {
        application.shadowScene->mouseView = view;
        application.shadowScene->render();
        reportGlErrors("the shadow scene");
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glMultMatrixf(view.m);
    if (application.volcanoScene != nullptr) {
        application.volcanoScene->viewLightPosition = transformPoint(view, volcanoLight);
        application.volcanoScene->draw();
    }
    reportGlErrors("the volcano scene");
}

void display() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const float dt = tick(frameClock, sceneTime);
    glPushMatrix();
    cameraState.viewMatrix = composeViewMatrix(cameraState);
    drawActiveScene(cameraState.viewMatrix);
    // The flight's step moves the camera for the next frame. It does nothing
    // once the flight is stopped, as it always is in the shadow scene.
    advanceFlight(cameraState, dt);
    glPopMatrix();
    glutSwapBuffers();
}

void keyboard(unsigned char key, int, int) {
    switch (key) {
    case escapeKey:
        std::exit(0);
    case spaceKey:
        cameraState.flightStopped = true;
        break;
    case switchKey:
        switchToShadowScene();
        break;
    default:
        break;
    }
}

void mouse(int button, int buttonState, int x, int y) {
    pressButton(cameraState, button, buttonState, x, y);
}

void motion(int x, int y) {
    if (movePointer(cameraState, x, y)) {
        glutPostRedisplay();
    }
}

void switchToShadowScene() {
    // The shadow scene is built once; a second n leaves it as it is.
    if (application.shadowSceneActive) {
        return;
    }
    resetForShadowScene(cameraState);
    delete application.volcanoScene;
    application.volcanoScene = nullptr;

    ShadowScene* scene = new ShadowScene(application.shaderContext);
    application.shadowScene = scene;
    application.shadowSceneActive = true;
    scene->cameraEye = Vector3(0.0f, 10.0f, 10.0f);
    scene->lightPosition = Vector3(0.0f, 50.0f, 50.0f);
    scene->computeMatrices();
    scene->createShadowMap();
}

} // namespace korvath
