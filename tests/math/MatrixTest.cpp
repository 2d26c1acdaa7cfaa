// Geometric facts about Matrix4: identity, product order, rotations, translation.
#include "math/Matrix4.h"

#include <gtest/gtest.h>

#include <cmath>

using korvath::Matrix4;

namespace {

struct Point {
    float x, y, z, w;
};

Point apply(const Matrix4& m, Point p) {
    const float in[4] = {p.x, p.y, p.z, p.w};
    float out[4];
    for (int r = 0; r < 4; ++r) {
        out[r] = m.m[r] * in[0] + m.m[4 + r] * in[1] + m.m[8 + r] * in[2] + m.m[12 + r] * in[3];
    }
    return {out[0], out[1], out[2], out[3]};
}

Matrix4 sample() {
    Matrix4 a;
    for (int i = 0; i < 16; ++i) {
        a.m[i] = static_cast<float>(i * 3 % 7) - 2.5f;
    }
    return a;
}

void expectPoint(Point p, float x, float y, float z, float w) {
    EXPECT_NEAR(p.x, x, 1e-6f);
    EXPECT_NEAR(p.y, y, 1e-6f);
    EXPECT_NEAR(p.z, z, 1e-6f);
    EXPECT_NEAR(p.w, w, 1e-6f);
}

} // namespace

TEST(MatrixIdentity, DefaultIsIdentityAndNeutralInProducts) {
    const Matrix4 identity;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(identity.m[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
    }
    const Matrix4 a = sample();
    const Matrix4 left = identity * a;
    const Matrix4 right = a * identity;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(left.m[i], a.m[i]);
        EXPECT_EQ(right.m[i], a.m[i]);
    }
}

TEST(MatrixProduct, SelfProductSquaresTheOldValue) {
    Matrix4 a = sample();
    const Matrix4 old = a;
    Matrix4 expected;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += old.m[4 * k + i] * old.m[4 * j + k];
            }
            expected.m[4 * j + i] = sum;
        }
    }
    a *= a;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(a.m[i], expected.m[i]) << i;
    }
}

TEST(MatrixProduct, RightOperandActsFirst) {
    const Matrix4 t = Matrix4::translation(1, 2, 3, 1);
    const Matrix4 r = Matrix4::rotation(90, 0, 0, 1);
    expectPoint(apply(t * r, {1, 0, 0, 1}), 1, 3, 3, 1);
    expectPoint(apply(r * t, {0, 0, 0, 1}), -2, 1, 3, 1);
}

TEST(MatrixProduct, OperatorStarLeavesOperandsUnchanged) {
    const Matrix4 a = sample();
    const Matrix4 b = Matrix4::rotation(30, 1, 0, 0);
    const Matrix4 aBefore = a;
    const Matrix4 product = a * b;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(a.m[i], aBefore.m[i]);
    }
    EXPECT_NE(product.m[4], a.m[4]);
}

TEST(MatrixRotation, NinetyAboutZMapsXToY) {
    const Matrix4 r = Matrix4::rotation(90, 0, 0, 1);
    EXPECT_FLOAT_EQ(r.m[1], 1.0f);
    EXPECT_FLOAT_EQ(r.m[4], -1.0f);
    EXPECT_FLOAT_EQ(r.m[10], 1.0f);
    EXPECT_NEAR(r.m[0], 0.0f, 1e-7f);
    EXPECT_NEAR(r.m[5], 0.0f, 1e-7f);
    expectPoint(apply(r, {1, 0, 0, 1}), 0, 1, 0, 1);
}

TEST(MatrixRotation, ZeroAngleIsExactlyIdentityForAnyAxis) {
    const Matrix4 r = Matrix4::rotation(0, 0.3f, -2.0f, 7.0f);
    const Matrix4 identity;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(r.m[i], identity.m[i]) << i;
    }
}

TEST(MatrixRotation, AxisIsNotNormalised) {
    const Matrix4 r = Matrix4::rotation(180, 0, 2, 0);
    EXPECT_NEAR(r.m[0], -1.0f, 1e-6f);
    EXPECT_NEAR(r.m[10], -1.0f, 1e-6f);
    EXPECT_NEAR(r.m[5], 7.0f, 1e-6f);
}

TEST(MatrixRotation, ThirtyAboutX) {
    const Matrix4 r = Matrix4::rotation(30, 1, 0, 0);
    EXPECT_FLOAT_EQ(r.m[5], 0.8660254f);
    EXPECT_FLOAT_EQ(r.m[10], 0.8660254f);
    EXPECT_FLOAT_EQ(r.m[6], 0.5f);
    EXPECT_FLOAT_EQ(r.m[9], -0.5f);
    EXPECT_EQ(r.m[0], 1.0f);
}

TEST(MatrixRotation, UsesTheTruncatedPi) {
    // 3.14159265 instead of pi: the angle's float differs from a full-precision conversion.
    const float truncated = static_cast<float>(1.0 / 180.0 * 3.14159265);
    const Matrix4 r = Matrix4::rotation(1, 0, 0, 1);
    EXPECT_EQ(r.m[1], std::sin(truncated));
    EXPECT_EQ(r.m[0], std::cos(truncated));
}

TEST(MatrixTranslation, StoresAllFourComponentsUnchanged) {
    const Matrix4 t = Matrix4::translation(4, 5, 6, 2);
    const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 4, 5, 6, 2};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(t.m[i], expected[i]) << i;
    }
}

TEST(MatrixCopy, AssignmentAndSetCopyAllSixteen) {
    const Matrix4 a = sample();
    Matrix4 b;
    b = a;
    Matrix4 c;
    c.set(a.m);
    Matrix4& self = b;
    b = self;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(b.m[i], a.m[i]);
        EXPECT_EQ(c.m[i], a.m[i]);
    }
}
