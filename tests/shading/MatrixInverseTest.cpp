// Inverse of 4x4 matrices: products with the inverse give the identity and
// singular or non-finite matrices are recognised.
#include "shading/MatrixInverse.h"

#include <gtest/gtest.h>

#include <limits>

namespace korvath {
namespace {

Matrix4 fromColumns(std::initializer_list<float> values) {
    Matrix4 matrix;
    matrix.set(std::data(values));
    return matrix;
}

TEST(MatrixInverse, ProductsWithTheInverseAreTheIdentityAndSingularMatricesHaveNone) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        Matrix4 matrix;
        bool invertible;
    } cases[] = {
        // A modelview: rotation, non-uniform scale and translation.
        {Matrix4::translation(3.0f, -1.0f, -20.0f, 1.0f) * Matrix4::rotation(35.0f, 0, 0.6f, 0.8f) *
             fromColumns({2, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1}),
         true},
        // glFrustum(-1, 1, -1, 1, 1, 100): its last row (0, 0, -1, 0) leaves a zero on the
        // diagonal.
        {fromColumns({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -101.0f / 99.0f, -1, 0, 0, -200.0f / 99.0f, 0}),
         true},
        {fromColumns({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}), false}, // flattened
        {fromColumns({1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 1}), false}, // repeated column
        {fromColumns({nan, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}), false},
    };
    for (const auto& c : cases) {
        bool invertible = !c.invertible;
        const Matrix4 inverse = inverted(c.matrix, &invertible);
        EXPECT_EQ(c.invertible, invertible);
        const Matrix4 left = c.matrix * inverse;
        const Matrix4 right = inverse * c.matrix;
        for (int i = 0; i < 16; ++i) {
            if (c.invertible) {
                EXPECT_NEAR(i % 5 == 0 ? 1.0f : 0.0f, left.m[i], 1e-5f) << "element " << i;
                EXPECT_NEAR(i % 5 == 0 ? 1.0f : 0.0f, right.m[i], 1e-5f) << "element " << i;
            } else {
                EXPECT_EQ(0.0f, inverse.m[i]) << "the result of a singular matrix is all zeros";
            }
        }
    }
}

} // namespace
} // namespace korvath
