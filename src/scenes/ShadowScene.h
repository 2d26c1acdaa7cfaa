// The second scene, shown after key n: a landscape and a circling aircraft lit by
// one light, with shadows from a depth map rendered from the light every frame.
#pragma once

#include "math/Matrix4.h"
#include "math/Vector.h"
#include "scenes/PassListener.h"
#include "scenes/ShadowDepthTarget.h"
#include "shading/ProgramPair.h"

#include <GL/glew.h>

namespace korvath {

class Mesh3ds;

class ShadowScene {
public:
    // Compiles the two shadow programs and checks their ten parameters (exits with
    // status 1 if one is missing, before any mesh is loaded), then loads both
    // meshes and their textures ("texture not found" once if either is missing).
    explicit ShadowScene(const ShaderContext& context);
    // Frees the two meshes; programs, depth texture and framebuffer live until exit.
    ~ShadowScene();
    ShadowScene(const ShadowScene&) = delete;
    ShadowScene& operator=(const ShadowScene&) = delete;

    // Fills the camera and light matrices from cameraEye and lightPosition, using
    // the model-view stack as a calculator; the stack is left as found.
    void computeMatrices();
    // Sets the GL state every render relies on and creates the depth texture and
    // the framebuffer of the depth pass.
    void createShadowMap();
    // One frame at the current scene time: depth pass from the light, then the
    // camera pass through the shadow programs. Does not swap buffers.
    void render();
    // Landscape and aircraft at time t; the camera pass adds mouseView and feeds
    // the programs each object's matrices, light and colours.
    void drawObjects(float t, bool cameraPass);

    // Left to the runtime context, which lives until exit.
    ProgramPair programs;
    CGparameter texTransformParam = nullptr;
    CGparameter lightVecParam = nullptr;
    CGparameter shadowMapParam = nullptr;
    CGparameter ambientColorParam = nullptr;
    CGparameter diffuseColorParam = nullptr;
    CGparameter specularColorParam = nullptr;
    Mesh3ds* landscape = nullptr;
    Mesh3ds* aircraft = nullptr;
    GLuint shadowTexture = 0;
    int shadowMapSize = 1024;
    Vector3 lightPosition;
    Vector3 cameraEye;
    Matrix4 lightProjection;
    Matrix4 lightView;
    Matrix4 cameraProjection;
    Matrix4 cameraView;
    // The camera projection's aspect; the camera pass draws into the window's viewport.
    int viewportWidth = 800;
    int viewportHeight = 600;
    Matrix4 mouseView; // the frame driver's view matrix, refreshed before every render
    ShadowDepthTarget depthTarget;
    // Told of the passes depth and camera; not owned, none by default.
    PassListener* passListener = nullptr;

private:
    void renderDepthPass(float t);
    void renderCameraPass(float t);
    void setAircraftShadowTransform(const Matrix4& placement);
};

} // namespace korvath
