// Shading context, camera, frame and screenshot helpers for the ocean GL tests.
#include "OceanGlSupport.h"

#include "math/Matrix4.h"
#include "support/GlTestContext.h"

#include <GL/glew.h>
#include <GL/glu.h>
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilut.h>

#include <cstdio>
#include <cstdlib>

namespace korvath::test {

namespace {

CGcontext reportingContext = nullptr;

void abortOnShadingError() {
    const CGerror error = cgGetError();
    if (error == CG_NO_ERROR) {
        return;
    }
    std::fprintf(stderr, "%s\n%s\n", cgGetErrorString(error), cgGetLastListing(reportingContext));
    std::abort();
}

// The point under m, each component summed in the frame driver's order.
Vector3 transformPoint(const Matrix4& m, Vector3 p) {
    const float* e = m.m;
    return {((e[0] * p.x + e[4] * p.y) + e[8] * p.z) + e[12],
            ((e[1] * p.x + e[5] * p.y) + e[9] * p.z) + e[13],
            ((e[2] * p.x + e[6] * p.y) + e[10] * p.z) + e[14]};
}

} // namespace

const ShaderContext& oceanShaderContext() {
    static const ShaderContext context = [] {
        ensureGlContext();
        cgSetErrorCallback(abortOnShadingError);
        ShaderContext made;
        made.context = cgCreateContext();
        made.vertexProfile = cgGLGetLatestProfile(CG_GL_VERTEX);
        made.fragmentProfile = cgGLGetLatestProfile(CG_GL_FRAGMENT);
        reportingContext = made.context;
        return made;
    }();
    return context;
}

void addSceneWaves(Ocean& ocean) {
    ocean.addWave(1.0f, 0.0f, 0.6f, 30.0f, 1.8f, 0.0f);
    ocean.addWave(1.0f, 0.0f, -0.4f, 8.0f, 0.8f, 0.5f);
    ocean.addWave(0.5f, 0.0f, 0.9f, 13.0f, 1.2f, 1.0f);
}

Vector3 placeCamera(float tiltDegrees, Vector3 worldPoint) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, 1.0, 1.0, 5000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 10.0, 100.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    const Matrix4 view = Matrix4::translation(10.0f, -50.0f, -20.0f, 1.0f) *
                         Matrix4::rotation(tiltDegrees, 1.0f, 0.0f, 0.0f) *
                         Matrix4::rotation(-10.0f, 0.0f, 1.0f, 0.0f);
    glMultMatrixf(view.m);
    return transformPoint(view, worldPoint);
}

void drawFrame(Ocean& ocean, float time, Vector3 lightPosition) {
    glClearColor(0.4f, 0.7f, 0.9f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    ocean.draw(time, lightPosition);
}

void savePng(const std::string& path, const std::vector<std::uint8_t>& pixels) {
    std::vector<ILubyte> copy(pixels.begin(), pixels.end());
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(800, 600, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, copy.data());
    ilEnable(IL_FILE_OVERWRITE);
    if (!ilSave(IL_PNG, path.c_str())) {
        std::fprintf(stderr, "cannot save %s (DevIL error %d)\n", path.c_str(), ilGetError());
        std::abort();
    }
    ilDeleteImages(1, &image);
}

} // namespace korvath::test
