// The debug-build OpenGL error report.
#include "diagnostics/GlErrors.h"

#ifndef NDEBUG

#include <GL/glew.h>
#include <GL/glu.h>

#include <cstdio>

namespace korvath {

void reportGlErrors(const char* where) {
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        std::fprintf(stderr, "GL error 0x%04x (%s) after %s\n", error,
                     reinterpret_cast<const char*>(gluErrorString(error)), where);
    }
}

} // namespace korvath

#endif
