// 3DS chunk serialisation, little-endian throughout.
#include "ThreeDsWriter.h"

#include "mesh/ChunkIds.h"

#include <cstdio>
#include <cstring>

namespace korvath {

namespace {

constexpr std::uint16_t fileVersionId = 0x0002;
constexpr std::uint16_t meshVersionId = 0x3D3E;
constexpr std::uint16_t allEdgesVisible = 0x0007;
constexpr std::uint32_t formatVersion = 3;

void putU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

void putFloat(std::vector<std::uint8_t>& out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    putU32(out, bits);
}

void serialiseInto(const ThreeDsChunk& chunk, std::vector<std::uint8_t>& out) {
    const size_t start = out.size();
    putU16(out, chunk.id);
    putU32(out, 0); // patched below once the nested chunks are written
    out.insert(out.end(), chunk.data.begin(), chunk.data.end());
    for (const ThreeDsChunk& child : chunk.children) {
        serialiseInto(child, out);
    }
    const std::uint32_t length =
        chunk.declaredLength.value_or(static_cast<std::uint32_t>(out.size() - start));
    for (int i = 0; i < 4; ++i) {
        out[start + 2 + i] = static_cast<std::uint8_t>((length >> (8 * i)) & 0xFF);
    }
}

ThreeDsChunk versionChunk(std::uint16_t id) {
    ThreeDsChunk chunk{id, {}, {}, {}};
    putU32(chunk.data, formatVersion);
    return chunk;
}

} // namespace

std::vector<std::uint8_t> serialise(const ThreeDsChunk& chunk) {
    std::vector<std::uint8_t> out;
    serialiseInto(chunk, out);
    return out;
}

ThreeDsChunk vertexListChunk(const std::vector<Vector3>& vertices) {
    ThreeDsChunk chunk{chunkId::vertexList, {}, {}, {}};
    putU16(chunk.data, static_cast<std::uint16_t>(vertices.size()));
    for (const Vector3& vertex : vertices) {
        putFloat(chunk.data, vertex.x);
        putFloat(chunk.data, vertex.y);
        putFloat(chunk.data, vertex.z);
    }
    return chunk;
}

ThreeDsChunk faceListChunk(const std::vector<ThreeDsFace>& faces,
                           std::vector<ThreeDsChunk> nested) {
    ThreeDsChunk chunk{chunkId::faceList, {}, std::move(nested), {}};
    putU16(chunk.data, static_cast<std::uint16_t>(faces.size()));
    for (const ThreeDsFace& face : faces) {
        putU16(chunk.data, face.a);
        putU16(chunk.data, face.b);
        putU16(chunk.data, face.c);
        putU16(chunk.data, allEdgesVisible);
    }
    return chunk;
}

ThreeDsChunk mappingChunk(const std::vector<TexCoord>& texCoords) {
    ThreeDsChunk chunk{chunkId::mapping, {}, {}, {}};
    putU16(chunk.data, static_cast<std::uint16_t>(texCoords.size()));
    for (const TexCoord& texCoord : texCoords) {
        putFloat(chunk.data, texCoord.u);
        putFloat(chunk.data, texCoord.v);
    }
    return chunk;
}

ThreeDsChunk objectChunk(const std::string& name, std::vector<ThreeDsChunk> children) {
    ThreeDsChunk chunk{chunkId::object, {name.begin(), name.end()}, std::move(children), {}};
    chunk.data.push_back(0);
    return chunk;
}

ThreeDsChunk triangleMeshChunk(std::vector<ThreeDsChunk> children) {
    return {chunkId::triangleMesh, {}, std::move(children), {}};
}

ThreeDsChunk mainChunk(std::vector<ThreeDsChunk> objects) {
    objects.insert(objects.begin(), versionChunk(meshVersionId));
    ThreeDsChunk editor{chunkId::editor, {}, std::move(objects), {}};
    return {chunkId::main, {}, {versionChunk(fileVersionId), std::move(editor)}, {}};
}

ThreeDsChunk meshObjectChunk(const ThreeDsMesh& mesh) {
    std::vector<ThreeDsChunk> lists{vertexListChunk(mesh.vertices)};
    if (!mesh.texCoords.empty()) {
        lists.push_back(mappingChunk(mesh.texCoords));
    }
    lists.push_back(faceListChunk(mesh.faces));
    return objectChunk(mesh.name, {triangleMeshChunk(std::move(lists))});
}

std::vector<std::uint8_t> meshFileBytes(const std::vector<ThreeDsMesh>& meshes) {
    std::vector<ThreeDsChunk> objects;
    for (const ThreeDsMesh& mesh : meshes) {
        objects.push_back(meshObjectChunk(mesh));
    }
    return serialise(mainChunk(std::move(objects)));
}

bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace korvath
