// Cofactor inverse and transpose on column-major 4x4 matrices.
#include "math/MatrixInverse.h"

#include <cmath>

namespace korvath {

Matrix4 transposed(const Matrix4& matrix) {
    Matrix4 result;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            result.m[4 * row + column] = matrix.m[4 * column + row];
        }
    }
    return result;
}

namespace {

float at(const Matrix4& matrix, int row, int column) {
    return matrix.m[4 * column + row];
}

// The determinant of the 3x3 matrix left when `row` and `column` are struck out.
float minorDeterminant(const Matrix4& matrix, int row, int column) {
    int r[3];
    int c[3];
    for (int i = 0, rows = 0, columns = 0; i < 4; ++i) {
        if (i != row) {
            r[rows++] = i;
        }
        if (i != column) {
            c[columns++] = i;
        }
    }
    const auto e = [&](int i, int j) { return at(matrix, r[i], c[j]); };
    return e(0, 0) * (e(1, 1) * e(2, 2) - e(1, 2) * e(2, 1)) -
           e(0, 1) * (e(1, 0) * e(2, 2) - e(1, 2) * e(2, 0)) +
           e(0, 2) * (e(1, 0) * e(2, 1) - e(1, 1) * e(2, 0));
}

} // namespace

Matrix4 inverted(const Matrix4& matrix, bool* invertible) {
    float cofactors[4][4];
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const float sign = (row + column) % 2 == 0 ? 1.0f : -1.0f;
            cofactors[row][column] = sign * minorDeterminant(matrix, row, column);
        }
    }
    float determinant = 0.0f;
    for (int column = 0; column < 4; ++column) {
        determinant += at(matrix, 0, column) * cofactors[0][column];
    }
    const bool regular = determinant != 0.0f && std::isfinite(determinant);
    if (invertible != nullptr) {
        *invertible = regular;
    }
    // The inverse is the transposed cofactor matrix over the determinant.
    Matrix4 result;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            result.m[4 * column + row] = regular ? cofactors[column][row] / determinant : 0.0f;
        }
    }
    return result;
}

} // namespace korvath
