// A guard band around point passes. A driver may drop a wide point sprite whose
// centre has left the viewport, so a puff drifting out of the window would vanish
// at once; while the points draw, the viewport reaches past the window by half
// the widest point on every side, the scissor holds the window and the
// projection is narrowed to match, so every pixel lands where it did.
#pragma once

namespace korvath {

struct ViewportRect {
    int x;
    int y;
    int width;
    int height;
};

// The enlarged viewport and the factors the projection's x and y are scaled by,
// window size over viewport size on each axis.
struct GuardBandLayout {
    ViewportRect viewport;
    float projectionScaleX;
    float projectionScaleY;
};

// The band in pixels: half the widest point drawn, rounded up. That is the
// programs' widest unless the driver's point size range ends below it.
int guardBandWidth(float widestProgramPointSize, float driverLargestPointSize);

// The window's viewport enlarged by band on every side; on an axis where the
// driver's largest viewport allows less, by as much as it allows (none at all
// where the window already fills it).
GuardBandLayout guardBandAround(const ViewportRect& window, int band, int maxViewportWidth,
                                int maxViewportHeight);

class PointGuardBand {
public:
    // Asks the driver for its point size range and its largest viewport; needs
    // the GL context.
    explicit PointGuardBand(float widestProgramPointSize);

    // Enlarges the viewport in force now, scissors to it and narrows the
    // projection. Expects the modelview matrix mode, and leaves it on.
    void begin();
    // Restores the viewport and the projection; the scissor test is off after.
    void end();

private:
    int band;
    int maxViewportWidth;
    int maxViewportHeight;
    ViewportRect window{}; // the viewport begin found
};

} // namespace korvath
