// The cross product of homogeneous points.
#include "math/Vector.h"

#include <gtest/gtest.h>

using korvath::cross;
using korvath::Vector4;

TEST(Vector4Cross, DehomogenisesEachOperandWithZeroWCountingAsOne) {
    EXPECT_EQ(cross(Vector4(1, 0, 0, 0), Vector4(0, 1, 0, -0.0f)).z, 1.0f);
    EXPECT_EQ(cross(Vector4(0, 1, 0, 0), Vector4(1, 0, 0, 0)).z, -1.0f);
    const Vector4 c = cross(Vector4(2, 0, 0, 2), Vector4(0, 4, 0, 2));
    EXPECT_EQ(c.x, 0.0f);
    EXPECT_EQ(c.z, 2.0f); // divided by each w, not normalised
    EXPECT_EQ(c.w, 1.0f);
    EXPECT_EQ(Vector4().w, 1.0f);
}
