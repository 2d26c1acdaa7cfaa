// Geometric facts about Matrix4: identity, product order, rotations, translation.
#include "math/Matrix4.h"

#include <gtest/gtest.h>

#include <cmath>

using korvath::Matrix4;

namespace {

Matrix4 sample() {
    Matrix4 a;
    for (int i = 0; i < 16; ++i) {
        a.m[i] = static_cast<float>(i * 3 % 7) - 2.5f;
    }
    return a;
}

// M * (x, y, z, 1), read back as the first three components.
void expectMaps(const Matrix4& m, float x, float y, float z, float ex, float ey, float ez) {
    const float in[4] = {x, y, z, 1.0f};
    float out[3];
    for (int r = 0; r < 3; ++r) {
        out[r] = m.m[r] * in[0] + m.m[4 + r] * in[1] + m.m[8 + r] * in[2] + m.m[12 + r] * in[3];
    }
    EXPECT_NEAR(out[0], ex, 1e-6f);
    EXPECT_NEAR(out[1], ey, 1e-6f);
    EXPECT_NEAR(out[2], ez, 1e-6f);
}

} // namespace

TEST(MatrixProduct, IdentityIsNeutralAndSelfProductSquaresTheOldValue) {
    const Matrix4 a = sample();
    const Matrix4 identity;
    Matrix4 squared = a;
    squared *= squared;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[4 * k + i] * a.m[4 * j + k];
            }
            EXPECT_EQ(squared.m[4 * j + i], sum);
            EXPECT_EQ((identity * a).m[4 * j + i], a.m[4 * j + i]);
            EXPECT_EQ((a * identity).m[4 * j + i], a.m[4 * j + i]);
        }
    }
}

TEST(MatrixProduct, RightOperandActsFirst) {
    const Matrix4 t = Matrix4::translation(1, 2, 3, 1);
    const Matrix4 r = Matrix4::rotation(90, 0, 0, 1);
    expectMaps(t * r, 1, 0, 0, 1, 3, 3);
    expectMaps(r * t, 0, 0, 0, -2, 1, 3);
}

TEST(MatrixRotation, MatchesGlRotateForUnitAxesAndLeavesOtherAxesUnnormalised) {
    expectMaps(Matrix4::rotation(90, 0, 0, 1), 1, 0, 0, 0, 1, 0);
    const Matrix4 x30 = Matrix4::rotation(30, 1, 0, 0);
    EXPECT_FLOAT_EQ(x30.m[5], 0.8660254f);
    EXPECT_FLOAT_EQ(x30.m[6], 0.5f);
    EXPECT_FLOAT_EQ(x30.m[9], -0.5f);
    EXPECT_NEAR(Matrix4::rotation(180, 0, 2, 0).m[5], 7.0f, 1e-6f);
    const Matrix4 none = Matrix4::rotation(0, 0.3f, -2.0f, 7.0f);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(none.m[i], Matrix4().m[i]) << i;
    }
    // The truncated pi 3.14159265 is part of the contract: camera paths depend on it.
    const float truncated = static_cast<float>(1.0 / 180.0 * 3.14159265);
    EXPECT_EQ(Matrix4::rotation(1, 0, 0, 1).m[1], std::sin(truncated));
}

TEST(MatrixTranslation, StoresAllFourComponentsUnchanged) {
    const Matrix4 t = Matrix4::translation(4, 5, 6, 2);
    const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 4, 5, 6, 2};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(t.m[i], expected[i]) << i;
    }
}
