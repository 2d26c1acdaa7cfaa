// The guard band's arithmetic and the GL state it sets and restores.
#include "scenes/PointGuardBand.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

namespace korvath {

namespace {

// The band an axis of this size gets within the driver's largest viewport.
int bandWithin(int windowSize, int band, int maxViewportSize) {
    return std::clamp((maxViewportSize - windowSize) / 2, 0, band);
}

} // namespace

int guardBandWidth(float widestProgramPointSize, float driverLargestPointSize) {
    return static_cast<int>(
        std::ceil(std::min(widestProgramPointSize, driverLargestPointSize) / 2));
}

GuardBandLayout guardBandAround(const ViewportRect& window, int band, int maxViewportWidth,
                                int maxViewportHeight) {
    const int bandX = bandWithin(window.width, band, maxViewportWidth);
    const int bandY = bandWithin(window.height, band, maxViewportHeight);
    const ViewportRect viewport{window.x - bandX, window.y - bandY, window.width + 2 * bandX,
                                window.height + 2 * bandY};
    return {viewport, static_cast<float>(window.width) / viewport.width,
            static_cast<float>(window.height) / viewport.height};
}

PointGuardBand::PointGuardBand(float widestProgramPointSize) {
    // Points drawn as sprites are clamped to one of the two ranges, depending on
    // the driver and on point smoothing: the larger end bounds them both.
    GLfloat aliasedRange[2] = {0.0f, 0.0f};
    GLfloat smoothRange[2] = {0.0f, 0.0f};
    glGetFloatv(GL_ALIASED_POINT_SIZE_RANGE, aliasedRange);
    glGetFloatv(GL_POINT_SIZE_RANGE, smoothRange);
    band = guardBandWidth(widestProgramPointSize, std::max(aliasedRange[1], smoothRange[1]));
    GLint maxDims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxDims);
    maxViewportWidth = maxDims[0];
    maxViewportHeight = maxDims[1];
}

void PointGuardBand::begin() {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    window = {viewport[0], viewport[1], viewport[2], viewport[3]};
    const GuardBandLayout layout =
        guardBandAround(window, band, maxViewportWidth, maxViewportHeight);
    glViewport(layout.viewport.x, layout.viewport.y, layout.viewport.width, layout.viewport.height);
    glScissor(window.x, window.y, window.width, window.height);
    glEnable(GL_SCISSOR_TEST);

    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glScalef(layout.projectionScaleX, layout.projectionScaleY, 1.0f);
    glMultMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
}

void PointGuardBand::end() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_SCISSOR_TEST);
    glViewport(window.x, window.y, window.width, window.height);
}

} // namespace korvath
