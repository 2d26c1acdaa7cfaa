// Three- and four-component single-precision vectors.
#pragma once

namespace korvath {

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vector3() = default;
    Vector3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}

    // sqrt((x*x + y*y) + z*z), each step rounded to single precision.
    float length() const;
};

Vector3 operator-(const Vector3& a, const Vector3& b);
Vector3 cross(const Vector3& a, const Vector3& b);

// A homogeneous vector; w defaults to 1 so arrays of Vector4 start as points at the origin.
struct Vector4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    Vector4() = default;
    Vector4(float xValue, float yValue, float zValue, float wValue = 1.0f)
        : x(xValue), y(yValue), z(zValue), w(wValue) {}
};

// Cross product of the dehomogenised operands (a w of zero counts as 1), w = 1.
// Not normalised: the length is the area of the parallelogram the operands span.
Vector4 cross(const Vector4& a, const Vector4& b);

} // namespace korvath
