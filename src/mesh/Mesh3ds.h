// A fixed-capacity textured triangle mesh read from a 3DS file, with face normals.
//
// The file is untrusted input: every list is cut to the 8000-element capacity,
// a face index beyond the capacity is never used, and a corrupt chunk length ends
// the reading. Nothing is read or written outside the arrays.
#pragma once

#include "math/Vector.h"

#include <cstdint>

namespace korvath {

struct Triangle {
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::int32_t c = 0;
};

struct TexCoord {
    float u = 0.0f;
    float v = 0.0f;
};

class Mesh3ds {
public:
    static constexpr int capacity = 8000;

    char name[20] = {};            // last object name read, NUL-terminated
    std::int32_t vertexCount = 0;  // elements of the last vertex list kept
    std::int32_t polygonCount = 0; // triangles drawn and given normals
    Vector3 vertices[capacity];
    Triangle polygons[capacity];
    TexCoord texCoords[capacity];
    Vector4 normals[capacity];
    std::uint32_t textureId = 0; // GL texture name, set by the owner

    // Reads the file and computes the face normals. False when it cannot be
    // opened; the record is then unchanged.
    bool load(const char* path);

    // Binds textureId and issues every triangle in one GL_TRIANGLES batch.
    void draw() const;
};

} // namespace korvath
