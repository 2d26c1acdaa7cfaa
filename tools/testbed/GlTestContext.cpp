// One GL context per test process, made the way the program makes its own.
#include "testbed/GlTestContext.h"

#include <GL/freeglut.h>
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>

#include <cstdio>
#include <cstdlib>

namespace korvath::test {

namespace {
constexpr int kWidth = 800;
constexpr int kHeight = 600;
} // namespace

void ensureGlContext() {
    static bool created = false;
    if (created) {
        return;
    }
    int argc = 1;
    char name[] = "korvath-test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(kWidth, kHeight);
    glutCreateWindow("korvath-test");
    if (glewInit() != GLEW_OK) {
        std::fprintf(stderr, "GlTestContext: glewInit failed\n");
        std::abort();
    }
    ilInit();
    iluInit();
    ilutInit();
    ilutRenderer(ILUT_OPENGL);
    glViewport(0, 0, kWidth, kHeight);
    created = true;
}

std::vector<std::uint8_t> readBackBuffer() {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Rgb pixelAt(const std::vector<std::uint8_t>& pixels, int x, int y) {
    const size_t at = (static_cast<size_t>(y) * kWidth + x) * 3;
    return {pixels[at], pixels[at + 1], pixels[at + 2]};
}

} // namespace korvath::test
