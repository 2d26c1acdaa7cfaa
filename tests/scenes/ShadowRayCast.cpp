// Moller-Trumbore ray-triangle intersection and segment-sphere distance.
#include "ShadowRayCast.h"

#include <algorithm>
#include <cmath>

namespace korvath::test {

Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vector3 operator*(float s, const Vector3& v) { return {s * v.x, s * v.y, s * v.z}; }
float dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vector3 normalized(const Vector3& v) { return (1.0f / v.length()) * v; }

Vector3 transformPoint(const Matrix4& matrix, const Vector3& p) {
    const float* m = matrix.m;
    const float w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    return (1.0f / w) * Vector3(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
                                m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                                m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]);
}

std::optional<RayHit> castRay(const Mesh3ds& mesh, const Vector3& origin, const Vector3& direction) {
    std::optional<RayHit> nearest;
    float nearestDistance = 0.0f;
    for (int i = 0; i < mesh.polygonCount; ++i) {
        const Vector3& a = mesh.vertices[mesh.polygons[i].a];
        const Vector3 edge1 = mesh.vertices[mesh.polygons[i].b] - a;
        const Vector3 edge2 = mesh.vertices[mesh.polygons[i].c] - a;
        const Vector3 p = cross(direction, edge2);
        const float determinant = dot(edge1, p);
        if (std::fabs(determinant) < 1e-12f) {
            continue;
        }
        const Vector3 s = origin - a;
        const Vector3 q = cross(s, edge1);
        const float u = dot(s, p) / determinant;
        const float v = dot(direction, q) / determinant;
        const float distance = dot(edge2, q) / determinant;
        if (u >= 0.0f && v >= 0.0f && u + v <= 1.0f && distance > 1e-4f &&
            (!nearest || distance < nearestDistance)) {
            nearestDistance = distance;
            nearest = RayHit{origin + distance * direction, normalized(cross(edge1, edge2))};
        }
    }
    return nearest;
}

bool isFirstHit(const Mesh3ds& mesh, const Vector3& from, const Vector3& point) {
    const std::optional<RayHit> hit = castRay(mesh, from, normalized(point - from));
    return hit && (hit->point - point).length() < 0.05f;
}

Sphere boundingSphere(const Mesh3ds& mesh, const Matrix4& placement) {
    Vector3 sum;
    for (int i = 0; i < mesh.vertexCount; ++i) {
        sum = sum + mesh.vertices[i];
    }
    const Vector3 mean = (1.0f / static_cast<float>(mesh.vertexCount)) * sum;
    float radius = 0.0f;
    for (int i = 0; i < mesh.vertexCount; ++i) {
        radius = std::max(radius, (mesh.vertices[i] - mean).length());
    }
    return {transformPoint(placement, mean), radius};
}

bool passesBy(const Sphere& sphere, const Vector3& from, const Vector3& to, float margin) {
    const Vector3 along = to - from;
    const float s = std::clamp(dot(sphere.centre - from, along) / dot(along, along), 0.0f, 1.0f);
    return (sphere.centre - (from + s * along)).length() > sphere.radius + margin;
}

} // namespace korvath::test
