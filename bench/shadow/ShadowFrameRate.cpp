// Frame rate of the shadow scene next to an empty frame, in one run: the program
// starts as it always does, key n builds the scene, and each frame is drawn the
// way the frame driver draws it (clear, render, swap), after the same number of
// clear-and-swap frames. Run from a directory holding cg/ and data/, under
// tests/support/with-xvfb.sh.
#include "app/Application.h"
#include "app/CameraState.h"
#include "app/FrameClock.h"
#include "mesh/Mesh3ds.h"
#include "scenes/ShadowScene.h"

#include <GL/freeglut.h>
#include <GL/glew.h>

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr int warmUpFrames = 30;
constexpr int timedFrames = 300;

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
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    return elapsed.count() / timedFrames;
}

void report(const char* what, double milliseconds) {
    std::printf("%-24s %7.2f ms/frame  %7.1f fps\n", what, milliseconds, 1000.0 / milliseconds);
}

} // namespace

int main(int argc, char** argv) {
    using namespace korvath;
    // The program's window, GL state, image library and shading context; its GLUT
    // callbacks stay registered but never run, as no main loop is entered.
    initGraphics(argc, argv);
    initExtensions();
    const double empty = millisecondsPerFrame([] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glutSwapBuffers();
    });

    switchToShadowScene();
    ShadowScene& scene = *application.shadowScene;
    const auto sceneFrame = [&scene] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        frameClock.sceneTime += 1.0f / 60.0f;
        scene.render();
        glutSwapBuffers();
    };
    // The view the switch leaves the camera in, then the plain look-at from the
    // eye, where the landscape fills the window.
    scene.mouseView = composeViewMatrix(cameraState);
    const double switchView = millisecondsPerFrame(sceneFrame);
    scene.mouseView = Matrix4();
    const double plainView = millisecondsPerFrame(sceneFrame);

    std::printf("%d frames each, 800x600, shadow map %dx%d, %d + %d triangles\n", timedFrames,
                scene.shadowMapSize, scene.shadowMapSize, scene.landscape->polygonCount,
                scene.aircraft->polygonCount);
    report("empty frame", empty);
    report("shadow scene, switch", switchView);
    report("shadow scene, look-at", plainView);
    releaseActiveScene();
    return 0;
}
