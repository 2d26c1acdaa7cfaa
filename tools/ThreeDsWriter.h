// Writes 3DS chunk files: the data generator's meshes and the mesh tests' inputs.
// A chunk is an id, its own bytes and nested chunks; lengths are computed on
// serialisation unless a test declares a (corrupt) length of its own.
#pragma once

#include "math/Vector.h"
#include "mesh/Mesh3ds.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvath {

struct ThreeDsChunk {
    std::uint16_t id = 0;
    std::vector<std::uint8_t> data;
    std::vector<ThreeDsChunk> children;
    std::optional<std::uint32_t> declaredLength; // replaces the computed length
};

struct ThreeDsFace {
    std::uint16_t a = 0;
    std::uint16_t b = 0;
    std::uint16_t c = 0;
};

// One object: a triangle mesh with one mapping coordinate per vertex (or none).
struct ThreeDsMesh {
    std::string name;
    std::vector<Vector3> vertices;
    std::vector<ThreeDsFace> faces;
    std::vector<TexCoord> texCoords;
};

std::vector<std::uint8_t> serialise(const ThreeDsChunk& chunk);

ThreeDsChunk vertexListChunk(const std::vector<Vector3>& vertices);
// Faces get the flags word 0x0007 (all edges visible), as modelling tools write it.
ThreeDsChunk faceListChunk(const std::vector<ThreeDsFace>& faces,
                           std::vector<ThreeDsChunk> nested = {});
ThreeDsChunk mappingChunk(const std::vector<TexCoord>& texCoords);
// The name's bytes and a terminating NUL, then the nested chunks.
ThreeDsChunk objectChunk(const std::string& name, std::vector<ThreeDsChunk> children);
ThreeDsChunk triangleMeshChunk(std::vector<ThreeDsChunk> children);
// Main chunk with a file-version chunk, holding an editor chunk with a
// mesh-version chunk and the given objects.
ThreeDsChunk mainChunk(std::vector<ThreeDsChunk> objects);

// An object chunk holding the mesh's vertex list, mapping list (when there are
// texture coordinates) and face list.
ThreeDsChunk meshObjectChunk(const ThreeDsMesh& mesh);

// A whole file of the given objects.
std::vector<std::uint8_t> meshFileBytes(const std::vector<ThreeDsMesh>& meshes);

// Writes bytes to path; false when the file cannot be written.
bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace korvath
