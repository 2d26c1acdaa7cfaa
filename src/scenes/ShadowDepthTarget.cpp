// Creation and binding of the depth pass's off-screen framebuffer.
#include "scenes/ShadowDepthTarget.h"

#include <cstdio>
#include <cstdlib>

namespace korvath {

void ShadowDepthTarget::create(int mapSize) {
    size = mapSize;
    glGenRenderbuffers(1, &depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, size, size);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        std::printf("Unable to create the shadow map framebuffer, exiting...\n");
        std::fflush(stdout);
        std::exit(1);
    }
}

void ShadowDepthTarget::use() {
    glGetIntegerv(GL_VIEWPORT, windowViewport);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, size, size);
}

void ShadowDepthTarget::useWindow() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(windowViewport[0], windowViewport[1], windowViewport[2], windowViewport[3]);
}

} // namespace korvath
