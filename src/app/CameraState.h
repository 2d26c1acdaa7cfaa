// The process-wide camera: values the mouse and the scripted flight change,
// the drag state, and the pure functions that update them.
#pragma once

#include "math/Matrix4.h"
#include "math/Vector.h"

namespace korvath {

struct CameraState {
    float rotY = -10.0f; // degrees about y
    float rotX = 30.0f;  // degrees about x
    float transX = 10.0f;
    float transY = -50.0f;
    float transZ = -20.0f;            // the "scaling" of the key help: the zoom
    Vector3 eye{0.0f, 10.0f, 100.0f}; // eye of the start-up look-at
    bool flightStopped = false;
    float flightTime = 0.0f; // seconds the scripted flight has run
    Matrix4 viewMatrix;

    bool leftDrag = false;
    bool middleDrag = false;
    bool rightDrag = false;
    int lastX = 0; // pointer at the previous left-drag event
    int lastY = 0;
    int zoomLastY = 0; // pointer y at the previous right-drag event
    int pressX = 0;    // where the middle button went down
    int pressY = 0;
};

extern CameraState cameraState;

// A GLUT button event: arms or disarms a drag. Ignored while the flight runs.
void pressButton(CameraState& camera, int button, int buttonState, int x, int y);

// A GLUT motion event: applies the armed drags in the order rotate, zoom,
// translate. Returns false while the flight runs (nothing changed, no redisplay).
bool movePointer(CameraState& camera, int x, int y);

// translation(trans) * rotation(rotX about x) * rotation(rotY about y).
Matrix4 composeViewMatrix(const CameraState& camera);

// At 12 frames per second the tilt phase (-0.5 degrees for 60 frames) ends with
// the gaze exactly level, the camera 120 units above the sea circling the island.
// Faster rates would tilt the camera past level and take it under the water.
constexpr float flightFrameRate = 12.0f;

// One frame of the scripted flight, dt seconds long. The steps are per frame at
// flightFrameRate and scaled by dt * flightFrameRate, so the path does not depend
// on the frame rate.
void advanceFlight(CameraState& camera, float dt);
// The camera values the shadow scene starts from; the flight stays stopped.
void resetForShadowScene(CameraState& camera);

} // namespace korvath
