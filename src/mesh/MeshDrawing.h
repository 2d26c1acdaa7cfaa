// The call sequence that draws a mesh, apart from the calls themselves: the
// sink Mesh3ds::draw passes makes them in OpenGL.
#pragma once

#include "mesh/Mesh3ds.h"

#include <algorithm>
#include <initializer_list>

namespace korvath {

// One texture bind, one triangle batch; per triangle its face normal, then the
// texture coordinate and position of corners a, b, c.
template <typename Sink> void emitMesh(const Mesh3ds& mesh, Sink& sink) {
    sink.bindTexture(mesh.textureId);
    sink.begin();
    const int count = std::clamp(mesh.polygonCount, 0, Mesh3ds::capacity);
    for (int i = 0; i < count; ++i) {
        const Vector4& normal = mesh.normals[i];
        sink.normal(normal.x, normal.y, normal.z);
        const Triangle& triangle = mesh.polygons[i];
        for (const int corner : {triangle.a, triangle.b, triangle.c}) {
            const TexCoord& texCoord = mesh.texCoords[corner];
            const Vector3& vertex = mesh.vertices[corner];
            sink.texCoord(texCoord.u, texCoord.v);
            sink.vertex(vertex.x, vertex.y, vertex.z);
        }
    }
    sink.end();
}

} // namespace korvath
