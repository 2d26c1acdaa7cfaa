// Vector difference, cross products and length.
#include "math/Vector.h"

#include <gtest/gtest.h>

using korvath::cross;
using korvath::Vector3;
using korvath::Vector4;

TEST(Vector3Arithmetic, CrossFollowsTheRightHandRule) {
    const Vector3 c = cross(Vector3(1, 0, 0), Vector3(0, 1, 0));
    EXPECT_EQ(c.x, 0.0f);
    EXPECT_EQ(c.y, 0.0f);
    EXPECT_EQ(c.z, 1.0f);
    EXPECT_EQ(cross(Vector3(0, 1, 0), Vector3(1, 0, 0)).z, -1.0f);
}

TEST(Vector3Arithmetic, DifferenceAndLength) {
    const Vector3 d = Vector3(1, 2, 3) - Vector3(1, 1, 1);
    EXPECT_EQ(d.x, 0.0f);
    EXPECT_EQ(d.y, 1.0f);
    EXPECT_EQ(d.z, 2.0f);
    EXPECT_EQ(Vector3(3, 4, 12).length(), 13.0f);
    EXPECT_EQ(Vector3().length(), 0.0f);
}

TEST(Vector4Defaults, ArraysStartAsHomogeneousOrigin) {
    const Vector4 many[3];
    for (const Vector4& v : many) {
        EXPECT_EQ(v.x, 0.0f);
        EXPECT_EQ(v.w, 1.0f);
    }
}

TEST(Vector4Cross, ZeroWCountsAsOne) {
    const Vector4 c = cross(Vector4(1, 0, 0, 0), Vector4(0, 1, 0, 0));
    EXPECT_EQ(c.x, 0.0f);
    EXPECT_EQ(c.y, 0.0f);
    EXPECT_EQ(c.z, 1.0f);
    EXPECT_EQ(c.w, 1.0f);
    EXPECT_EQ(cross(Vector4(1, 0, 0, -0.0f), Vector4(0, 1, 0, 0)).z, 1.0f);
}

TEST(Vector4Cross, DividesEachOperandByItsOwnWAndDoesNotNormalise) {
    const Vector4 c = cross(Vector4(2, 0, 0, 2), Vector4(0, 4, 0, 2));
    EXPECT_EQ(c.x, 0.0f);
    EXPECT_EQ(c.y, 0.0f);
    EXPECT_EQ(c.z, 2.0f);
    EXPECT_EQ(c.w, 1.0f);
}
