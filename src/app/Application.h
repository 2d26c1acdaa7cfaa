// The application's process-wide state: the shading context, the scenes and
// which of them is active, and the GLUT callbacks that drive them.
#pragma once

#include "math/Matrix4.h"
#include "math/Vector.h"
#include "shading/ShaderContext.h"

namespace korvath {

class VolcanoScene;
class ShadowScene;

struct Application {
    ShaderContext shaderContext;
    VolcanoScene* volcanoScene = nullptr; // owned; released by the switch
    ShadowScene* shadowScene = nullptr;   // owned; built by the switch
    bool shadowSceneActive = false;
};

extern Application application;

// The volcano scene's light in world coordinates.
extern const Vector4 volcanoLight;

// Window, callbacks, fixed GL state, image library, shading context, start-up view.
void initGraphics(int argc, char** argv);
// GLEW and the driver's capabilities; ends the process with status 1 on failure.
void initExtensions();
// Releases whichever scene is active.
void releaseActiveScene();

// The active scene under view, the frame's camera matrix; the volcano scene's
// light follows the view. No clear and no swap: the caller frames it.
void drawActiveScene(const Matrix4& view);

// GLUT callbacks.
void display();
void keyboard(unsigned char key, int x, int y);
void mouse(int button, int buttonState, int x, int y);
void motion(int x, int y);

// Key n: camera reset, volcano scene released once, shadow scene built and prepared.
void switchToShadowScene();

// Prints the runtime's error, its listing and "Cg error, exiting..." and exits with status 1.
void shadingErrorHandler();

} // namespace korvath
