// The off-screen framebuffer of the shadow scene's depth pass: a depth buffer as
// large as the shadow map, so every texel copied from it holds a defined depth.
#pragma once

#include <GL/glew.h>

namespace korvath {

struct ShadowDepthTarget {
    GLuint framebuffer = 0;
    GLuint depthBuffer = 0;

    // Creates the framebuffer with a size x size depth buffer and no colour.
    // Prints a message and exits with status 1 if the driver cannot complete it.
    // Like the depth texture it fills, it lives until the process ends.
    void create(int size);

    // Draws and reads go to the depth buffer until useWindow.
    void use() const;
    static void useWindow();
};

} // namespace korvath
