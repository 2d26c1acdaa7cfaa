// The shadow scene's test set-up, made as the program makes its own.
#include "ShadowSceneSetup.h"

#include "support/GlTestContext.h"

#define ILUT_USE_OPENGL
#include <IL/il.h>

#include <cstdio>
#include <cstdlib>

namespace korvath::test {

namespace {

ShaderContext shaderContext;

void failOnShadingError() {
    const CGerror error = cgGetError();
    if (error == CG_NO_ERROR) {
        return;
    }
    std::fprintf(stderr, "shading error: %s\n%s\n", cgGetErrorString(error),
                 cgGetLastListing(shaderContext.context));
    std::abort();
}

} // namespace

const ShaderContext& shadowTestShaderContext() {
    if (shaderContext.context == nullptr) {
        ensureGlContext();
        glClearColor(0.4f, 0.7f, 0.9f, 1.0f);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_NORMALIZE);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_DEPTH_TEST);
        cgSetErrorCallback(failOnShadingError);
        shaderContext.context = cgCreateContext();
        shaderContext.vertexProfile = cgGLGetLatestProfile(CG_GL_VERTEX);
        shaderContext.fragmentProfile = cgGLGetLatestProfile(CG_GL_FRAGMENT);
    }
    return shaderContext;
}

ShadowScene* buildSceneAsTheSwitchDoes() {
    auto* scene = new ShadowScene(shadowTestShaderContext());
    scene->cameraEye = Vector3(0.0f, 10.0f, 10.0f);
    scene->lightPosition = Vector3(0.0f, 50.0f, 50.0f);
    scene->computeMatrices();
    scene->createShadowMap();
    return scene;
}

Matrix4 switchMouseView() {
    return Matrix4::translation(3.0f, -1.7f, -3.0f, 1.0f) * Matrix4::rotation(-39.0f, 1.0f, 0.0f, 0.0f) *
           Matrix4::rotation(-237.0f, 0.0f, 1.0f, 0.0f);
}

void savePng(const std::vector<std::uint8_t>& pixels, const std::string& path) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(800, 600, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, const_cast<std::uint8_t*>(pixels.data()));
    ilEnable(IL_FILE_OVERWRITE);
    std::string mutablePath(path);
    ilSaveImage(mutablePath.data());
    ilDeleteImages(1, &image);
}

} // namespace korvath::test
