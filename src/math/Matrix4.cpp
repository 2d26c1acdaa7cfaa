// Matrix identity, copying, product, rotation and translation; points through a matrix.
#include "math/Matrix4.h"

#include <cmath>
#include <memory>

namespace korvath {

Matrix4::Matrix4() : m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}

Matrix4::Matrix4(const Matrix4& other) {
    set(other.m);
}

Matrix4& Matrix4::operator=(const Matrix4& other) {
    if (this != &other) {
        set(other.m);
    }
    return *this;
}

void Matrix4::set(const float* values) {
    for (int i = 0; i < 16; ++i) {
        m[i] = values[i];
    }
}

Matrix4& Matrix4::operator*=(const Matrix4& b) {
    // The product goes to a temporary first so that a *= a squares a.
    const auto product = std::make_unique<float[]>(16);
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += m[4 * k + i] * b.m[4 * j + k];
            }
            product[4 * j + i] = sum;
        }
    }
    set(product.get());
    return *this;
}

Matrix4 Matrix4::operator*(const Matrix4& b) const {
    Matrix4 result(*this);
    result *= b;
    return result;
}

Matrix4 Matrix4::rotation(float angleDegrees, float x, float y, float z) {
    // The truncated pi is part of the rotation's contract: camera paths depend on it.
    const float radians = static_cast<float>(angleDegrees / 180.0 * 3.14159265);
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const float t = 1.0f - c;

    Matrix4 r;
    r.m[0] = c + t * x * x;
    r.m[1] = t * x * y + s * z;
    r.m[2] = t * x * z - s * y;
    r.m[4] = t * x * y - s * z;
    r.m[5] = c + t * y * y;
    r.m[6] = t * y * z + s * x;
    r.m[8] = t * x * z + s * y;
    r.m[9] = t * y * z - s * x;
    r.m[10] = c + t * z * z;
    return r;
}

Matrix4 Matrix4::translation(float x, float y, float z, float w) {
    Matrix4 r;
    r.m[12] = x;
    r.m[13] = y;
    r.m[14] = z;
    r.m[15] = w;
    return r;
}

namespace {

// Row r of M times (x, y, z, w), summed in the order x, y, z, w.
float rowTimes(const Matrix4& matrix, int r, const Vector4& p) {
    const float* e = matrix.m;
    return ((e[r] * p.x + e[4 + r] * p.y) + e[8 + r] * p.z) + e[12 + r] * p.w;
}

} // namespace

Vector3 transformPoint(const Matrix4& m, const Vector4& point) {
    return {rowTimes(m, 0, point), rowTimes(m, 1, point), rowTimes(m, 2, point)};
}

Vector3 projectPoint(const Matrix4& m, const Vector3& point) {
    const Vector4 homogeneous(point.x, point.y, point.z, 1.0f);
    const float w = rowTimes(m, 3, homogeneous);
    return {rowTimes(m, 0, homogeneous) / w, rowTimes(m, 1, homogeneous) / w,
            rowTimes(m, 2, homogeneous) / w};
}

} // namespace korvath
