// Ray casting against the scene's meshes in world coordinates, so tests can find
// for themselves where the aircraft's shadow falls and what the camera sees.
#pragma once

#include "math/Matrix4.h"
#include "math/Vector.h"
#include "mesh/Mesh3ds.h"

#include <optional>
#include <vector>

namespace korvath::test {

struct WorldTriangle {
    Vector3 a, b, c;
};

struct RayHit {
    float distance; // along the unit direction
    Vector3 point;
    Vector3 normal; // unit, facing the side the corners run counter-clockwise
};

Vector3 transformPoint(const Matrix4& m, const Vector3& p);
Vector3 normalized(const Vector3& v);
Vector3 operator+(const Vector3& a, const Vector3& b);
Vector3 operator*(float s, const Vector3& v);
float dot(const Vector3& a, const Vector3& b);

// The mesh's triangles placed by `placement`.
std::vector<WorldTriangle> worldTriangles(const Mesh3ds& mesh, const Matrix4& placement);

// The mean of the mesh's vertices under `placement`.
Vector3 meshCentre(const Mesh3ds& mesh, const Matrix4& placement);

// The nearest hit beyond minDistance along origin + s * direction (direction unit).
std::optional<RayHit> firstHit(const std::vector<WorldTriangle>& triangles, const Vector3& origin,
                               const Vector3& direction, float minDistance = 1e-3f);

// Whether the segment from `from` to `to` passes through none of the triangles,
// leaving out a small margin at its end.
bool isClearPath(const std::vector<WorldTriangle>& triangles, const Vector3& from, const Vector3& to);

} // namespace korvath::test
