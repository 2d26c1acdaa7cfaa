// Vector difference, cross products and length.
#include "math/Vector.h"

#include <gtest/gtest.h>

using korvath::cross;
using korvath::Vector3;
using korvath::Vector4;

TEST(Vector3Arithmetic, CrossDifferenceAndLength) {
    EXPECT_EQ(cross(Vector3(1, 0, 0), Vector3(0, 1, 0)).z, 1.0f);
    EXPECT_EQ(cross(Vector3(0, 1, 0), Vector3(1, 0, 0)).z, -1.0f);
    const Vector3 d = Vector3(1, 2, 3) - Vector3(1, 1, 1);
    EXPECT_EQ(d.y, 1.0f);
    EXPECT_EQ(d.z, 2.0f);
    EXPECT_EQ(Vector3(3, 4, 12).length(), 13.0f);
}

TEST(Vector4Cross, DehomogenisesEachOperandWithZeroWCountingAsOne) {
    EXPECT_EQ(cross(Vector4(1, 0, 0, 0), Vector4(0, 1, 0, -0.0f)).z, 1.0f);
    const Vector4 c = cross(Vector4(2, 0, 0, 2), Vector4(0, 4, 0, 2));
    EXPECT_EQ(c.x, 0.0f);
    EXPECT_EQ(c.z, 2.0f); // divided by each w, not normalised
    EXPECT_EQ(c.w, 1.0f);
    EXPECT_EQ(Vector4().w, 1.0f);
}
