// Facts about the shadow scene's geometry: the bias into the map's texture range,
// where the aircraft flies, and how its heading drifts from its position.
#include "scenes/ShadowGeometry.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

using korvath::Matrix4;
using korvath::Vector3;
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

void expectNear(const Vector& actual, const Vector& expected, float tolerance) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
    }
}

} // namespace

TEST(ShadowBiasMatrix, MapsClipCoordinatesOntoTheTextureRangeBeforeTheDivision) {
    const Matrix4& bias = korvath::shadowBiasMatrix();
    const float expected[16] = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0.5f, 0, 0.5f, 0.5f, 0.5f, 1};
    EXPECT_EQ(std::vector<float>(expected, expected + 16), std::vector<float>(bias.m, bias.m + 16));
    // NDC (0.5, -0.5, 0) at w = 4: the translation scales with w, so the point
    // divides to texture coordinates (0.75, 0.25, 0.5).
    expectNear(apply(bias, {2, -2, 0, 4}), {3, 1, 2, 4}, 0.0f);
}

TEST(AircraftFlight, CirclesAtRadiusFourAndHeightSixWithTheHeadingGainingOnTheCircle) {
    expectNear(apply(korvath::aircraftPlacement(0.0f), {0, 0, 0, 1}), {0, 6, 4, 1}, 1e-5f);
    expectNear(apply(korvath::aircraftPlacement(static_cast<float>(pi / 2)), {0, 0, 0, 1}),
               {4, 6, 0, 1}, 1e-5f);
    // The heading is t * 180 / 3.14 degrees, about 0.029 degrees a second more
    // than the t radians the flight direction turns by.
    const double driftPerSecond = 180.0 / 3.14 - 180.0 / pi;
    for (float t : {0.0f, 1.0f, 4.0f, 100.0f, 250.5f, 600.0f}) {
        const Matrix4 placement = korvath::aircraftPlacement(t);
        const Vector3 p = korvath::aircraftPosition(t);
        EXPECT_NEAR(std::hypot(p.x, p.z), 4.0, 1e-5) << "t = " << t;
        EXPECT_EQ(p.y, 6.0f) << "t = " << t;
        // The model's z axis stays the world's up.
        expectNear(apply(placement, {0, 0, 1, 0}), {0, 1, 0, 0}, 1e-5f);
        // At t = 0 the model's -y axis points along +x, the way it flies.
        EXPECT_NEAR(korvath::aircraftHeadingDegrees(t), t * 180.0 / 3.14, 1e-4 * (1 + t));
        const Vector nose = apply(placement, {0, -1, 0, 0});
        const double noseDegrees = std::atan2(-nose[2], nose[0]) * 180.0 / pi;
        EXPECT_NEAR(std::remainder(noseDegrees - t * 180.0 / pi, 360.0), driftPerSecond * t,
                    2e-3 + 1e-5 * t)
            << "t = " << t;
        // toAircraftCoordinates undoes the placement.
        const Vector3 back = korvath::toAircraftCoordinates(t, Vector3(-3, 0.5f, 7));
        expectNear(apply(placement, {back.x, back.y, back.z, 1}), {-3, 0.5f, 7, 1}, 2e-4f);
    }
}
