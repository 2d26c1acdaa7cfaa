// Moller-Trumbore ray-triangle intersection over placed mesh triangles.
#include "ShadowRayCast.h"

#include <cmath>

namespace korvath::test {

Vector3 transformPoint(const Matrix4& matrix, const Vector3& p) {
    const float* m = matrix.m;
    const float w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    return {(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12]) / w,
            (m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13]) / w,
            (m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]) / w};
}

Vector3 normalized(const Vector3& v) {
    const float length = v.length();
    return {v.x / length, v.y / length, v.z / length};
}

Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

Vector3 operator*(float s, const Vector3& v) { return {s * v.x, s * v.y, s * v.z}; }

float dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

std::vector<WorldTriangle> worldTriangles(const Mesh3ds& mesh, const Matrix4& placement) {
    std::vector<WorldTriangle> triangles;
    for (int i = 0; i < mesh.polygonCount; ++i) {
        const Triangle& t = mesh.polygons[i];
        triangles.push_back({transformPoint(placement, mesh.vertices[t.a]),
                             transformPoint(placement, mesh.vertices[t.b]),
                             transformPoint(placement, mesh.vertices[t.c])});
    }
    return triangles;
}

Vector3 meshCentre(const Mesh3ds& mesh, const Matrix4& placement) {
    Vector3 sum;
    for (int i = 0; i < mesh.vertexCount; ++i) {
        sum = sum + mesh.vertices[i];
    }
    return transformPoint(placement, (1.0f / static_cast<float>(mesh.vertexCount)) * sum);
}

std::optional<RayHit> firstHit(const std::vector<WorldTriangle>& triangles, const Vector3& origin,
                               const Vector3& direction, float minDistance) {
    std::optional<RayHit> nearest;
    for (const WorldTriangle& t : triangles) {
        const Vector3 edge1 = t.b - t.a;
        const Vector3 edge2 = t.c - t.a;
        const Vector3 p = cross(direction, edge2);
        const float determinant = dot(edge1, p);
        if (std::fabs(determinant) < 1e-9f) {
            continue;
        }
        const Vector3 s = origin - t.a;
        const float u = dot(s, p) / determinant;
        const Vector3 q = cross(s, edge1);
        const float v = dot(direction, q) / determinant;
        if (u < 0.0f || v < 0.0f || u + v > 1.0f) {
            continue;
        }
        const float distance = dot(edge2, q) / determinant;
        if (distance > minDistance && (!nearest || distance < nearest->distance)) {
            nearest = RayHit{distance, origin + distance * direction, normalized(cross(edge1, edge2))};
        }
    }
    return nearest;
}

bool isClearPath(const std::vector<WorldTriangle>& triangles, const Vector3& from, const Vector3& to) {
    const Vector3 along = to - from;
    const float length = along.length();
    const std::optional<RayHit> hit = firstHit(triangles, from, normalized(along));
    return !hit || hit->distance > length - 0.05f;
}

} // namespace korvath::test
