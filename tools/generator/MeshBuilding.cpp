// Face winding for generator meshes: every face counter-clockwise from outside.
#include "generator/MeshBuilding.h"

namespace korvath::generator {

namespace {

// In double precision: the generator links none of the program's own code.
struct Direction {
    double x, y, z;
};

Direction difference(const Vector3& p, const Vector3& q) {
    return {double(p.x) - q.x, double(p.y) - q.y, double(p.z) - q.z};
}

// (b - a) x (c - a): towards the side from which a, b, c run counter-clockwise.
Direction faceNormal(const ThreeDsMesh& mesh, std::uint16_t a, std::uint16_t b, std::uint16_t c) {
    const Direction p = difference(mesh.vertices[b], mesh.vertices[a]);
    const Direction q = difference(mesh.vertices[c], mesh.vertices[a]);
    return {p.y * q.z - p.z * q.y, p.z * q.x - p.x * q.z, p.x * q.y - p.y * q.x};
}

double dot(const Direction& p, const Vector3& q) {
    return p.x * q.x + p.y * q.y + p.z * q.z;
}

} // namespace

std::uint16_t addVertex(ThreeDsMesh& mesh, const Vector3& position, double u, double v) {
    mesh.vertices.push_back(position);
    mesh.texCoords.push_back({static_cast<float>(u), static_cast<float>(v)});
    return static_cast<std::uint16_t>(mesh.vertices.size() - 1);
}

void addFacing(ThreeDsMesh& mesh, std::uint16_t a, std::uint16_t b, std::uint16_t c,
               const Vector3& facing) {
    if (dot(faceNormal(mesh, a, b, c), facing) >= 0.0) {
        mesh.faces.push_back({a, b, c});
    } else {
        mesh.faces.push_back({a, c, b});
    }
}

void addOutward(ThreeDsMesh& mesh, std::uint16_t a, std::uint16_t b, std::uint16_t c,
                const Vector3& inside) {
    const Vector3& corner = mesh.vertices[a];
    addFacing(mesh, a, b, c,
              Vector3(corner.x - inside.x, corner.y - inside.y, corner.z - inside.z));
}

void addQuadFacing(ThreeDsMesh& mesh, std::uint16_t a, std::uint16_t b, std::uint16_t c,
                   std::uint16_t d, const Vector3& facing, bool splitAc) {
    if (splitAc) {
        addFacing(mesh, a, b, c, facing);
        addFacing(mesh, a, c, d, facing);
    } else {
        addFacing(mesh, a, b, d, facing);
        addFacing(mesh, b, c, d, facing);
    }
}

} // namespace korvath::generator
