// Mesh3ds::load on files built with the 3DS writer: the lists, face normals,
// skipped chunks, several objects and the mends that keep an untrusted file
// within the record; then the call sequence that draws the result.
#include "ThreeDsWriter.h"
#include "mesh/Mesh3ds.h"
#include "mesh/MeshDrawing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace korvath {
namespace {

constexpr std::uint16_t unknownId = 0xB000;
constexpr std::uint16_t materialId = 0xAFFF;

// The triangle (0, 0, 0), (1, 0, 0), (0, 1, 0) as face (0, 1, 2), with mapping
// coordinates, in an object called "tri".
ThreeDsMesh unitTriangle() {
    return {"tri",
            {{0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}},
            {{0, 1, 2}},
            {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.25f, 1.0f}}};
}

// A file of one object with the given chunks in its triangle mesh.
std::vector<std::uint8_t> fileOf(std::vector<ThreeDsChunk> lists,
                                 std::vector<ThreeDsChunk> before = {}) {
    before.push_back(objectChunk("tri", {triangleMeshChunk(std::move(lists))}));
    return serialise(mainChunk(std::move(before)));
}

ThreeDsChunk opaqueChunk(std::uint16_t id, std::vector<ThreeDsChunk> children = {}) {
    return {id, {1, 2, 3, 4}, std::move(children), {}};
}

// Loads the bytes through a temporary file into a fresh record.
std::unique_ptr<Mesh3ds> loadBytes(const std::vector<std::uint8_t>& bytes) {
    char path[] = "/tmp/korvath-mesh-XXXXXX";
    close(mkstemp(path));
    EXPECT_TRUE(writeFileBytes(path, bytes));
    auto mesh = std::make_unique<Mesh3ds>();
    EXPECT_TRUE(mesh->load(path));
    std::remove(path);
    return mesh;
}

void expectNormal(const Vector4& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
    EXPECT_FLOAT_EQ(v.w, 1.0f);
}

// ---- Well-formed files ------------------------------------------------------

TEST(Mesh3dsLoad, ReadsOneTriangleWithNameCountsAndCoordinates) {
    const auto mesh = loadBytes(meshFileBytes({unitTriangle()}));
    EXPECT_STREQ(mesh->name, "tri");
    EXPECT_EQ(mesh->vertexCount, 3);
    EXPECT_EQ(mesh->polygonCount, 1);
    EXPECT_FLOAT_EQ(mesh->vertices[1].x, 1.0f);
    EXPECT_FLOAT_EQ(mesh->vertices[2].y, 1.0f);
    EXPECT_EQ(mesh->polygons[0].c, 2);
    EXPECT_FLOAT_EQ(mesh->texCoords[1].u, 0.75f);
}

TEST(Mesh3dsLoad, FaceNormalFollowsTheWindingAndIsTwiceTheArea) {
    const struct {
        ThreeDsFace face;
        float scale, z;
    } cases[] = {{{0, 1, 2}, 1.0f, 1.0f},
                 {{0, 2, 1}, 1.0f, -1.0f},
                 {{0, 1, 2}, 3.0f, 9.0f},
                 {{0, 1, 1}, 1.0f, 0.0f}};
    for (const auto& c : cases) {
        ThreeDsMesh mesh = unitTriangle();
        mesh.faces = {c.face};
        for (Vector3& v : mesh.vertices) {
            v = {v.x * c.scale, v.y * c.scale, 0.0f};
        }
        expectNormal(loadBytes(meshFileBytes({mesh}))->normals[0], 0.0f, 0.0f, c.z);
    }
}

TEST(Mesh3dsLoad, UnknownChunksAreSkippedWithEverythingNestedInThem) {
    // Decoy vertex lists nested in a material and an unknown chunk, and group
    // chunks nested in the face list, must not be read as lists.
    const ThreeDsChunk decoy = vertexListChunk({{9.0f, 9.0f, 9.0f}});
    const ThreeDsMesh tri = unitTriangle();
    const auto mesh =
        loadBytes(fileOf({opaqueChunk(unknownId, {decoy}), vertexListChunk(tri.vertices),
                          faceListChunk(tri.faces, {opaqueChunk(0x4130), opaqueChunk(0x4150)}),
                          mappingChunk(tri.texCoords)},
                         {opaqueChunk(materialId, {decoy})}));
    EXPECT_EQ(mesh->vertexCount, 3);
    EXPECT_FLOAT_EQ(mesh->vertices[0].x, 0.0f);
    EXPECT_EQ(mesh->polygonCount, 1);
    EXPECT_FLOAT_EQ(mesh->texCoords[1].u, 0.75f);
    expectNormal(mesh->normals[0], 0.0f, 0.0f, 1.0f);
}

TEST(Mesh3dsLoad, LaterObjectsOverwriteFromIndexZeroAndKeepWhatLiesBeyond) {
    ThreeDsMesh first = {
        "first", {{10, 0, 0}, {11, 0, 0}, {12, 0, 0}, {13, 0, 0}}, {{0, 1, 2}, {1, 3, 2}}, {}};
    ThreeDsMesh second = unitTriangle();
    second.name = "b";
    const auto mesh = loadBytes(meshFileBytes({first, second}));
    EXPECT_STREQ(mesh->name, "b");
    EXPECT_EQ(mesh->vertexCount, 3);
    EXPECT_EQ(mesh->polygonCount, 1);
    EXPECT_FLOAT_EQ(mesh->vertices[3].x, 13.0f);
    EXPECT_EQ(mesh->polygons[1].b, 3);
    expectNormal(mesh->normals[0], 0.0f, 0.0f, 1.0f);
    expectNormal(mesh->normals[1], 0.0f, 0.0f, 0.0f); // beyond polygonCount: not computed
}

// ---- Untrusted input: the mends ---------------------------------------------

std::vector<Vector3> numberedVertices(int count) {
    std::vector<Vector3> vertices;
    for (int k = 0; k < count; ++k) {
        vertices.emplace_back(static_cast<float>(k), 0.0f, 0.0f);
    }
    return vertices;
}

TEST(Mesh3dsMends, ListsAboveCapacityKeepTheFirst8000AndTheNextChunkIsReadInPlace) {
    const ThreeDsMesh tri = unitTriangle();
    const auto vertices =
        loadBytes(fileOf({vertexListChunk(numberedVertices(9000)), faceListChunk(tri.faces)}));
    EXPECT_EQ(vertices->vertexCount, Mesh3ds::capacity);
    EXPECT_FLOAT_EQ(vertices->vertices[7999].x, 7999.0f);
    EXPECT_EQ(vertices->polygonCount, 1);

    const auto faces = loadBytes(fileOf({vertexListChunk(tri.vertices),
                                         faceListChunk(std::vector<ThreeDsFace>(8100, {0, 1, 2})),
                                         mappingChunk(tri.texCoords)}));
    EXPECT_EQ(faces->polygonCount, Mesh3ds::capacity);
    expectNormal(faces->normals[7999], 0.0f, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(faces->texCoords[1].u, 0.75f);
}

TEST(Mesh3dsMends, FaceIndexBeyondCapacityBecomesADegenerateTriangleAtVertexZero) {
    ThreeDsMesh hostile = unitTriangle();
    hostile.faces = {{0, 1, 2}, {0, 8000, 2}, {65535, 1, 2}, {7999, 1, 2}};
    const auto mesh = loadBytes(meshFileBytes({hostile}));
    EXPECT_EQ(mesh->polygonCount, 4);
    for (const int i : {1, 2}) {
        EXPECT_EQ(mesh->polygons[i].a + mesh->polygons[i].b + mesh->polygons[i].c, 0) << i;
        expectNormal(mesh->normals[i], 0.0f, 0.0f, 0.0f);
    }
    EXPECT_EQ(mesh->polygons[3].a, 7999); // below the capacity an index is kept
    expectNormal(mesh->normals[0], 0.0f, 0.0f, 1.0f);
}

TEST(Mesh3dsMends, ChunkLengthBelowTheHeaderSizeEndsTheReading) {
    ThreeDsChunk backwards = opaqueChunk(unknownId);
    backwards.declaredLength = 0;
    const auto skipped = loadBytes(fileOf({backwards, vertexListChunk(unitTriangle().vertices)}));
    EXPECT_STREQ(skipped->name, "tri");
    EXPECT_EQ(skipped->vertexCount, 0);

    ThreeDsChunk shortMain = mainChunk({meshObjectChunk(unitTriangle())});
    shortMain.declaredLength = 5;
    EXPECT_EQ(loadBytes(serialise(shortMain))->vertexCount, 0);
}

TEST(Mesh3dsMends, LongNameIsCutTo19CharactersAndTheRestIsPassedOver) {
    for (const char* name :
         {"abcdefghijklmnopqrs", "abcdefghijklmnopqrst", "abcdefghijklmnopqrstuvwxyz0"}) {
        ThreeDsMesh named = unitTriangle();
        named.name = name;
        const auto mesh = loadBytes(meshFileBytes({named}));
        EXPECT_STREQ(mesh->name, "abcdefghijklmnopqrs") << name;
        EXPECT_EQ(mesh->polygonCount, 1) << name;
    }
}

// The file of one object whose last chunk is `last`, cut `cut` bytes before its end.
std::vector<std::uint8_t> cutAfter(const ThreeDsChunk& last, size_t cut) {
    std::vector<std::uint8_t> bytes = fileOf({last});
    bytes.resize(bytes.size() - cut);
    return bytes;
}

TEST(Mesh3dsMends, FileEndingInsideAListKeepsTheCountAndFillsOnlyWhatWasRead) {
    // 12 bytes of vertex 0 and 2 of vertex 1's x remain.
    const auto mesh =
        loadBytes(cutAfter(vertexListChunk({{5, 6, 7}, {8, 9, 10}, {11, 12, 13}}), 22));
    EXPECT_EQ(mesh->vertexCount, 3);
    EXPECT_FLOAT_EQ(mesh->vertices[0].z, 7.0f);
    EXPECT_FLOAT_EQ(mesh->vertices[1].x, 0.0f);

    // Face 0 whole, face 1 with only its first index.
    const auto faces = loadBytes(cutAfter(faceListChunk({{0, 1, 2}, {2, 1, 0}}), 6));
    EXPECT_EQ(faces->polygonCount, 2);
    EXPECT_EQ(faces->polygons[1].a, 2);
    EXPECT_EQ(faces->polygons[1].b, 0);
}

TEST(Mesh3dsMends, FileEndingInsideANameAHeaderOrASkippedChunkStopsCleanly) {
    std::vector<std::uint8_t> name = serialise(mainChunk({objectChunk("abcdef", {})}));
    name.resize(name.size() - 4); // "abc" remain
    EXPECT_STREQ(loadBytes(name)->name, "abc");

    std::vector<std::uint8_t> header = meshFileBytes({unitTriangle()});
    header.insert(header.end(), {0x10, 0x41, 0x20});
    EXPECT_EQ(loadBytes(header)->polygonCount, 1);

    const ThreeDsMesh tri = unitTriangle();
    ThreeDsChunk overlong = opaqueChunk(unknownId);
    overlong.declaredLength = 1000000;
    const auto mesh = loadBytes(fileOf({vertexListChunk(tri.vertices), faceListChunk(tri.faces),
                                        overlong, mappingChunk(tri.texCoords)}));
    expectNormal(mesh->normals[0], 0.0f, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(mesh->texCoords[1].u, 0.0f); // the mapping after it is not read
}

// ---- Drawing ------------------------------------------------------------------

// Records the calls emitMesh makes, one line each.
struct RecordingSink {
    std::ostringstream log;
    void bindTexture(std::uint32_t name) { log << "bind " << name << "\n"; }
    void begin() { log << "begin\n"; }
    void normal(float x, float y, float z) {
        log << "normal " << x << " " << y << " " << z << "\n";
    }
    void texCoord(float u, float v) { log << "tex " << u << " " << v << "\n"; }
    void vertex(float x, float y, float z) {
        log << "vertex " << x << " " << y << " " << z << "\n";
    }
    void end() { log << "end\n"; }
};

std::string recordedCalls(const Mesh3ds& mesh) {
    RecordingSink sink;
    emitMesh(mesh, sink);
    return sink.log.str();
}

TEST(MeshDrawing, MissingFileLeavesAnEmptyRecordThatOpensAndClosesOneBatch) {
    auto mesh = std::make_unique<Mesh3ds>();
    EXPECT_FALSE(mesh->load("/nonexistent/korvath/mesh.3ds"));
    EXPECT_EQ(mesh->vertexCount, 0);
    EXPECT_EQ(mesh->name[0], '\0');
    mesh->textureId = 7;
    EXPECT_EQ(recordedCalls(*mesh), "bind 7\nbegin\nend\n");
}

TEST(MeshDrawing, EachTriangleSendsItsNormalThenCornersAThenBThenC) {
    ThreeDsMesh twoFaces = unitTriangle();
    twoFaces.faces = {{0, 1, 2}, {2, 1, 0}};
    const auto mesh = loadBytes(meshFileBytes({twoFaces}));
    mesh->textureId = 3;
    EXPECT_EQ(recordedCalls(*mesh), "bind 3\nbegin\n"
                                    "normal 0 0 1\n"
                                    "tex 0.25 0.5\nvertex 0 0 0\n"
                                    "tex 0.75 0.5\nvertex 1 0 0\n"
                                    "tex 0.25 1\nvertex 0 1 0\n"
                                    "normal 0 0 -1\n"
                                    "tex 0.25 1\nvertex 0 1 0\n"
                                    "tex 0.75 0.5\nvertex 1 0 0\n"
                                    "tex 0.25 0.5\nvertex 0 0 0\n"
                                    "end\n");
}

} // namespace
} // namespace korvath
