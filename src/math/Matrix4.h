// 4x4 single-precision matrix in OpenGL's layout, and points through it.
//
// Conventions: column-major storage (row r, column c is m[4c + r]), column vectors,
// right-handed, angles in degrees. In a product A * B applied to a point, B acts first.
#pragma once

#include "math/Vector.h"

namespace korvath {

class Matrix4 {
public:
    float m[16];

    Matrix4(); // the identity
    Matrix4(const Matrix4& other);
    Matrix4& operator=(const Matrix4& other);

    // Copies sixteen floats in storage order.
    void set(const float* values);

    Matrix4& operator*=(const Matrix4& b); // this = this * b; b may be *this
    Matrix4 operator*(const Matrix4& b) const;

    // The glRotatef matrix for a unit axis; the axis is not normalised.
    static Matrix4 rotation(float angleDegrees, float x, float y, float z);
    // The glTranslatef matrix for w = 1; w lands in m[15] unchanged.
    static Matrix4 translation(float x, float y, float z, float w);
};

// M * (x, y, z, w), each component summed in the order x, y, z, w; the result's
// w is dropped, not divided by. For affine matrices (views, placements).
Vector3 transformPoint(const Matrix4& m, const Vector4& point);

// M * (x, y, z, 1) divided by the result's w: where a projective matrix (a
// frustum, the shadow bias) takes the point. A w of zero gives infinities.
Vector3 projectPoint(const Matrix4& m, const Vector3& point);

} // namespace korvath
