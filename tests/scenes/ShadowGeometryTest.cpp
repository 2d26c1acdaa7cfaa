// Facts about the shadow scene's geometry: the bias into the map's texture range,
// where the aircraft flies, and how its heading drifts from its position.
#include "scenes/ShadowGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using korvath::Matrix4;
using korvath::Vector3;

namespace {

constexpr double pi = 3.14159265358979323846;

// m * (x, y, z, w), all four components.
void apply(const Matrix4& m, const float in[4], float out[4]) {
    for (int r = 0; r < 4; ++r) {
        out[r] = m.m[r] * in[0] + m.m[4 + r] * in[1] + m.m[8 + r] * in[2] + m.m[12 + r] * in[3];
    }
}

Vector3 applyTo(const Matrix4& m, const Vector3& v, float w) {
    const float in[4] = {v.x, v.y, v.z, w};
    float out[4];
    apply(m, in, out);
    return {out[0], out[1], out[2]};
}

void expectVector(const Vector3& v, float x, float y, float z, float tolerance) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

} // namespace

TEST(ShadowBiasMatrix, MapsClipCoordinatesOntoTheTextureRangeBeforeTheDivision) {
    const Matrix4& bias = korvath::shadowBiasMatrix();
    const float expected[16] = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0.5f, 0, 0.5f, 0.5f, 0.5f, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(bias.m[i], expected[i]) << "element " << i;
    }
    // A clip-space point with w = 4 at NDC (0.5, -0.5, 0): the translation scales
    // with w, so it divides to texture coordinates (0.75, 0.25, 0.5).
    const float clip[4] = {2, -2, 0, 4};
    float mapped[4];
    apply(bias, clip, mapped);
    EXPECT_FLOAT_EQ(mapped[0] / mapped[3], 0.75f);
    EXPECT_FLOAT_EQ(mapped[1] / mapped[3], 0.25f);
    EXPECT_FLOAT_EQ(mapped[2] / mapped[3], 0.5f);
    EXPECT_EQ(&bias, &korvath::shadowBiasMatrix()) << "built once and reused";
}

TEST(AircraftFlight, CirclesAtRadiusFourAndHeightSixFromZeroSixFourThroughFourSixZero) {
    expectVector(applyTo(korvath::aircraftPlacement(0.0f), {}, 1), 0, 6, 4, 1e-5f);
    expectVector(applyTo(korvath::aircraftPlacement(static_cast<float>(pi / 2)), {}, 1), 4, 6, 0, 1e-5f);
    for (float t : {0.3f, 4.0f, 250.5f}) {
        const Vector3 p = korvath::aircraftPosition(t);
        EXPECT_NEAR(std::hypot(p.x, p.z), 4.0, 1e-5) << "t = " << t;
        EXPECT_EQ(p.y, 6.0f) << "t = " << t;
        // The model's z axis stays the world's up.
        expectVector(applyTo(korvath::aircraftPlacement(t), {0, 0, 1}, 0), 0, 1, 0, 1e-5f);
    }
}

TEST(AircraftHeading, GainsAboutPointZeroTwoNineDegreesPerSecondOnTheFlightDirection) {
    const double driftPerSecond = 180.0 / 3.14 - 180.0 / pi;
    EXPECT_NEAR(driftPerSecond, 0.029, 0.0005);
    for (float t : {0.0f, 1.0f, 100.0f, 600.0f}) {
        EXPECT_NEAR(korvath::aircraftHeadingDegrees(t), t * 180.0 / 3.14, 1e-4 * (1 + t));
        // At t = 0 the model's -y axis points along +x, the way it flies; from then
        // on it turns by the heading while the flight direction turns by t radians.
        const Vector3 nose = applyTo(korvath::aircraftPlacement(t), {0, -1, 0}, 0);
        const double noseDegrees = std::atan2(-nose.z, nose.x) * 180.0 / pi;
        EXPECT_NEAR(std::remainder(noseDegrees - t * 180.0 / pi, 360.0), driftPerSecond * t, 2e-3 + 1e-5 * t)
            << "t = " << t;
    }
}

TEST(AircraftCoordinates, UndoThePlacement) {
    for (float t : {0.0f, 0.8f, 123.0f}) {
        const Matrix4 placement = korvath::aircraftPlacement(t);
        for (const Vector3& p : {Vector3(0, 50, 50), Vector3(-3, 0.5f, 7)}) {
            expectVector(applyTo(placement, korvath::toAircraftCoordinates(t, p), 1), p.x, p.y, p.z, 2e-4f);
        }
        expectVector(korvath::toAircraftCoordinates(t, korvath::aircraftPosition(t)), 0, 0, 0, 1e-5f);
    }
}
