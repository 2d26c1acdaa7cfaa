// The off-screen framebuffer of the shadow scene's depth pass: a depth buffer as
// large as the shadow map, so every texel copied from it holds a defined depth.
#pragma once

#include <GL/glew.h>

namespace korvath {

struct ShadowDepthTarget {
    GLuint framebuffer = 0;
    GLuint depthBuffer = 0;
    int size = 0;
    // glBindFramebuffer or glBindFramebufferEXT: the API create found.
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    // The window's viewport as use found it, for useWindow.
    GLint windowViewport[4] = {0, 0, 0, 0};

    // Creates the framebuffer with a size x size depth buffer and no colour,
    // through GL_ARB_framebuffer_object where the driver has it, otherwise
    // GL_EXT_framebuffer_object (start-up has checked for one of them).
    // Prints a message and exits with status 1 if the driver cannot complete it.
    // Like the depth texture it fills, it lives until the process ends.
    void create(int mapSize);

    // Draws and reads go to the depth buffer, through a size x size viewport,
    // until useWindow.
    void use();
    // Back to the window's framebuffer and the viewport it had before use, which
    // follows the window's size.
    void useWindow();
};

} // namespace korvath
