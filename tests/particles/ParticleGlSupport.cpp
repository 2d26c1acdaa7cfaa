// Shading context, sprite and screenshot helpers for the particle GL tests.
#include "ParticleGlSupport.h"

#include "support/GlTestContext.h"

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

// Writes the bound DevIL image to path, replacing an older file.
void saveBoundImage(ILenum type, const std::string& path) {
    ilEnable(IL_FILE_OVERWRITE);
    if (!ilSave(type, path.c_str())) {
        std::fprintf(stderr, "cannot save %s (DevIL error %d)\n", path.c_str(), ilGetError());
        std::abort();
    }
}

} // namespace

const ShaderContext& particleShaderContext() {
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

const std::string& particleTestFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/korvath-particles-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (made == nullptr) {
            std::abort();
        }
        return std::string(made);
    }();
    return folder;
}

std::string writeSpriteBmp(const std::string& name, int size, bool (*filled)(float, float)) {
    std::vector<ILubyte> pixels(static_cast<size_t>(size) * size * 3, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (filled((x + 0.5f) / size, (y + 0.5f) / size)) {
                const size_t at = (static_cast<size_t>(y) * size + x) * 3;
                pixels[at] = pixels[at + 1] = pixels[at + 2] = 255;
            }
        }
    }
    const std::string path = particleTestFolder() + "/" + name;
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(size, size, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, pixels.data());
    saveBoundImage(IL_BMP, path);
    ilDeleteImages(1, &image);
    return path;
}

void savePng(const std::string& path, const std::vector<std::uint8_t>& pixels) {
    std::vector<ILubyte> copy(pixels.begin(), pixels.end());
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(800, 600, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, copy.data());
    saveBoundImage(IL_PNG, path);
    ilDeleteImages(1, &image);
}

} // namespace korvath::test
