// The shading context and lava renderer for the particle GL tests and benchmarks.
#include "testbed/ParticleGlSupport.h"

#include "app/Application.h"
#include "testbed/GlTestContext.h"

namespace korvath::test {

const ShaderContext& particleShaderContext() {
    ShaderContext& shading = application.shaderContext;
    if (shading.context == nullptr) {
        ensureGlContext();
        cgSetErrorCallback(shadingErrorHandler);
        shading.context = cgCreateContext();
        shading.vertexProfile = cgGLGetLatestProfile(CG_GL_VERTEX);
        shading.fragmentProfile = cgGLGetLatestProfile(CG_GL_FRAGMENT);
    }
    return shading;
}

PointSpriteRenderer* lavaRenderer(const char* vertexProgramPath) {
    const ShaderContext& shading = particleShaderContext();
    return new PointSpriteRenderer(vertexProgramPath, "cg/fp_volcanoLava.cg",
                                   "data/particle/lava.bmp", false, shading.context,
                                   shading.vertexProfile, shading.fragmentProfile);
}

} // namespace korvath::test
