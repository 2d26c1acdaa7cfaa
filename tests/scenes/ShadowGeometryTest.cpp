// Facts about the shadow scene's geometry: the bias into the map's texture range,
// where the aircraft flies, and how its heading drifts from its position.
#include "scenes/ShadowGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using korvath::Matrix4;
using korvath::Vector3;

namespace {

constexpr double pi = 3.14159265358979323846;

struct Point4 {
    float x, y, z, w;
};

Point4 apply(const Matrix4& m, Point4 p) {
    const float in[4] = {p.x, p.y, p.z, p.w};
    float out[4];
    for (int r = 0; r < 4; ++r) {
        out[r] = m.m[r] * in[0] + m.m[4 + r] * in[1] + m.m[8 + r] * in[2] + m.m[12 + r] * in[3];
    }
    return {out[0], out[1], out[2], out[3]};
}

Vector3 applyPoint(const Matrix4& m, const Vector3& p) {
    const Point4 q = apply(m, {p.x, p.y, p.z, 1.0f});
    return {q.x / q.w, q.y / q.w, q.z / q.w};
}

Vector3 applyDirection(const Matrix4& m, const Vector3& d) {
    const Point4 q = apply(m, {d.x, d.y, d.z, 0.0f});
    return {q.x, q.y, q.z};
}

void expectVector(const Vector3& v, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

// Angle of a horizontal direction about +y, degrees, measured the way a
// rotation about y turns +x (towards -z).
double headingOf(const Vector3& d) { return std::atan2(-d.z, d.x) * 180.0 / pi; }

} // namespace

TEST(ShadowBiasMatrix, ElementsScaleByHalfThenTranslateByHalf) {
    const float expected[16] = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0.5f, 0, 0.5f, 0.5f, 0.5f, 1};
    const Matrix4& bias = korvath::shadowBiasMatrix();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(bias.m[i], expected[i]) << "element " << i;
    }
    EXPECT_EQ(&bias, &korvath::shadowBiasMatrix()) << "built once and reused";
}

TEST(ShadowBiasMatrix, MapsTheClipCubeOntoTheTextureRange) {
    const Matrix4& bias = korvath::shadowBiasMatrix();
    const Point4 low = apply(bias, {-1, -1, -1, 1});
    const Point4 high = apply(bias, {1, 1, 1, 1});
    EXPECT_FLOAT_EQ(low.x, 0.0f);
    EXPECT_FLOAT_EQ(low.y, 0.0f);
    EXPECT_FLOAT_EQ(low.z, 0.0f);
    EXPECT_FLOAT_EQ(high.x, 1.0f);
    EXPECT_FLOAT_EQ(high.y, 1.0f);
    EXPECT_FLOAT_EQ(high.z, 1.0f);
    // A clip-space point before the division by w: the translation scales with w,
    // so the result divides to the same texture coordinate.
    const Point4 clip = apply(bias, {2, -2, 0, 4});
    EXPECT_FLOAT_EQ(clip.x / clip.w, 0.75f);
    EXPECT_FLOAT_EQ(clip.y / clip.w, 0.25f);
    EXPECT_FLOAT_EQ(clip.z / clip.w, 0.5f);
    EXPECT_FLOAT_EQ(clip.w, 4.0f);
}

TEST(AircraftFlight, StartsAtZeroSixFourAndPassesFourSixZero) {
    expectVector(korvath::aircraftPosition(0.0f), 0, 6, 4);
    expectVector(korvath::aircraftPosition(static_cast<float>(pi / 2)), 4, 6, 0);
    expectVector(korvath::aircraftPosition(static_cast<float>(pi)), 0, 6, -4);
    expectVector(applyPoint(korvath::aircraftPlacement(0.0f), {}), 0, 6, 4);
    expectVector(applyPoint(korvath::aircraftPlacement(static_cast<float>(pi / 2)), {}), 4, 6, 0);
}

TEST(AircraftFlight, CirclesTheYAxisAtRadiusFourAndHeightSix) {
    for (float t : {0.3f, 1.7f, 4.0f, 250.5f}) {
        const Vector3 p = applyPoint(korvath::aircraftPlacement(t), {});
        EXPECT_NEAR(std::hypot(p.x, p.z), 4.0, 1e-5) << "t = " << t;
        EXPECT_FLOAT_EQ(p.y, 6.0f) << "t = " << t;
        // One turn every 2 pi seconds.
        const Vector3 later = korvath::aircraftPosition(t + static_cast<float>(2 * pi));
        EXPECT_NEAR(later.x, p.x, 2e-4) << "t = " << t;
        EXPECT_NEAR(later.z, p.z, 2e-4) << "t = " << t;
    }
}

TEST(AircraftFlight, ModelUpAxisStaysUpAndTheRotationIsRigid) {
    for (float t : {0.0f, 1.0f, 2.5f}) {
        const Matrix4 placement = korvath::aircraftPlacement(t);
        expectVector(applyDirection(placement, {0, 0, 1}), 0, 1, 0);
        const Vector3 x = applyDirection(placement, {1, 0, 0});
        const Vector3 y = applyDirection(placement, {0, 1, 0});
        EXPECT_NEAR(x.length(), 1.0f, 1e-6f);
        EXPECT_NEAR(y.length(), 1.0f, 1e-6f);
        EXPECT_NEAR(x.x * y.x + x.y * y.y + x.z * y.z, 0.0f, 1e-6f);
    }
}

TEST(AircraftHeading, IsTimesOneEightyOverThreePointOneFour) {
    EXPECT_EQ(korvath::aircraftHeadingDegrees(0.0f), 0.0f);
    EXPECT_NEAR(korvath::aircraftHeadingDegrees(3.14f), 180.0f, 1e-4f);
    EXPECT_NEAR(korvath::aircraftHeadingDegrees(static_cast<float>(2 * pi)), 360.0 * pi / 3.14, 1e-3);
}

TEST(AircraftHeading, DriftsAboutPointZeroTwoNineDegreesPerSecondFromThePosition) {
    const double driftPerSecond = 180.0 / 3.14 - 180.0 / pi;
    EXPECT_NEAR(driftPerSecond, 0.029, 0.0005);
    for (float t : {0.0f, 10.0f, 100.0f, 600.0f}) {
        const double positionDegrees = t * 180.0 / pi;
        EXPECT_NEAR(korvath::aircraftHeadingDegrees(t) - positionDegrees, driftPerSecond * t, 2e-3 + 1e-6 * t * 57.3)
            << "t = " << t;
    }
}

TEST(AircraftHeading, PlacementTurnsTheModelByTheHeading) {
    // At t = 0 the model's -y axis points along +x, the direction of flight; from
    // then on it turns by the heading while the flight direction turns by t.
    for (float t : {0.0f, 1.0f, 100.0f}) {
        const Vector3 nose = applyDirection(korvath::aircraftPlacement(t), {0, -1, 0});
        EXPECT_NEAR(nose.y, 0.0f, 1e-5f);
        const double turned = std::remainder(headingOf(nose) - korvath::aircraftHeadingDegrees(t), 360.0);
        EXPECT_NEAR(turned, 0.0, 1e-3) << "t = " << t;
        const double flightDirection = t * 180.0 / pi;
        const double drift = std::remainder(headingOf(nose) - flightDirection, 360.0);
        EXPECT_NEAR(drift, (180.0 / 3.14 - 180.0 / pi) * t, 2e-3) << "t = " << t;
    }
}

TEST(AircraftCoordinates, UndoThePlacement) {
    const Vector3 points[] = {{0, 50, 50}, {-3, 0.5f, 7}, {4, 6, 0}};
    for (float t : {0.0f, 0.8f, 5.0f, 123.0f}) {
        const Matrix4 placement = korvath::aircraftPlacement(t);
        for (const Vector3& p : points) {
            const Vector3 back = applyPoint(placement, korvath::toAircraftCoordinates(t, p));
            expectVector(back, p.x, p.y, p.z, 2e-4f);
        }
        expectVector(korvath::toAircraftCoordinates(t, korvath::aircraftPosition(t)), 0, 0, 0, 1e-5f);
    }
}

TEST(AircraftCoordinates, LightStraightAboveIsAlongTheModelUpAxis) {
    const float t = 2.0f;
    const Vector3 above = korvath::aircraftPosition(t);
    const Vector3 local = korvath::toAircraftCoordinates(t, {above.x, above.y + 10.0f, above.z});
    expectVector(local, 0, 0, 10, 1e-4f);
}
