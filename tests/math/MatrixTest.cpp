// Geometric facts about Matrix4: product order and its in-place form, rotations
// as glRotate makes them (with the truncated pi), translation, and points carried
// through a matrix with and without the division by w.
#include "math/Matrix4.h"

#include <gtest/gtest.h>

#include <cmath>

using korvath::Matrix4;
using korvath::Vector3;
using korvath::Vector4;

namespace {

void expectPoint(const Vector3& actual, float x, float y, float z) {
    EXPECT_NEAR(actual.x, x, 1e-5f);
    EXPECT_NEAR(actual.y, y, 1e-5f);
    EXPECT_NEAR(actual.z, z, 1e-5f);
}

// M * (x, y, z, 1) without the division.
void expectMaps(const Matrix4& m, float x, float y, float z, float ex, float ey, float ez) {
    expectPoint(transformPoint(m, Vector4(x, y, z)), ex, ey, ez);
}

} // namespace

TEST(MatrixProduct, RightOperandActsFirstAndInPlaceProductReadsTheOldValues) {
    const Matrix4 t = Matrix4::translation(1, 2, 3, 1);
    const Matrix4 r = Matrix4::rotation(90, 0, 0, 1);
    expectMaps(t * r, 1, 0, 0, 1, 3, 3);
    expectMaps(r * t, 0, 0, 0, -2, 1, 3);
    expectMaps(Matrix4() * t * Matrix4(), 0, 0, 0, 1, 2, 3);
    Matrix4 twice = r * t;
    twice *= twice;
    expectMaps(twice, 0, 0, 0, -3, -1, 6);
}

TEST(MatrixRotation, MatchesGlRotateWithTheTruncatedPiAndLeavesOtherAxesUnnormalised) {
    const Matrix4 x30 = Matrix4::rotation(30, 1, 0, 0);
    EXPECT_FLOAT_EQ(x30.m[5], 0.8660254f);
    EXPECT_FLOAT_EQ(x30.m[6], 0.5f);
    EXPECT_FLOAT_EQ(x30.m[9], -0.5f);
    EXPECT_NEAR(Matrix4::rotation(180, 0, 2, 0).m[5], 7.0f, 1e-6f);
    const Matrix4 none = Matrix4::rotation(0, 0.3f, -2.0f, 7.0f);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(none.m[i], Matrix4().m[i]) << i;
    }
    // Camera paths depend on the radians from 3.14159265; at 158 degrees they and
    // the exact pi's round to different floats, with different sines and cosines.
    const float truncated = static_cast<float>(158.0 / 180.0 * 3.14159265);
    const Matrix4 z158 = Matrix4::rotation(158, 0, 0, 1);
    EXPECT_EQ(z158.m[0], std::cos(truncated));
    EXPECT_EQ(z158.m[1], std::sin(truncated));
}

TEST(PointTransform, TranslationMovesPointsNotDirectionsAndDropsW) {
    // w = 2 in the matrix: a transform that divided would halve the point.
    const Matrix4 t = Matrix4::translation(4, 5, 6, 2);
    EXPECT_EQ(t.m[15], 2.0f);
    expectMaps(t, 1, 2, 3, 5, 7, 9);
    expectPoint(transformPoint(t, Vector4(1, 2, 3, 0)), 1, 2, 3);
    expectPoint(transformPoint(t, Vector4(1, 2, 3, 2)), 9, 12, 15);
}

TEST(PointProjection, DividesByTheWholeFourthRow) {
    expectPoint(projectPoint(Matrix4::translation(4, 5, 6, 2), Vector3(2, 4, 6)), 3, 4.5f, 6);
    // w = -z, as under a perspective projection.
    Matrix4 perspective;
    perspective.m[11] = -1.0f;
    perspective.m[15] = 0.0f;
    expectPoint(projectPoint(perspective, Vector3(2, 4, -2)), 1, 2, -1);
}
