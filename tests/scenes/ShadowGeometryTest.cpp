// The shadow scene's geometry: the bias into the map's texture range, where the
// aircraft flies, and how its heading drifts from its flight direction.
#include "scenes/ShadowGeometry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace korvath;
using namespace testing;
using Vector = std::array<float, 4>;

namespace {

constexpr double pi = 3.14159265358979323846;

// m * (x, y, z, w), all four components.
Vector apply(const Matrix4& m, const Vector& v) {
    Vector out{};
    for (int r = 0; r < 4; ++r) {
        out[r] = m.m[r] * v[0] + m.m[4 + r] * v[1] + m.m[8 + r] * v[2] + m.m[12 + r] * v[3];
    }
    return out;
}

} // namespace

TEST(ShadowBiasMatrix, MapsClipCoordinatesOntoTheTextureRangeBeforeTheDivision) {
    // NDC (0.5, -0.5, 0) at w = 4: the translation scales with w, so the point
    // divides to texture coordinates (0.75, 0.25, 0.5).
    EXPECT_EQ(apply(shadowBiasMatrix(), {2, -2, 0, 4}), (Vector{3, 1, 2, 4}));
}

TEST(AircraftFlight, CirclesFromZeroSixFourWithTheHeadingGainingOnTheCircle) {
    EXPECT_THAT(apply(aircraftPlacement(0.0f), {0, 0, 0, 1}),
                Pointwise(FloatNear(1e-5f), Vector{0, 6, 4, 1}));
    EXPECT_THAT(apply(aircraftPlacement(static_cast<float>(pi / 2)), {0, 0, 0, 1}),
                Pointwise(FloatNear(1e-5f), Vector{4, 6, 0, 1}));
    // The nose (the model's -y axis, along +x at t = 0) turns by t * 180 / 3.14 degrees:
    // by t = 600 s it is about 17.4 degrees ahead of the flight direction's t radians.
    const Vector nose = apply(aircraftPlacement(600.0f), {0, -1, 0, 0});
    const double noseDegrees = std::atan2(-nose[2], nose[0]) * 180.0 / pi;
    EXPECT_NEAR(std::remainder(noseDegrees - 600.0 * 180.0 / pi, 360.0),
                (180.0 / 3.14 - 180.0 / pi) * 600.0, 1e-2);
}
