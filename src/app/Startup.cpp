// Start-up: the window, the fixed graphics state, the shading context and GLEW.
#include "app/Application.h"

#include "app/CameraState.h"
#include "app/DriverCapabilities.h"
#include "scenes/ShadowScene.h"
#include "scenes/VolcanoScene.h"

#include <GL/freeglut.h>
#include <GL/glew.h>
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>

#include <cstdio>
#include <cstdlib>

namespace korvath {

Application application;
const Vector4 volcanoLight{125.0f, 250.0f, 68.0f, 1.0f};

void initGraphics(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(800, 600);
    glutCreateWindow("Die Korvath");

    glutDisplayFunc(display);
    glutIdleFunc(display);
    glutMouseFunc(mouse);
    glutMotionFunc(motion);
    glutKeyboardFunc(keyboard);

    glClearColor(0.4f, 0.7f, 0.9f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_NORMALIZE);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);

    ilInit();
    iluInit();
    ilutInit();
    ilutRenderer(ILUT_OPENGL);

    cgSetErrorCallback(shadingErrorHandler);
    ShaderContext& shading = application.shaderContext;
    shading.context = cgCreateContext();
    shading.vertexProfile = cgGLGetLatestProfile(CG_GL_VERTEX);
    shading.fragmentProfile = cgGLGetLatestProfile(CG_GL_FRAGMENT);

    // Aspect 1.0 rather than the window's: the volcano scene's framing is tuned to it.
    glMatrixMode(GL_PROJECTION);
    gluPerspective(40.0, 1.0, 1.0, 5000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const Vector3& eye = cameraState.eye;
    gluLookAt(eye.x, eye.y, eye.z, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}

void initExtensions() {
    const GLenum result = glewInit();
    if (result != GLEW_OK) {
        std::printf("error: %s\n", reinterpret_cast<const char*>(glewGetErrorString(result)));
        std::exit(1);
    }
    std::printf("Using GLEW %s\n", reinterpret_cast<const char*>(glewGetString(GLEW_VERSION)));
    requireDriverCapabilities();
}

void releaseActiveScene() {
    if (application.shadowSceneActive) {
        delete application.shadowScene;
        application.shadowScene = nullptr;
    } else {
        delete application.volcanoScene;
        application.volcanoScene = nullptr;
    }
}

void shadingErrorHandler() {
    const CGerror error = cgGetError();
    if (error == CG_NO_ERROR) {
        return;
    }
    std::printf("%s\n\n", cgGetErrorString(error));
    std::printf("%s\n", cgGetLastListing(application.shaderContext.context));
    std::printf("Cg error, exiting...\n");
    std::exit(1);
}

} // namespace korvath
