// The capability table: each row a question to the driver and the line printed
// when its answer is no, in the order they are asked.
#include "app/DriverCapabilities.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>

namespace korvath {

namespace {

struct Capability {
    bool (*present)(const DriverOffers&);
    const char* missingLine;
};

// Point sprites and multitexturing are core from OpenGL 2.0 and 1.3, yet both
// are asked for by their extension names, which every driver that has them lists.
const Capability capabilities[] = {
    {[](const DriverOffers& o) { return o.multitexture; },
     "GL_ARB_multitexture extension needed.\n"},
    // The shading runtime calls the OpenGL 2.0 entry points (glCreateShader,
    // glLinkProgram, ...), which GLEW loads only from a 2.0 driver.
    {[](const DriverOffers& o) { return o.opengl20; },
     "OpenGL 2.0 needed for GLSL vertex and fragment programs.\n"},
    {[](const DriverOffers& o) { return o.pointSprites; },
     "GL_ARB_point_sprite extension needed.\n"},
    {[](const DriverOffers& o) { return o.arbFramebufferObject || o.extFramebufferObject; },
     "GL_ARB_framebuffer_object or GL_EXT_framebuffer_object extension needed.\n"},
};

} // namespace

DriverOffers queryDriverOffers() {
    DriverOffers offers;
    offers.multitexture = GLEW_ARB_multitexture;
    offers.opengl20 = GLEW_VERSION_2_0;
    offers.pointSprites = GLEW_ARB_point_sprite;
    offers.arbFramebufferObject = GLEW_ARB_framebuffer_object;
    offers.extFramebufferObject = GLEW_EXT_framebuffer_object;
    return offers;
}

const char* firstMissingCapability(const DriverOffers& offers) {
    for (const Capability& capability : capabilities) {
        if (!capability.present(offers)) {
            return capability.missingLine;
        }
    }
    return nullptr;
}

void requireDriverCapabilities() {
    const char* missing = firstMissingCapability(queryDriverOffers());
    if (missing != nullptr) {
        std::printf("%s", missing);
        std::exit(1);
    }
}

} // namespace korvath
