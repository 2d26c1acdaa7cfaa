// Creation and binding of the depth pass's off-screen framebuffer.
#include "scenes/ShadowDepthTarget.h"

#include <cstdio>
#include <cstdlib>

namespace korvath {

namespace {

// The framebuffer calls create makes. The ARB and EXT entry points take the
// same arguments and the same enum values, so one table serves both.
struct FramebufferCalls {
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
};

FramebufferCalls driverFramebufferCalls() {
    if (GLEW_ARB_framebuffer_object) {
        return {glGenRenderbuffers,      glBindRenderbuffer, glRenderbufferStorage,
                glGenFramebuffers,       glBindFramebuffer,  glFramebufferRenderbuffer,
                glCheckFramebufferStatus};
    }
    return {glGenRenderbuffersEXT,      glBindRenderbufferEXT, glRenderbufferStorageEXT,
            glGenFramebuffersEXT,       glBindFramebufferEXT,  glFramebufferRenderbufferEXT,
            glCheckFramebufferStatusEXT};
}

} // namespace

void ShadowDepthTarget::create(int mapSize) {
    const FramebufferCalls gl = driverFramebufferCalls();
    size = mapSize;
    bindFramebuffer = gl.bindFramebuffer;

    gl.genRenderbuffers(1, &depthBuffer);
    gl.bindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
    gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, size, size);
    gl.bindRenderbuffer(GL_RENDERBUFFER, 0);

    gl.genFramebuffers(1, &framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    const GLenum status = gl.checkFramebufferStatus(GL_FRAMEBUFFER);
    gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        std::printf("Unable to create the shadow map framebuffer, exiting...\n");
        std::fflush(stdout);
        std::exit(1);
    }
}

void ShadowDepthTarget::use() {
    glGetIntegerv(GL_VIEWPORT, windowViewport);
    bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, size, size);
}

void ShadowDepthTarget::useWindow() {
    bindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(windowViewport[0], windowViewport[1], windowViewport[2], windowViewport[3]);
}

} // namespace korvath
