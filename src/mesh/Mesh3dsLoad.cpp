// Mesh3ds::load: the 3DS chunk loop, the three lists it reads and the face normals.
//
// The file is untrusted: lists are cut to the capacity, out-of-range face indices
// are replaced, and a corrupt chunk length ends the reading.
#include "mesh/ChunkFile.h"
#include "mesh/Mesh3ds.h"

#include <algorithm>
#include <cstdio>

namespace korvath {

namespace {

constexpr std::uint16_t mainChunk = 0x4D4D;
constexpr std::uint16_t editorChunk = 0x3D3D;
constexpr std::uint16_t objectChunk = 0x4000;
constexpr std::uint16_t triangleMeshChunk = 0x4100;
constexpr std::uint16_t vertexListChunk = 0x4110;
constexpr std::uint16_t faceListChunk = 0x4120;
constexpr std::uint16_t mappingChunk = 0x4140;

constexpr long chunkHeaderSize = 6;
constexpr long vertexRecordSize = 12; // float x, y, z
constexpr long faceRecordSize = 8;    // u16 a, b, c, flags
constexpr long mappingRecordSize = 8; // float u, v
constexpr int nameSize = 20;

// Reads one file into one mesh and remembers the first reason the file was cut
// or found corrupt, for a single line on standard error.
class MeshReader {
public:
    MeshReader(std::FILE* file, Mesh3ds& target) : in(file), mesh(target) {}

    void readChunks();
    const char* problem() const { return firstProblem; }

private:
    void note(const char* what) {
        if (firstProblem == nullptr) {
            firstProblem = what;
        }
    }

    void readName();
    void readVertices();
    void readFaces();
    void readMapping();
    void skipChunk(std::uint32_t chunkLength);

    // Reads the count of a list and answers how many records to keep. A count
    // above the capacity keeps the first records and passes over the rest
    // after they are read (see finishList). -1 when the count itself is cut.
    int readCount(std::uint16_t& count);
    void finishList(std::uint16_t count, long recordSize);

    ChunkFile in;
    Mesh3ds& mesh;
    const char* firstProblem = nullptr;
};

void MeshReader::readChunks() {
    while (in.position() < in.length()) {
        std::uint16_t id = 0;
        std::uint32_t chunkLength = 0;
        if (!in.readU16(id) || !in.readU32(chunkLength)) {
            note("file ends inside a chunk header");
            return;
        }
        // A length below the header's own size would move the position back
        // into headers already read.
        if (chunkLength < chunkHeaderSize) {
            note("chunk length shorter than its header");
            return;
        }
        switch (id) {
        case mainChunk:
        case editorChunk:
        case triangleMeshChunk:
            break;
        case objectChunk:
            readName();
            break;
        case vertexListChunk:
            readVertices();
            break;
        case faceListChunk:
            readFaces();
            break;
        case mappingChunk:
            readMapping();
            break;
        default:
            skipChunk(chunkLength);
            break;
        }
    }
}

void MeshReader::readName() {
    int stored = 0;
    std::uint8_t byte = 0;
    for (;;) {
        if (!in.readByte(byte)) {
            note("file ends inside an object name");
            break;
        }
        if (byte == 0) {
            break;
        }
        if (stored < nameSize - 1) {
            mesh.name[stored++] = static_cast<char>(byte);
        } else {
            note("object name cut to 19 characters");
        }
    }
    mesh.name[stored] = '\0';
}

int MeshReader::readCount(std::uint16_t& count) {
    if (!in.readU16(count)) {
        note("file ends inside a list");
        return -1;
    }
    return std::min<int>(count, Mesh3ds::capacity);
}

void MeshReader::finishList(std::uint16_t count, long recordSize) {
    if (count > Mesh3ds::capacity) {
        note("list cut to the 8000-element capacity");
        in.moveTo(in.position() + (count - Mesh3ds::capacity) * recordSize);
    }
}

void MeshReader::readVertices() {
    std::uint16_t count = 0;
    const int kept = readCount(count);
    if (kept < 0) {
        return;
    }
    mesh.vertexCount = kept;
    for (int k = 0; k < kept; ++k) {
        Vector3& vertex = mesh.vertices[k];
        if (!in.readFloat(vertex.x) || !in.readFloat(vertex.y) || !in.readFloat(vertex.z)) {
            note("file ends inside a list");
            return;
        }
    }
    finishList(count, vertexRecordSize);
}

void MeshReader::readFaces() {
    std::uint16_t count = 0;
    const int kept = readCount(count);
    if (kept < 0) {
        return;
    }
    mesh.polygonCount = kept;
    for (int k = 0; k < kept; ++k) {
        Triangle& triangle = mesh.polygons[k];
        std::uint16_t corner[3] = {static_cast<std::uint16_t>(triangle.a),
                                   static_cast<std::uint16_t>(triangle.b),
                                   static_cast<std::uint16_t>(triangle.c)};
        std::uint16_t flags = 0;
        const bool complete = in.readU16(corner[0]) && in.readU16(corner[1]) &&
                              in.readU16(corner[2]) && in.readU16(flags);
        const bool inRange = corner[0] < Mesh3ds::capacity && corner[1] < Mesh3ds::capacity &&
                             corner[2] < Mesh3ds::capacity;
        if (inRange) {
            triangle = {corner[0], corner[1], corner[2]};
        } else {
            // A degenerate triangle at vertex 0 draws nothing visible.
            note("face index beyond the 8000-element capacity");
            triangle = {};
        }
        if (!complete) {
            note("file ends inside a list");
            return;
        }
    }
    finishList(count, faceRecordSize);
}

void MeshReader::readMapping() {
    std::uint16_t count = 0;
    const int kept = readCount(count);
    if (kept < 0) {
        return;
    }
    for (int k = 0; k < kept; ++k) {
        TexCoord& texCoord = mesh.texCoords[k];
        if (!in.readFloat(texCoord.u) || !in.readFloat(texCoord.v)) {
            note("file ends inside a list");
            return;
        }
    }
    finishList(count, mappingRecordSize);
}

void MeshReader::skipChunk(std::uint32_t chunkLength) {
    const long target = in.position() + (static_cast<long>(chunkLength) - chunkHeaderSize);
    if (target > in.length()) {
        note("chunk reaches past the end of the file");
    }
    in.moveTo(target);
}

// (b - a) x (c - a) written as (c - b) x (a - b): counter-clockwise corners give a
// normal towards the viewer. Not normalised; its length is twice the area.
void computeFaceNormals(Mesh3ds& mesh) {
    for (int i = 0; i < mesh.polygonCount; ++i) {
        const Triangle& triangle = mesh.polygons[i];
        const Vector3 u = mesh.vertices[triangle.c] - mesh.vertices[triangle.b];
        const Vector3 w = mesh.vertices[triangle.a] - mesh.vertices[triangle.b];
        mesh.normals[i] = cross(Vector4(u.x, u.y, u.z), Vector4(w.x, w.y, w.z));
    }
}

} // namespace

bool Mesh3ds::load(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    MeshReader reader(file, *this);
    reader.readChunks();
    std::fclose(file);
    computeFaceNormals(*this);
    if (reader.problem() != nullptr) {
        std::fprintf(stderr, "mesh %s: %s\n", path, reader.problem());
    }
    return true;
}

} // namespace korvath
