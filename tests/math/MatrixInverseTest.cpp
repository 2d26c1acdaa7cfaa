// Inverse of 4x4 matrices: a modelview times its inverse is the identity, and a
// singular matrix has none.
#include "math/MatrixInverse.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvath {
namespace {

TEST(MatrixInverse, RegularMatrixTimesItsInverseIsTheIdentityAndASingularOneHasNone) {
    // A modelview: rotation, non-uniform scale and translation (column-major).
    const float scale[16] = {2, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1};
    Matrix4 scaling;
    scaling.set(scale);
    const Matrix4 modelView = Matrix4::translation(3.0f, -1.0f, -20.0f, 1.0f) *
                              Matrix4::rotation(35.0f, 0.0f, 0.6f, 0.8f) * scaling;
    bool invertible = false;
    const Matrix4 product = modelView * inverted(modelView, &invertible);
    EXPECT_TRUE(invertible);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(i % 5 == 0 ? 1.0f : 0.0f, product.m[i], 1e-5f) << "element " << i;
    }
    // Flattening y to zero leaves no inverse: the result is all zeros.
    scaling.m[5] = 0.0f;
    const Matrix4 none = inverted(scaling, &invertible);
    EXPECT_FALSE(invertible);
    EXPECT_EQ(std::vector<float>(16, 0.0f), std::vector<float>(none.m, none.m + 16));
}

} // namespace
} // namespace korvath
