// Mouse drags, the scripted camera flight and the view matrix.
#include "app/CameraState.h"

#include <GL/freeglut.h>

namespace korvath {

CameraState cameraState;

void pressButton(CameraState& camera, int button, int buttonState, int x, int y) {
    if (!camera.flightStopped) {
        return;
    }
    const bool down = buttonState == GLUT_DOWN;
    if (buttonState != GLUT_DOWN && buttonState != GLUT_UP) {
        return;
    }
    switch (button) {
    case GLUT_LEFT_BUTTON:
        camera.leftDrag = down;
        if (down) {
            camera.lastX = x;
            camera.lastY = y;
        }
        break;
    case GLUT_MIDDLE_BUTTON:
        camera.middleDrag = down;
        if (down) {
            camera.pressX = x;
            camera.pressY = y;
        }
        break;
    case GLUT_RIGHT_BUTTON:
        camera.rightDrag = down;
        if (down) {
            camera.zoomLastY = y;
        }
        break;
    default:
        break;
    }
}

bool movePointer(CameraState& camera, int x, int y) {
    if (!camera.flightStopped) {
        return false;
    }
    if (camera.leftDrag) {
        const int dx = x - camera.lastX;
        const int dy = y - camera.lastY;
        camera.lastX = x;
        camera.lastY = y;
        camera.rotY += static_cast<float>(dx);
        camera.rotX += static_cast<float>(dy);
    }
    if (camera.rightDrag) {
        camera.transZ -= static_cast<float>(y - camera.zoomLastY);
        camera.zoomLastY = y;
    }
    if (camera.middleDrag) {
        // The whole offset from the press point applies at every event, so the
        // view moves faster the further the pointer is from where it went down.
        camera.transX = static_cast<float>(camera.transX - (x - camera.pressX) / 10.0);
        camera.transY = static_cast<float>(camera.transY + (y - camera.pressY) / 10.0);
    }
    return true;
}

Matrix4 composeViewMatrix(const CameraState& camera) {
    return Matrix4::translation(camera.transX, camera.transY, camera.transZ, 1.0f) *
           Matrix4::rotation(camera.rotX, 1.0f, 0.0f, 0.0f) *
           Matrix4::rotation(camera.rotY, 0.0f, 1.0f, 0.0f);
}

void advanceFlight(CameraState& camera, float dt) {
    if (camera.flightStopped) {
        return;
    }
    camera.flightTime += dt;
    const float t = camera.flightTime;
    if (t <= 2.0f) {
        return;
    }
    const float frames = dt * flightFrameRate;
    if (t < 10.0f) {
        camera.transZ -= 3.0f * frames;
    }
    camera.rotY += 0.8f * frames;
    if (t < 7.0f) {
        camera.rotX -= 0.5f * frames;
        camera.transY -= 1.0f * frames;
    }
}

void resetForShadowScene(CameraState& camera) {
    camera.rotY = -237.0f;
    camera.flightStopped = true;
    camera.rotX = -39.0f;
    camera.transZ = -3.0f;
    camera.transX = 3.0f;
    camera.transY = -1.7f;
}

} // namespace korvath
