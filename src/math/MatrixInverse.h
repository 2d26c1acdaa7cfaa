// Transpose and inverse of a 4x4 matrix, for the state-matrix parameters
// (the inverse transpose of the modelview turns normals into eye space). No GL.
#pragma once

#include "math/Matrix4.h"

namespace korvath {

Matrix4 transposed(const Matrix4& matrix);

// The inverse by cofactor expansion. A singular matrix (determinant 0 or not
// finite) has none: the result is then all zeros and `invertible` reports false.
Matrix4 inverted(const Matrix4& matrix, bool* invertible = nullptr);

} // namespace korvath
