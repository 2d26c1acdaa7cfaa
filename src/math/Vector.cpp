// Vector difference, cross products and length.
#include "math/Vector.h"

#include <cmath>

namespace korvath {

float Vector3::length() const {
    float sum = 0.0f;
    sum += x * x;
    sum += y * y;
    sum += z * z;
    return std::sqrt(sum);
}

Vector3 operator-(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

namespace {

Vector3 dehomogenise(const Vector4& v) {
    const float w = (v.w == 0.0f) ? 1.0f : v.w;
    return {v.x / w, v.y / w, v.z / w};
}

} // namespace

Vector4 cross(const Vector4& a, const Vector4& b) {
    const Vector3 product = cross(dehomogenise(a), dehomogenise(b));
    return {product.x, product.y, product.z, 1.0f};
}

} // namespace korvath
