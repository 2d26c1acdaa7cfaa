// Bias matrix and aircraft placement of the shadow scene, without GL.
#include "scenes/ShadowGeometry.h"

#include <cmath>

namespace korvath {

namespace {

constexpr float circleRadius = 4.0f;
constexpr float flightHeight = 6.0f;

} // namespace

const Matrix4& shadowBiasMatrix() {
    static const Matrix4 bias = [] {
        Matrix4 b;
        const float elements[16] = {0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f,
                                    0.0f, 0.0f, 0.5f, 0.0f, 0.5f, 0.5f, 0.5f, 1.0f};
        b.set(elements);
        return b;
    }();
    return bias;
}

float aircraftHeadingDegrees(float t) {
    return static_cast<float>(t * 180.0f / 3.14);
}

Vector3 aircraftPosition(float t) {
    // Sine and cosine in double precision, rounded to single before scaling.
    const float s = static_cast<float>(std::sin(static_cast<double>(t)));
    const float c = static_cast<float>(std::cos(static_cast<double>(t)));
    return {circleRadius * s, flightHeight, circleRadius * c};
}

Matrix4 aircraftPlacement(float t) {
    const Vector3 p = aircraftPosition(t);
    // The two fixed turns bring the model's z-up axes into the y-up world; the
    // heading then turns it with its position on the circle.
    return Matrix4::translation(p.x, p.y, p.z, 1.0f) *
           Matrix4::rotation(aircraftHeadingDegrees(t), 0.0f, 1.0f, 0.0f) *
           Matrix4::rotation(90.0f, 0.0f, 1.0f, 0.0f) * Matrix4::rotation(-90.0f, 1.0f, 0.0f, 0.0f);
}

Vector3 toAircraftCoordinates(float t, const Vector3& worldPoint) {
    const Vector3 p = aircraftPosition(t);
    const Matrix4 inverse = Matrix4::rotation(90.0f, 1.0f, 0.0f, 0.0f) *
                            Matrix4::rotation(-90.0f, 0.0f, 1.0f, 0.0f) *
                            Matrix4::rotation(-aircraftHeadingDegrees(t), 0.0f, 1.0f, 0.0f) *
                            Matrix4::translation(-p.x, -p.y, -p.z, 1.0f);
    return projectPoint(inverse, worldPoint);
}

} // namespace korvath
