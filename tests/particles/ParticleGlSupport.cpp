// The shading context for the particle GL tests and benchmarks.
#include "ParticleGlSupport.h"

#include "app/Application.h"
#include "support/GlTestContext.h"

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

} // namespace korvath::test
