// Mesh3ds::load: the 3DS chunk loop, the three lists it reads and the face normals.
//
// The file is untrusted: lists are cut to the capacity, out-of-range face indices
// are replaced, and a corrupt chunk length ends the reading.
#include "diagnostics/Report.h"
#include "mesh/ChunkFile.h"
#include "mesh/ChunkIds.h"
#include "mesh/Mesh3ds.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace korvath {

namespace {

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

    // Reads a list's count, stores the number of records kept into storedCount
    // (when the list has one) and reads them with readRecord(k). A count above
    // the capacity keeps the first records and passes over the rest, so the
    // chunks after the list are read in place.
    template <typename ReadRecord>
    void readList(std::int32_t* storedCount, long recordSize, ReadRecord readRecord);

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
        case chunkId::main:
        case chunkId::editor:
        case chunkId::triangleMesh:
            break;
        case chunkId::object:
            readName();
            break;
        case chunkId::vertexList:
            readVertices();
            break;
        case chunkId::faceList:
            readFaces();
            break;
        case chunkId::mapping:
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

template <typename ReadRecord>
void MeshReader::readList(std::int32_t* storedCount, long recordSize, ReadRecord readRecord) {
    std::uint16_t count = 0;
    if (!in.readU16(count)) {
        note("file ends inside a list");
        return;
    }
    const int kept = std::min<int>(count, Mesh3ds::capacity);
    if (storedCount != nullptr) {
        *storedCount = kept;
    }
    for (int k = 0; k < kept; ++k) {
        if (!readRecord(k)) {
            note("file ends inside a list");
            return;
        }
    }
    if (count > Mesh3ds::capacity) {
        note("list cut to the 8000-element capacity");
        in.moveTo(in.position() + (count - Mesh3ds::capacity) * recordSize);
    }
}

void MeshReader::readVertices() {
    readList(&mesh.vertexCount, vertexRecordSize, [this](int k) {
        Vector3& vertex = mesh.vertices[k];
        return in.readFloat(vertex.x) && in.readFloat(vertex.y) && in.readFloat(vertex.z);
    });
}

void MeshReader::readFaces() {
    readList(&mesh.polygonCount, faceRecordSize, [this](int k) {
        Triangle& triangle = mesh.polygons[k];
        std::uint16_t corner[3] = {static_cast<std::uint16_t>(triangle.a),
                                   static_cast<std::uint16_t>(triangle.b),
                                   static_cast<std::uint16_t>(triangle.c)};
        std::uint16_t flags = 0;
        const bool complete = in.readU16(corner[0]) && in.readU16(corner[1]) &&
                              in.readU16(corner[2]) && in.readU16(flags);
        if (corner[0] < Mesh3ds::capacity && corner[1] < Mesh3ds::capacity &&
            corner[2] < Mesh3ds::capacity) {
            triangle = {corner[0], corner[1], corner[2]};
        } else {
            // A degenerate triangle at vertex 0 draws nothing visible.
            note("face index beyond the 8000-element capacity");
            triangle = {};
        }
        return complete;
    });
}

void MeshReader::readMapping() {
    readList(nullptr, mappingRecordSize, [this](int k) {
        TexCoord& texCoord = mesh.texCoords[k];
        return in.readFloat(texCoord.u) && in.readFloat(texCoord.v);
    });
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
        reportProblem("mesh", path, std::strerror(errno));
        return false;
    }
    MeshReader reader(file, *this);
    reader.readChunks();
    std::fclose(file);
    computeFaceNormals(*this);
    if (reader.problem() != nullptr) {
        reportProblem("mesh", path, reader.problem());
    }
    return true;
}

} // namespace korvath
