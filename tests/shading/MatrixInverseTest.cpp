// Inverse of 4x4 matrices: products with the inverse give the identity and
// singular matrices are recognised.
#include "shading/MatrixInverse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korvath {
namespace {

Matrix4 fromColumns(std::initializer_list<float> values) {
    Matrix4 matrix;
    int i = 0;
    for (float value : values) {
        matrix.m[i++] = value;
    }
    return matrix;
}

void expectIdentity(const Matrix4& matrix, float tolerance) {
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            EXPECT_NEAR(row == column ? 1.0f : 0.0f, matrix.m[4 * column + row], tolerance)
                << "row " << row << " column " << column;
        }
    }
}

// Rotation, scale and translation together, as a modelview holds them.
Matrix4 modelView() {
    return Matrix4::translation(3.0f, -1.0f, -20.0f, 1.0f) *
           Matrix4::rotation(35.0f, 0.0f, 0.6f, 0.8f) *
           fromColumns({2, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1});
}

TEST(MatrixInverse, ProductWithTheInverseIsTheIdentityOnBothSides) {
    bool invertible = false;
    const Matrix4 inverse = inverted(modelView(), &invertible);
    EXPECT_TRUE(invertible);
    expectIdentity(modelView() * inverse, 1e-5f);
    expectIdentity(inverse * modelView(), 1e-5f);
}

TEST(MatrixInverse, InvertsAPerspectiveProjection) {
    // glFrustum(-1, 1, -1, 1, 1, 100): its last row is (0, 0, -1, 0).
    const Matrix4 projection =
        fromColumns({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -101.0f / 99.0f, -1, 0, 0, -200.0f / 99.0f, 0});
    expectIdentity(projection * inverted(projection), 1e-5f);
}

TEST(MatrixInverse, SingularOrNonFiniteMatricesHaveNoInverse) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Matrix4 flattened = fromColumns({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    const Matrix4 repeated = fromColumns({1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 1});
    const Matrix4 poisoned = fromColumns({nan, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    for (const Matrix4& singular : {flattened, repeated, poisoned}) {
        bool invertible = true;
        const Matrix4 inverse = inverted(singular, &invertible);
        EXPECT_FALSE(invertible);
        for (float value : inverse.m) {
            EXPECT_EQ(0.0f, value);
        }
    }
}

} // namespace
} // namespace korvath
