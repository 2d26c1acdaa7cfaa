// The point passes' guard band: how wide it is, how the driver's largest
// viewport limits it, and that the narrowed projection puts every point on the
// window pixel it had without the band.
#include "scenes/PointGuardBand.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace korvath;
using namespace testing;

namespace {

constexpr int noLimit = 16384;

// The window x (or y) a normalised device coordinate lands on in a viewport.
float windowCoordinate(float ndc, int origin, int size) {
    return origin + (ndc + 1.0f) * size / 2.0f;
}

} // namespace

TEST(GuardBandWidth, IsHalfTheWidestPointRoundedUpWithinTheDriversRange) {
    EXPECT_EQ(guardBandWidth(96.0f, 255.0f), 48);
    EXPECT_EQ(guardBandWidth(95.0f, 255.0f), 48);
    EXPECT_EQ(guardBandWidth(96.0f, 64.0f), 32);
}

TEST(GuardBandAround, PutsEveryPointOnItsWindowPixel) {
    const ViewportRect window{10, 20, 800, 600};
    const GuardBandLayout band = guardBandAround(window, 48, noLimit, noLimit);
    EXPECT_THAT(band.viewport, FieldsAre(-38, -28, 896, 696));
    for (const float ndc : {-1.0f, -0.3f, 0.0f, 0.71f, 1.0f, 1.1f}) {
        EXPECT_THAT(
            windowCoordinate(ndc * band.projectionScaleX, band.viewport.x, band.viewport.width),
            FloatNear(windowCoordinate(ndc, window.x, window.width), 1e-3f));
        EXPECT_THAT(
            windowCoordinate(ndc * band.projectionScaleY, band.viewport.y, band.viewport.height),
            FloatNear(windowCoordinate(ndc, window.y, window.height), 1e-3f));
    }
}

TEST(GuardBandAround, ShrinksOnEachAxisToTheDriversLargestViewport) {
    const ViewportRect window{0, 0, 800, 600};
    // Room for 47 pixels a side across, 25 up and down.
    const GuardBandLayout narrow = guardBandAround(window, 48, 895, 650);
    EXPECT_THAT(narrow.viewport, FieldsAre(-47, -25, 894, 650));
    EXPECT_FLOAT_EQ(narrow.projectionScaleX, 800.0f / 894.0f);
    EXPECT_FLOAT_EQ(narrow.projectionScaleY, 600.0f / 650.0f);
    // A window as large as the largest viewport, or larger, gets no band.
    const GuardBandLayout none = guardBandAround(window, 48, 800, 500);
    EXPECT_THAT(none.viewport, FieldsAre(0, 0, 800, 600));
    EXPECT_FLOAT_EQ(none.projectionScaleX, 1.0f);
    EXPECT_FLOAT_EQ(none.projectionScaleY, 1.0f);
}
