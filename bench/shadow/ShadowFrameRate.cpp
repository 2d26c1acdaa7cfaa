// Frame rate of the shadow scene next to an empty frame, in one run: the scene is
// built as key n builds it and drawn the way the frame driver draws it (clear,
// render, swap), after the same number of clear-and-swap frames. Run from a
// directory holding cg/ and data/, under tests/support/with-xvfb.sh.
#include "app/FrameClock.h"
#include "math/Matrix4.h"
#include "mesh/Mesh3ds.h"
#include "scenes/ShadowScene.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int warmUpFrames = 30;
constexpr int timedFrames = 300;

korvath::ShaderContext shaderContext;

void exitOnShadingError() {
    const CGerror error = cgGetError();
    if (error != CG_NO_ERROR) {
        std::printf("%s\n%s\n", cgGetErrorString(error), cgGetLastListing(shaderContext.context));
        std::exit(1);
    }
}

// Milliseconds per frame over the timed frames, after the warm-up.
double millisecondsPerFrame(const std::function<void()>& frame) {
    for (int i = 0; i < warmUpFrames; ++i) {
        frame();
    }
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < timedFrames; ++i) {
        frame();
    }
    glFinish();
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / timedFrames;
}

void report(const char* what, double milliseconds) {
    std::printf("%-24s %7.2f ms/frame  %7.1f fps\n", what, milliseconds, 1000.0 / milliseconds);
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(800, 600);
    glutCreateWindow("Die Korvath");
    if (glewInit() != GLEW_OK) {
        std::printf("glewInit failed\n");
        return 1;
    }
    glClearColor(0.4f, 0.7f, 0.9f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_NORMALIZE);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    ilInit();
    iluInit();
    ilutInit();
    ilutRenderer(ILUT_OPENGL);
    cgSetErrorCallback(exitOnShadingError);
    shaderContext.context = cgCreateContext();
    shaderContext.vertexProfile = cgGLGetLatestProfile(CG_GL_VERTEX);
    shaderContext.fragmentProfile = cgGLGetLatestProfile(CG_GL_FRAGMENT);

    const double empty = millisecondsPerFrame([] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glutSwapBuffers();
    });

    korvath::ShadowScene scene(shaderContext);
    scene.cameraEye = korvath::Vector3(0.0f, 10.0f, 10.0f);
    scene.lightPosition = korvath::Vector3(0.0f, 50.0f, 50.0f);
    scene.computeMatrices();
    scene.createShadowMap();
    const auto sceneFrame = [&scene] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        korvath::frameClock.sceneTime += 1.0f / 60.0f;
        glPushMatrix();
        scene.render();
        glPopMatrix();
        glutSwapBuffers();
    };
    // The view the switch leaves the camera in, then the plain look-at from the
    // eye, where the landscape fills the window.
    scene.mouseView = korvath::Matrix4::translation(3.0f, -1.7f, -3.0f, 1.0f) *
                      korvath::Matrix4::rotation(-39.0f, 1.0f, 0.0f, 0.0f) *
                      korvath::Matrix4::rotation(-237.0f, 0.0f, 1.0f, 0.0f);
    const double switchView = millisecondsPerFrame(sceneFrame);
    scene.mouseView = korvath::Matrix4();
    const double plainView = millisecondsPerFrame(sceneFrame);

    std::printf("%d frames each, 800x600, shadow map %dx%d, %d + %d triangles\n", timedFrames,
                scene.shadowMapSize, scene.shadowMapSize, scene.landscape->polygonCount,
                scene.aircraft->polygonCount);
    report("empty frame", empty);
    report("shadow scene, switch", switchView);
    report("shadow scene, look-at", plainView);
    return 0;
}
