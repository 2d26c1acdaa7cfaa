// What the demo asks of the OpenGL driver, checked once after GLEW starts: one
// code path from OpenGL 2.0 up, and one line naming the first missing piece
// instead of a failure deep inside a compile or a draw.
#pragma once

namespace korvath {

// The driver's answers to the questions the demo asks, as GLEW reports them.
struct DriverOffers {
    bool multitexture = false;         // GL_ARB_multitexture
    bool opengl20 = false;             // GLSL vertex and fragment programs
    bool pointSprites = false;         // GL_ARB_point_sprite
    bool arbFramebufferObject = false; // GL_ARB_framebuffer_object
    bool extFramebufferObject = false; // GL_EXT_framebuffer_object
};

// Reads the answers from GLEW; glewInit must have succeeded.
DriverOffers queryDriverOffers();

// The standard-output line naming the first capability the driver lacks, or
// nullptr when it has them all.
const char* firstMissingCapability(const DriverOffers& offers);

// Prints the missing capability's line and ends the process with status 1, or
// returns when the driver has everything.
void requireDriverCapabilities();

} // namespace korvath
