// Ray casting against the landscape and a bounding sphere of the aircraft, so the
// pixel tests can find for themselves where the shadow falls and what is in view.
#pragma once

#include "math/Matrix4.h"
#include "math/Vector.h"
#include "mesh/Mesh3ds.h"

#include <optional>

namespace korvath::test {

Vector3 operator+(const Vector3& a, const Vector3& b);
Vector3 operator*(float s, const Vector3& v);
float dot(const Vector3& a, const Vector3& b);
Vector3 normalized(const Vector3& v);
Vector3 transformPoint(const Matrix4& m, const Vector3& p);

struct RayHit {
    Vector3 point;
    Vector3 normal; // unit, on the side the corners run counter-clockwise
};

// The nearest triangle of the mesh (in its own coordinates) on the ray from origin.
std::optional<RayHit> castRay(const Mesh3ds& mesh, const Vector3& origin, const Vector3& direction);

// Whether the ray from `from` towards `point` meets the mesh first at that point.
bool isFirstHit(const Mesh3ds& mesh, const Vector3& from, const Vector3& point);

struct Sphere {
    Vector3 centre;
    float radius;
};

// The sphere around the mesh's vertices' mean that holds them all, placed.
Sphere boundingSphere(const Mesh3ds& mesh, const Matrix4& placement);

// Whether the segment passes the sphere by more than `margin`.
bool passesBy(const Sphere& sphere, const Vector3& from, const Vector3& to, float margin);

} // namespace korvath::test
