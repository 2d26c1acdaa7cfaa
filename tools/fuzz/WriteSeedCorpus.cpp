// korvath_fuzz_seeds DIRECTORY: small 3DS files with every chunk the loader
// knows, some it skips, and nested and repeated objects, as fuzzing seeds.
#include "ThreeDsWriter.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace korvath;

namespace {

ThreeDsMesh quad(const std::string& name) {
    ThreeDsMesh mesh;
    mesh.name = name;
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}};
    mesh.texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    return mesh;
}

ThreeDsChunk opaque(std::uint16_t id, std::vector<std::uint8_t> data,
                    std::vector<ThreeDsChunk> children = {}) {
    return {id, std::move(data), std::move(children), {}};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvath_fuzz_seeds DIRECTORY\n");
        return 2;
    }
    const std::string directory = argv[1];
    const ThreeDsMesh square = quad("quad");
    // Smoothing and material groups nested in the face list, a material chunk.
    const ThreeDsChunk groups = objectChunk(
        "groups", {triangleMeshChunk(
                      {vertexListChunk(square.vertices), mappingChunk(square.texCoords),
                       faceListChunk(square.faces, {opaque(0x4130, {'m', 0, 1, 0, 0, 0}),
                                                    opaque(0x4150, {1, 0, 0, 0, 2, 0, 0, 0})})})});
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } seeds[] = {
        {"quad", meshFileBytes({square})},
        {"two-objects", meshFileBytes({quad("first object name"), quad("b")})},
        {"groups", serialise(mainChunk({opaque(0xAFFF, {}, {opaque(0xA000, {'r', 0})}), groups}))},
        {"bare-list", serialise(vertexListChunk(square.vertices))},
    };
    for (const auto& seed : seeds) {
        const std::string path = directory + "/seed-" + seed.name + ".3ds";
        if (!writeFileBytes(path, seed.bytes)) {
            std::fprintf(stderr, "korvath_fuzz_seeds: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
